#include "ReportsFixture.h"

#include "EspelhoCertificado.h"
#include "Modal.h"
#include "ReportLayout.h"
#include "ReportPreview.h"
#include "Screenshot.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QThread>
#include <QToolBar>

namespace {

Report::Document documento() {
    Report::Layout layout(
        Report::Header{QStringLiteral("Relatório de Prévia"), {}, QStringLiteral("joão"), QDate(2024, 3, 15)},
        QPageLayout::Landscape);
    layout.paragraph(QStringLiteral("Conteúdo com acentuação"));
    return layout.finish(QStringLiteral("Relatório de Prévia"));
}

} // namespace

TEST(ReportPreviewTest, SalvarPdfWritesTheReportToTheChosenFile) {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    ReportPreview preview(documento(), prompts);
    auto* action = preview.findChild<QAction*>(QStringLiteral("actSalvarPdf"));
    ASSERT_NE(action, nullptr);
    ASSERT_EQ(action->text(), QStringLiteral("Salvar PDF"));
    bool onToolBar = false;
    for (QToolBar* bar : preview.findChildren<QToolBar*>())
        onToolBar = onToolBar || bar->actions().contains(action);
    EXPECT_TRUE(onToolBar);

    prompts.planChoice(dir.filePath(QStringLiteral("previa"))); // ".pdf" is added
    action->trigger();
    const QString file = dir.filePath(QStringLiteral("previa.pdf"));
    ASSERT_TRUE(QFileInfo::exists(file));
    const QStringList pages = pdfPages(file);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages.first().contains(QStringLiteral("Conteúdo com acentuação")));
    // The title is offered as the file's name, and the saved file is confirmed with its path.
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[1].kind, PromptKind::Information);
    EXPECT_EQ(prompts.lastText(), ReportPreview::pdfSalvo(file));
    EXPECT_TRUE(prompts.lastText().contains(file)) << prompts.lastText().toStdString();
}

TEST(ReportPreviewTest, OpensWithTheWholeWidthOfThePageInView) {
    ScriptedPrompts prompts;
    for (const QSize tamanho : {QSize(900, 700), QSize(600, 500), QSize(1200, 900)}) {
        ReportPreview preview(documento(), prompts);
        preview.resize(tamanho);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        QCoreApplication::processEvents();
        auto* area = preview.findChild<QScrollArea*>(QStringLiteral("areaPaginas"));
        auto* paginas = preview.findChild<QWidget*>(QStringLiteral("paginas"));
        ASSERT_TRUE(area && paginas);
        // Nothing hidden to the right, and the page takes the width there is (not a thumbnail).
        EXPECT_LE(paginas->width(), area->viewport()->width()) << tamanho.width();
        EXPECT_GE(paginas->width(), area->viewport()->width() - 4) << tamanho.width();
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << tamanho.width();

        // Following the window until the user zooms.
        preview.resize(tamanho + QSize(150, 0));
        QCoreApplication::processEvents();
        EXPECT_GE(paginas->width(), area->viewport()->width() - 4);
        preview.findChild<QAction*>(QStringLiteral("actAmpliar"))->trigger();
        EXPECT_GT(paginas->width(), area->viewport()->width());
    }
}

TEST(ReportPreviewTest, ACancelledChoiceWritesNothingAndAnUnwritableFileIsReported) {
    ScriptedPrompts prompts;
    ReportPreview preview(documento(), prompts);
    prompts.planChoice(QString());
    EXPECT_FALSE(preview.salvaPdf());
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("<chooser>")});

    prompts.clear();
    prompts.planChoice(QStringLiteral("/nonexistent-dir/x.pdf"));
    EXPECT_FALSE(preview.salvaPdf());
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown().last().kind, PromptKind::Error);
    EXPECT_TRUE(prompts.lastText().startsWith(QStringLiteral("O relatório não foi salvo:")));
}

