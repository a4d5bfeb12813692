#include "TFormPrincipal.h"
#include "Controls.h"

#include "PanelExcluiCertificado.h"
#include "PanelModificaCertificado.h"
#include "PanelNovoCertificado.h"
#include "PanelPrincipalRegistro.h"
#include "PanelTabKavorel.h"
#include "SlotPanel.h"
#include "TDMCertif.h"
#include "TFrmJustificativa.h"
#include "TFrmSelecionaCertificado.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The modes that can only be left by their own exit or cancel buttons.
const QSet<QString> ModosFechados{QStringLiteral("NovoCertificado"), QStringLiteral("ModificaCertificado"),
                                  QStringLiteral("ExcluiCertificado"), QStringLiteral("TabEmpresa"),
                                  QStringLiteral("TabProduto")};

std::optional<ChaveCertificado> dialogoSelecao(Session& session, QWidget* parent) {
    TFrmSelecionaCertificado dialog(session, parent);
    dialog.exec();
    const std::optional<CertificadoEscolhido> chosen = dialog.escolhido();
    if (!chosen)
        return std::nullopt;
    return ChaveCertificado{chosen->SiglaCertificador, chosen->NumCertif};
}

} // namespace

TFormPrincipal::TFormPrincipal(TDMCertif& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("FormPrincipal"));
    setWindowTitle(QStringLiteral("Tarvendix - Manutenção da Base de Dados"));
    dm_.setJustificationAsker(justificationDialogAsker(dm_.session(), this));
    dm_.fecha();

    auto* layout = new QVBoxLayout(this);
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("MainMenu1"));
    layout->setMenuBar(menuBar_);
    layout->addWidget(buildToolBar());
    stack_ = new QStackedWidget(this);
    stack_->setObjectName(QStringLiteral("Paineis"));
    layout->addWidget(stack_, 1);

    principal_ = new PanelPrincipalRegistro(stack_);
    novo_ = new PanelNovoCertificado(dm_, stack_);
    modifica_ = new PanelModificaCertificado(dm_, stack_);
    exclui_ = new PanelExcluiCertificado(dm_, stack_);
    kavorel_ = new PanelTabKavorel(dm_.session(), stack_);
    addPanel(QStringLiteral("Principal"), principal_);
    addPanel(QStringLiteral("NovoCertificado"), novo_);
    addPanel(QStringLiteral("ModificaCertificado"), modifica_);
    addPanel(QStringLiteral("ExcluiCertificado"), exclui_);
    addPanel(QStringLiteral("TabEmpresa"),
             new SlotPanel(QStringLiteral("PanelTabEmpresa"), QStringLiteral("Tabela de Empresas"), stack_));
    addPanel(QStringLiteral("TabProduto"),
             new SlotPanel(QStringLiteral("PanelTabProduto"), QStringLiteral("Tabela de Produtos"), stack_));
    addPanel(QStringLiteral("TabKavorel"), kavorel_);
    addPanel(QStringLiteral("Signatarios"),
             new SlotPanel(QStringLiteral("PanelSignatarios"), QStringLiteral("Signatários"), stack_));
    controlsOfPanel_ = {
        {QStringLiteral("TabEmpresa"), {QStringLiteral("Empresa1"), QStringLiteral("sbTabEmpresas")}},
        {QStringLiteral("TabProduto"), {QStringLiteral("Produto1"), QStringLiteral("sbTabProdutos")}},
        {QStringLiteral("Signatarios"), {QStringLiteral("Signatario1")}}};

    buildMenus(menuBar_);
    setEscolheCertificado([this](QWidget* p) { return dialogoSelecao(dm_.session(), p); });

    const auto principal = [this] { MostraPainel(QStringLiteral("Principal")); };
    connect(novo_, &PanelNovoCertificado::cancelado, this, principal);
    connect(novo_, &PanelNovoCertificado::criado, this, [this] {
        MostraPainel(QStringLiteral("ModificaCertificado"));
        modifica_->mostraCertificado();
    });
    connect(modifica_, &PanelModificaCertificado::saida, this, [this, principal] {
        dm_.fecha();
        principal();
    });
    connect(exclui_, &PanelExcluiCertificado::cancelado, this, principal);
    connect(kavorel_, &PanelTabKavorel::saida, this, principal);

    resize(900, 700);
    MostraPainel(QStringLiteral("Principal"));
}

