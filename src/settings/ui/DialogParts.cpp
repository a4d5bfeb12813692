#include "DialogParts.h"

#include "UsuLocal.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace DialogParts {

QLineEdit* passwordEdit(QWidget* parent, const char* objectName) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

OkCancel addOkCancel(QWidget* parent, QBoxLayout* layout, const char* okName, const char* cancelName) {
    auto* ok = new QPushButton(QStringLiteral("&Ok"), parent);
    ok->setObjectName(QString::fromLatin1(okName));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancela"), parent);
    cancel->setObjectName(QString::fromLatin1(cancelName));
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    return {ok, cancel};
}

QString checkNewPassword(QLineEdit* password, QLineEdit* confirmation) {
    const QString senha = password->text().trimmed();
    QString problem;
    if (senha.isEmpty() || senha != confirmation->text().trimmed())
        problem = QStringLiteral("As senhas fornecidas não conferem.");
    else
        problem = Senhas::problema(senha);
    if (!problem.isEmpty()) {
        password->clear();
        confirmation->clear();
        password->setFocus();
    }
    return problem;
}

} // namespace DialogParts
