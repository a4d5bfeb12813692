#include "TFrmCapaSistema.h"

#include "AppInfo.h"
#include "Backups.h"
#include "Clock.h"
#include "Database.h"
#include "DbError.h"
#include "HelpWindow.h"
#include "Paths.h"
#include "Pictures.h"
#include "Prompts.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TFrmAjuda.h"
#include "TFrmRestauraCopia.h"
#include "VerificaConfiguracao.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

const QString TFrmCapaSistema::TextoEnvioTXT = QStringLiteral(
    "Esta opção só deve ser utilizada para os certificadores, que optaram por migração de dados utilizando "
    "arquivo TXT e  não vão utilizar o Modulo OCC para inserir os dados. O arquivo TXT será enviado e "
    "processado no KAVOREL.");

TFrmCapaSistema::TFrmCapaSistema(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("TFrmCapaSistema"));
    setWindowTitle(AppInfo::ModuleCaption + QStringLiteral(" - ") + AppInfo::Version);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The tool bar is part of the window, not something the user hides.
    setContextMenuPolicy(Qt::NoContextMenu);

    buildMenus();
    buildToolBar();
    buildPages();
    installHelpKey(this);
    // The layouts size the window from its contents and the fonts of this platform; it may be enlarged.

    startupTimer_ = new QTimer(this);
    startupTimer_->setObjectName(QStringLiteral("Timer1"));
    startupTimer_->setSingleShot(true);
    startupTimer_->setInterval(100);
    connect(startupTimer_, &QTimer::timeout, this, &TFrmCapaSistema::runStartupCheck);

    showPage(PageId::Principal);
}

TFrmCapaSistema::~TFrmCapaSistema() = default;

QAction* TFrmCapaSistema::addItem(QMenu* menu, const QString& name, const QString& text,
                                  const std::function<void()>& run) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, run);
    actions_.insert(name, action);
    return action;
}

void TFrmCapaSistema::buildMenus() {
    const auto function = [this](ShellFunction f) { return [this, f] { runFunction(f); }; };

    QMenu* funcoes = menuBar()->addMenu(QStringLiteral("&Funções"));
    funcoes->setObjectName(QStringLiteral("mnuFuncoes"));
    addItem(funcoes, QStringLiteral("mniManBaseDados"), QStringLiteral("&Manutenção da Base de Dados..."),
            function(ShellFunction::ManBaseDados));
    addItem(funcoes, QStringLiteral("mniAprovaCertificados"), QStringLiteral("A&provação de Certificados"),
            function(ShellFunction::AprovaCertificados));
    QMenu* remessas = funcoes->addMenu(QStringLiteral("&Controle de Remessas"));
    remessas->setObjectName(QStringLiteral("mniContRemessas"));
    addItem(remessas, QStringLiteral("mniGerarRemessa"), QStringLiteral("&Gerar Remessa "),
            function(ShellFunction::GerarRemessa));
    addItem(remessas, QStringLiteral("mniEnvioTXT"), QStringLiteral("&Envio de Arquivo TXT"),
            function(ShellFunction::EnvioTXT));
    addItem(funcoes, QStringLiteral("mniAtualizTabKavorel"),
            QStringLiteral("A&tualização de Tabelas Kavorel..."), function(ShellFunction::AtualizTabKavorel));
    funcoes->addSeparator();
    addItem(funcoes, QStringLiteral("mniSair"), QStringLiteral("&Sair"), [this] { close(); });

    QMenu* configuracoes = menuBar()->addMenu(QStringLiteral("&Configurações"));
    configuracoes->setObjectName(QStringLiteral("mnuConfiguracoes"));
    addItem(configuracoes, QStringLiteral("mniCertificador"), QStringLiteral("&Certificador..."),
            function(ShellFunction::Certificador));
    addItem(configuracoes, QStringLiteral("mniDiretorios"), QStringLiteral("&Diretórios..."),
            function(ShellFunction::Diretorios));

    QMenu* usuarios = menuBar()->addMenu(QStringLiteral("&Usuários"));
    usuarios->setObjectName(QStringLiteral("mnuUsuarios"));
    addItem(usuarios, QStringLiteral("mniCadUsuarios"), QStringLiteral("&Cadastro de Usuários..."),
            function(ShellFunction::CadUsuarios));
    addItem(usuarios, QStringLiteral("mniAlteraSenha"), QStringLiteral("&Altera Senha..."),
            function(ShellFunction::AlteraSenha));

    QMenu* copias = menuBar()->addMenu(QStringLiteral("Cópia de &Segurança"));
    copias->setObjectName(QStringLiteral("mnuCopias"));
    addItem(copias, QStringLiteral("mniFazerCopia"), QStringLiteral("&Fazer cópia agora"),
            [this] { makeCopyNow(); });
    addItem(copias, QStringLiteral("mniRestaurarCopia"), QStringLiteral("&Restaurar cópia..."),
            [this] { restoreCopy(); });

    // The manual is open to everybody, logged in or not.
    QAction* manual = menuBar()->addAction(QStringLiteral("&Manual de Uso"));
    manual->setObjectName(QStringLiteral("mniManual"));
    connect(manual, &QAction::triggered, this,
            [this] { HelpWindow::open(this, HelpWindow::topicFor(this)); });

    QAction* sobre = menuBar()->addAction(QStringLiteral("&Sobre..."));
    sobre->setObjectName(QStringLiteral("mniAjuda"));
    connect(sobre, &QAction::triggered, this, &TFrmCapaSistema::openAbout);
    actions_.insert(sobre->objectName(), sobre);

    for (QMenu* menu : {funcoes, remessas, configuracoes, usuarios, copias})
        menus_.insert(menu->objectName(), menu);
}

