#pragma once

#include <QSqlDatabase>
#include <QString>

class Clock;
class Prompts;

// The seven permission flags of a user, copied at login.
struct Permissions {
    bool AcConfigOCC = false;
    bool AcConfigDir = false;
    bool AcCadastraUsu = false;
    bool AcManBase = false;
    bool AcContRemessas = false;
    bool AcAtualTabAux = false;
    bool AcAprovCertific = false;

    static Permissions all() { return {true, true, true, true, true, true, true}; }
    bool operator==(const Permissions&) const = default;
};

// The logged-in user: empty and without permissions before the first login.
struct LoggedUser {
    QString SiglaUsu;
    QString SiglaCertificador; // the acronym stored in the user's row, shown in the status bar
    Permissions permissions;

    bool isLoggedIn() const { return !SiglaUsu.isEmpty(); }
};

// What every screen and data module is given instead of globals: the connection, the clock, the
// prompts and the logged-in user.
class Session {
public:
    Session(QString connectionName, Clock& clock, Prompts& prompts)
        : connectionName_(std::move(connectionName)), clock_(clock), prompts_(prompts) {}

    QSqlDatabase database() const { return QSqlDatabase::database(connectionName_, false); }
    const QString& connectionName() const { return connectionName_; }
    Clock& clock() const { return clock_; }
    Prompts& prompts() const { return prompts_; }

    const LoggedUser& user() const { return user_; }
    void setUser(LoggedUser user) { user_ = std::move(user); }

private:
    QString connectionName_;
    Clock& clock_;
    Prompts& prompts_;
    LoggedUser user_;
};
