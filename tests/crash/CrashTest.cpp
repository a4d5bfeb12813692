// Every long operation of the companion, killed with SIGKILL at a random moment: the register must
// be whole and either as it was or as the operation leaves it, the files must agree with it, and
// running the operation again must end as an uninterrupted run does. See docs/crash-tests.md.
//
// TARVENDIX_CRASH_KILLS (kills per operation, 3 unless set), TARVENDIX_CRASH_CERTIFICATES (size of
// the generated register, 150 unless set) and TARVENDIX_CRASH_SEED (printed on every run) tune it.

#include "BatchControl.h"
#include "CrashHarness.h"
#include "Database.h"
#include "DbError.h"
#include "Embaralha.h"
#include "ImportBenchmark.h"
#include "PacoteReferencia.h"
#include "PowerCut.h"
#include "RegisterGenerator.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "Sql.h"
#include "TestServers.h"
#include "UsuLocal.h"
#include "Versoes.h"

#include "PrintQString.h"
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>
#include <sys/resource.h>

namespace {

const QString Usuario = QStringLiteral("operador");
const QString Senha = QStringLiteral("segredo");
const QString Sigla = QStringLiteral("OCC1");
const QString VersaoPacote = QStringLiteral("2099010101");

int settingOf(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariable(name).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

quint32 seed() {
    static const quint32 value = [] {
        bool ok = false;
        const quint32 given = qEnvironmentVariable("TARVENDIX_CRASH_SEED").toUInt(&ok);
        const quint32 chosen = ok ? given : QRandomGenerator::global()->generate();
        std::cout << "crash: TARVENDIX_CRASH_SEED=" << chosen << std::endl;
        return chosen;
    }();
    return value;
}

QString database(const QString& home) {
    return QDir(home).filePath(QStringLiteral("CapaCertific.db"));
}
QString transf(const QString& home) {
    return QDir(home).filePath(QStringLiteral("Transf"));
}
QString midia(const QString& home) {
    return QDir(home).filePath(QStringLiteral("Midia"));
}
QString entrada(const QString& home) {
    return QDir(home).filePath(QStringLiteral("Entrada"));
}

// Runs statements on a home's database through a connection of the program's own.
template <typename Fn> void withDatabase(const QString& home, Fn fn) {
    static int serial = 0;
    const QString name = QStringLiteral("crash-setup-%1").arg(++serial);
    {
        const QSqlDatabase db = Database::open(database(home), name);
        fn(db);
    }
    Database::close(name);
}

QList<QStringList> rowsOf(const QString& home, const QString& sql) {
    QList<QStringList> rows;
    withDatabase(home, [&](const QSqlDatabase& db) {
        QSqlQuery q = Sql::exec(db, sql);
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < q.record().count(); ++c)
                row << q.value(c).toString();
            rows << row;
        }
    });
    return rows;
}

// The directories of the configuration follow the home when it is copied.
void pointAt(const QString& home) {
    withDatabase(home, [&](const QSqlDatabase& db) {
        Sql::execute(db,
                     QStringLiteral("UPDATE CONFIG_LOCAL SET DirLocalSincr = :s, DirLocalTransf = :t, "
                                    "DirLocalRecepAux = :a"),
                     {{QStringLiteral(":s"), QDir(home).filePath(QStringLiteral("Sincr"))},
                      {QStringLiteral(":t"), transf(home)},
                      {QStringLiteral(":a"), QDir(home).filePath(QStringLiteral("Aux"))}});
    });
}

void makeDirectories(const QString& home) {
    for (const char* dir : {"Sincr", "Transf", "Aux", "Midia", "Entrada"})
        QDir().mkpath(QDir(home).filePath(QString::fromUtf8(dir)));
}

void addOperator(const QSqlDatabase& db) {
    UsuLocalTable::setSenha(db, QStringLiteral("admin"), Senhas::embaralha(QStringLiteral("adm123")));
    Sql::execute(db, QStringLiteral("UPDATE USU_LOCAL SET SiglaCertificador = :s"),
                 {{QStringLiteral(":s"), Sigla}});
    UsuLocalTable::insert(
        db, {Usuario, Sigla, QStringLiteral("Operador"), Senhas::embaralha(Senha), Permissions::all()});
}

