#pragma once

#include "ShellControls.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <map>

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTimer;
class QToolButton;
class Session;
class TDMCapaSistema;

// The main window: menus and speed buttons for every function, enabled by the logged-in user's
// permissions, and one client area showing one of five pages.
//
// Screens that come with other parts of the program plug in here:
// - registerFunction() makes a function available and gives it its operation; until then its
//   menu item and speed button stay disabled, whatever the permissions.
//   For the page functions (AprovaCertificados, Certificador, Diretorios, CadUsuarios) the window
//   shows the page first and then runs the operation, which prepares the page. For "Envio de
//   Arquivo TXT" the window shows its information box first. The Login operation is the login
//   dialog, which calls applyLogin() when a user logs in.
// - setPage() puts a page's widget into its slot; the page's own buttons call returnToMainPage().
class TFrmCapaSistema : public QMainWindow {
    Q_OBJECT
public:
    enum class PageId {
        Principal,
        CadastroUsuarios,
        ConfiguraDiretorios,
        ConfigCertificador,
        AprovaCertificados
    };

    explicit TFrmCapaSistema(Session& session, QWidget* parent = nullptr);
    ~TFrmCapaSistema() override;

    Session& session() const { return session_; }
    void setCapaSistema(TDMCapaSistema* dataModule) { capaSistema_ = dataModule; }

    void registerFunction(ShellFunction function, std::function<void()> operation);
    bool isAvailable(ShellFunction function) const { return operations_.count(function) > 0; }
    // Runs a function as its menu item or speed button does; nothing when it is not available.
    void runFunction(ShellFunction function);

    // The login hook: the login dialog, at start-up and from sbReentrar.
    void setLoginHook(std::function<void()> login) {
        registerFunction(ShellFunction::Login, std::move(login));
    }
    void runLogin();
    // Stores the user who logged in, writes the status bar and applies the permissions.
    void applyLogin(const LoggedUser& user);
    // A line for the status bar, worked out at each login (empty: none), e.g. the certificates
    // about to expire.
    void setLoginNotice(std::function<QString()> notice) { loginNotice_ = std::move(notice); }

    static QString pageName(PageId page);
    void setPage(PageId page, QWidget* content); // the window takes ownership
    QWidget* page(PageId page) const;            // the slot, named after the page
    void showPage(PageId page);
    PageId currentPage() const { return current_; }
    void returnToMainPage() { showPage(PageId::Principal); }

    // The start-up check, run once by a 100 ms timer after the window is shown: creates the
    // work directory, checks the certifier configuration, then runs the login. A database
    // error is left to the application's error handler, and the steps after it do not run.
    void scheduleStartupCheck();
    void runStartupCheck();

    void openAbout();

    // The menu "Cópia de Segurança": a copy made now, and the choice and restore of one.
    void makeCopyNow();
    void restoreCopy();

    static const QString TextoEnvioTXT;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildPages();
    QWidget* buildPrincipal();
    QToolButton* addSpeedButton(const QString& name, const QString& hint, const std::function<void()>& run,
                                int standardIcon = -1, const QString& caption = {});
    QAction* addItem(QMenu* menu, const QString& name, const QString& text, const std::function<void()>& run);
    void applyControls();
    void writeUserPanel();

    Session& session_;
    TDMCapaSistema* capaSistema_ = nullptr;
    std::map<ShellFunction, std::function<void()>> operations_;
    QHash<QString, QAction*> actions_; // menu items, and the menus by their menu action
    QHash<QString, QMenu*> menus_;
    QHash<QString, QAbstractButton*> buttons_; // speed buttons
    QStackedWidget* pages_ = nullptr;
    PageId current_ = PageId::Principal;
    QLabel* lbAguarde_ = nullptr;
    QProgressBar* pbAguarde_ = nullptr;
    QLabel* panel0_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* noticePanel_ = nullptr;
    std::function<QString()> loginNotice_;
    QTimer* startupTimer_ = nullptr;
    bool centred_ = false;
    bool loginShown_ = false;
};
