// tarvendix-bench: generated registers, and measurements of the exchange and the import over them.
//   tarvendix-bench generate --db FILE [--certificates N] [--seed S] [--sigla X]
//   tarvendix-bench batch [--certificates N] [--seed S] [--changed PERCENT]
//   tarvendix-bench import --records N --dir DIR [--units U]
//   tarvendix-bench reports [--certificates N]
#include "BatchBenchmark.h"
#include "Database.h"
#include "DbError.h"
#include "ImportBenchmark.h"
#include "LocalTime.h"
#include "RegisterGenerator.h"
#include "ReportBenchmark.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <memory>

namespace {

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int usage() {
    err() << "usage: tarvendix-bench generate --db FILE [--certificates N] [--seed S] [--sigla X]\n"
             "       tarvendix-bench batch [--certificates N] [--seed S] [--changed PERCENT]\n"
             "       tarvendix-bench import --records N --dir DIR [--units U]\n"
             "       tarvendix-bench reports [--certificates N]\n";
    err().flush();
    return 2;
}

QString sampleReference() {
    QFile file(QStringLiteral(TARVENDIX_SOURCE_DIR "/scripts/sample-reference.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("sample reference data not found: ") + file.fileName());
    return QString::fromUtf8(file.readAll());
}

int generate(const QStringList& args) {
    GeneratorSettings settings;
    QString file;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString& option = args[i];
        const QString& value = args[i + 1];
        bool ok = true;
        if (option == QLatin1String("--db"))
            file = value;
        else if (option == QLatin1String("--certificates"))
            settings.certificates = value.toInt(&ok);
        else if (option == QLatin1String("--seed"))
            settings.seed = value.toUInt(&ok);
        else if (option == QLatin1String("--sigla"))
            settings.sigla = value;
        else
            return usage();
        if (!ok)
            return usage();
    }
    if (file.isEmpty() || args.size() % 2 != 0 || settings.certificates < 1)
        return usage();
    if (QFileInfo::exists(file)) {
        err() << file << " already exists; the generator writes into a new database only\n";
        return 1;
    }
    const QSqlDatabase db = Database::open(file);
    QElapsedTimer timer;
    timer.start();
    const GeneratedCounts counts = generateRegister(db, settings, sampleReference());
    err() << counts.certificates << " certificates, " << counts.rows << " rows in " << timer.elapsed()
          << " ms\n";
    return 0;
}

int batch(const QStringList& args) {
    int certificates = 10000;
    std::uint32_t seed = 1;
    double changed = 1.0;
    if (args.size() % 2 != 0)
        return usage();
    for (int i = 0; i + 1 < args.size(); i += 2) {
        bool ok = true;
        if (args[i] == QLatin1String("--certificates"))
            certificates = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt(&ok);
        else if (args[i] == QLatin1String("--changed"))
            changed = args[i + 1].toDouble(&ok);
        else
            return usage();
        if (!ok || certificates < 1)
            return usage();
    }
    return runBatchBenchmark(certificates, seed, changed, sampleReference());
}

int import(const QStringList& args) {
    int records = 0;
    int units = 4000;
    QString directory;
    if (args.size() % 2 != 0)
        return usage();
    for (int i = 0; i + 1 < args.size(); i += 2) {
        bool ok = true;
        if (args[i] == QLatin1String("--records"))
            records = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--units"))
            units = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--dir"))
            directory = args[i + 1];
        else
            return usage();
        if (!ok)
            return usage();
    }
    if (records < 1 || units < 1 || directory.isEmpty())
        return usage();
    return benchImport(records, units, directory, sampleReference()) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    pinLocalTimeZone();
    // The reports paint text and need fonts, hence a GUI application on the offscreen platform.
    const bool reports = argc > 1 && qstrcmp(argv[1], "reports") == 0;
    if (reports && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = reports ? std::make_unique<QGuiApplication>(argc, argv)
                                                          : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString verb = args.takeFirst();
    try {
        if (verb == QLatin1String("generate"))
            return generate(args);
        if (verb == QLatin1String("batch"))
            return batch(args);
        if (verb == QLatin1String("import"))
            return import(args);
        if (verb == QLatin1String("reports") &&
            (args.isEmpty() ||
             (args.size() == 2 && args[0] == QLatin1String("--certificates") && args[1].toInt() > 0)))
            return benchReports(args.isEmpty() ? 1000 : args[1].toInt(), sampleReference()) ? 0 : 1;
    } catch (const DbError& e) {
        err() << e.message() << "\n";
        return 1;
    }
    return usage();
}
