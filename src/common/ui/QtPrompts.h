#pragma once

#include "Prompts.h"
#include "StartDirectory.h"

class QWidget;

// The real prompts: QMessageBox with the buttons "Sim"/"Não", QFileDialog for the choosers, which open
// in the directory chosen last or in the user's documents (see StartDirectory).
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    PromptAnswer show(PromptKind kind, const QString& caption, const QString& text) override;
    QString chooseDirectory(const QString& caption, const QString& startDirectory) override;
    QString chooseOpenFile(const QString& caption, const QString& startDirectory,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& caption, const QString& startDirectory,
                           const QString& filter) override;
    void setBusy(bool busy) override;

private:
    QWidget* parent_;
    StartDirectory start_;
};
