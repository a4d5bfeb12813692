#include "ReportsFixture.h"

#include "Modal.h"
#include "ReportLayout.h"
#include "ReportPreview.h"

#include <QAction>
#include <QFileInfo>
#include <QPrintPreviewWidget>
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
