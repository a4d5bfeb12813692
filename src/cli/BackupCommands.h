#pragma once

#include "Verb.h"

// The companion's copies of the database: "backup [--to FILE]", "backup list" and
// "restore FILE [--yes]", over the same routines as the menu "Cópia de Segurança".
namespace BackupCommands {

const VerbGroup& backupGroup();
const VerbGroup& restoreGroup();

} // namespace BackupCommands
