#include "TabEmpresasEnvolvidas.h"
#include "Controls.h"
#include "Widgets.h"

#include "Certificados.h"
#include "DateMaskEdit.h"
#include "DbError.h"
#include "Empresas.h"
#include "EmpresasCertificado.h"
#include "GradeEmpresas.h"
#include "GrupoStatus.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCertif.h"
#include "TFrmDetalhesEmpresa.h"
#include "TFrmInclEmpresa.h"
#include "TFrmSelecionaEmpresa.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLineEdit* somenteLeitura(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

TabEmpresasEnvolvidas::TabEmpresasEnvolvidas(TDMCertif& dm, QWidget* parent)
    : QWidget(parent), dm_(dm), vinculos_(std::make_unique<VinculosEmpresa>(dm)) {
    setObjectName(QStringLiteral("TabEmpresasEnvolvidas"));
    escolhe_ = [this](QWidget* p) { return TFrmInclEmpresa::escolhe(dm_.session(), p, true); };

    auto* layout = new QVBoxLayout(this);
    model_ = new ModeloEmpresasCertificado(this);
    grid_ = novaGradeEmpresas(this, QStringLiteral("dbgEmpCert"), model_, 5);
    Controls::name(grid_, QStringLiteral("Empresas Envolvidas"));
    // The list beside the editor, so that both fit a screen's height.
    auto* corpo = new QHBoxLayout;
    auto* lista = new QVBoxLayout;
    lista->addWidget(grid_, 1);
    corpo->addLayout(lista, 1);
    layout->addLayout(corpo, 1);

    auto* navegacao = new QHBoxLayout;
    btnIncluir_ =
        Widgets::botao(this, QStringLiteral("btnInEmpCertEd"), QStringLiteral("&Incluir"), navegacao);
    btnEditar_ = Widgets::botao(this, QStringLiteral("btnEdEmpCertEd"), QStringLiteral("&Editar"), navegacao);
    btnExcluir_ =
        Widgets::botao(this, QStringLiteral("btnExEmpCertEd"), QStringLiteral("E&xcluir "), navegacao);
    navegacao->addStretch();
    lista->addLayout(navegacao);

    auto* baixo = new QVBoxLayout;
    grupoEditor_ = new QGroupBox(QStringLiteral("Empresa Certificada"), this);
    grupoEditor_->setObjectName(QStringLiteral("GroupEmpresaCertificada"));
    auto* form = new QFormLayout;
    edtPais_ = somenteLeitura(grupoEditor_, QStringLiteral("edtPaisEmpCert"));
    edtCnpjCpf_ = somenteLeitura(grupoEditor_, QStringLiteral("edtCnpjCpfEmpCert"));
    edtNome_ = somenteLeitura(grupoEditor_, QStringLiteral("edtNomeEmpCert"));
    cmbPapel_ = new QComboBox(grupoEditor_);
    cmbPapel_->setObjectName(QStringLiteral("cmbPapelEmp"));
    dataEntrada_ = new DateMaskEdit(grupoEditor_);
    dataEntrada_->setObjectName(QStringLiteral("MaskEditDtEntEmpresa"));
    form->addRow(QStringLiteral("País"), edtPais_);
    form->addRow(QStringLiteral("CNPJ/CPF"), edtCnpjCpf_);
    form->addRow(QStringLiteral("Razão Social/Nome Pessoa Física"), edtNome_);
    form->addRow(QStringLiteral("Papel na Certificação"), cmbPapel_);
    form->addRow(QStringLiteral("Dt. Entrada no Certificado"), dataEntrada_);
    auto* editorLayout = new QVBoxLayout(grupoEditor_);
    editorLayout->addLayout(form);
    auto* botoes = new QHBoxLayout;
    btnSeleciona_ = Widgets::botao(grupoEditor_, QStringLiteral("btnSelEdEmCert"),
                                   QStringLiteral("Seleciona Empresa"), botoes);
    btnAplica_ =
        Widgets::botao(grupoEditor_, QStringLiteral("btnAplEdEmpCert"), QStringLiteral("Aplicar"), botoes);
    btnCancela_ =
        Widgets::botao(grupoEditor_, QStringLiteral("btnCanEdEmpCert"), QStringLiteral("Cancelar"), botoes);
    btnDetalhe_ = Widgets::botao(grupoEditor_, QStringLiteral("btnDetalhe"),
                                 QStringLiteral("Detalhes da Empresa"), botoes);
    editorLayout->addLayout(botoes);
    baixo->addWidget(grupoEditor_);

    grupoStatus_ =
        new GrupoStatus(dm_, ItemStatus::Empresa,
                        {QStringLiteral("GroupStatusEmpresa"), QStringLiteral("lblDescrStatusEmpresa"),
                         QStringLiteral("lblDthStatusEmpresa")},
                        this);
    baixo->addWidget(grupoStatus_, 0, Qt::AlignTop);
    baixo->addStretch();
    corpo->addLayout(baixo);

    connect(btnIncluir_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::inclui);
    connect(btnEditar_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::edita);
    connect(btnExcluir_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::exclui);
    connect(btnSeleciona_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::seleciona);
    connect(btnAplica_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::aplica);
    connect(btnCancela_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::cancela);
    connect(btnDetalhe_, &QPushButton::clicked, this, &TabEmpresasEnvolvidas::detalhes);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TabEmpresasEnvolvidas::linhaMudou);
    // After a status change, or the propagation screen, the links are read again.
    connect(grupoStatus_, &GrupoStatus::alterado, this, [this] {
        atualiza();
        emit alterado();
    });
    aplicaModo();
}

