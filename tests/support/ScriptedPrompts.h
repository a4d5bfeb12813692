#pragma once

#include "Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>

// Prompts for tests: records every box shown and answers from a plan. A question with no planned
// answer fails the test and is answered "Não"/"Cancel".
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        PromptKind kind;
        QString caption;
        QString text;
    };

    PromptAnswer show(PromptKind kind, const QString& caption, const QString& text) override;
    QString chooseDirectory(const QString& caption, const QString& startDirectory) override;
    QString chooseOpenFile(const QString& caption, const QString& startDirectory,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& caption, const QString& startDirectory,
                           const QString& filter) override;

    void planAnswer(PromptAnswer answer) { answers_.enqueue(answer); }
    void planChoice(const QString& path) { choices_.enqueue(path); } // empty = cancelled

    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    QString lastText() const { return shown_.isEmpty() ? QString() : shown_.last().text; }
    bool wasShown(const QString& text) const { return texts().contains(text); }
    void clear() { shown_.clear(); }
    int pendingAnswers() const { return int(answers_.size()); }

private:
    QString nextChoice(const QString& caption);

    QList<Shown> shown_;
    QQueue<PromptAnswer> answers_;
    QQueue<QString> choices_;
};
