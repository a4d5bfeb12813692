#include "TFrmDetalhesEmpresa.h"

#include "DbError.h"
#include "Formats.h"
#include "Prompts.h"
#include "SelectionQueries.h"
#include "Session.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {

QLineEdit* campo(QWidget* parent, const QString& name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QString nomeDe(const QSqlDatabase& db, const QString& sql, const QString& code) {
    if (code.isEmpty())
        return {};
    const QVariant name = Sql::scalar(db, sql, {{QStringLiteral(":code"), code}});
    return name.isValid() && !name.toString().isEmpty() ? name.toString() : code;
}

// The postal code's stored digits in the display form "00000-000".
QString cepExibido(const QString& cep) {
    return cep.size() == 8 ? cep.left(5) + QLatin1Char('-') + cep.mid(5) : cep;
}

} // namespace

TFrmDetalhesEmpresa::TFrmDetalhesEmpresa(Session& session, const QString& codigoPais,
                                         const QString& idEmpresa, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmDetalhesEmpresa"));
    setWindowTitle(QStringLiteral("Detalhes da Empresa"));

    QSqlRecord r;
    QString pais, uf;
    try {
        const QSqlDatabase db = session.database();
        QSqlQuery q = consultaDetalheEmpresa(codigoPais, idEmpresa).executa(db);
        if (q.next()) {
            r = q.record();
            encontrada_ = true;
            pais = nomeDe(db, QStringLiteral("select NomePais from pais where CodigoPais = :code"),
                          r.value(QStringLiteral("CodigoPais")).toString());
            uf = nomeDe(db, QStringLiteral("select NomeUF from uf where SiglaUF = :code"),
                        r.value(QStringLiteral("SiglaUF")).toString());
        }
    } catch (const DbError& e) {
        session.prompts().error(e.message());
    }
    auto v = [&r](const char* column) { return r.value(QString::fromLatin1(column)).toString(); };
    const bool fisica = v("TipoPessoa") == QLatin1String("2");
    const QString cgc = v("CGC");

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("País"), campo(this, QStringLiteral("edtPais"), pais));
    auto* lblCnpjCpf = new QLabel(fisica ? QStringLiteral("CPF") : QStringLiteral("CNPJ"), this);
    lblCnpjCpf->setObjectName(QStringLiteral("lblCnpjCpf"));
    QLineEdit* cnpjCpf =
        campo(this, QStringLiteral("edtCnpjCpf"),
              fisica ? FormataCPF(v("CPF")) : (cgc.isEmpty() ? QString() : FormataCNPJ(cgc, true)));
    lblCnpjCpf->setBuddy(cnpjCpf); // a label of its own names the field only as its buddy
    form->addRow(lblCnpjCpf, cnpjCpf);
    auto* lblRazSocial =
        new QLabel(fisica ? QStringLiteral("Nome Pessoa Física") : QStringLiteral("Razão Social"), this);
    lblRazSocial->setObjectName(QStringLiteral("lblRazSocial"));
    QLineEdit* razSocial =
        campo(this, QStringLiteral("edtRazSocial"), fisica ? v("NomPessoaFisica") : v("RazSocialEmp"));
    lblRazSocial->setBuddy(razSocial);
    form->addRow(lblRazSocial, razSocial);
    form->addRow(QStringLiteral("Nome Fantasia"),
                 campo(this, QStringLiteral("edtNomFantasia"), v("NomFantasia")));
    form->addRow(QStringLiteral("Endereço"), campo(this, QStringLiteral("edtEndLogr"), v("EndLogr")));
    form->addRow(QStringLiteral("Número"), campo(this, QStringLiteral("edtEndNum"), v("EndNum")));
    form->addRow(QStringLiteral("Complemento"), campo(this, QStringLiteral("edtEndCompl"), v("EndCompl")));
    form->addRow(QStringLiteral("Bairro"), campo(this, QStringLiteral("edtEndBairro"), v("EndBairro")));
    form->addRow(QStringLiteral("Cidade"), campo(this, QStringLiteral("edtEndCidade"), v("EndCidade")));
    form->addRow(QStringLiteral("Estado"), campo(this, QStringLiteral("edtUF"), uf));
    form->addRow(QStringLiteral("CEP"), campo(this, QStringLiteral("edtEndCEP"), cepExibido(v("EndCEP"))));
    form->addRow(QStringLiteral("Telefone"), campo(this, QStringLiteral("edtTelefone"), v("Telefone")));
    form->addRow(QStringLiteral("Fax"), campo(this, QStringLiteral("edtFax"), v("Fax")));
    form->addRow(QStringLiteral("E-mail"), campo(this, QStringLiteral("edtEmail"), v("Email")));
    layout->addLayout(form);

    auto* tipo = new QGroupBox(QStringLiteral("Tipo de Pessoa"), this);
    tipo->setObjectName(QStringLiteral("rgTipoPessoa"));
    auto* tipoLayout = new QHBoxLayout(tipo);
    auto* rbFisica = new QRadioButton(QStringLiteral("Física"), tipo);
    rbFisica->setObjectName(QStringLiteral("rbFisica"));
    auto* rbJuridica = new QRadioButton(QStringLiteral("Jurídica"), tipo);
    rbJuridica->setObjectName(QStringLiteral("rbJuridica"));
    rbFisica->setChecked(encontrada_ && fisica);
    rbJuridica->setChecked(encontrada_ && v("TipoPessoa") == QLatin1String("1"));
    tipoLayout->addWidget(rbFisica);
    tipoLayout->addWidget(rbJuridica);
    tipo->setEnabled(false); // read-only
    layout->addWidget(tipo);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    botoes->addWidget(ok);
    layout->addLayout(botoes);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
