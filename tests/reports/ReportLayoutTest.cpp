#include "ReportsFixture.h"

#include "ListReport.h"
#include "ReportLayout.h"

#include <QProcess>

using namespace Report;

namespace {

Header header() {
    return Header{QStringLiteral("Relatório de Ensaio"),
                  {QStringLiteral("Seleção: ação, coração")},
                  QStringLiteral("joão"),
                  QDate(2024, 3, 15)};
}

const QList<Column> columns{{QStringLiteral("Número"), 2}, {QStringLiteral("Descrição"), 5}};

Document rows(int count, QPageLayout::Orientation orientation = QPageLayout::Landscape) {
    Layout layout(header(), orientation);
    layout.setColumnTitles(columns);
    for (int i = 1; i <= count; ++i)
        layout.row(columns, {QStringLiteral("N-%1").arg(i, 4, 10, QLatin1Char('0')),
                             QStringLiteral("Item %1").arg(i)});
    return layout.finish(QStringLiteral("Ensaio"));
}

} // namespace

TEST(ReportLayout, EveryPageHasTheHeaderAndTheColumnTitlesAndTheRowsKeepTheirOrder) {
    const Document document = rows(150);
    ASSERT_GT(document.pages.size(), 2);
    int seen = 0;
    for (int p = 0; p < document.pages.size(); ++p) {
        const QStringList texts = document.pages.at(p).texts();
        EXPECT_TRUE(texts.contains(QStringLiteral("Tarvendix")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Relatório de Ensaio")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Pag: %1").arg(p + 1)));
        EXPECT_TRUE(texts.contains(QStringLiteral("Data: 15/03/2024")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Usuário: joão")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Número")));
        for (const QString& t : texts)
            if (t.startsWith(QStringLiteral("N-"))) {
                EXPECT_EQ(t, QStringLiteral("N-%1").arg(++seen, 4, 10, QLatin1Char('0')));
            }
    }
    EXPECT_EQ(seen, 150);
}

TEST(ReportLayout, PortraitPagesHoldMoreRowsThanLandscapeOnes) {
    const Document landscape = rows(300, QPageLayout::Landscape);
    const Document portrait = rows(300, QPageLayout::Portrait);
    EXPECT_LT(portrait.pages.size(), landscape.pages.size());
    EXPECT_EQ(portrait.pageSize().transposed(), landscape.pageSize());
}

TEST(ReportLayout, AnEmptyReportIsOnePageWithItsHeaderAndColumnTitles) {
    const Document document = rows(0);
    ASSERT_EQ(document.pages.size(), 1);
    const QStringList texts = document.pages.first().texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Relatório de Ensaio")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Número")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Descrição")));
}

TEST(ReportLayout, ALongTextStretchesOverSeveralLinesAndLineEndsBreak) {
    const QString longText = QStringLiteral("palavra ").repeated(200).trimmed();
    const QStringList lines = breakLines(longText, FontRole::Normal, 60 * UnitsPerMm);
    EXPECT_GT(lines.size(), 5);
    EXPECT_EQ(lines.join(QLatin1Char(' ')), longText);
    EXPECT_EQ(breakLines(QStringLiteral("um\n\rdois\n\rtrês"), FontRole::Normal, 1000 * UnitsPerMm),
              (QStringList{QStringLiteral("um"), QStringLiteral("dois"), QStringLiteral("três")}));

    Layout layout(header(), QPageLayout::Landscape);
    layout.row(columns, {QStringLiteral("A"), longText});
    layout.row(columns, {QStringLiteral("B"), QStringLiteral("curto")});
    const Document document = layout.finish(QStringLiteral("Ensaio"));
    const QStringList texts = document.pages.first().texts();
    // "B" comes after every line of A's stretched text.
    int last = -1;
    for (int i = 0; i < texts.size(); ++i)
        if (texts.at(i).startsWith(QStringLiteral("palavra")))
            last = i;
    EXPECT_GT(last, texts.indexOf(QStringLiteral("A")) + 4);
    EXPECT_EQ(texts.indexOf(QStringLiteral("B")), last + 1);
}

TEST(ReportLayout, AGroupThatDoesNotFitMovesWholeToTheNextPage) {
    Layout layout(header(), QPageLayout::Portrait);
    const auto group = [](Layout& l) {
        l.beginKeepTogether();
        for (int i = 1; i <= 12; ++i)
            l.row(columns, {QStringLiteral("G%1").arg(i), QString()});
        l.endKeepTogether();
    };
    // Fill the first page until the group no longer fits on it.
    const auto groupFits = [&] {
        Layout probe = layout;
        group(probe);
        return probe.finish(QString()).pages.size() == 1;
    };
    int filler = 0;
    while (groupFits())
        layout.row(columns, {QStringLiteral("F%1").arg(++filler), QString()});
    ASSERT_GT(filler, 20);
    group(layout);
    const Document document = layout.finish(QString());
    ASSERT_EQ(document.pages.size(), 2);
    EXPECT_FALSE(document.pages[0].texts().contains(QStringLiteral("G1")));
    EXPECT_TRUE(document.pages[1].texts().contains(QStringLiteral("G1")));
    EXPECT_TRUE(document.pages[1].texts().contains(QStringLiteral("G12")));
}

TEST(ReportLayout, NewPageUnlessAtTopStartsOnePageForEachBlock) {
    Layout layout(header(), QPageLayout::Landscape);
    for (const char* name : {"primeiro", "segundo", "terceiro"}) {
        layout.newPageUnlessAtTop();
        layout.paragraph(QString::fromLatin1(name));
    }
    const Document document = layout.finish(QString());
    ASSERT_EQ(document.pages.size(), 3);
    EXPECT_TRUE(document.pages[1].texts().contains(QStringLiteral("segundo")));
}

TEST(ReportPdf, ThePdfCarriesTheHeaderOnEveryPageAccentsAndEmbeddedFonts) {
    const Document document = rows(150);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ensaio.pdf"));
    ASSERT_TRUE(writePdf(document, file));
    const QStringList pages = pdfPages(file);
    ASSERT_EQ(pages.size(), document.pages.size());
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(inOrder(pages[p], {QStringLiteral("Tarvendix"), QStringLiteral("Relatório de Ensaio"),
                                       QStringLiteral("Seleção: ação, coração")}));
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Pag: %1").arg(p + 1)));
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Usuário: joão")));
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Descrição")));
    }
    EXPECT_TRUE(inOrder(pages.join(QString()),
                        {QStringLiteral("N-0001"), QStringLiteral("N-0002"), QStringLiteral("N-0150")}));

    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {file});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    const QStringList lines =
        QString::fromUtf8(fonts.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 2); // two title lines, then one line per font
    for (const QString& line : lines.mid(2)) {
        // ... emb sub uni object ID: the "emb" column is the fifth from the end.
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(fields.size(), 5) << line.toStdString();
        EXPECT_EQ(fields.at(fields.size() - 5), QStringLiteral("yes")) << line.toStdString();
    }
}

TEST(ReportPdf, AFileThatCannotBeWrittenIsReported) {
    QString error;
    EXPECT_FALSE(writePdf(rows(1), QStringLiteral("/nonexistent-dir/x.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}
