#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct LoggedUser;
struct SharedBatchState;

// The delivery of text files ("Envio de Arquivo TXT") for certifiers who keep their register
// elsewhere: which files may go, the register of those already sent (CONTROLE_TXT), and the
// check that none goes twice. The delivery itself is one of the three delivery modes, which
// recognise a text file by its name.
namespace EnvioTXT {

// One row of CONTROLE_TXT as the register grid shows it.
struct Registro {
    QString NomeArquivo;      // "Arquivo Enviado"
    QDateTime DataHoraEvento; // "Data de Envio"
    QString UsuResp;          // "Usuário"
    QString EnviadoKAVOREL;
    QString ArquivoEnviado() const; // "Enviado ao KAVOREL": "Sim" for "S", otherwise "Não"
};

// The mask of the certifier's text files: "TX-" + acronym + "*.txt".
QString mascara(const QString& siglaCertificador);
// The names (not paths) of the files of the directory that match the mask, ignoring case, sorted.
QStringList arquivosElegiveis(const QString& diretorio, const QString& siglaCertificador);
// True when the name matches the mask.
bool ehElegivel(const QString& nomeArquivo, const QString& siglaCertificador);

// The register grid's statement.
QString registrosSql(); // "SELECT * FROM CONTROLE_TXT"
QList<Registro> registros(const QSqlDatabase& db);

// True when CONTROLE_TXT holds the name (whole name, with ".txt"), whether the file was sent or
// registered by the text import. A failing lookup counts as not found.
bool jaRegistrado(const QSqlDatabase& db, const QString& nomeArquivo);

// The longest name CONTROLE_TXT.NomeArquivo takes.
constexpr int TamanhoMaximoNome = 30;

// Why a text file cannot go under this name at all (empty when it can): a name longer than the
// register takes would be sent and never recorded, and the sent-once check would not hold for it.
QString problemaNome(const QString& nomeArquivo);

// Why the selected file cannot go (empty when it can): none selected ("Por favor selecione um
// arquivo"), a name the register cannot take (problemaNome), or already registered ("O arquivo
// <name> já foi enviado e processado no KAVOREL.").
QString problemaEnvio(const QSqlDatabase& db, const QString& nomeArquivo);

// Loads the shared state from CONFIG_LOCAL for the delivery, with the chosen directory as the
// transfer directory.
void carregaEstado(SharedBatchState& state, const QSqlDatabase& db, const LoggedUser& user,
                   const QString& diretorio);

} // namespace EnvioTXT
