#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;

// The authority's reference-table versions: archives "OC-TAB-" + YYYYMMDDNN + ".zip" and the
// history of installations in CONTROLE_AUX.
namespace Versoes {

inline const QString NenhumaVersao = QStringLiteral("0000000000");

// The twelve reference tables, in the order a package is applied.
const QStringList& tabelasReferencia();

// "OC-TAB-" + version + ".zip".
QString nomeArquivo(const QString& numeroVersao);
// Characters 8 to 17 of an archive name.
QString numeroDe(const QString& nomeArquivo);

// True when the candidate's date and sequence (characters 8-11, 12-13, 14-15, 16-17) come after the
// reference's; false when either holds something that is not a number there.
bool VersaoMaisNova(const QString& referencia, const QString& candidato);

// A version archive's name: 21 characters, "OC-TAB-" and ".zip" in any case, ten digits between.
bool nomeDeVersao(const QString& nome);

// The newest version archive among `nomes` that is newer than `referencia`, in listing order (of
// equal versions the first stays); `referencia` itself when none is newer.
QString maisNova(const QString& referencia, const QStringList& nomes);

struct VersaoInstalada {
    QString numero = NenhumaVersao;
    QString arquivo;
    bool existe() const { return !arquivo.isEmpty(); }
};
// The row of CONTROLE_AUX with the latest DataHoraVersao.
VersaoInstalada versaoInstalada(const QSqlDatabase& db);

// Why the reception directory cannot take a package (not set, or missing), in the words the user
// sees; empty when it can.
QString problemaRecepcao(const QString& diretorioRecepcao);
// True when the archive `arquivo` is still in the reception directory (so it can be re-installed).
bool arquivoNaRecepcao(const QString& diretorioRecepcao, const QString& arquivo);

// Appends a CONTROLE_AUX row stamped now.
void RegistraVersao(const QSqlDatabase& db, const Clock& clock, const QString& numero,
                    const QString& arquivo);

struct Instalacao {
    QDateTime dataHora;
    QString numero;
    QString arquivo;
};
// The history, newest installation first ("Histórico de Atualizações de Versão").
QList<Instalacao> historico(const QSqlDatabase& db);
// The installations by version, highest first ("Seleciona Versão").
QList<Instalacao> porVersao(const QSqlDatabase& db);

} // namespace Versoes
