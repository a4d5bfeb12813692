#include "TerminalPrompts.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

QString readLine() {
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line.push_back(char(c));
    return QString::fromLocal8Bit(line.c_str()).trimmed();
}

} // namespace

TerminalPrompts::TerminalPrompts(bool assumeYes) : assumeYes_(assumeYes) {}

void TerminalPrompts::say(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool TerminalPrompts::inputIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool TerminalPrompts::errorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

QString TerminalPrompts::readHidden(const QString& prompt) {
    const QByteArray bytes = prompt.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    termios saved{};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const QString line = readLine();
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    return line;
}

PromptAnswer TerminalPrompts::show(PromptKind kind, const QString& caption, const QString& text) {
    const QString shown = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
    const bool question = kind == PromptKind::YesNo || kind == PromptKind::OkCancel;
    if (!question) {
        say(shown);
        return PromptAnswer::Ok;
    }
    const PromptAnswer yes = kind == PromptKind::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    const PromptAnswer no = kind == PromptKind::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    if (assumeYes_) {
        say(shown + (kind == PromptKind::YesNo ? QStringLiteral(" Sim") : QStringLiteral(" OK")));
        return yes;
    }
    if (!inputIsTerminal()) {
        say(shown + QStringLiteral(" Não (confirme com --yes)"));
        return no;
    }
    const QByteArray ask =
        (shown + (kind == PromptKind::YesNo ? QStringLiteral(" [s/N] ") : QStringLiteral(" [o/C] ")))
            .toLocal8Bit();
    std::fwrite(ask.constData(), 1, size_t(ask.size()), stderr);
    std::fflush(stderr);
    const QString answer = readLine().toLower();
    if (kind == PromptKind::YesNo)
        return answer == QLatin1String("s") || answer == QLatin1String("sim") ? yes : no;
    return answer == QLatin1String("o") || answer == QLatin1String("ok") ? yes : no;
}

QString TerminalPrompts::chooseDirectory(const QString&, const QString&) {
    return {};
}

QString TerminalPrompts::chooseOpenFile(const QString&, const QString&, const QString&) {
    return {};
}

QString TerminalPrompts::chooseSaveFile(const QString&, const QString&, const QString&) {
    return {};
}
