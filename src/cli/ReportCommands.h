#pragma once

#include "Verb.h"

// The "report NAME --pdf FILE" verbs of the companion: every report of the program written as a
// PDF file, with the filters of the certificate report screen for the certificate reports.
namespace ReportCommands {

const VerbGroup& group();

} // namespace ReportCommands
