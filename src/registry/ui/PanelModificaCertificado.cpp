#include "PanelModificaCertificado.h"
#include "Controls.h"

#include "Prompts.h"
#include "Session.h"
#include "SlotPanel.h"
#include "TDMCertif.h"
#include "TabDadosGerais.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString CaptionEdicao = QStringLiteral("Erro de Edição");

QString naoAplicadas(const QString& painel) {
    return QStringLiteral("Existem inclusões ou alterações não Aplicadas no painel de %1. Pressione o botão "
                          "Aplicar ou Cancelar antes de mudar de painel.")
        .arg(painel);
}

} // namespace

PanelModificaCertificado::PanelModificaCertificado(TDMCertif& dm, QWidget* parent)
    : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("PanelModificaCertificado"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Modifica Certificado"), this);
    group->setObjectName(QStringLiteral("GroupModificaCertificado"));
    layout->addWidget(group);
    auto* inner = new QVBoxLayout(group);

    auto* top = new QHBoxLayout;
    auto* seleciona = new QPushButton(QStringLiteral("Seleciona Certificado"), group);
    seleciona->setObjectName(QStringLiteral("btnSelCertModificacao"));
    top->addWidget(seleciona);
    top->addStretch();
    inner->addLayout(top);

    abas_ = new QTabWidget(group);
    abas_->setObjectName(QStringLiteral("PControlModificaCertif"));
    abas_->setUsesScrollButtons(false); // every tab in sight: the window is as wide as they need
    Controls::name(abas_, QStringLiteral("Modifica Certificado"));
    dadosGerais_ = new TabDadosGerais(dm_, abas_);
    abas_->addTab(dadosGerais_, QStringLiteral("Dados Gerais"));
    const QList<QPair<QString, QString>> linhas{
        {QStringLiteral("TabModificaEmp"), QStringLiteral("Empresas Envolvidas")},
        {QStringLiteral("TabModificaTipo"), QStringLiteral("Produtos por Tipo")},
        {QStringLiteral("TabModificaLote"), QStringLiteral("Produtos por Lote")},
        {QStringLiteral("TabModificaUnidade"), QStringLiteral("Produtos por Unidade")},
        {QStringLiteral("TabModificaServico"), QStringLiteral("Serviços")}};
    for (const auto& [name, caption] : linhas) {
        auto* tab = new SlotPanel(name, caption, abas_);
        slots_.insert(name, tab);
        abas_->addTab(tab, caption);
    }
    inner->addWidget(abas_, 1);

    auto* bottom = new QHBoxLayout;
    btbDocNorm_ = new QPushButton(QStringLiteral("Doc. Normativos"), group);
    btbDocNorm_->setObjectName(QStringLiteral("btbDocNorm"));
    btbDocNorm_->setEnabled(false);
    btnCadHistorico_ = new QPushButton(QStringLiteral("Cad. Histórico"), group);
    btnCadHistorico_->setObjectName(QStringLiteral("BtnCadHistorico"));
    btnCadHistorico_->setEnabled(false);
    bottom->addWidget(btbDocNorm_);
    bottom->addWidget(btnCadHistorico_);
    bottom->addStretch();
    inner->addLayout(bottom);

    connect(seleciona, &QPushButton::clicked, this, &PanelModificaCertificado::selecionaCertificado);
    connect(abas_, &QTabWidget::currentChanged, this, &PanelModificaCertificado::abaMudou);
    connect(dadosGerais_, &TabDadosGerais::saida, this, &PanelModificaCertificado::saida);
    connect(dadosGerais_, &TabDadosGerais::salvo, this, &PanelModificaCertificado::atualizaBotoes);
    connect(btbDocNorm_, &QPushButton::clicked, this, [this] {
        if (acaoDocNorm_)
            acaoDocNorm_();
        dadosGerais_->aplicaBloqueios();
    });
    connect(btnCadHistorico_, &QPushButton::clicked, this, [this] {
        if (acaoHistorico_)
            acaoHistorico_();
    });
}

void PanelModificaCertificado::mostraCertificado() {
    voltando_ = true;
    abas_->setCurrentIndex(0);
    abaAtual_ = 0;
    voltando_ = false;
    dadosGerais_->mostra();
    atualizaBotoes();
}

