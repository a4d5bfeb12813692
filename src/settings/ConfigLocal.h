#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// The installation's configuration: the single row of CONFIG_LOCAL.
struct ConfigLocal {
    QString SiglaCertificador;
    QString NomeOCC;
    QString DirLocalSincr;
    QString DirLocalTransf;
    QString DirLocalRecepAux;
    QString EndKavorelEnvio;
    QString EndKavorelResult;
    QString EndKavorelOrigAux;
    QString LoginFTP;
    QString SenhaFTP;
    QString EndSMTPHost;
    QString EndSMTPPort;
    QString EndSMTPUsuario;
    QString EndSMTPEMailReply;
    QString EndSMTPUsuReply;

    bool operator==(const ConfigLocal&) const = default;
};

namespace ConfigLocalTable {

// The first (only) row, or nothing when the installation was never configured.
std::optional<ConfigLocal> load(const QSqlDatabase& db);

// Writes the row: replaces the existing one, or creates it on the first configuration. Every
// user of the installation carries the installation's acronym, so the users' rows follow it.
void save(const QSqlDatabase& db, const ConfigLocal& row);

// Column length of each directory and address.
inline constexpr int TamanhoDiretorio = 100;

// Why the three local directories cannot be saved: empty, the root, longer than the column, a
// protected directory (below), or two of them the same directory (the exchange writes, packs and
// deletes its work files in each). Empty when they are sound.
QString problemaDiretorios(const ConfigLocal& row);

// The same checks for the transfer directory alone, which the batch preparation runs before it
// deletes files by mask there: set, not the root, fits the column, not one of the other two.
QString problemaDiretorioTransferencia(const ConfigLocal& row);

// Why a directory must never receive the exchange's work files: it is the base directory, holds a
// database file, or is (or lies inside) the program's own directory, apart from the work directory.
// Empty for an empty directory (not configured yet) and for a sound one.
QString problemaDiretorioProtegido(const QString& caption, const QString& dir);

// The first of the three configured local directories that is protected; empty when none is. The
// start-up check and the operations that write into them run it on stored settings.
QString problemaDiretoriosProtegidos(const ConfigLocal& row);

} // namespace ConfigLocalTable