CompanionRun companion(const QString& home, QStringList arguments, CompanionOptions options = {}) {
    arguments = QStringList{QStringLiteral("--home"), home, QStringLiteral("--user"), Usuario} + arguments;
    return runCompanion(arguments, Senha, options);
}

QString sampleReferenceSql() {
    QFile file(QStringLiteral(TARVENDIX_SOURCE_DIR "/scripts/sample-reference.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("no sample reference data"));
    return QString::fromUtf8(file.readAll());
}

QString latestBatch(const QString& home) {
    const QList<QStringList> rows = rowsOf(home, QStringLiteral("SELECT max(NumeroRemessa) FROM CONTROLE"));
    return rows.isEmpty() ? QString() : rows.first().first();
}

QString archiveOf(const QString& home, const QString& tipo) {
    return BatchTypes::nomeArquivo(tipo, Sigla, latestBatch(home));
}

bool hasEvent(const QString& home, const QString& evento) {
    return !rowsOf(home, QStringLiteral("SELECT 1 FROM CONTROLE WHERE Evento = '%1' AND NumeroRemessa = '%2'")
                             .arg(evento, latestBatch(home)))
                .isEmpty();
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool validZip(const QString& path) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tqq"), path});
    return unzip.waitForFinished(60000) && unzip.exitStatus() == QProcess::NormalExit &&
           unzip.exitCode() == 0;
}

// The homes the operations start from, made once per run in a directory of their own and copied for
// every run of an operation.
enum class Stage { Register, Prepared, Delivered, Accepted, Import };

class Templates {
public:
    static Templates& instance() {
        static Templates templates;
        return templates;
    }

    QString home(Stage stage) {
        const auto found = homes_.find(stage);
        if (found != homes_.end())
            return found->second;
        const QString path = base_.filePath(QStringLiteral("template-%1").arg(int(stage)));
        build(stage, path);
        homes_[stage] = path;
        return path;
    }

    // A fresh copy of the stage's home.
    QString fresh(Stage stage) {
        const QString source = home(stage);
        const QString path = base_.filePath(QStringLiteral("run-%1").arg(++runs_));
        if (!copyTree(source, path))
            throw DbError(QStringLiteral("cannot copy ") + source);
        pointAt(path);
        return path;
    }

    // A package of the twelve reference tables, newer than anything installed.
    QString package() {
        if (package_.isEmpty()) {
            package_ = base_.filePath(QStringLiteral("pacote"));
            QDir().mkpath(package_);
            {
                const QSqlDatabase source = Database::open(base_.filePath(QStringLiteral("autoridade.db")),
                                                           QStringLiteral("crash-autoridade"));
                loadSampleReference(source, Sigla);
                Sql::exec(source, QStringLiteral("UPDATE PAIS SET NomePais = NomePais || ' (revisto)'"));
                ScriptedPrompts prompts;
                escrevePacoteReferencia(source, prompts, package_, VersaoPacote,
                                        Versoes::tabelasReferencia());
            }
            Database::close(QStringLiteral("crash-autoridade"));
        }
        return package_;
    }

    void removeRun(const QString& path) { QDir(path).removeRecursively(); }

private:
    void build(Stage stage, const QString& path) {
        switch (stage) {
        case Stage::Register: {
            makeDirectories(path);
            withDatabase(path, [&](const QSqlDatabase& db) {
                GeneratorSettings settings;
                settings.certificates = settingOf("TARVENDIX_CRASH_CERTIFICATES", 150);
                settings.seed = seed();
                settings.sigla = Sigla;
                generateRegister(db, settings, sampleReferenceSql());
                levelReplicas(db);
                changeCertificates(db, 10.0, seed(), settings.now.addDays(10));
                addOperator(db);
            });
            pointAt(path);
            return;
        }
        case Stage::Prepared:
            fromStage(Stage::Register, path,
                      {QStringLiteral("batch"), QStringLiteral("prepare"), QStringLiteral("--partial")});
            return;
        case Stage::Delivered:
            fromStage(
                Stage::Prepared, path,
                {QStringLiteral("batch"), QStringLiteral("deliver"), QStringLiteral("--copy"), midia(path)});
            return;
        case Stage::Accepted:
            copyTree(home(Stage::Delivered), path);
            pointAt(path);
            run(path, resultArguments(path));
            return;
        case Stage::Import:
            makeDirectories(path);
            withDatabase(path, [&](const QSqlDatabase& db) {
                // The import refuses codes the reference tables lack.
                ensureReference(db, Sigla, sampleReferenceSql());
                addOperator(db);
            });
            pointAt(path);
            {
                const int records = 20 * settingOf("TARVENDIX_CRASH_CERTIFICATES", 150);
                writeImportFile(QDir(entrada(path)).filePath(QStringLiteral("TX-OCC12015112501.txt")),
                                records, 0);
                writeImportFile(QDir(entrada(path)).filePath(QStringLiteral("TX-OCC12015112502.txt")),
                                records, 100000);
            }
            return;
        }
    }

    void fromStage(Stage previous, const QString& path, const QStringList& arguments) {
        copyTree(home(previous), path);
        pointAt(path);
        QStringList adjusted = arguments;
        run(path, adjusted);
    }

    static void run(const QString& path, const QStringList& arguments) {
        const CompanionRun done = companion(path, arguments);
        if (done.status != 0)
            throw DbError(QStringLiteral("preparing the template failed: ") + arguments.join(' ') + "\n" +
                          done.err);
    }

public:
    static QStringList resultArguments(const QString& home) {
        const QString codigo = QString::fromLatin1(
            EmbaralhaCodigo(Direcao::Codificar,
                            (QStringLiteral("XX") + latestBatch(home) + QStringLiteral("OK")).toLatin1()));
        return {QStringLiteral("batch"), QStringLiteral("result"), QStringLiteral("--code"), codigo,
                QStringLiteral("--yes")};
    }

private:
    QTemporaryDir base_;
    std::map<Stage, QString> homes_;
    QString package_;
    int runs_ = 0;
};

// One long operation: where it starts, how it is run, and what must hold of its files whatever the
// moment it was killed.
struct Operation {
    const char* name;
    Stage stage;
    std::function<QStringList(const QString& home)> arguments;
    std::function<QStringList(const QString& home)> problems; // files that disagree with the register
    std::function<void(const QString& home)> midway;          // leaves a home in a legitimate midway state
    // Files a kill may leave that the next runs never take for anything (relative to the home).
    std::function<QStringList(const QString& home)> mayRemain = {};
};

QStringList preparationProblems(const QString& home, const QString& tipo) {
    QStringList problems;
    const QString archive = QDir(transf(home)).filePath(archiveOf(home, tipo));
    if (hasEvent(home, BatchEvents::Preparada) && !validZip(archive))
        problems << QStringLiteral("the PR event is recorded but its archive is missing or damaged: ") +
                        archive;
    return problems;
}

QStringList deliveryProblems(const QString& home, const QString& destination) {
    QStringList problems;
    const QString archive = archiveOf(home, BatchTypes::Parcial);
    if (hasEvent(home, BatchEvents::Transferida) &&
        contentOf(QDir(destination).filePath(archive)) != contentOf(QDir(transf(home)).filePath(archive)))
        problems << QStringLiteral("the TR event is recorded but the delivered copy differs: ") + archive;
    return problems;
}

// The archive is deleted once the replicas and the OK event are committed: a kill between the two
// leaves the archive of a finished batch, which nothing sends or reads again (see mayRemain).
QStringList resultProblems(const QString& home) {
    QStringList problems;
    const bool ok = hasEvent(home, BatchEvents::FinalizadaOk);
    const bool archive = QFileInfo::exists(QDir(transf(home)).filePath(archiveOf(home, BatchTypes::Parcial)));
    if (!ok && !archive)
        problems << QStringLiteral("no OK event but the archive is gone");
    return problems;
}

// An installed version keeps its archive in the reception directory, for installing it again.
QStringList referenceProblems(const QString& home) {
    QStringList problems;
    for (const QStringList& row : rowsOf(home, QStringLiteral("SELECT NomeArquivo FROM CONTROLE_AUX WHERE "
                                                              "NumeroVersao = '%1'")
                                                   .arg(VersaoPacote)))
        if (!validZip(QDir(home).filePath(QStringLiteral("Aux/") + row.first())))
            problems << QStringLiteral("the version is recorded but its archive is missing or damaged: ") +
                            row.first();
    return problems;
}

QStringList finishedBatchArchive(const QString& home) {
    if (!hasEvent(home, BatchEvents::FinalizadaOk))
        return {};
    return {QStringLiteral("Transf/") + archiveOf(home, BatchTypes::Parcial)};
}

std::unique_ptr<FtpTestServer> ftpServer;

void useFtp(const QString& home) {
    // The server's log of the sessions cut short goes to a pipe only the event loop reads: without
    // this, it fills after a few dozen kills and the server stops answering.
    QCoreApplication::processEvents();
    withDatabase(home, [&](const QSqlDatabase& db) {
        Sql::execute(db, QStringLiteral("UPDATE CONFIG_LOCAL SET EndKavorelEnvio = '127.0.0.1:%1/envio', "
                                        "LoginFTP = '%2', SenhaFTP = '%3'")
                             .arg(ftpServer->port())
                             .arg(FtpTestServer::user(), FtpTestServer::password()));
    });
    QDir(ftpServer->pathOf(QStringLiteral("envio"))).removeRecursively();
    QDir().mkpath(ftpServer->pathOf(QStringLiteral("envio")));
}

const QList<Operation>& operations() {
    static const QList<Operation> all{
        {"PreparePartial",
         Stage::Register,
         [](const QString&) {
             return QStringList{"batch", "prepare", "--partial"};
         },
         [](const QString& home) { return preparationProblems(home, BatchTypes::Parcial); },
         {}},
        {"PrepareComplete",
         Stage::Register,
         [](const QString&) {
             return QStringList{"batch", "prepare", "--complete", "--yes"};
         },
         [](const QString& home) { return preparationProblems(home, BatchTypes::Completa); },
         {}},
        {"DeliverMedia",
         Stage::Prepared,
         [](const QString& home) {
             return QStringList{"batch", "deliver", "--copy", midia(home)};
         },
         [](const QString& home) { return deliveryProblems(home, midia(home)); },
         {}},
        {"DeliverFtp",
         Stage::Prepared,
         [](const QString& home) {
             useFtp(home);
             return QStringList{"batch", "deliver", "--ftp"};
         },
         [](const QString& home) {
             return deliveryProblems(home, ftpServer->pathOf(QStringLiteral("envio")));
         },
         {}},
        {"ResultWithSynchronisation",
         Stage::Delivered,
         &Templates::resultArguments,
         resultProblems,
         {},
         finishedBatchArchive},
        {"ReferenceInstall",
         Stage::Register,
         [](const QString&) {
             return QStringList{"reference", "install", "--local", Templates::instance().package()};
         },
         referenceProblems,
         {}},
        {"Import", Stage::Import,
         [](const QString& home) {
             return QStringList{"import", entrada(home)};
         },
         [](const QString&) { return QStringList(); },
         // The first file imported, the second not yet.
         [](const QString& home) {
             QDir().mkpath(QDir(home).filePath(QStringLiteral("Primeiro")));
             QFile::rename(QDir(entrada(home)).filePath(QStringLiteral("TX-OCC12015112502.txt")),
                           QDir(home).filePath(QStringLiteral("Primeiro/TX-OCC12015112502.txt")));
             companion(home, {QStringLiteral("import"), entrada(home)});
             QFile::rename(QDir(home).filePath(QStringLiteral("Primeiro/TX-OCC12015112502.txt")),
                           QDir(entrada(home)).filePath(QStringLiteral("TX-OCC12015112502.txt")));
             QDir(QDir(home).filePath(QStringLiteral("Primeiro"))).removeRecursively();
         }},
        {"ClearHistory",
         Stage::Accepted,
         [](const QString&) {
             return QStringList{"batch", "clear", "--yes"};
         },
         [](const QString&) { return QStringList(); },
         {}},
    };
    return all;
}

// The files of a home that the comparison of runs looks at: all but the database and its journal.
QStringList homeFiles(const QString& home, QStringList* hidden = nullptr) {
    QStringList files = filesUnder(home, hidden);
    files.removeIf([](const QString& f) { return f.startsWith(QLatin1String("CapaCertific.db")); });
    return files;
}

class CrashTest : public ::testing::TestWithParam<Operation> {
protected:
    void SetUp() override {
        if (QLatin1String(GetParam().name) == QLatin1String("DeliverFtp")) {
            ftpServer = std::make_unique<FtpTestServer>();
            ASSERT_TRUE(ftpServer->started()) << ftpServer->error();
        }
        measureUninterruptedRun();
    }
    void TearDown() override { ftpServer.reset(); }

    // The uninterrupted run, and the states an interruption may legitimately leave: before, the
    // midway states of the operation, after (the last).
    void measureUninterruptedRun() {
        const Operation& op = GetParam();
        const QString reference = templates.fresh(op.stage);
        const QStringList arguments = op.arguments(reference);
        allowed = {readState(database(reference), reference)};
        if (op.midway) {
            const QString midway = templates.fresh(op.stage);
            op.arguments(midway);
            op.midway(midway);
            allowed << readState(database(midway), midway);
            templates.removeRun(midway);
        }
        const CompanionRun uncut = companion(reference, arguments);
        ASSERT_EQ(uncut.status, 0) << uncut.err;
        uncutMs = uncut.ms;
        after = readState(database(reference), reference);
        ASSERT_NE(after, allowed.first()) << "the operation changed nothing";
        allowed << after;
        afterFiles = homeFiles(reference);
        EXPECT_EQ(op.problems(reference), QStringList());
        templates.removeRun(reference);
    }

    // Kills the operation at random moments (and, with `powerCut`, then loses what was not synced),
    // checks what is left and runs it again.
    void killAtRandomMoments(bool powerCut) {
        const Operation& op = GetParam();
        const int kills = settingOf("TARVENDIX_CRASH_KILLS", 3);
        QRandomGenerator random(seed() ^ qHash(QByteArray(op.name)) ^ (powerCut ? 1u : 0u));
        int killed = 0, left[3] = {0, 0, 0}, leftovers = 0, undone = 0;
        for (int k = 0; k < kills; ++k) {
            // The last power cut comes just after the operation ended: whatever it recorded must
            // have its files on the disk by then.
            const int delay = powerCut && k == kills - 1 ? -1 : random.bounded(static_cast<int>(uncutMs) + 1);
            SCOPED_TRACE(QStringLiteral("%1, kill %2 after %3 ms%4")
                             .arg(QLatin1String(op.name))
                             .arg(k)
                             .arg(delay)
                             .arg(powerCut ? QStringLiteral(" and a power cut") : QString())
                             .toStdString());
            const QString home = templates.fresh(op.stage);
            const QStringList arguments = op.arguments(home);
            CompanionOptions options{delay, {}, {}};
            const QString undoLog = home + QStringLiteral(".undo");
            if (powerCut)
                options.environment = {QStringLiteral("LD_PRELOAD=" TARVENDIX_WRITE_SHIM),
                                       QStringLiteral("TARVENDIX_SHIM_DIR=") + home + QLatin1Char('/'),
                                       QStringLiteral("TARVENDIX_SHIM_UNDO=") + undoLog};
            const QDateTime start = QDateTime::currentDateTime();
            const CompanionRun cut = companion(home, arguments, options);
            killed += cut.killed ? 1 : 0;
            QStringList lost;
            if (powerCut) {
                lost = simulatePowerCut(home, undoLog, start);
                undone += lost.size();
                QFile::remove(undoLog);
            }
            SCOPED_TRACE(lost.join(QLatin1Char('\n')).toStdString());

            ASSERT_EQ(integrityOf(database(home)), "ok");
            const RegisterState state = readState(database(home), home);
            const qsizetype which = allowed.indexOf(state);
            ASSERT_GE(which, 0) << "the register is neither as before nor as after:\n"
                                << state.differenceFrom(allowed.first()).toStdString() << "\nagainst after:\n"
                                << state.differenceFrom(after).toStdString();
            ++left[which == allowed.size() - 1 ? 2 : which == 0 ? 0 : 1];
            EXPECT_EQ(op.problems(home), QStringList());

            if (which != allowed.size() - 1) {
                const CompanionRun again = companion(home, arguments);
                // From a midway state the part already done is refused as done (the import says so
                // of a file already recorded, and ends with 1); the end state is what counts.
                if (which == 0) {
                    EXPECT_EQ(again.status, 0) << again.err;
                }
                EXPECT_EQ(readState(database(home), home), after)
                    << readState(database(home), home).differenceFrom(after);
                EXPECT_EQ(op.problems(home), QStringList());
            }
            QStringList hidden;
            QStringList files = homeFiles(home, &hidden);
            // Running again clears what the killed run left in its hidden working directories.
            if (which != allowed.size() - 1) {
                EXPECT_EQ(hidden, QStringList()) << "left behind after running again";
            }
            if (op.mayRemain)
                for (const QString& file : op.mayRemain(home))
                    if (files.removeAll(file) > 0)
                        hidden << file;
            EXPECT_EQ(files, afterFiles) << "the files differ from an uninterrupted run's";
            leftovers += hidden.size();
            templates.removeRun(home);
        }
        std::cout << "crash: " << op.name << (powerCut ? " (power cut)" : "") << ": " << kills << " runs, "
                  << killed << " killed; register left before " << left[0] << ", midway " << left[1]
                  << ", after " << left[2] << "; files left behind harmlessly " << leftovers;
        if (powerCut)
            std::cout << "; files that lost unsynced writes " << undone;
        std::cout << "; uninterrupted run " << uncutMs << " ms" << std::endl;
    }

    Templates& templates = Templates::instance();
    QList<RegisterState> allowed;
    RegisterState after;
    QStringList afterFiles;
    qint64 uncutMs = 0;
};

TEST_P(CrashTest, AKillLeavesTheRegisterBeforeOrAfterAndTheOperationRunsAgain) {
    killAtRandomMoments(false);
}

TEST_P(CrashTest, APowerCutLeavesTheRegisterBeforeOrAfterAndTheOperationRunsAgain) {
    killAtRandomMoments(true);
}

// A disk that fills up at some point of the operation: a clear message, the register as it was.
TEST_P(CrashTest, AFullDiskEndsWithAMessageAndTheRegisterAsItWas) {
    const Operation& op = GetParam();
    QRandomGenerator random(seed() ^ qHash(QByteArray(op.name)) ^ 2u);
    for (const int space : {0, 4096, 65536, int(random.bounded(1 << 20))}) {
        SCOPED_TRACE(
            QStringLiteral("%1 with %2 bytes free").arg(QLatin1String(op.name)).arg(space).toStdString());
        const QString home = templates.fresh(op.stage);
        const QStringList arguments = op.arguments(home);
        const CompanionRun full = companion(home, arguments,
                                            {-1,
                                             {QStringLiteral("LD_PRELOAD=" TARVENDIX_WRITE_SHIM),
                                              QStringLiteral("TARVENDIX_SHIM_DIR=") + home + QLatin1Char('/'),
                                              QStringLiteral("TARVENDIX_SHIM_SPACE=%1").arg(space)},
                                             {}});
        ASSERT_EQ(integrityOf(database(home)), "ok");
        const RegisterState state = readState(database(home), home);
        if (state == after) { // there was room enough
            EXPECT_EQ(full.status, 0) << full.err;
        } else {
            EXPECT_EQ(full.status, 1) << full.err;
            // The database's own message, the system's reason after a file's name, or the text the
            // block copy of a download has always given.
            EXPECT_TRUE(full.err.contains(QStringLiteral("espaço suficiente em disco")) ||
                        full.err.contains(QStringLiteral("No space left on device")) ||
                        full.err.contains(QStringLiteral("Erro ao gravar arquivo.")))
                << full.err;
            const qsizetype which = allowed.indexOf(state);
            EXPECT_TRUE(which >= 0 && which < allowed.size() - 1)
                << state.differenceFrom(allowed.first()).toStdString();
        }
        EXPECT_EQ(op.problems(home), QStringList());
        std::cout << "crash: " << op.name << " with " << space << " bytes free: status " << full.status
                  << ", " << full.err.trimmed().split(QLatin1Char('\n')).last().toStdString() << std::endl;
        templates.removeRun(home);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLongOperation, CrashTest, ::testing::ValuesIn(operations()),
                         [](const ::testing::TestParamInfo<Operation>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
