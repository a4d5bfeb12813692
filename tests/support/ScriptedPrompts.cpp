#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

PromptAnswer ScriptedPrompts::show(PromptKind kind, const QString& caption, const QString& text) {
    shown_.append({kind, caption, text});
    const bool isQuestion = kind == PromptKind::YesNo || kind == PromptKind::OkCancel;
    if (!isQuestion)
        return PromptAnswer::Ok;
    if (answers_.isEmpty()) {
        ADD_FAILURE() << "unplanned question: " << text.toStdString();
        return kind == PromptKind::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    }
    return answers_.dequeue();
}

QString ScriptedPrompts::nextChoice(const QString& caption) {
    shown_.append({PromptKind::Message, caption, QStringLiteral("<chooser>")});
    if (choices_.isEmpty()) {
        ADD_FAILURE() << "unplanned chooser: " << caption.toStdString();
        return {};
    }
    return choices_.dequeue();
}

QString ScriptedPrompts::chooseDirectory(const QString& caption, const QString&) {
    return nextChoice(caption);
}

QString ScriptedPrompts::chooseOpenFile(const QString& caption, const QString&, const QString&) {
    return nextChoice(caption);
}

QString ScriptedPrompts::chooseSaveFile(const QString& caption, const QString&, const QString&) {
    return nextChoice(caption);
}

QStringList ScriptedPrompts::texts() const {
    QStringList all;
    for (const Shown& s : shown_)
        all << s.text;
    return all;
}