TabEmpresasEnvolvidas::~TabEmpresasEnvolvidas() = default;

void TabEmpresasEnvolvidas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!editando())
        atualiza();
}

bool TabEmpresasEnvolvidas::editando() const {
    return vinculos_->editando();
}

std::optional<std::pair<QString, QString>> TabEmpresasEnvolvidas::atual() const {
    const QModelIndex index = grid_->currentIndex();
    if (!index.isValid())
        return std::nullopt;
    return std::make_pair(model_->codigoPais(index.row()), model_->idEmpresa(index.row()));
}

void TabEmpresasEnvolvidas::carregaPapeis() {
    const QVariant atual = cmbPapel_->currentData();
    cmbPapel_->clear();
    cmbPapel_->addItem(QString());
    for (const auto& [id, nome] : Empresas::papeis(dm_.database()))
        cmbPapel_->addItem(nome, id);
    cmbPapel_->setCurrentIndex(qMax(0, cmbPapel_->findData(atual)));
}

void TabEmpresasEnvolvidas::atualiza() {
    const auto anterior = atual();
    try {
        carregaPapeis();
        model_->carrega(dm_.database(), dm_.siglaAberta(), dm_.numAberto());
        if (!(anterior && localiza(anterior->first, anterior->second)) && model_->rowCount() > 0)
            grid_->setCurrentIndex(model_->index(0, 0));
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
    }
    linhaMudou();
}

bool TabEmpresasEnvolvidas::localiza(const QString& codigoPais, const QString& idEmpresa) {
    const int row = model_->localiza(dm_.database(), codigoPais, idEmpresa);
    if (row < 0)
        return false;
    grid_->setCurrentIndex(model_->index(row, 0));
    grid_->scrollTo(model_->index(row, 0));
    return true;
}

void TabEmpresasEnvolvidas::mostraEmpresa(const QString& codigoPais, const QString& idEmpresa) {
    std::optional<Empresa> empresa;
    if (!idEmpresa.isEmpty()) {
        try {
            empresa = Empresas::carrega(dm_.database(), codigoPais, idEmpresa);
        } catch (const DbError& error) {
            dm_.session().prompts().error(error.message());
        }
    }
    edtPais_->setText(codigoPais);
    edtCnpjCpf_->setText(empresa ? documentoEmpresa(empresa->TipoPessoa, empresa->CGC, empresa->CPF)
                                 : QString());
    edtNome_->setText(empresa
                          ? nomeEmpresa(empresa->TipoPessoa, empresa->RazSocialEmp, empresa->NomPessoaFisica)
                          : QString());
}

