#include "DateMaskEdit.h"

#include "Controls.h"
#include "DataDigitada.h"

#include <QKeyEvent>

DateMaskEdit::DateMaskEdit(QWidget* parent) : QLineEdit(parent) {
    setInputMask(QStringLiteral("99/99/9999;_"));
    Controls::startAtFirstPositionWhenEmpty(this);
    setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
}

QString DateMaskEdit::textoData() const {
    QString text = displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

bool DateMaskEdit::emBranco() const {
    return DataDigitada::le(textoData()).emBranco();
}

void DateMaskEdit::setData(const QDate& date) {
    if (date.isValid())
        setText(textoDaData(date));
    else
        limpa();
}

void DateMaskEdit::limpa() {
    clear();
}

void DateMaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A box or another window taking the focus does not mean the user left the field.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit deixado();
}

void DateMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit deixado();
    QLineEdit::keyPressEvent(event);
}
