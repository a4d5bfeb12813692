#pragma once

#include "Justificativa.h"

#include <QDate>
#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class Session;
class QWidget;

// The justification dialog: the reason for a change of a certificate or of one of its items and,
// for status changes, the date the status took effect (not before the certificate's emission, not
// after today).
class TFrmJustificativa : public QDialog {
    Q_OBJECT
public:
    TFrmJustificativa(Session& session, bool perguntaData, const QDate& dataEmissao,
                      QWidget* parent = nullptr);

    // What the user typed, once "OK" accepted; empty otherwise.
    std::optional<Justificativa> resultado() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirma();
    bool dataValida();

    Session& session_;
    const bool perguntaData_;
    const QDate dataEmissao_;
    QDate hoje_;
    QDate dataStatus_;
    bool aceito_ = false;
    bool centrado_ = false;
    QLineEdit* edtJustificativa_;
    QLabel* lblData_;
    QLineEdit* MaskEdit1_;
};

// An asker that shows TFrmJustificativa modally over `parent`. The session must outlive it.
JustificationAsker justificationDialogAsker(Session& session, QWidget* parent);