// Browsing shows the current link in the editor, read-only.
void TabEmpresasEnvolvidas::linhaMudou() {
    if (editando())
        return;
    const QModelIndex index = grid_->currentIndex();
    if (!index.isValid()) {
        mostraEmpresa({}, {});
        cmbPapel_->setCurrentIndex(0);
        dataEntrada_->limpa();
        grupoStatus_->mostra(std::nullopt);
    } else {
        const int row = index.row();
        mostraEmpresa(model_->codigoPais(row), model_->idEmpresa(row));
        std::optional<EmpresaCertificado> link;
        try {
            link = EmpresasCertificado::carrega(dm_.database(), dm_.siglaAberta(), dm_.numAberto(),
                                                model_->codigoPais(row), model_->idEmpresa(row));
        } catch (const DbError& error) {
            dm_.session().prompts().error(error.message());
        }
        cmbPapel_->setCurrentIndex(link && link->IdPapelEmp ? qMax(0, cmbPapel_->findData(*link->IdPapelEmp))
                                                            : 0);
        dataEntrada_->setData(model_->dataEntrada(row).date());
        grupoStatus_->mostra(QVariantList{dm_.siglaAberta(), dm_.numAberto(), model_->codigoPais(row),
                                          model_->idEmpresa(row)});
    }
    aplicaModo();
}

void TabEmpresasEnvolvidas::aplicaModo() {
    const bool editando = this->editando();
    const bool aberto = dm_.temCertificadoAberto();
    const bool temLinhas = model_->rowCount() > 0;
    btnIncluir_->setEnabled(!editando && aberto);
    btnEditar_->setEnabled(!editando && aberto && temLinhas);
    btnExcluir_->setEnabled(!editando && aberto && temLinhas);
    grid_->setEnabled(!editando);
    grupoStatus_->setEnabled(!editando && temLinhas);
    cmbPapel_->setEnabled(editando);
    dataEntrada_->setReadOnly(!editando);
    btnAplica_->setEnabled(editando);
    btnCancela_->setEnabled(editando);
    btnSeleciona_->setEnabled(editando && vinculos_->modo() == VinculosEmpresa::Modo::Inclusao);
    btnDetalhe_->setEnabled(editando && detalhe_.has_value());
}

void TabEmpresasEnvolvidas::inclui() {
    if (!dm_.temCertificadoAberto())
        return;
    const QDate emissao = vinculos_->inclui();
    detalhe_.reset();
    mostraEmpresa({}, {});
    cmbPapel_->setCurrentIndex(0);
    dataEntrada_->setData(emissao);
    aplicaModo();
    seleciona();
}

void TabEmpresasEnvolvidas::seleciona() {
    if (vinculos_->modo() != VinculosEmpresa::Modo::Inclusao || !escolhe_)
        return;
    const auto chave = escolhe_(this);
    if (!chave)
        return;
    try {
        carregaPapeis();
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
    }
    vinculos_->escolheEmpresa(chave->first, chave->second);
    mostraEmpresa(chave->first, chave->second);
    detalhe_ = chave;
    aplicaModo();
}

void TabEmpresasEnvolvidas::edita() {
    const auto chave = atual();
    if (!chave)
        return;
    try {
        if (!vinculos_->edita(chave->first, chave->second)) {
            atualiza();
            return;
        }
    } catch (const DbError& error) {
        dm_.session().prompts().error(error.message());
        return;
    }
    const EmpresaCertificado& r = vinculos_->registro();
    cmbPapel_->setCurrentIndex(r.IdPapelEmp ? qMax(0, cmbPapel_->findData(*r.IdPapelEmp)) : 0);
    dataEntrada_->setData(r.DthEntEmpresa.date());
    detalhe_ = chave;
    aplicaModo();
}

void TabEmpresasEnvolvidas::aplica() {
    if (!editando())
        return;
    btnDetalhe_->setEnabled(false);
    const QVariant papel = cmbPapel_->currentData();
    vinculos_->escolhePapel(papel.isValid() ? std::optional<int>(papel.toInt()) : std::nullopt);
    const bool salvo = vinculos_->aplica(dataEntrada_->textoData());
    if (!salvo && editando()) {
        aplicaModo(); // a refused check: the link stays in edit mode
        return;
    }
    const EmpresaCertificado r = vinculos_->registro();
    atualiza();
    if (salvo) {
        localiza(r.CodigoPais, r.IdEmpresa);
        emit alterado();
    }
}

void TabEmpresasEnvolvidas::cancela() {
    vinculos_->cancela();
    detalhe_.reset();
    linhaMudou();
}

void TabEmpresasEnvolvidas::exclui() {
    const auto chave = atual();
    if (!chave || editando())
        return;
    if (!vinculos_->exclui(chave->first, chave->second))
        return;
    atualiza();
    emit alterado();
}

void TabEmpresasEnvolvidas::detalhes() {
    if (!detalhe_)
        return;
    TFrmDetalhesEmpresa dialog(dm_.session(), detalhe_->first, detalhe_->second, this);
    dialog.exec();
}