QToolButton* TFrmCapaSistema::addSpeedButton(const QString& name, const QString& hint,
                                             const std::function<void()>& run, int standardIcon,
                                             const QString& caption) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    if (caption.isEmpty()) {
        button->setIcon(style()->standardIcon(QStyle::StandardPixmap(standardIcon)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QFont bold = button->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.4);
        button->setFont(bold);
        button->setMinimumSize(32, 32);
    }
    connect(button, &QToolButton::clicked, this, run);
    buttons_.insert(name, button);
    return button;
}

void TFrmCapaSistema::buildToolBar() {
    auto* bar = new QToolBar(QStringLiteral("Botões"), this);
    bar->setObjectName(QStringLiteral("pnlBotoes"));
    bar->setMovable(false);
    bar->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, bar);

    const auto function = [this](ShellFunction f) { return [this, f] { runFunction(f); }; };
    bar->addWidget(addSpeedButton(QStringLiteral("spbManBaseDados"),
                                  QStringLiteral("Manutenção da Base de Dados"),
                                  function(ShellFunction::ManBaseDados), QStyle::SP_DriveHDIcon));
    bar->addWidget(addSpeedButton(QStringLiteral("spbAprovaCertificados"),
                                  QStringLiteral("Aprovação de Certificados"),
                                  function(ShellFunction::AprovaCertificados), -1, QStringLiteral("A")));
    bar->addWidget(addSpeedButton(QStringLiteral("spbContRemessas"), QStringLiteral("Controle de Remessas"),
                                  function(ShellFunction::GerarRemessa), QStyle::SP_DriveNetIcon));
    bar->addWidget(addSpeedButton(QStringLiteral("spbAtualizTabKavorel"),
                                  QStringLiteral("Atualização de Tabelas Kavorel"),
                                  function(ShellFunction::AtualizTabKavorel), QStyle::SP_ArrowDown));
    bar->addSeparator();
    bar->addWidget(addSpeedButton(QStringLiteral("spbCertificador"), QStringLiteral("Certificador"),
                                  function(ShellFunction::Certificador), QStyle::SP_FileDialogInfoView));
    bar->addWidget(addSpeedButton(QStringLiteral("spbDiretorios"), QStringLiteral("Diretórios"),
                                  function(ShellFunction::Diretorios), QStyle::SP_DirIcon));
    bar->addSeparator();
    bar->addWidget(addSpeedButton(QStringLiteral("spbCadUsuarios"), QStringLiteral("Cadastro de Usuários"),
                                  function(ShellFunction::CadUsuarios), QStyle::SP_FileDialogContentsView));
    bar->addWidget(addSpeedButton(QStringLiteral("spbAlteraSenha"), QStringLiteral("Altera Senha"),
                                  function(ShellFunction::AlteraSenha), QStyle::SP_DialogResetButton));
    bar->addWidget(addSpeedButton(
        QStringLiteral("sbReentrar"), QStringLiteral("Altera Usuário Logado"), [this] { runLogin(); },
        QStyle::SP_BrowserReload));
    bar->addSeparator();
    bar->addWidget(addSpeedButton(
        QStringLiteral("SbAjuda"), QStringLiteral("Ajuda"), [this] { openAbout(); },
        QStyle::SP_DialogHelpButton));
    bar->addWidget(addSpeedButton(
        QStringLiteral("sbSair"), QStringLiteral("Saída"), [this] { close(); },
        QStyle::SP_DialogCloseButton));
}