TFormPrincipal::~TFormPrincipal() {
    dm_.fecha();
}

void TFormPrincipal::addPanel(const QString& name, QWidget* panel) {
    paineis_.insert(name, panel);
    stack_->addWidget(panel);
}

QAction* TFormPrincipal::addAction(QMenu* menu, const QString& name, const QString& text,
                                   std::function<void()> run) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    actions_.insert(name, action);
    if (run)
        functions_.insert(name, std::move(run));
    connect(action, &QAction::triggered, this, [this, name] {
        if (const auto run = functions_.value(name))
            run();
    });
    return action;
}

QToolButton* TFormPrincipal::addButton(QWidget* bar, const QString& name, const QString& hint, int icon,
                                       std::function<void()> run) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolTip(hint);
    Controls::name(button, hint); // an icon alone says nothing to a screen reader
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setIconSize(QSize(24, 24));
    buttons_.insert(name, button);
    bar->layout()->addWidget(button);
    if (run)
        functions_.insert(name, std::move(run));
    connect(button, &QToolButton::clicked, this, [this, name] {
        if (const auto run = functions_.value(name))
            run();
    });
    return button;
}

void TFormPrincipal::buildMenus(QMenuBar* bar) {
    QMenu* certificado = bar->addMenu(QStringLiteral("&Certificado"));
    certificado->setObjectName(QStringLiteral("Certificado1"));
    addAction(certificado, QStringLiteral("Novo1"), QStringLiteral("Novo..."), [this] { novoCertificado(); });
    addAction(certificado, QStringLiteral("Altera1"), QStringLiteral("Modifica..."),
              [this] { modificaCertificado(); });
    addAction(certificado, QStringLiteral("Exclui1"), QStringLiteral("Exclui..."),
              [this] { excluiCertificado(); });
    certificado->addSeparator();
    addAction(certificado, QStringLiteral("Sair1"), QStringLiteral("Sair"), [this] { close(); });

    QMenu* tabelas = bar->addMenu(QStringLiteral("&Tabelas"));
    tabelas->setObjectName(QStringLiteral("Tabelas1"));
    addAction(tabelas, QStringLiteral("Empresa1"), QStringLiteral("Empresa"), {});
    addAction(tabelas, QStringLiteral("Produto1"), QStringLiteral("Produto"), {});
    addAction(tabelas, QStringLiteral("Signatario1"), QStringLiteral("Signatário"), {});

    QMenu* kavorel = bar->addMenu(QStringLiteral("&Kavorel"));
    kavorel->setObjectName(QStringLiteral("Kavorel1"));
    addAction(kavorel, QStringLiteral("TabelasKavorel1"), QStringLiteral("Tabelas Kavorel..."),
              [this] { tabelasKavorel(); });

    QMenu* relatorios = bar->addMenu(QStringLiteral("&Relatórios"));
    relatorios->setObjectName(QStringLiteral("Relatorios1"));
    addAction(relatorios, QStringLiteral("CertificadosIncompletos1"),
              QStringLiteral("Certificados Incompletos"), {});
    addAction(relatorios, QStringLiteral("CertificadosProntos1"),
              QStringLiteral("Certificados Prontos para Aprovação"), {});
    addAction(relatorios, QStringLiteral("EspelhoCertificado1"), QStringLiteral("Espelho do Certificado"),
              {});
    addAction(relatorios, QStringLiteral("CertificadosAVencer1"), QStringLiteral("Certificados a Vencer..."),
              {});

    QMenu* importacao = bar->addMenu(QStringLiteral("&Importação"));
    importacao->setObjectName(QStringLiteral("Importacao1"));
    addAction(importacao, QStringLiteral("ImportaTXT1"), QStringLiteral("Importa dados Arquivo TXT"), {});
}

