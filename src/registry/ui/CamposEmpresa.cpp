#include "CamposEmpresa.h"
#include "Widgets.h"
#include "Controls.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

QLineEdit* novoEdit(QWidget* parent, const QString& name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLabel* novoLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

// The text of a masked edit with its blanks dropped: what the mask's digits hold.
QString digitosDe(const QLineEdit* edit) {
    QString digits;
    for (const QChar c : edit->text())
        if (c.isDigit())
            digits += c;
    return digits;
}

} // namespace

CamposEmpresa::CamposEmpresa(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CamposEmpresa"));
    auto* grid = new QGridLayout(this);

    cmbPais_ = new QComboBox(this);
    cmbPais_->setObjectName(QStringLiteral("cmbPais"));
    lblPais_ = novoLabel(this, QStringLiteral("lblPais"), QStringLiteral("&País"), cmbPais_);

    auto* tipo = new QGroupBox(QStringLiteral("Tipo de Pessoa"), this);
    tipo->setObjectName(QStringLiteral("rgTipoPessoa"));
    rbJuridica_ = new QRadioButton(QStringLiteral("Jurídica"), tipo);
    rbJuridica_->setObjectName(QStringLiteral("rbJuridica"));
    rbFisica_ = new QRadioButton(QStringLiteral("Física"), tipo);
    rbFisica_->setObjectName(QStringLiteral("rbFisica"));
    auto* tipoLayout = new QHBoxLayout(tipo);
    tipoLayout->addWidget(rbJuridica_);
    tipoLayout->addWidget(rbFisica_);
    rbJuridica_->setChecked(true);

    // The CNPJ and CPF share one place; the kind shows one of them.
    edtCGC_ = novoEdit(this, QStringLiteral("edtCGC"), 0);
    edtCGC_->setInputMask(QStringLiteral("99.999.999/9999-99;_"));
    edtCGC_->installEventFilter(this);
    Controls::startAtFirstPositionWhenEmpty(edtCGC_);
    edtCPF_ = novoEdit(this, QStringLiteral("edtCPF"), 0);
    edtCPF_->setInputMask(QStringLiteral("999999999-00;_"));
    Controls::startAtFirstPositionWhenEmpty(edtCPF_);
    lblCNPJ_ = novoLabel(this, QStringLiteral("lblCNPJ"), QStringLiteral("CNPJ"), edtCGC_);
    auto* documento = new QHBoxLayout;
    documento->addWidget(edtCGC_);
    documento->addWidget(edtCPF_);

    edtNomFantasia_ = novoEdit(this, QStringLiteral("edtNomFantasia"), 40);
    edtNomPessoaFisica_ = novoEdit(this, QStringLiteral("edtNomPessoaFisica"), 60);
    lblNomFantasia_ =
        novoLabel(this, QStringLiteral("lblNomFantasia"), QStringLiteral("Nome Fantasia"), edtNomFantasia_);
    auto* nome = new QHBoxLayout;
    nome->addWidget(edtNomFantasia_);
    nome->addWidget(edtNomPessoaFisica_);

    edtRazSocial_ = novoEdit(this, QStringLiteral("edtRazSocialEmp"), 120);
    lblRazSocial_ =
        novoLabel(this, QStringLiteral("lblRazSocialEmp"), QStringLiteral("Razão Social"), edtRazSocial_);
    edtEndLogr_ = novoEdit(this, QStringLiteral("edtEndLogr"), 50);
    edtEndNum_ = novoEdit(this, QStringLiteral("edtEndNum"), 10);
    edtEndCompl_ = novoEdit(this, QStringLiteral("edtEndCompl"), 10);
    edtEndCEP_ = novoEdit(this, QStringLiteral("edtEndCEP"), 0);
    edtEndCEP_->setInputMask(QStringLiteral("99999-000;_"));
    lblCEP_ = novoLabel(this, QStringLiteral("lblEndCEP"), QStringLiteral("CEP"), edtEndCEP_);
    Controls::startAtFirstPositionWhenEmpty(edtEndCEP_);
    edtEndBairro_ = novoEdit(this, QStringLiteral("edtEndBairro"), 20);
    edtEndCidade_ = novoEdit(this, QStringLiteral("edtEndCidade"), 20);
    cmbUF_ = new QComboBox(this);
    cmbUF_->setObjectName(QStringLiteral("cmbUF"));
    edtTelefone_ = novoEdit(this, QStringLiteral("edtTelefone"), 20);
    edtFax_ = novoEdit(this, QStringLiteral("edtFax"), 20);
    edtEmail_ = novoEdit(this, QStringLiteral("edtEmail"), 50);

    int row = 0;
    grid->addWidget(lblPais_, row, 0);
    grid->addWidget(cmbPais_, row, 1);
    grid->addWidget(tipo, row++, 2, 1, 2);
    grid->addWidget(lblCNPJ_, row, 0);
    grid->addLayout(documento, row, 1);
    grid->addWidget(lblNomFantasia_, row, 2);
    grid->addLayout(nome, row++, 3);
    grid->addWidget(lblRazSocial_, row, 0);
    grid->addWidget(edtRazSocial_, row++, 1, 1, 3);
    grid->addWidget(novoLabel(this, QStringLiteral("lblEndLogr"), QStringLiteral("Endereço"), edtEndLogr_),
                    row, 0);
    grid->addWidget(edtEndLogr_, row, 1);
    grid->addWidget(novoLabel(this, QStringLiteral("lblEndNum"), QStringLiteral("Número"), edtEndNum_), row,
                    2);
    grid->addWidget(edtEndNum_, row++, 3);
    grid->addWidget(
        novoLabel(this, QStringLiteral("lblEndCompl"), QStringLiteral("Complemento"), edtEndCompl_), row, 0);
    grid->addWidget(edtEndCompl_, row, 1);
    grid->addWidget(lblCEP_, row, 2);
    grid->addWidget(edtEndCEP_, row++, 3);
    grid->addWidget(novoLabel(this, QStringLiteral("lblEndBairro"), QStringLiteral("Bairro"), edtEndBairro_),
                    row, 0);
    grid->addWidget(edtEndBairro_, row, 1);
    grid->addWidget(novoLabel(this, QStringLiteral("lblEndCidade"), QStringLiteral("Cidade"), edtEndCidade_),
                    row, 2);
    grid->addWidget(edtEndCidade_, row++, 3);
    grid->addWidget(novoLabel(this, QStringLiteral("lblUF"), QStringLiteral("Estado"), cmbUF_), row, 0);
    grid->addWidget(cmbUF_, row, 1);
    grid->addWidget(novoLabel(this, QStringLiteral("lblTelefone"), QStringLiteral("Telefone"), edtTelefone_),
                    row, 2);
    grid->addWidget(edtTelefone_, row++, 3);
    grid->addWidget(novoLabel(this, QStringLiteral("lblFax"), QStringLiteral("Fax"), edtFax_), row, 0);
    grid->addWidget(edtFax_, row, 1);
    grid->addWidget(novoLabel(this, QStringLiteral("lblEmail"), QStringLiteral("E-mail"), edtEmail_), row, 2);
    grid->addWidget(edtEmail_, row++, 3);

    connect(cmbPais_, &QComboBox::currentIndexChanged, this, &CamposEmpresa::paisMudou);
    connect(rbFisica_, &QRadioButton::toggled, this, &CamposEmpresa::tipoMudou);
    aplicaTipo(false);
    navega();
}

