#include "TFrmSelEmpCert.h"
#include "Controls.h"
#include "Widgets.h"

#include "DbError.h"
#include "Formats.h"
#include "Prompts.h"
#include "SelecaoGrade.h"
#include "Session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Columns of the statement: 0 IDEMPRESA, 1 CODIGOPAIS, 2 NOMEPAIS, 3 CGC, 4 RAZSOCIALEMP, 5 NOMFANTASIA.
const QList<std::pair<int, QString>>& titulos() {
    static const QList<std::pair<int, QString>> list = {
        {2, QStringLiteral("País")},
        {3, QStringLiteral("CNPJ")},
        {4, QStringLiteral("Razão Social")},
        {5, QStringLiteral("Nome Fantasia")},
    };
    return list;
}

} // namespace

TFrmSelEmpCert::TFrmSelEmpCert(Session& session, const QString& sigla, const QString& numCertif,
                               QWidget* parent)
    : QDialog(parent), session_(session), sigla_(sigla), numCertif_(numCertif) {
    setObjectName(QStringLiteral("FrmSelEmpCert"));
    setWindowTitle(QStringLiteral("Seleciona Empresa Certificada"));
    buildUi();
}

TFrmSelEmpCert::~TFrmSelEmpCert() = default;

void TFrmSelEmpCert::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cbxPais_ = new QComboBox(this);
    cbxPais_->setObjectName(QStringLiteral("cbxPais"));
    edtCNPJ_ = new QLineEdit(this);
    edtCNPJ_->setObjectName(QStringLiteral("edtCNPJ"));
    edtCNPJ_->setInputMask(QStringLiteral("00.000.000/0000-00;_"));
    Controls::startAtFirstPositionWhenEmpty(edtCNPJ_);
    edtNomFantasia_ = new QLineEdit(this);
    edtNomFantasia_->setObjectName(QStringLiteral("edtNomFantasia"));
    edtRazSocial_ = new QLineEdit(this);
    edtRazSocial_->setObjectName(QStringLiteral("edtRazSocial"));
    form->addRow(QStringLiteral("País"), cbxPais_);
    form->addRow(QStringLiteral("CNPJ"), edtCNPJ_);
    form->addRow(QStringLiteral("Nome Fantasia"), edtNomFantasia_);
    form->addRow(QStringLiteral("Razão Social"), edtRazSocial_);
    layout->addLayout(form);

    auto* acoes = new QHBoxLayout;
    auto* btnFiltra = new QPushButton(QStringLiteral("Filtra"), this);
    btnFiltra->setObjectName(QStringLiteral("btnFiltra"));
    acoes->addWidget(btnFiltra);
    acoes->addStretch();
    acoes->addWidget(new QLabel(QStringLiteral("Empresas"), this));
    lblQuant_ = new QLabel(QStringLiteral("0"), this);
    lblQuant_->setObjectName(QStringLiteral("lblQuant"));
    acoes->addWidget(lblQuant_);
    layout->addLayout(acoes);

    model_ = new ModeloSelecao(this);
    model_->setFormatador([](const QSqlQueryModel& model, const QModelIndex& index) -> QVariant {
        if (index.column() == 3) {
            const QString cgc = model.QSqlQueryModel::data(index).toString();
            return cgc.isEmpty() ? QString() : FormataCNPJ(cgc, true);
        }
        return {};
    });
    grid_ = novaGrade(this, QStringLiteral("dbgEmpresas"), model_);
    Controls::name(grid_, QStringLiteral("Empresas"));
    layout->addWidget(grid_, 1);

    const auto [ok, cancela] = Widgets::botoesOkCancela(this, layout);

    btnFiltra->setAutoDefault(false);
    connect(btnFiltra, &QPushButton::clicked, this, &TFrmSelEmpCert::filtra);
    connect(ok, &QPushButton::clicked, this, &TFrmSelEmpCert::ok);
    connect(cancela, &QPushButton::clicked, this, [this] {
        escolhida_.reset();
        reject();
    });
    resize(640, 420);
}

void TFrmSelEmpCert::showEvent(QShowEvent* event) {
    if (!listado_) {
        listado_ = true;
        cbxPais_->clear();
        cbxPais_->addItem(QString());
        try {
            for (const auto& [codigo, nome] : paisesPorNome(session_.database()))
                cbxPais_->addItem(nome, codigo);
        } catch (const DbError& e) {
            session_.prompts().error(e.message());
        }
        executa(FiltroEmpCert{sigla_, numCertif_, {}, {}, {}, {}});
    }
    QDialog::showEvent(event);
}

void TFrmSelEmpCert::filtra() {
    FiltroEmpCert filtro{sigla_, numCertif_, {}, {}, {}, {}};
    filtro.codigoPais = cbxPais_->currentData().toString();
    filtro.cgc = FormataCNPJ(edtCNPJ_->text(), false);
    filtro.nomFantasia = edtNomFantasia_->text();
    filtro.razSocialEmp = edtRazSocial_->text();
    executa(filtro);
    cbxPais_->setCurrentIndex(0);
    edtCNPJ_->clear();
    edtNomFantasia_->clear();
    edtRazSocial_->clear();
}

void TFrmSelEmpCert::executa(const FiltroEmpCert& filtro) {
    try {
        const int rows = carregaGrade(grid_, model_, session_.database(),
                                      consultaEmpresasDoCertificado(filtro), titulos());
        lblQuant_->setText(QString::number(rows));
    } catch (const DbError& e) {
        model_->clear();
        lblQuant_->setText(QStringLiteral("0"));
        session_.prompts().error(e.message());
    }
}

void TFrmSelEmpCert::ok() {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) {
        session_.prompts().information(QStringLiteral("Por favor selecione uma empresa"));
        return;
    }
    escolhida_ = std::make_pair(model_->valor(current.row(), QStringLiteral("CODIGOPAIS")).toString(),
                                model_->valor(current.row(), QStringLiteral("IDEMPRESA")).toString());
    accept();
}

std::optional<std::pair<QString, QString>> TFrmSelEmpCert::escolhida() const {
    return result() == QDialog::Accepted ? escolhida_ : std::nullopt;
}