QWidget* TFormPrincipal::buildToolBar() {
    toolBar_ = new QWidget(this);
    toolBar_->setObjectName(QStringLiteral("PanelBotoes"));
    auto* layout = new QHBoxLayout(toolBar_);
    layout->setContentsMargins(0, 0, 0, 0);
    addButton(toolBar_, QStringLiteral("sbNovoCertificado"), QStringLiteral("Novo Certificado"),
              QStyle::SP_FileIcon, [this] { novoCertificado(); });
    addButton(toolBar_, QStringLiteral("sbEditaCertificado"), QStringLiteral("Edita Certificado"),
              QStyle::SP_FileDialogDetailedView, [this] { modificaCertificado(); });
    addButton(toolBar_, QStringLiteral("sbApagaCertificado"), QStringLiteral("Apaga Certificado"),
              QStyle::SP_TrashIcon, [this] { excluiCertificado(); });
    addButton(toolBar_, QStringLiteral("sbTabEmpresas"), QStringLiteral("Tabela de Empresas"),
              QStyle::SP_DirHomeIcon, {});
    addButton(toolBar_, QStringLiteral("sbTabProdutos"), QStringLiteral("Tabela de Produtos"),
              QStyle::SP_DriveCDIcon, {});
    addButton(toolBar_, QStringLiteral("sbTabKavorel"), QStringLiteral("Tabelas do Kavorel"),
              QStyle::SP_FileDialogListView, [this] { tabelasKavorel(); });
    addButton(toolBar_, QStringLiteral("sbImportacao"), QStringLiteral("Importação Dados do Arquivo Texto"),
              QStyle::SP_ArrowDown, {});
    addButton(toolBar_, QStringLiteral("sbSaida"), QStringLiteral("Saída"), QStyle::SP_DialogCloseButton,
              [this] { close(); });
    layout->addStretch();
    return toolBar_;
}

void TFormPrincipal::applyEnabled() {
    menuBar_->setEnabled(livre_);
    toolBar_->setEnabled(livre_);
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it)
        it.value()->setEnabled(livre_ && functions_.contains(it.key()));
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setEnabled(livre_ && functions_.contains(it.key()));
}

void TFormPrincipal::MostraPainel(const QString& name) {
    QWidget* panel = paineis_.value(name);
    if (!panel)
        return;
    stack_->setCurrentWidget(panel);
    livre_ = !ModosFechados.contains(name);
    applyEnabled();
}

QString TFormPrincipal::painelAtual() const {
    return paineis_.key(stack_->currentWidget());
}

void TFormPrincipal::setEscolheCertificado(EscolheCertificado chooser) {
    modifica_->setEscolheCertificado(chooser);
    exclui_->setEscolheCertificado(std::move(chooser));
}

void TFormPrincipal::setImagem(const QPixmap& picture) {
    principal_->setImagem(picture);
}

void TFormPrincipal::setTextosStatus(const QString& panel0, const QString& panel1) {
    principal_->setTextosStatus(panel0, panel1);
}

void TFormPrincipal::installPanel(const QString& name, QWidget* content) {
    auto* slot = qobject_cast<SlotPanel*>(paineis_.value(name));
    if (!slot)
        return;
    slot->install(content);
    for (const QString& control : controlsOfPanel_.value(name))
        functions_.insert(control, [this, name] { MostraPainel(name); });
    applyEnabled();
}

void TFormPrincipal::setFunction(const QString& actionName, std::function<void()> run) {
    if (run)
        functions_.insert(actionName, std::move(run));
    else
        functions_.remove(actionName);
    applyEnabled();
}

void TFormPrincipal::novoCertificado() {
    if (!dm_.Novo()) {
        MostraPainel(QStringLiteral("Principal"));
        return;
    }
    MostraPainel(QStringLiteral("NovoCertificado"));
    novo_->abre();
}

void TFormPrincipal::modificaCertificado() {
    dm_.fecha();
    MostraPainel(QStringLiteral("ModificaCertificado"));
    modifica_->mostraCertificado();
}

void TFormPrincipal::excluiCertificado() {
    MostraPainel(QStringLiteral("ExcluiCertificado"));
    exclui_->abre();
}

void TFormPrincipal::tabelasKavorel() {
    MostraPainel(QStringLiteral("TabKavorel"));
    kavorel_->abre();
}
