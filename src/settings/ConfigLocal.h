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

// Why the three local directories cannot be saved: empty, the root, longer than the column, or
// two of them the same directory (the exchange deletes and packs files by mask in each).
// Empty when they are sound.
QString problemaDiretorios(const ConfigLocal& row);

// The same checks for the transfer directory alone, which the batch preparation runs before it
// deletes files by mask there: set, not the root, fits the column, not one of the other two.
QString problemaDiretorioTransferencia(const ConfigLocal& row);

} // namespace ConfigLocalTable
