#include "ReportLayout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>

namespace Report {

namespace {

constexpr double MarginMm = 10;
constexpr double CellPadding = 0.8 * UnitsPerMm;
constexpr double RowPadding = 0.5 * UnitsPerMm;
constexpr double SealMm = 16;
constexpr double RightBoxMm = 62;

Item textItem(const QRectF& rect, const QString& text, FontRole font, Qt::Alignment align = Qt::AlignLeft) {
    Item item;
    item.kind = Item::Kind::Text;
    item.rect = rect;
    item.text = text;
    item.font = font;
    item.align = align;
    return item;
}

// Column titles, labels and repeated values are measured once.
double advance(const QString& text, FontRole font) {
    static QHash<QString, double> cache[5];
    QHash<QString, double>& known = cache[int(font)];
    const auto found = known.constFind(text);
    if (found != known.constEnd())
        return *found;
    if (known.size() > 20000)
        known.clear();
    const double width = metrics(font).horizontalAdvance(text);
    known.insert(text, width);
    return width;
}

} // namespace

QStringList breakLines(const QString& text, FontRole font, double width) {
    QStringList lines;
    QString clean = text;
    clean.remove(QLatin1Char('\r'));
    const QStringList paragraphs = clean.split(QLatin1Char('\n'));
    for (int p = 0; p < paragraphs.size(); ++p) {
        const QString& paragraph = paragraphs.at(p);
        if (paragraph.isEmpty()) {
            // A line end at the very end of a text adds no empty line.
            if (p + 1 < paragraphs.size() || paragraphs.size() == 1)
                lines.append(QString());
            continue;
        }
        if (advance(paragraph, font) <= width) {
            lines.append(paragraph);
            continue;
        }
        QTextLayout layout(paragraph, Report::font(font), layoutDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
    }
    if (lines.isEmpty())
        lines.append(QString());
    return lines;
}

Layout::Layout(Header header, QPageLayout::Orientation orientation)
    : header_(std::move(header)), orientation_(orientation) {
    Document probe;
    probe.orientation = orientation;
    const QSizeF size = probe.pageSize();
    pageWidth_ = size.width();
    pageHeight_ = size.height();
    left_ = MarginMm * UnitsPerMm;
    right_ = pageWidth_ - MarginMm * UnitsPerMm;
    top_ = MarginMm * UnitsPerMm + headerHeight() + 3 * UnitsPerMm;
    bottom_ = pageHeight_ - MarginMm * UnitsPerMm;
}

double Layout::headerHeight() const {
    const double textWidth = right_ - left_ - (SealMm + 4 + RightBoxMm) * UnitsPerMm;
    double textHeight = metrics(FontRole::Title).lineSpacing() + metrics(FontRole::Heading).lineSpacing();
    for (const QString& line : header_.lines)
        textHeight +=
            breakLines(line, FontRole::Normal, textWidth).size() * metrics(FontRole::Normal).lineSpacing();
    const double right = 3 * metrics(FontRole::Normal).lineSpacing();
    return std::max({SealMm * UnitsPerMm, textHeight, right});
}

void Layout::paintHeader(Page& page, int number) const {
    const double top = MarginMm * UnitsPerMm;
    Item seal;
    seal.kind = Item::Kind::Seal;
    seal.rect = QRectF(left_, top, SealMm * UnitsPerMm, SealMm * UnitsPerMm);
    QList<Item> items{seal};

    const double textLeft = left_ + (SealMm + 4) * UnitsPerMm;
    const double boxLeft = right_ - RightBoxMm * UnitsPerMm;
    const double textWidth = boxLeft - textLeft;
    double y = top;
    const auto put = [&](const QString& text, FontRole role) {
        for (const QString& line : breakLines(text, role, textWidth)) {
            const double h = metrics(role).lineSpacing();
            items.append(textItem(QRectF(textLeft, y, textWidth, h), line, role));
            y += h;
        }
    };
    put(QStringLiteral("Tarvendix"), FontRole::Title);
    put(header_.title, FontRole::Heading);
    for (const QString& line : header_.lines)
        put(line, FontRole::Normal);

    const double h = metrics(FontRole::Normal).lineSpacing();
    const double boxWidth = RightBoxMm * UnitsPerMm;
    items.append(textItem(QRectF(boxLeft, top, boxWidth, h), QStringLiteral("Pag: %1").arg(number),
                          FontRole::Normal, Qt::AlignRight));
    items.append(textItem(QRectF(boxLeft, top + h, boxWidth, h),
                          QStringLiteral("Data: ") + header_.data.toString(QStringLiteral("dd/MM/yyyy")),
                          FontRole::Normal, Qt::AlignRight));
    items.append(textItem(QRectF(boxLeft, top + 2 * h, boxWidth, h),
                          QStringLiteral("Usuário: ") + header_.usuario, FontRole::Normal, Qt::AlignRight));
    Item line;
    line.kind = Item::Kind::Line;
    line.rect = QRectF(left_, top + headerHeight() + 1.5 * UnitsPerMm, width(), 0);
    items.append(line);
    page.items = items + page.items;
}

Layout::Block Layout::makeRow(const QList<Column>& columns, const QStringList& values, FontRole font,
                              double indent) const {
    Block block;
    double total = 0;
    for (const Column& c : columns)
        total += c.share;
    if (total <= 0)
        return block;
    const double available = width() - indent;
    const double lineHeight = metrics(font).lineSpacing();
    double x = left_ + indent;
    int maxLines = 1;
    for (int i = 0; i < columns.size(); ++i) {
        const double w = available * columns.at(i).share / total;
        const QStringList lines = breakLines(values.value(i), font, std::max(1.0, w - 2 * CellPadding));
        for (int l = 0; l < lines.size(); ++l)
            if (!lines.at(l).isEmpty())
                block.items.append(textItem(
                    QRectF(x + CellPadding, RowPadding + l * lineHeight, w - 2 * CellPadding, lineHeight),
                    lines.at(l), font, columns.at(i).align));
        maxLines = std::max(maxLines, int(lines.size()));
        x += w;
    }
    block.height = maxLines * lineHeight + 2 * RowPadding;
    return block;
}

void Layout::setColumnTitles(const QList<Column>& columns) {
    QStringList titles;
    for (const Column& c : columns)
        titles.append(c.title);
    titles_ = makeRow(columns, titles, FontRole::Bold, 0);
    Item line;
    line.kind = Item::Kind::Line;
    line.rect = QRectF(left_, titles_.height, width(), 0);
    titles_.items.append(line);
    titles_.height += 0.5 * UnitsPerMm;
    hasTitles_ = true;
    if (keepDepth_ > 0) {
        // Inside a group the titles go with the group's other rows.
        titlesPending_ = false;
        kept_.append(titles_);
        return;
    }
    titlesPending_ = true;
}

void Layout::clearColumnTitles() {
    if (titlesPending_ && keepDepth_ == 0)
        add(Block()); // titles without rows still print
    hasTitles_ = false;
    titlesPending_ = false;
}

void Layout::row(const QList<Column>& columns, const QStringList& values, FontRole font) {
    add(makeRow(columns, values, font, 0));
}

void Layout::paragraph(const QString& text, FontRole font, double indentMm) {
    add(makeRow({Column{QString(), 1}}, {text}, font, indentMm * UnitsPerMm));
}

void Layout::heading(const QString& text) {
    Block block = makeRow({Column{QString(), 1}}, {text}, FontRole::Heading, 0);
    Item line;
    line.kind = Item::Kind::Line;
    line.rect = QRectF(left_, block.height, width(), 0);
    block.items.append(line);
    block.height += 1 * UnitsPerMm;
    if (keepDepth_ > 0) {
        kept_.append(std::move(block));
        return;
    }
    lead_.append(std::move(block));
}

void Layout::rule() {
    Block block;
    Item line;
    line.kind = Item::Kind::Line;
    line.rect = QRectF(left_, 0.5 * UnitsPerMm, width(), 0);
    block.items.append(line);
    block.height = 1 * UnitsPerMm;
    add(block);
}

void Layout::gap(double mm) {
    Block block;
    block.height = mm * UnitsPerMm;
    add(block);
}

void Layout::beginKeepTogether() {
    ++keepDepth_;
}

void Layout::endKeepTogether() {
    if (keepDepth_ == 0 || --keepDepth_ > 0)
        return;
    double total = titlesPending_ ? titles_.height : 0;
    for (const Block& b : lead_)
        total += b.height;
    for (const Block& b : kept_)
        total += b.height;
    if (pages_.isEmpty())
        startPage();
    if (y_ + total > bottom_ && contentOnPage_)
        startPage();
    const QList<Block> blocks = std::exchange(kept_, {});
    for (const Block& b : blocks)
        add(b);
}

void Layout::newPageUnlessAtTop() {
    if (pages_.isEmpty() || contentOnPage_)
        startPage();
}

void Layout::add(Block block) {
    if (keepDepth_ > 0) {
        kept_.append(std::move(block));
        return;
    }
    if (pages_.isEmpty())
        startPage();
    double needed = block.height + (titlesPending_ ? titles_.height : 0);
    for (const Block& b : lead_)
        needed += b.height;
    if (y_ + needed > bottom_ && contentOnPage_)
        startPage();
    for (const Block& b : std::exchange(lead_, {}))
        place(b);
    if (titlesPending_) {
        titlesPending_ = false;
        place(titles_);
    }
    place(block);
    contentOnPage_ = true;
}

void Layout::place(const Block& block) {
    Page& page = pages_.last();
    for (Item item : block.items) {
        item.rect.translate(0, y_);
        page.items.append(item);
    }
    y_ += block.height;
}

void Layout::startPage() {
    pages_.append(Page());
    y_ = top_;
    contentOnPage_ = false;
    if (hasTitles_) {
        // Headings waiting for the next rows go above the titles.
        titlesPending_ = !lead_.isEmpty();
        if (!titlesPending_)
            place(titles_);
    }
}

Document Layout::finish(const QString& title) {
    while (keepDepth_ > 0)
        endKeepTogether();
    if (pages_.isEmpty())
        startPage();
    if (!lead_.isEmpty() || titlesPending_)
        add(Block());
    Document document;
    document.title = title;
    document.orientation = orientation_;
    document.pages = std::exchange(pages_, {});
    for (int i = 0; i < document.pages.size(); ++i)
        paintHeader(document.pages[i], i + 1);
    return document;
}

} // namespace Report
