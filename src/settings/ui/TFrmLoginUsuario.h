#pragma once

#include "Session.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The login: name and password checked against USU_LOCAL. "Cancela" ends the program; closing the
// window keeps whoever was logged in before.
class TFrmLoginUsuario : public QDialog {
    Q_OBJECT
public:
    enum class Outcome { Closed, LoggedIn, Cancelled };

    TFrmLoginUsuario(Session& session, QWidget* parent = nullptr);

    Outcome outcome() const { return outcome_; }
    const LoggedUser& user() const { return user_; }

private:
    void confirm();
    void cancel();

    Session& session_;
    QLineEdit* edtLogin_;
    QLineEdit* edtSenha_;
    Outcome outcome_ = Outcome::Closed;
    LoggedUser user_;
};
