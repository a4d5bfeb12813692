#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "Clock.h"
#include "Database.h"
#include "DbError.h"
#include "ImportacaoTxt.h"
#include "SampleReference.h"

#include <QDir>
#include <QSqlQuery>
#include <sqlite3.h>

namespace {

const QString Arquivo = QStringLiteral("TX-OCC12015112501.txt");

QSqlDatabase registro() {
    const QString nome = QStringLiteral("fuzz-importacao");
    const bool nova = !QSqlDatabase::contains(nome);
    QSqlDatabase db = fuzz::memoryDatabase(nome);
    if (nova) {
        QSqlQuery(db).exec(
            QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Org')"));
        loadSampleReference(db, QStringLiteral("OCC1"));
    }
    return db;
}

void executa(const QSqlDatabase& db, const char* sql) {
    fuzz::check(sqlite3_exec(Database::handle(db), sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql);
}

} // namespace

// An import file through the whole run: the reader, the record checks, the writes into a register
// with the program's schema and the checks before commit. Each input runs inside a transaction of
// its own that is rolled back, so every input meets the same register.
int fuzzOneImportacao(const uint8_t* data, size_t size) {
    const QSqlDatabase db = registro();
    const QString pasta = fuzz::scratchDirectory();
    fuzz::writeScratchFile(Arquivo, fuzz::bytesOf(data, size));
    ManualClock relogio(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59)));
    fuzz::SilentPrompts avisos;
    ImportacaoTxt::Parametros parametros;
    parametros.db = db;
    parametros.clock = &relogio;
    parametros.prompts = &avisos;
    parametros.usuario = QStringLiteral("FUZZ");
    parametros.podeAprovar = true;
    executa(db, "BEGIN");
    try {
        ImportacaoTxt importacao(parametros);
        importacao.importaArquivo(pasta, Arquivo);
    } catch (const DbError&) {
    }
    executa(db, "ROLLBACK");
    return 0;
}
