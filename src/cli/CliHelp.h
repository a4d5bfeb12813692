#pragma once

#include "Verb.h"

#include <QList>
#include <QString>

// What the companion says about itself: --help, --version, its manual page and its bash
// completion, all made from the one table of verbs, so none of them can leave a verb out.
namespace CliHelp {

// Every verb family the companion accepts, in the order --help lists them.
const QList<const VerbGroup*>& groups();

const VerbGroup* findGroup(const QString& name);

// "tarvendix-cli [--home DIR] --user LOGIN VERB ..."
QString synopsis();

QString generalHelp();
QString verbHelp(const VerbGroup& group, const Verb& verb);
QString versionText();

// The manual page tarvendix-cli(1), as roff.
QString manualPage();

// A bash completion script for the verbs and their options.
QString bashCompletion();

} // namespace CliHelp
