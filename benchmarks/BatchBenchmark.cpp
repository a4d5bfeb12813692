#include "BatchBenchmark.h"

#include "BatchControl.h"
#include "Clock.h"
#include "ConfigLocal.h"
#include "Database.h"
#include "ParadoxTable.h"
#include "PreparaRemessa.h"
#include "Prompts.h"
#include "RegisterGenerator.h"
#include "ResultadoRemessa.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "TDMTabelasData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <atomic>
#include <sys/resource.h>

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

// Boxes are written to stderr: a benchmark has nobody to answer them.
class StderrPrompts : public Prompts {
public:
    PromptAnswer show(PromptKind, const QString& caption, const QString& text) override {
        QTextStream(stderr) << caption << ": " << text << "\n";
        return PromptAnswer::No;
    }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
};

long peakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs every difference statement of a batch of the type and reads every value of every row.
qint64 bareStatements(const QSqlDatabase& db, const QString& tipo, qint64& rows) {
    QElapsedTimer timer;
    timer.start();
    Sql::exec(db, QStringLiteral("BEGIN"));
    const TDMTabelasData dm(db);
    const QList<ConsultaRemessa> kinds =
        tipo == QLatin1String("T")
            ? QList<ConsultaRemessa>{ConsultaRemessa::T}
            : QList<ConsultaRemessa>{ConsultaRemessa::I, ConsultaRemessa::A, ConsultaRemessa::E};
    rows = 0;
    for (const TabelaRemessa& table : TDMTabelasData::MontaTabelasRemessa()) {
        for (ConsultaRemessa kind : kinds) {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            query.exec(dm.consulta(table, kind));
            const int columns = query.record().count();
            while (query.next()) {
                for (int c = 0; c < columns; ++c)
                    query.value(c); // read and discarded
                ++rows;
            }
        }
    }
    Sql::exec(db, QStringLiteral("COMMIT"));
    return timer.elapsed();
}

// The authority accepted the batch: the replicas become the live tables and the batch finishes.
void accept(const QSqlDatabase& db, const PreparationResult& batch, const QDateTime& when) {
    levelReplicas(db);
    for (const char* event : {"TR", "OK"})
        Sql::exec(db,
                  QStringLiteral(
                      "INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario) "
                      "VALUES (:d, :n, :t, :e, 'bench')"),
                  {{QStringLiteral(":d"), when},
                   {QStringLiteral(":n"), batch.numeroRemessa},
                   {QStringLiteral(":t"), batch.arquivo.mid(1, 1)},
                   {QStringLiteral(":e"), QString::fromLatin1(event)}});
}

// The authority accepted the batch, and the program replays it onto the replicas as the result
// retrieval does: the TR event, then the OK verdict with its synchronisation. Returns the time of
// the synchronisation (the replay and the OK event, committed), or -1 when it failed.
qint64 synchronise(Session& session, const PreparationResult& batch, const QDateTime& when) {
    const QSqlDatabase db = session.database();
    Sql::exec(
        db,
        QStringLiteral("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario) "
                       "VALUES (:d, :n, :t, 'TR', 'bench')"),
        {{QStringLiteral(":d"), when},
         {QStringLiteral(":n"), batch.numeroRemessa},
         {QStringLiteral(":t"), batch.arquivo.mid(1, 1)}});
    SharedBatchState state;
    state.load(db, session.user());
    BatchControl(session, state).atualizaListaRemessas();
    state.NumeroRemessa = batch.numeroRemessa;
    state.TipoRemessa = batch.arquivo.mid(1, 1);
    QElapsedTimer timer;
    timer.start();
    const ResultadoRemessa::Desfecho desfecho =
        ResultadoRemessa(session, state).processaManual(batch.arquivo, ResultadoRemessa::Aceita, {});
    const qint64 elapsed = timer.elapsed();
    if (!desfecho.ok) {
        QTextStream(stderr) << "synchronisation: " << desfecho.mensagem << " "
                            << desfecho.log.join(QLatin1Char(' ')) << "\n";
        return -1;
    }
    return elapsed;
}

// The rows of every table of an archive, each table's rows as sorted lines of text.
QMap<QString, QStringList> tablesOf(const QString& archive) {
    QTemporaryDir unpacked;
    QProcess::execute(QStringLiteral("unzip"),
                      {QStringLiteral("-q"), archive, QStringLiteral("-d"), unpacked.path()});
    QMap<QString, QStringList> tables;
    for (const QString& name :
         QDir(unpacked.path()).entryList({QStringLiteral("*.DB"), QStringLiteral("*.db")})) {
        QStringList rows;
        for (const ParadoxRow& row : ParadoxTable::open(QDir(unpacked.path()).filePath(name)).readAll()) {
            QStringList values;
            for (const QVariant& value : row)
                values << (value.isNull() ? QStringLiteral("<null>") : value.toString());
            rows << values.join(QLatin1Char('|'));
        }
        rows.sort();
        tables.insert(name, rows);
    }
    return tables;
}

struct Measured {
    QString name;
    qint64 bareMs = 0;
    qint64 bareRows = 0;
    qint64 batchMs = 0;
    long peakKb = 0;
    bool ok = false;
};

} // namespace

