#pragma once

#include "Verb.h"

// The "batch" verbs of the companion, over the same operations as the batch screens.
namespace BatchCommands {

const VerbGroup& group();

} // namespace BatchCommands
