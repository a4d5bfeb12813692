#include "ReportsFixture.h"

#include "EspelhoCertificado.h"
#include "Modal.h"
#include "ReportLayout.h"
#include "ReportPreview.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QProcess>
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
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("<chooser>")}); // no box after the choice
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

TEST(ReportPreviewTest, ThePreviewPaintsEveryPage) {
    ScriptedPrompts prompts;
    Report::Layout layout(
        Report::Header{QStringLiteral("Muitas"), {}, QStringLiteral("u"), QDate(2024, 1, 1)},
        QPageLayout::Portrait);
    for (int i = 0; i < 200; ++i)
        layout.paragraph(QStringLiteral("linha %1").arg(i));
    const Report::Document document = layout.finish(QStringLiteral("Muitas"));
    ASSERT_GT(document.pages.size(), 2);
    ReportPreview preview(document, prompts);
    onNextModal([](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        auto* widget = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(widget->pageCount(), 4);
        modal->close();
    });
    preview.exec();
    EXPECT_EQ(document.pages.size(), 4);
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
        auto* widget = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->currentPage(), 1);
        const QString dir = qEnvironmentVariable("TARVENDIX_SCREENSHOTS");
        if (!dir.isEmpty()) {
            widget->fitInView();
            for (int i = 0; i < 30; ++i) {
                QApplication::processEvents();
                QThread::msleep(10);
            }
            modal->move(0, 0);
            QApplication::processEvents();
            const QRect area = modal->frameGeometry();
            ASSERT_TRUE(QDir().mkpath(dir));
            const QString crop = QStringLiteral("%1x%2+%3+%4")
                                     .arg(area.width())
                                     .arg(area.height())
                                     .arg(area.x())
                                     .arg(area.y());
            EXPECT_EQ(QProcess::execute(QStringLiteral("import"),
                                        {QStringLiteral("-window"), QStringLiteral("root"),
                                         QStringLiteral("-crop"), crop, QStringLiteral("+repage"),
                                         QDir(dir).filePath(QStringLiteral("relatorio-previa.png"))}),
                      0);
        }
        modal->close();
    });
    preview.exec();
}