void CamposEmpresa::carregaListas(const QSqlDatabase& db) {
    const QSignalBlocker blocker(cmbPais_);
    const QString pais = cmbPais_->currentData().toString();
    const QString uf = cmbUF_->currentData().toString();
    cmbPais_->clear();
    cmbPais_->addItem(QString());
    for (const auto& [codigo, nome] : Empresas::paises(db))
        cmbPais_->addItem(nome, codigo);
    cmbPais_->setCurrentIndex(qMax(0, cmbPais_->findData(pais)));
    cmbUF_->clear();
    cmbUF_->addItem(QString());
    for (const auto& [sigla, nome] : Empresas::ufs(db))
        cmbUF_->addItem(nome, sigla);
    Widgets::mostraGuardado(cmbUF_, uf, uf, 0);
}

bool CamposEmpresa::brasil() const {
    return cmbPais_->currentText() == Empresas::NomeBrasil;
}

void CamposEmpresa::setEmpresa(const Empresa& e) {
    {
        const QSignalBlocker pais(cmbPais_);
        const QSignalBlocker tipo(rbFisica_);
        cmbPais_->setCurrentIndex(qMax(0, cmbPais_->findData(e.CodigoPais)));
        rbFisica_->setChecked(e.fisica());
        rbJuridica_->setChecked(!e.fisica());
    }
    edtCGC_->setText(e.CGC);
    edtCPF_->setText(e.CPF);
    edtRazSocial_->setText(e.RazSocialEmp);
    edtNomFantasia_->setText(e.NomFantasia);
    edtNomPessoaFisica_->setText(e.NomPessoaFisica);
    edtEndLogr_->setText(e.EndLogr);
    edtEndNum_->setText(e.EndNum);
    edtEndCompl_->setText(e.EndCompl);
    edtEndCEP_->setText(e.EndCEP);
    edtEndBairro_->setText(e.EndBairro);
    edtEndCidade_->setText(e.EndCidade);
    Widgets::mostraGuardado(cmbUF_, e.SiglaUF, e.SiglaUF, 0);
    edtTelefone_->setText(e.Telefone);
    edtFax_->setText(e.Fax);
    edtEmail_->setText(e.Email);
    aplicaTipo(false);
}

