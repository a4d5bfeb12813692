#pragma once

#include "ReportDocument.h"

#include <QPrintPreviewDialog>
#include <functional>

class Prompts;
class QAction;
class QPrinter;

// The print preview of a report: the user pages through it, prints it, or saves it as a PDF file
// with "Salvar PDF". The document is laid out before the preview opens; the preview only paints.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    ReportPreview(Report::Document document, Prompts& prompts, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const Report::Document& document() const { return document_; }
    // "Salvar PDF": asks for the file through the prompts and writes it; false when cancelled or
    // when the file could not be written (the error is shown).
    bool salvaPdf();

    // Shows the preview of the document modally.
    static void mostra(const Report::Document& document, Prompts& prompts, QWidget* parent);

private:
    void paint(QPrinter* printer);

    Report::Document document_;
    Prompts& prompts_;
    QPrinter* printer_;
    QAction* salvarPdf_;
};

// How screens show a report: the preview by default; tests put their own function in its place.
using MostraRelatorio = std::function<void(const Report::Document& document, QWidget* parent)>;
MostraRelatorio mostraNaPrevia(Prompts& prompts);
