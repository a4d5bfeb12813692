#include "ReportBenchmark.h"

#include "Database.h"
#include "EspelhoCertificado.h"
#include "RegisterGenerator.h"
#include "Relatorios.h"
#include "SelecaoCertificados.h"
#include "Sql.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPicture>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// What the preview does with a laid-out document: every page painted into a recorded picture.
qint64 paintAll(const Report::Document& document) {
    QElapsedTimer timer;
    timer.start();
    for (const Report::Page& page : document.pages) {
        QPicture picture;
        QPainter painter(&picture);
        Report::paintPage(painter, page, 1200);
    }
    return timer.elapsed();
}

// Reads every column of every row of the selection, as a bare query.
qint64 bareRead(const QSqlDatabase& db, const SelecaoCertificados& selecao) {
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q = selecao.consulta.executa(db);
    qint64 cells = 0;
    while (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            cells += q.value(i).toString().size();
    return std::max<qint64>(1, timer.elapsed() + (cells < 0 ? 1 : 0));
}

} // namespace

bool benchReports(int certificates, const QString& sampleReferenceSql) {
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QSqlDatabase db = Database::open(dir.filePath(QStringLiteral("bench.db")));
    GeneratorSettings settings;
    settings.certificates = certificates;
    generateRegister(db, settings, sampleReferenceSql);
    const ReportContext context{db, QStringLiteral("bench"), settings.now};
    const SelecaoCertificados selecao = montaSelecao({});
    const qint64 bare = bareRead(db, selecao);
    out << "certificates: " << contaSelecao(db, selecao) << "\n";
    out << "bare query of the selection: " << bare << " ms\n";

    const auto measure = [&](const char* name, const std::function<Report::Document()>& make) {
        QElapsedTimer timer;
        timer.start();
        const Report::Document document = make();
        const qint64 layout = timer.elapsed();
        const qint64 paint = paintAll(document);
        out << name << ": " << document.pages.size() << " pages, layout " << layout << " ms, painting "
            << paint << " ms, together " << double(layout + paint) / double(bare) << " x the bare query\n";
        return !document.pages.isEmpty();
    };
    bool ok = measure("Lista dos Certificados", [&] { return Relatorios::lista(context, selecao); });
    ok = measure("Espelho do Certificado",
                 [&] { return Espelho::espelho(context, selecao, Espelho::Variante::SemLog); }) &&
         ok;
    ok = measure("Espelho com Log",
                 [&] { return Espelho::espelho(context, selecao, Espelho::Variante::ComLog); }) &&
         ok;
    out.flush();
    Database::close();
    return ok;
}
