#pragma once

#include "Prompts.h"

#include <QTextStream>

// The prompts of the companion: every box becomes its text on stderr (caption first when there is
// one). A question is answered "Sim" when the command line said so (--yes); otherwise it is asked
// on the terminal, and with no terminal it is answered "Não", so nothing is ever done unasked.
// There are no directory or file choosers: such a choice is an argument.
class TerminalPrompts : public Prompts {
public:
    explicit TerminalPrompts(bool assumeYes = false);

    PromptAnswer show(PromptKind kind, const QString& caption, const QString& text) override;
    QString chooseDirectory(const QString& caption, const QString& startDirectory) override;
    QString chooseOpenFile(const QString& caption, const QString& startDirectory,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& caption, const QString& startDirectory,
                           const QString& filter) override;

    void setAssumeYes(bool assumeYes) { assumeYes_ = assumeYes; }

    // True when standard input / standard error are a terminal.
    static bool inputIsTerminal();
    static bool errorIsTerminal();
    // Reads a line from the terminal without echoing it (a password).
    static QString readHidden(const QString& prompt);

    // Writes one line to stderr.
    static void say(const QString& text);

private:
    bool assumeYes_ = false;
};