int runBatchBenchmark(int certificates, std::uint32_t seed, double changedPercent,
                      const QString& sampleReferenceSql) {
    QTemporaryDir work;
    const QString base = work.path() + QLatin1Char('/');
    qputenv("TARVENDIX_HOME", base.toLocal8Bit());
    for (const char* dir : {"Sincr", "Transf", "Recep"})
        QDir().mkpath(base + QLatin1String(dir));
    const int status = [&] {
        const QSqlDatabase db = Database::open(base + QStringLiteral("CapaCertific.db"));

        GeneratorSettings settings;
        settings.certificates = certificates;
        settings.seed = seed;
        QElapsedTimer timer;
        timer.start();
        const GeneratedCounts generated = generateRegister(db, settings, sampleReferenceSql);
        out() << "register: " << generated.certificates << " certificates, " << generated.rows
              << " rows, generated in " << timer.elapsed() << " ms\n";
        ConfigLocal config = ConfigLocalTable::load(db).value_or(ConfigLocal{});
        config.DirLocalSincr = base + QStringLiteral("Sincr/");
        config.DirLocalTransf = base + QStringLiteral("Transf/");
        config.DirLocalRecepAux = base + QStringLiteral("Recep/");
        ConfigLocalTable::save(db, config);

        ManualClock clock(QDateTime(QDate(2026, 2, 2), QTime(8, 0)));
        StderrPrompts prompts;
        Session session(Database::ConnectionName, clock, prompts);
        session.setUser(LoggedUser{QStringLiteral("bench"), settings.sigla, Permissions::all()});
        std::atomic_bool interromper{false};

        auto measure = [&](const QString& name, const QString& tipo, bool full = false) {
            Measured m{name};
            m.bareMs = bareStatements(db, tipo, m.bareRows);
            SharedBatchState state;
            state.load(db, session.user());
            BatchControl control(session, state);
            control.atualizaListaRemessas();
            PreparaRemessa operation(session, state);
            operation.setComparacaoCompleta(full);
            timer.restart();
            const PreparationResult result = operation.run(tipo, control.numeroAnterior(), true, interromper);
            m.batchMs = timer.elapsed();
            m.peakKb = peakMemoryKb();
            m.ok = result.ok();
            if (!m.ok)
                QTextStream(stderr) << name << ": " << result.EdResultado << " " << result.mensagem << "\n";
            clock.advanceSeconds(600);
            return std::pair{m, result};
        };

        QList<Measured> all;
        auto [first, firstBatch] = measure(QStringLiteral("(a) first batch"), QStringLiteral("C"));
        all << first;
        qint64 syncMs = -1;
        if (first.ok) {
            clock.advanceSeconds(60);
            syncMs = synchronise(session, firstBatch, clock.now());
            clock.advanceSeconds(60);
        }
        const int changed = changeCertificates(db, changedPercent, seed + 1, clock.now());
        out() << "changed: " << changed << " certificates (" << changedPercent << "%)\n";
        auto [partial, partialBatch] =
            measure(QStringLiteral("(b) partial after changes"), QStringLiteral("C"));
        all << partial;
        // The same batch with every row compared: cancelled first (its archive kept aside), then
        // prepared again; both archives must hold the same rows.
        bool sameRows = false;
        if (partial.ok) {
            const QString tracked = work.filePath(QStringLiteral("tracked.zip"));
            QFile::copy(QDir(base + QStringLiteral("Transf/")).filePath(partialBatch.arquivo), tracked);
            SharedBatchState state;
            state.load(db, session.user());
            BatchControl control(session, state);
            control.cancelaRemessa(control.atualizaListaRemessas().first(), true);
            auto [full, fullBatch] =
                measure(QStringLiteral("(b') the same, every row"), QStringLiteral("C"), true);
            all << full;
            if (full.ok) {
                sameRows = tablesOf(tracked) ==
                           tablesOf(QDir(base + QStringLiteral("Transf/")).filePath(fullBatch.arquivo));
                accept(db, fullBatch, clock.now());
            }
            out() << "tracked and full batches hold the same rows: " << (sameRows ? "yes" : "NO") << "\n";
        }
        all << measure(QStringLiteral("(c) complete batch"), QStringLiteral("T")).first;

        bool ok = true;
        out() << "\nrun                         bare statements (d)        batch end to end   ratio  peak "
                 "memory\n";
        for (const Measured& m : all) {
            out() << QStringLiteral("%1 %2 ms %3 rows %4 ms %5x %6 MB%7\n")
                         .arg(m.name, -27)
                         .arg(m.bareMs, 8)
                         .arg(m.bareRows, 9)
                         .arg(m.batchMs, 10)
                         .arg(m.bareMs > 0 ? double(m.batchMs) / double(m.bareMs) : 0.0, 6, 'f', 2)
                         .arg(double(m.peakKb) / 1024.0, 8, 'f', 1)
                         .arg(m.ok ? QString() : QStringLiteral("  FAILED"));
            ok = ok && m.ok;
        }
        out() << QStringLiteral("\n%1 %2 ms, %3x the preparation of (a), peak memory %4 MB%5\n")
                     .arg(QStringLiteral("(e) synchronisation of (a)"), -27)
                     .arg(syncMs, 8)
                     .arg(first.batchMs > 0 ? double(syncMs) / double(first.batchMs) : 0.0, 0, 'f', 2)
                     .arg(double(peakMemoryKb()) / 1024.0, 0, 'f', 1)
                     .arg(syncMs < 0 ? QStringLiteral("  FAILED") : QString());
        ok = ok && syncMs >= 0 && sameRows;
        out().flush();
        return ok ? 0 : 1;
    }();
    Database::close();
    return status;
}
