#pragma once

#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

class QFont;
class QFontMetricsF;
class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

// The page model of a report: every page with what is printed where, in layout units of 1/720
// inch. The same model is painted on the preview, on a printer or into a PDF file, and tests read
// its texts without painting anything.
namespace Report {

constexpr double UnitsPerInch = 720.0;
constexpr double UnitsPerMm = UnitsPerInch / 25.4;

// The few kinds of type a report uses.
enum class FontRole { Normal, Bold, Small, Heading, Title };

QFont font(FontRole role);
// Metrics of the role's font at the layout resolution.
const QFontMetricsF& metrics(FontRole role);
// A device with the layout resolution, for measuring and breaking text.
QPaintDevice* layoutDevice();

struct Item {
    enum class Kind { Text, Line, Seal };
    Kind kind = Kind::Text;
    QRectF rect;
    QString text; // one line of text, already broken to fit
    FontRole font = FontRole::Normal;
    Qt::Alignment align = Qt::AlignLeft;
};

struct Page {
    QList<Item> items;
    // The texts of the page, top to bottom and left to right.
    QStringList texts() const;
};

struct Document {
    QString title;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<Page> pages;

    QSizeF pageSize() const; // A4 in layout units, turned by the orientation
    QPageLayout pageLayout() const;
    // Every page's texts joined by line ends, for tests and searches.
    QString text() const;
};

// The program's seal (the picture of the page header, the about box and the main window's banner)
// in the rectangle.
void paintSeal(QPainter& painter, const QRectF& rect);
// Paints one page on a painter whose device has the given resolution (dots per inch).
void paintPage(QPainter& painter, const Page& page, double deviceDpi);
// Paints every page on the device, one device page per report page. Returns false when the device
// cannot be painted on (a file that cannot be written).
bool print(const Document& document, QPagedPaintDevice& device);
// Writes the document as a PDF file with its fonts embedded.
bool writePdf(const Document& document, const QString& fileName, QString* error = nullptr);

} // namespace Report
