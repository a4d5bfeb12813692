#pragma once

#include "Verb.h"

// The "reference" verbs of the companion: the reference-table versions of the authority, over the
// same operations as the version screens.
namespace ReferenceCommands {

const VerbGroup& group();

} // namespace ReferenceCommands