Empresa CamposEmpresa::empresa() const {
    Empresa e;
    e.CodigoPais = cmbPais_->currentData().toString();
    e.TipoPessoa = rbFisica_->isChecked() ? QStringLiteral("2") : QStringLiteral("1");
    // The CNPJ goes as typed, punctuation and all: the save's check tells a short one from a wrong one.
    e.CGC = digitosDe(edtCGC_).isEmpty() ? QString() : edtCGC_->text();
    e.CPF = digitosDe(edtCPF_);
    e.RazSocialEmp = edtRazSocial_->text();
    e.NomFantasia = edtNomFantasia_->text();
    e.NomPessoaFisica = edtNomPessoaFisica_->text();
    e.EndLogr = edtEndLogr_->text();
    e.EndNum = edtEndNum_->text();
    e.EndCompl = edtEndCompl_->text();
    e.EndCEP = digitosDe(edtEndCEP_);
    e.EndBairro = edtEndBairro_->text();
    e.EndCidade = edtEndCidade_->text();
    e.SiglaUF = cmbUF_->currentData().toString();
    e.Telefone = edtTelefone_->text();
    e.Fax = edtFax_->text();
    e.Email = edtEmail_->text();
    return e;
}

void CamposEmpresa::navega() {
    editando_ = inclusao_ = vinculada_ = false;
    for (QWidget* w : findChildren<QWidget*>())
        if (!qobject_cast<QLabel*>(w))
            w->setEnabled(false);
    for (QLabel* label : {lblPais_, lblCNPJ_, lblRazSocial_})
        marca(label, label->font().bold(), false);
}

void CamposEmpresa::editaNova() {
    editando_ = inclusao_ = true;
    vinculada_ = false;
    for (QWidget* w : findChildren<QWidget*>())
        w->setEnabled(true);
    setEmpresa(Empresa{});
    paisMudou();
    cmbPais_->setFocus();
}

