#pragma once

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// The pieces of the crash harness: a register's canonical state, a copy of a home, and a run of the
// companion that may be cut short by SIGKILL.

// Every table of a database as its sorted rows. Date-time columns keep only whether they are set:
// events are stamped with the moment they happen, which differs from run to run. CONTROLE_TEMP is
// left out: it is the batch list of the screen, rebuilt from CONTROLE whenever it is shown.
struct RegisterState {
    QMap<QString, QStringList> tables;

    bool operator==(const RegisterState& other) const { return tables == other.tables; }
    // The first tables that differ, with a row of each side, for the failure message.
    QString differenceFrom(const RegisterState& other) const;
};

// Reads the state through a connection of its own (which rolls back a journal left behind, as the
// next run of the program would). The home's own path reads "<home>" in the values, so copies of a
// home compare equal. Throws DbError.
RegisterState readState(const QString& databaseFile, const QString& home);
// "ok", or what PRAGMA integrity_check says.
QString integrityOf(const QString& databaseFile);

// Copies a directory tree; false on the first failure.
bool copyTree(const QString& from, const QString& to);
// The files under a directory, relative and sorted. Those inside hidden directories (the working
// directories of packing, unpacking and synchronising, ".zip-XXXXXX" and the like, which nothing
// ever reads as a real file) go to *hidden instead.
QStringList filesUnder(const QString& directory, QStringList* hidden = nullptr);

struct CompanionRun {
    int status = -1;     // exit code, -1 when it did not end normally
    bool killed = false; // SIGKILL sent while it was running
    QString out;
    QString err;
    qint64 ms = 0; // from start to end
};

struct CompanionOptions {
    int killAfterMs = -1;          // SIGKILL after this long; never when negative
    QStringList environment;       // NAME=VALUE added to the child's environment
    std::function<void()> inChild; // run in the child before exec
};

// Runs the companion with the password in the environment.
CompanionRun runCompanion(const QStringList& arguments, const QString& password,
                          const CompanionOptions& options);
