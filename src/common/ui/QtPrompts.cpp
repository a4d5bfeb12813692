#include "QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon iconOf(PromptKind kind) {
    switch (kind) {
    case PromptKind::Information:
        return QMessageBox::Information;
    case PromptKind::Warning:
        return QMessageBox::Warning;
    case PromptKind::Error:
        return QMessageBox::Critical;
    case PromptKind::YesNo:
    case PromptKind::OkCancel:
        return QMessageBox::Question;
    case PromptKind::Message:
        break;
    }
    return QMessageBox::NoIcon;
}

QString defaultCaption(PromptKind kind) {
    switch (kind) {
    case PromptKind::Information:
        return QStringLiteral("Informação");
    case PromptKind::Warning:
        return QStringLiteral("Atenção");
    case PromptKind::Error:
        return QStringLiteral("Erro");
    case PromptKind::YesNo:
    case PromptKind::OkCancel:
        return QStringLiteral("Confirmação");
    case PromptKind::Message:
        break;
    }
    return QApplication::applicationName();
}

} // namespace

PromptAnswer QtPrompts::show(PromptKind kind, const QString& caption, const QString& text) {
    QMessageBox box(iconOf(kind), caption.isEmpty() ? defaultCaption(kind) : caption, text,
                    QMessageBox::NoButton, parent_);
    QAbstractButton* yes = nullptr;
    QAbstractButton* cancel = nullptr;
    switch (kind) {
    case PromptKind::YesNo:
        yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
        box.setDefaultButton(static_cast<QPushButton*>(yes));
        box.setEscapeButton(box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole));
        break;
    case PromptKind::OkCancel:
        yes = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        break;
    default:
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    }
    box.exec();
    switch (kind) {
    case PromptKind::YesNo:
        return box.clickedButton() == yes ? PromptAnswer::Yes : PromptAnswer::No;
    case PromptKind::OkCancel:
        return box.clickedButton() == yes ? PromptAnswer::Ok : PromptAnswer::Cancel;
    default:
        return PromptAnswer::Ok;
    }
}

QString QtPrompts::chooseDirectory(const QString& caption, const QString& startDirectory) {
    const QString chosen =
        QFileDialog::getExistingDirectory(parent_, caption, start_.forRequest(startDirectory));
    start_.chosen(chosen);
    return chosen;
}

QString QtPrompts::chooseOpenFile(const QString& caption, const QString& startDirectory,
                                  const QString& filter) {
    const QString chosen =
        QFileDialog::getOpenFileName(parent_, caption, start_.forRequest(startDirectory), filter);
    start_.chosen(chosen);
    return chosen;
}

QString QtPrompts::chooseSaveFile(const QString& caption, const QString& startDirectory,
                                  const QString& filter) {
    const QString chosen =
        QFileDialog::getSaveFileName(parent_, caption, start_.forRequest(startDirectory), filter);
    start_.chosen(chosen);
    return chosen;
}

void QtPrompts::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
