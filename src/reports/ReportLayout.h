#pragma once

#include "ReportDocument.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Lays a report out into pages: the page header on every page, rows of columns whose texts stretch
// downwards over as many lines as they need, column titles repeated at the top of each page while
// they are in force, groups kept together on one page when they fit, and new pages on demand.
namespace Report {

// One column of a row: its title and its share of the printable width (any unit; the shares of a
// row are scaled to fill the width).
struct Column {
    QString title;
    double share = 1;
    Qt::Alignment align = Qt::AlignLeft;
};

// What the page header of every page shows besides the program title "Tarvendix" and the picture.
struct Header {
    QString title;     // the report's title
    QStringList lines; // beneath the title: the certifier line, the selection text, ...
    QString usuario;   // shown as "Usuário: " + usuario
    QDate data;        // shown after "Data:"
};

class Layout {
public:
    Layout(Header header, QPageLayout::Orientation orientation);

    double width() const { return right_ - left_; }

    // The titles printed now (kept with the row that follows) and again at the top of every page
    // until cleared or replaced.
    void setColumnTitles(const QList<Column>& columns);
    void clearColumnTitles();

    // One row of cells over the columns; each text stretches downwards as needed.
    void row(const QList<Column>& columns, const QStringList& values, FontRole font = FontRole::Normal);
    // A text over the whole width (less the indent), stretching downwards as needed.
    void paragraph(const QString& text, FontRole font = FontRole::Normal, double indentMm = 0);
    // A heading over the whole width with a rule under it, kept on the page of what follows it.
    void heading(const QString& text);
    // A thin rule over the whole width.
    void rule();
    void gap(double mm);

    // Rows between begin and end go to the next page together when they do not fit on this one
    // (and do fit on an empty page).
    void beginKeepTogether();
    void endKeepTogether();

    // Starts a new page, unless nothing has been printed on the current one yet.
    void newPageUnlessAtTop();
    bool atTopOfPage() const { return !contentOnPage_; }

    // The document, with the header on every page and at least one page.
    Document finish(const QString& title);

private:
    struct Block {
        QList<Item> items; // positions relative to the block's top
        double height = 0;
    };

    Block makeRow(const QList<Column>& columns, const QStringList& values, FontRole font,
                  double indent) const;
    void add(Block block);
    void place(const Block& block);
    void startPage();
    void paintHeader(Page& page, int number) const;
    double headerHeight() const;

    Header header_;
    QPageLayout::Orientation orientation_;
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    double left_ = 0;
    double right_ = 0;
    double top_ = 0; // where the content starts, under the header
    double bottom_ = 0;

    QList<Page> pages_;
    double y_ = 0;
    bool contentOnPage_ = false;
    bool hasTitles_ = false;
    bool titlesPending_ = false;
    Block titles_;
    QList<Block> lead_; // headings waiting for what follows them
    int keepDepth_ = 0;
    QList<Block> kept_;
};

// Breaks a text into the lines that fit the width with the font; line ends in the text ("\n",
// with or without "\r") always break.
QStringList breakLines(const QString& text, FontRole font, double width);

} // namespace Report
