#pragma once

#include <QString>
#include <optional>

// What the program says about itself without opening a window: --help, --version and its manual
// page, all from the same texts.
namespace ProgramHelp {

QString helpText();
QString versionText();
// The manual page tarvendix(1), as roff.
QString manualPage();

// The answer to a command line that asks only for one of these (the manual page through the
// hidden --man, which the build installs), or nothing when the program should start.
std::optional<QString> answerTo(int argc, char** argv);

} // namespace ProgramHelp
