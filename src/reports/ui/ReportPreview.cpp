#include "ReportPreview.h"

#include "Prompts.h"

#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QToolBar>

ReportPreview::ReportPreview(Report::Document document, Prompts& prompts, QWidget* parent)
    : QPrintPreviewDialog(parent), document_(std::move(document)), prompts_(prompts), printer_(printer()) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(document_.title);
    printer_->setDocName(document_.title);
    // The report keeps its own margins: coordinates start at the corner of the sheet.
    printer_->setFullPage(true);
    printer_->setPageLayout(document_.pageLayout());
    salvarPdf_ = new QAction(QStringLiteral("Salvar PDF"), this);
    salvarPdf_->setObjectName(QStringLiteral("actSalvarPdf"));
    salvarPdf_->setToolTip(QStringLiteral("Salva o relatório num arquivo PDF"));
    if (QToolBar* bar = findChild<QToolBar*>()) {
        bar->addSeparator();
        bar->addAction(salvarPdf_);
    } else {
        addAction(salvarPdf_);
    }
    connect(salvarPdf_, &QAction::triggered, this, [this] { salvaPdf(); });
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paint);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::paint(QPrinter* printer) {
    Report::print(document_, *printer);
}

bool ReportPreview::salvaPdf() {
    QString file = prompts_.chooseSaveFile(QStringLiteral("Salvar PDF"),
                                           QDir::home().filePath(document_.title + QStringLiteral(".pdf")),
                                           QStringLiteral("Arquivos PDF (*.pdf)"));
    if (file.isEmpty())
        return false;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    QString error;
    if (!Report::writePdf(document_, file, &error)) {
        prompts_.error(QStringLiteral("O relatório não foi salvo: %1").arg(error),
                       QStringLiteral("Salvar PDF"));
        return false;
    }
    return true;
}

void ReportPreview::mostra(const Report::Document& document, Prompts& prompts, QWidget* parent) {
    ReportPreview preview(document, prompts, parent);
    preview.exec();
}

MostraRelatorio mostraNaPrevia(Prompts& prompts) {
    return [&prompts](const Report::Document& document, QWidget* parent) {
        ReportPreview::mostra(document, prompts, parent);
    };
}
