#include "ReportDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <memory>

namespace Report {

namespace {

double pointSize(FontRole role) {
    switch (role) {
    case FontRole::Small:
        return 7.5;
    case FontRole::Heading:
        return 10.5;
    case FontRole::Title:
        return 14;
    case FontRole::Normal:
    case FontRole::Bold:
        break;
    }
    return 8.5;
}

// Measuring is done on an image whose resolution is the layout's, so a text measured here takes
// the same room on any device once painted through the scale of paintPage.
QImage& referenceImage() {
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(UnitsPerInch / 0.0254);
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

} // namespace

void paintSeal(QPainter& p, const QRectF& r) {
    // Navy with a gold ring and the white check mark of an approved certificate.
    const QColor navy(16, 54, 110);
    const QColor gold(222, 176, 48);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(gold, r.width() * 0.06));
    p.setBrush(navy);
    const qreal inset = r.width() * 0.05;
    p.drawEllipse(r.adjusted(inset, inset, -inset, -inset));
    QPainterPath check;
    check.moveTo(r.left() + r.width() * 0.28, r.top() + r.height() * 0.52);
    check.lineTo(r.left() + r.width() * 0.44, r.top() + r.height() * 0.68);
    check.lineTo(r.left() + r.width() * 0.74, r.top() + r.height() * 0.34);
    p.setPen(QPen(Qt::white, r.width() * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
    p.restore();
}

QFont font(FontRole role) {
    // DejaVu Sans carries every accented letter of the texts and is embedded in the PDF.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize(role));
    f.setBold(role == FontRole::Bold || role == FontRole::Heading || role == FontRole::Title);
    f.setKerning(false); // the same advances wherever it is measured
    // A letter spacing, however small, keeps the shaper from joining "fi" into one ligature glyph,
    // so the words of a PDF can be found and copied as they are written.
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    return f;
}

const QFontMetricsF& metrics(FontRole role) {
    static std::array<std::unique_ptr<QFontMetricsF>, 5> cache;
    auto& slot = cache[std::size_t(role)];
    if (!slot)
        slot = std::make_unique<QFontMetricsF>(font(role), &referenceImage());
    return *slot;
}

QPaintDevice* layoutDevice() {
    return &referenceImage();
}

QStringList Page::texts() const {
    QList<const Item*> texts;
    for (const Item& item : items)
        if (item.kind == Item::Kind::Text)
            texts.append(&item);
    std::stable_sort(texts.begin(), texts.end(), [](const Item* a, const Item* b) {
        if (qAbs(a->rect.top() - b->rect.top()) > 1)
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    QStringList result;
    for (const Item* item : texts)
        result.append(item->text);
    return result;
}

QSizeF Document::pageSize() const {
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const QSizeF units(mm.width() * UnitsPerMm, mm.height() * UnitsPerMm);
    return orientation == QPageLayout::Landscape ? units.transposed() : units;
}

QPageLayout Document::pageLayout() const {
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0));
}

QString Document::text() const {
    QStringList all;
    for (const Page& page : pages)
        all.append(page.texts().join(QLatin1Char('\n')));
    return all.join(QStringLiteral("\n\f\n"));
}

void paintPage(QPainter& painter, const Page& page, double deviceDpi) {
    painter.save();
    const double scale = deviceDpi / UnitsPerInch;
    painter.scale(scale, scale);
    // A font's point size is turned into pixels with the device's resolution before the scale
    // applies, so it is given in the layout's terms here.
    const double fontFactor = UnitsPerInch / deviceDpi;
    FontRole current = FontRole::Title;
    bool fontSet = false;
    painter.setPen(Qt::black);
    for (const Item& item : page.items) {
        switch (item.kind) {
        case Item::Kind::Text: {
            if (!fontSet || item.font != current) {
                QFont f = font(item.font);
                f.setPointSizeF(f.pointSizeF() * fontFactor);
                painter.setFont(f);
                current = item.font;
                fontSet = true;
            }
            painter.drawText(item.rect, int(item.align | Qt::AlignTop) | Qt::TextSingleLine, item.text);
            break;
        }
        case Item::Kind::Line:
            painter.setPen(QPen(Qt::black, 4));
            painter.drawLine(item.rect.topLeft(), item.rect.topRight());
            painter.setPen(Qt::black);
            break;
        case Item::Kind::Seal:
            paintSeal(painter, item.rect);
            break;
        }
    }
    painter.restore();
}

bool print(const Document& document, QPagedPaintDevice& device) {
    device.setPageLayout(document.pageLayout());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double dpi = device.logicalDpiX();
    for (int i = 0; i < document.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, document.pages.at(i), dpi);
    }
    return painter.end();
}

bool writePdf(const Document& document, const QString& fileName, QString* error) {
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = probe.errorString();
            return false;
        }
    }
    QPdfWriter writer(fileName);
    writer.setResolution(1200);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Tarvendix"));
    if (!print(document, writer)) {
        if (error)
            *error = QStringLiteral("O arquivo %1 não pôde ser gravado.").arg(fileName);
        return false;
    }
    return true;
}

} // namespace Report