void PanelModificaCertificado::selecionaCertificado() {
    Prompts& prompts = dm_.session().prompts();
    // A line waiting for "Aplicar" or "Cancelar" belongs to this certificate: it is never carried
    // over to the next one, nor silently dropped.
    if (recusaComLinhaEmEdicao())
        return;
    if (dm_.modificado()) {
        if (!prompts.okCancel(QStringLiteral("Existe um certificado aberto em condições de ser salvo. Deseja "
                                             "salva-lo e continuar a abrir um outro certificado ?"),
                              QStringLiteral("Edita Certificado")))
            return;
        // A save that was refused keeps the certificate and its changes on screen.
        if (!dadosGerais_->salva())
            return;
    }
    const std::optional<ChaveCertificado> chave = escolhe_ ? escolhe_(this) : std::nullopt;
    if (!chave) {
        prompts.information(QStringLiteral("Nenhum Certificado foi escolhido !!!"));
    } else {
        dm_.CarregaCertificado(chave->sigla, chave->numero);
        mostraCertificado();
    }
    atualizaBotoes();
}

void PanelModificaCertificado::setRecusaSaida(QWidget* tab, std::function<QString()> reason) {
    recusas_.insert(tab, std::move(reason));
}

void PanelModificaCertificado::setAcaoDocNorm(std::function<void()> action) {
    acaoDocNorm_ = std::move(action);
    atualizaBotoes();
}

void PanelModificaCertificado::setAcaoHistorico(std::function<void()> action) {
    acaoHistorico_ = std::move(action);
    atualizaBotoes();
}

void PanelModificaCertificado::setTemItemAtual(std::function<bool()> temItem) {
    temItemAtual_ = std::move(temItem);
    atualizaBotoes();
}

QString PanelModificaCertificado::motivoParaFicar(int index) const {
    QWidget* tab = abas_->widget(index);
    if (tab == dadosGerais_) {
        if (dm_.modificado())
            return naoAplicadas(QStringLiteral("DadosGerais"));
        const Certificado& r = dm_.registro();
        if (!dm_.temCertificadoAberto() || r.SiglaCertificador.isEmpty() || r.NumCertif.isEmpty() ||
            !r.DataEmissao.isValid())
            return QStringLiteral("Selecione um certificado !!!");
        return {};
    }
    const auto reason = recusas_.value(tab);
    if (reason) {
        const QString text = reason();
        return text.isEmpty() ? QString() : naoAplicadas(abas_->tabText(index));
    }
    return {};
}

int PanelModificaCertificado::abaEmEdicao() const {
    for (int i = 0; i < abas_->count(); ++i)
        if (abas_->widget(i) != dadosGerais_ && !motivoParaFicar(i).isEmpty())
            return i;
    return -1;
}

bool PanelModificaCertificado::recusaComLinhaEmEdicao() {
    const int index = abaEmEdicao();
    if (index < 0)
        return false;
    if (abas_->currentIndex() != index) {
        voltando_ = true;
        abas_->setCurrentIndex(index);
        abaAtual_ = index;
        voltando_ = false;
    }
    dm_.session().prompts().message(CaptionEdicao, motivoParaFicar(index));
    return true;
}

void PanelModificaCertificado::abaMudou(int index) {
    if (voltando_)
        return;
    const QString motivo = motivoParaFicar(abaAtual_);
    if (!motivo.isEmpty()) {
        voltando_ = true;
        abas_->setCurrentIndex(abaAtual_);
        voltando_ = false;
        dm_.session().prompts().message(CaptionEdicao, motivo);
        return;
    }
    abaAtual_ = index;
    if (abas_->widget(index) == dadosGerais_)
        dadosGerais_->aplicaBloqueios();
    atualizaBotoes();
}

void PanelModificaCertificado::atualizaBotoes() {
    const bool empresas = abas_->currentWidget() == slots_.value(QStringLiteral("TabModificaEmp"));
    const bool item = dm_.temCertificadoAberto() && (!temItemAtual_ || temItemAtual_());
    btbDocNorm_->setVisible(!empresas);
    btbDocNorm_->setEnabled(acaoDocNorm_ && item);
    btnCadHistorico_->setEnabled(acaoHistorico_ && item);
}