TEST(ReportPreviewTest, OnlyThePagesInViewArePaintedAndEveryPageCanBeReached) {
    ScriptedPrompts prompts;
    Report::Layout layout(
        Report::Header{QStringLiteral("Muitas"), {}, QStringLiteral("u"), QDate(2024, 1, 1)},
        QPageLayout::Portrait);
    for (int i = 0; i < 3000; ++i)
        layout.paragraph(QStringLiteral("linha %1").arg(i));
    const Report::Document document = layout.finish(QStringLiteral("Muitas"));
    ASSERT_GT(document.pages.size(), 40);
    const int total = int(document.pages.size());

    ReportPreview preview(document, prompts);
    preview.show();
    QCoreApplication::processEvents();
    auto* paginas = preview.findChild<QWidget*>(QStringLiteral("paginas"));
    ASSERT_NE(paginas, nullptr);
    paginas->repaint();
    EXPECT_EQ(preview.pageCount(), total);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(preview.findChild<QLabel*>(QStringLiteral("lblTotalPaginas"))->text().trimmed(),
              QStringLiteral("de %1").arg(total));
    EXPECT_GE(preview.paintedPages(), 1);
    EXPECT_LE(preview.paintedPages(), 4); // the pages in view, not the report

    preview.findChild<QAction*>(QStringLiteral("actUltimaPagina"))->trigger();
    EXPECT_EQ(preview.currentPage(), total);
    EXPECT_EQ(preview.findChild<QSpinBox*>(QStringLiteral("spnPagina"))->value(), total);
    preview.findChild<QAction*>(QStringLiteral("actPaginaAnterior"))->trigger();
    EXPECT_EQ(preview.currentPage(), total - 1);
    preview.findChild<QAction*>(QStringLiteral("actPrimeiraPagina"))->trigger();
    EXPECT_EQ(preview.currentPage(), 1);
    preview.findChild<QAction*>(QStringLiteral("actProximaPagina"))->trigger();
    EXPECT_EQ(preview.currentPage(), 2);
    preview.findChild<QAction*>(QStringLiteral("actAmpliar"))->trigger();
    EXPECT_EQ(preview.currentPage(), 2); // zooming keeps the page in view
    paginas->repaint();
    EXPECT_LE(preview.paintedPages(), 12);
}

TEST(ReportPreviewTest, APageIsPaintedWithItsText) {
    ScriptedPrompts prompts;
    ReportPreview preview(documento(), prompts);
    preview.show();
    QCoreApplication::processEvents();
    auto* paginas = preview.findChild<QWidget*>(QStringLiteral("paginas"));
    ASSERT_NE(paginas, nullptr);
    const QImage imagem = paginas->grab(paginas->rect()).toImage();
    // Something dark (the text and the rules) was painted on the white page.
    int escuros = 0;
    const QRect pagina(12, 12, paginas->width() - 24, paginas->height() - 24);
    for (int y = pagina.top(); y < pagina.bottom(); y += 2)
        for (int x = pagina.left(); x < pagina.right(); x += 2)
            escuros += qGray(imagem.pixel(x, y)) < 100;
    EXPECT_GT(escuros, 50);
}

// The picture of docs/howto-relatorios.md: with TARVENDIX_SCREENSHOTS naming a directory, under
// Xvfb with QT_QPA_PLATFORM=xcb, the preview of a mirror is saved as the X server shows it.
class PreviewDoEspelho : public ReportsFixture {};

TEST_F(PreviewDoEspelho, ThePreviewOfAMirrorOpensOnItsFirstPage) {
    FiltroRelatorio um;
    um.numero = QStringLiteral("CERT-001");
    ReportPreview preview(Espelho::espelho(context(), montaSelecao(um), Espelho::Variante::ComLog), prompts);
    preview.resize(1100, 800);
    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        auto* preview = qobject_cast<ReportPreview*>(modal);
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->currentPage(), 1);
        screenshot(modal, QStringLiteral("relatorio-previa.png"));
        modal->close();
    });
    preview.exec();
}