QWidget* TFrmCapaSistema::buildPrincipal() {
    auto* principal = new QWidget;
    auto* picture = new QLabel(principal);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(Pictures::banner(QSize(640, 280), QStringLiteral("Módulo do Certificador")));

    lbAguarde_ = new QLabel(QStringLiteral("Aguarde, verificando tabelas..."), principal);
    lbAguarde_->setObjectName(QStringLiteral("LbAguarde"));
    lbAguarde_->setAlignment(Qt::AlignCenter);
    pbAguarde_ = new QProgressBar(principal);
    pbAguarde_->setObjectName(QStringLiteral("PbAguarde"));
    pbAguarde_->setRange(0, 0); // busy: the check has no measurable steps
    pbAguarde_->setVisible(false);

    auto* statusBar = new QStatusBar(principal);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    panel0_ = new QLabel(statusBar);
    panel0_->setObjectName(QStringLiteral("StatusBar1Panel0"));
    panel1_ = new QLabel(AppInfo::ModuleVersion, statusBar);
    panel1_->setObjectName(QStringLiteral("StatusBar1Panel1"));
    noticePanel_ = new QLabel(statusBar);
    noticePanel_->setObjectName(QStringLiteral("StatusBar1Aviso"));
    statusBar->addWidget(panel0_, 1);
    statusBar->addWidget(noticePanel_);
    statusBar->addPermanentWidget(panel1_);

    auto* layout = new QVBoxLayout(principal);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture, 1);
    layout->addWidget(lbAguarde_);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(80, 0, 80, 8);
    bar->addWidget(pbAguarde_);
    layout->addLayout(bar);
    layout->addWidget(statusBar);
    return principal;
}

void TFrmCapaSistema::buildPages() {
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("Paginas"));
    for (PageId id : {PageId::Principal, PageId::CadastroUsuarios, PageId::ConfiguraDiretorios,
                      PageId::ConfigCertificador, PageId::AprovaCertificados}) {
        auto* slot = new QWidget;
        slot->setObjectName(pageName(id));
        auto* layout = new QVBoxLayout(slot);
        layout->setContentsMargins(0, 0, 0, 0);
        if (id == PageId::Principal)
            layout->addWidget(buildPrincipal());
        pages_->insertWidget(int(id), slot);
    }
    setCentralWidget(pages_);
}

QString TFrmCapaSistema::pageName(PageId page) {
    switch (page) {
    case PageId::Principal:
        return QStringLiteral("Principal");
    case PageId::CadastroUsuarios:
        return QStringLiteral("CadastroUsuarios");
    case PageId::ConfiguraDiretorios:
        return QStringLiteral("ConfiguraDiretorios");
    case PageId::ConfigCertificador:
        return QStringLiteral("ConfigCertificador");
    case PageId::AprovaCertificados:
        return QStringLiteral("AprovaCertificados");
    }
    return {};
}

QWidget* TFrmCapaSistema::page(PageId page) const {
    return pages_->widget(int(page));
}

void TFrmCapaSistema::setPage(PageId id, QWidget* content) {
    Q_ASSERT(id != PageId::Principal);
    QLayout* layout = page(id)->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (content)
        layout->addWidget(content);
}

void TFrmCapaSistema::showPage(PageId page) {
    current_ = page;
    pages_->setCurrentIndex(int(page));
    applyControls();
}

void TFrmCapaSistema::registerFunction(ShellFunction function, std::function<void()> operation) {
    if (operation)
        operations_[function] = std::move(operation);
    else
        operations_.erase(function);
    applyControls();
}

void TFrmCapaSistema::runFunction(ShellFunction function) {
    const auto found = operations_.find(function);
    if (found == operations_.end())
        return;
    // A copy: the operation may replace its own registration while it runs.
    const std::function<void()> operation = found->second;
    switch (function) {
    case ShellFunction::Login:
        runLogin();
        return;
    case ShellFunction::EnvioTXT:
        session_.prompts().information(TextoEnvioTXT);
        break;
    case ShellFunction::AprovaCertificados:
        showPage(PageId::AprovaCertificados);
        break;
    case ShellFunction::Certificador:
        showPage(PageId::ConfigCertificador);
        break;
    case ShellFunction::Diretorios:
        showPage(PageId::ConfiguraDiretorios);
        break;
    case ShellFunction::CadUsuarios:
        showPage(PageId::CadastroUsuarios);
        break;
    default:
        break;
    }
    operation();
}

void TFrmCapaSistema::runLogin() {
    const auto found = operations_.find(ShellFunction::Login);
    if (found != operations_.end()) {
        const std::function<void()> login = found->second;
        login();
        // Once the login has been shown the shell opens up even when it was closed without a
        // user: the common functions work, and the permissions of whoever is in force apply.
        loginShown_ = true;
    }
    // Whatever the dialog did, the controls follow the user now in force.
    applyControls();
}

void TFrmCapaSistema::applyLogin(const LoggedUser& user) {
    session_.setUser(user);
    writeUserPanel();
    noticePanel_->setText(user.isLoggedIn() && loginNotice_ ? loginNotice_() : QString());
    applyControls();
}