void CamposEmpresa::editaExistente(bool vinculada) {
    editando_ = true;
    inclusao_ = false;
    vinculada_ = vinculada;
    for (QWidget* w : findChildren<QWidget*>())
        w->setEnabled(true);
    rbFisica_->setEnabled(false);
    rbJuridica_->setEnabled(false);
    findChild<QGroupBox*>(QStringLiteral("rgTipoPessoa"))->setEnabled(false);
    const bool fisica = rbFisica_->isChecked();
    if (vinculada) {
        for (QWidget* w : {static_cast<QWidget*>(edtCGC_), static_cast<QWidget*>(edtCPF_),
                           static_cast<QWidget*>(cmbPais_)})
            w->setEnabled(false);
        marca(lblCNPJ_, lblCNPJ_->font().bold(), true);
        marca(lblPais_, lblPais_->font().bold(), true);
        // A foreign company is identified by its name.
        edtRazSocial_->setEnabled(!fisica && brasil());
        marca(lblRazSocial_, lblRazSocial_->font().bold(), !fisica && !brasil());
    } else {
        edtRazSocial_->setEnabled(!fisica);
    }
    paisMudou();
}

void CamposEmpresa::marca(QLabel* label, bool bold, bool maroon) {
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->setStyleSheet(maroon ? QStringLiteral("color: maroon;") : QString());
}

// Any country but Brazil has only legal persons, named by their corporate name; Brazil asks for
// the CNPJ and the postal code.
void CamposEmpresa::paisMudou() {
    const bool br = brasil();
    if (editando_) {
        if (!br && !cmbPais_->currentData().toString().isEmpty())
            rbJuridica_->setChecked(true);
        const bool tipoLivre = inclusao_ && (br || cmbPais_->currentData().toString().isEmpty());
        rbFisica_->setEnabled(tipoLivre);
        rbJuridica_->setEnabled(tipoLivre);
        findChild<QGroupBox*>(QStringLiteral("rgTipoPessoa"))->setEnabled(tipoLivre);
    }
    const bool estrangeira = !br && !cmbPais_->currentData().toString().isEmpty();
    const bool maroonRazao = !lblRazSocial_->styleSheet().isEmpty();
    marca(lblRazSocial_, estrangeira, maroonRazao);
    marca(lblCNPJ_, br, !lblCNPJ_->styleSheet().isEmpty());
    marca(lblCEP_, br, false);
}

void CamposEmpresa::tipoMudou() {
    aplicaTipo(editando_);
}

void CamposEmpresa::aplicaTipo(bool limpar) {
    const bool fisica = rbFisica_->isChecked();
    lblCNPJ_->setText(fisica ? QStringLiteral("CPF") : QStringLiteral("CNPJ"));
    lblCNPJ_->setBuddy(fisica ? edtCPF_ : edtCGC_);
    lblNomFantasia_->setText(fisica ? QStringLiteral("Nome Pessoa Física") : QStringLiteral("Nome Fantasia"));
    lblNomFantasia_->setBuddy(fisica ? edtNomPessoaFisica_ : edtNomFantasia_);
    QFont font = lblNomFantasia_->font();
    font.setBold(fisica);
    lblNomFantasia_->setFont(font);
    edtCGC_->setVisible(!fisica);
    edtNomFantasia_->setVisible(!fisica);
    edtCPF_->setVisible(fisica);
    edtNomPessoaFisica_->setVisible(fisica);
    if (editando_)
        edtRazSocial_->setEnabled(!fisica && !(vinculada_ && !brasil()));
    if (!limpar)
        return;
    if (fisica) {
        edtCGC_->clear();
        edtRazSocial_->clear();
        edtNomFantasia_->clear();
    } else {
        edtCPF_->clear();
        edtNomPessoaFisica_->clear();
    }
}

// The CNPJ takes only '-' to '9' (digits, '.', '/'), the backslash and the editing keys; any other
// character is dropped with a beep.
bool CamposEmpresa::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtCGC_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint()) {
            const QChar c = text[0];
            const bool aceito = (c >= QLatin1Char('-') && c <= QLatin1Char('9')) || c == QLatin1Char('\\');
            if (!aceito) {
                QApplication::beep();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
