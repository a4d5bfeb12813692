#pragma once

#include "ReportDocument.h"

#include <QDialog>
#include <functional>

class Prompts;
class QAction;
class QLabel;
class QScrollArea;
class QSpinBox;
class PaginasDoRelatorio;

// The print preview of a report: the user pages through it, zooms, prints it, or saves it as a PDF
// file with "Salvar PDF". The document is laid out before the preview opens; the preview paints only
// the pages in view, as they come into view, so a report of thousands of pages opens at once.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(Report::Document document, Prompts& prompts, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const Report::Document& document() const { return document_; }
    int pageCount() const { return int(document_.pages.size()); }
    // The page at the top of the view, from 1.
    int currentPage() const;
    void showPage(int page);
    // Pages painted so far (each page in view is painted once per zoom).
    int paintedPages() const;

    // "Salvar PDF": asks for the file through the prompts and writes it; false when cancelled or
    // when the file could not be written (the error is shown).
    bool salvaPdf();
    // The confirmation of a saved PDF, with the file's path.
    static QString pdfSalvo(const QString& file);
    // "Imprimir...": the system's print dialog, then every page on the chosen printer.
    void imprime();

    // Shows the preview of the document modally.
    static void mostra(const Report::Document& document, Prompts& prompts, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ajustaLargura();
    bool ajustaALargura_ = true; // "Largura da página" is in force (until "+" or "−")
    void paginaMudou();

    Report::Document document_;
    Prompts& prompts_;
    PaginasDoRelatorio* paginas_;
    QScrollArea* area_;
    QSpinBox* pagina_;
    QLabel* total_;
};

// How screens show a report: the preview by default; tests put their own function in its place.
using MostraRelatorio = std::function<void(const Report::Document& document, QWidget* parent)>;
MostraRelatorio mostraNaPrevia(Prompts& prompts);
