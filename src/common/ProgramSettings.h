#pragma once

#include <QString>
#include <QVariant>

// The program's own settings, those that belong to the installation rather than to the database:
// "tarvendix.conf" in the base directory, an INI file the administrator edits by hand. Every value
// has a default, so a missing file, group or key, or a value that makes no sense, changes nothing.
//
//   [rede]
//   ; seconds a transfer may go without moving a byte before it is abandoned
//   TempoSemDados=60
//
//   [copias]
//   ; how many copies of the database are kept (Backups::settingsFor reads both)
//   Quantidade=10
//   ; where: absolute (another disk), or relative to the database's directory
//   Diretorio=Backup
class ProgramSettings {
public:
    static constexpr int DefaultStallTimeoutSeconds = 60;

    // The file in the base directory, or another one (tests, tools).
    ProgramSettings();
    explicit ProgramSettings(QString file);

    const QString& file() const { return file_; }

    // [rede] TempoSemDados: how long an FTP or SMTP transfer may move no byte before it is
    // abandoned; DefaultStallTimeoutSeconds when missing, not a whole number or not positive.
    int stallTimeoutSeconds() const;

    // The raw value of "group/key" (invalid when missing), for settings with rules of their own.
    QVariant value(const QString& key) const;
    // A whole number above zero at "group/key", `fallback` when missing or anything else.
    int positiveNumber(const QString& key, int fallback) const;

private:
    QString file_;
};
