#pragma once

#include "Session.h"

#include <QDialog>

class QLineEdit;

// The logged-in user changes his own password.
class TFrmAlteraSenha : public QDialog {
    Q_OBJECT
public:
    TFrmAlteraSenha(Session& session, QWidget* parent = nullptr);

private:
    void confirm();

    Session& session_;
    QLineEdit* edtUsuario_;
    QLineEdit* edtSenhaAtual_;
    QLineEdit* edtNovaSenha_;
    QLineEdit* edtConfSenha_;
};
