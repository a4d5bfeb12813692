#pragma once

#include "Verb.h"

// The "import DIR" verb of the companion: the register imported from the "TX-" text files of a
// directory, over the same run as the import screen.
namespace ImportCommands {

const VerbGroup& group();

} // namespace ImportCommands
