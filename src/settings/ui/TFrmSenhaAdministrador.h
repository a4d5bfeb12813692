#pragma once

#include "Session.h"

#include <QDialog>

class QLineEdit;

// The first start of a new installation: the administrator "admin" has no password yet, and no
// shared default password may exist, so it is chosen here (typed twice) before anything else.
class TFrmSenhaAdministrador : public QDialog {
    Q_OBJECT
public:
    TFrmSenhaAdministrador(Session& session, QWidget* parent = nullptr);

private:
    void confirm();

    Session& session_;
    QLineEdit* edtSenha_;
    QLineEdit* edtConfirma_;
};