void TFrmCapaSistema::writeUserPanel() {
    const LoggedUser& user = session_.user();
    panel0_->setText(user.isLoggedIn() ? QStringLiteral("USUÁRIO: ") + user.SiglaUsu +
                                             QStringLiteral("  |  ORGANISMO: ") + user.SiglaCertificador
                                       : QString());
}

void TFrmCapaSistema::applyControls() {
    ShellState state;
    state.loggedIn = loginShown_ || session_.user().isLoggedIn();
    state.permissions = session_.user().permissions;
    state.workPageOpen = current_ != PageId::Principal;
    for (const auto& [function, operation] : operations_)
        state.available.insert(function);

    QHash<QString, bool> enabled = ShellControls::enabled(state);
    enabled.insert(ShellControls::copyControls(state));
    for (auto it = enabled.cbegin(); it != enabled.cend(); ++it) {
        if (QMenu* menu = menus_.value(it.key())) {
            menu->setEnabled(it.value());
            menu->menuAction()->setEnabled(it.value());
        } else if (QAction* action = actions_.value(it.key())) {
            action->setEnabled(it.value());
        } else if (QAbstractButton* button = buttons_.value(it.key())) {
            button->setEnabled(it.value());
        }
    }
}

void TFrmCapaSistema::scheduleStartupCheck() {
    startupTimer_->start();
}

void TFrmCapaSistema::runStartupCheck() {
    startupTimer_->stop();
    pbAguarde_->setVisible(true);
    // A damaged file, or one of a newer version, is not opened: the program ends instead.
    if (!Backups::startupCheck(Paths::databaseFile(), session_.prompts(), session_.clock().now())) {
        lbAguarde_->setVisible(false);
        pbAguarde_->setVisible(false);
        close();
        return;
    }
    if (capaSistema_)
        VerificaConfiguracao(*capaSistema_, session_.prompts());
    else
        qWarning("The start-up check ran without the data module; the configuration was not checked");
    lbAguarde_->setVisible(false);
    pbAguarde_->setVisible(false);
    runLogin();
}

void TFrmCapaSistema::makeCopyNow() {
    const QString file = Paths::databaseFile();
    try {
        const BusyScope busy(session_.prompts());
        const QString made =
            Backups::make(file, Backups::Manual, session_.clock().now(), Backups::settingsFor(file));
        session_.prompts().information(
            QStringLiteral("Cópia de segurança feita em %1.").arg(QDir::toNativeSeparators(made)));
    } catch (const DbError& failure) {
        session_.prompts().error(failure.message());
    }
}

void TFrmCapaSistema::restoreCopy() {
    Prompts& prompts = session_.prompts();
    // Every other screen is modal or a work page: with none of them open nothing holds the database.
    if (current_ != PageId::Principal) {
        prompts.warning(QStringLiteral("Feche a tela aberta antes de restaurar uma cópia."));
        return;
    }
    const QString file = Paths::databaseFile();
    const Backups::Settings settings = Backups::settingsFor(file);
    const QList<Backups::Copy> copies = Backups::list(settings);
    if (copies.isEmpty()) {
        prompts.information(QStringLiteral("Não há cópias de segurança em %1.")
                                .arg(QDir::toNativeSeparators(settings.directory)));
        return;
    }
    TFrmRestauraCopia dialog(copies, this);
    dialog.exec();
    const std::optional<Backups::Copy> copy = dialog.chosen();
    if (!copy)
        return;
    if (!prompts.confirm(QStringLiteral("Substituir o banco de dados pela cópia de %1 (%2)? O banco de dados "
                                        "atual será antes copiado.")
                             .arg(copy->when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                  Backups::describeReason(copy->reason))))
        return;
    Database::close(session_.connectionName());
    QString problem;
    try {
        const BusyScope busy(prompts);
        Backups::restore(copy->file, file, session_.clock().now(), settings);
    } catch (const DbError& failure) {
        problem = failure.message();
    }
    // The connection comes back over whichever file is there now.
    try {
        if (capaSistema_)
            capaSistema_->siglaCertificadorConfigurada();
        else
            Database::open(file, session_.connectionName());
    } catch (const DbError& failure) {
        problem = problem.isEmpty() ? failure.message() : problem;
    }
    if (!problem.isEmpty()) {
        writeUserPanel();
        applyControls();
        prompts.error(problem);
        return;
    }
    prompts.information(QStringLiteral("A cópia de %1 foi restaurada. Entre novamente no sistema.")
                            .arg(copy->when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
    // The users, passwords and permissions are now the copy's: whoever was logged in must log in
    // again against them.
    applyLogin(LoggedUser{});
    runLogin();
}

void TFrmCapaSistema::openAbout() {
    TFrmAjuda about(this);
    about.exec();
}

void TFrmCapaSistema::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        if (const QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QMainWindow::showEvent(event);
}
