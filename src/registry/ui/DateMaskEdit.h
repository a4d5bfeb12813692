#pragma once

#include <QDate>
#include <QLineEdit>

// A date typed day first into the mask "99/99/9999" (blanks shown as "_").
class DateMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateMaskEdit(QWidget* parent = nullptr);

    // The text with every blank as a space: "  /  /    " when nothing was typed.
    QString textoData() const;
    bool emBranco() const;
    void setData(const QDate& date); // an invalid date blanks the mask
    void limpa();

signals:
    // The field was left (focus moved away, or Return pressed), whatever was typed: the mask's own
    // editingFinished stays silent while digits are missing, which is when the user must be told.
    void deixado();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
