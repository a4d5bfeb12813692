#include "Pictures.h"

#include "AppInfo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Pictures {

namespace {

const QColor Navy(16, 54, 110);
const QColor Gold(222, 176, 48);

void drawSeal(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Gold, r.width() * 0.06));
    p.setBrush(Navy);
    const qreal inset = r.width() * 0.05;
    p.drawEllipse(r.adjusted(inset, inset, -inset, -inset));
    // The check mark of an approved certificate.
    QPainterPath check;
    check.moveTo(r.left() + r.width() * 0.28, r.top() + r.height() * 0.52);
    check.lineTo(r.left() + r.width() * 0.44, r.top() + r.height() * 0.68);
    check.lineTo(r.left() + r.width() * 0.74, r.top() + r.height() * 0.34);
    p.setPen(QPen(Qt::white, r.width() * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
    p.restore();
}

} // namespace

QPixmap seal(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    drawSeal(p, QRectF(0, 0, side, side));
    return pixmap;
}

QPixmap banner(const QSize& size, const QString& subtitle) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(235, 242, 250));
    sky.setColorAt(1, QColor(190, 210, 235));
    p.fillRect(pixmap.rect(), sky);

    const int side = int(size.height() * 0.6);
    const QRectF sealRect(size.width() * 0.08, (size.height() - side) / 2.0, side, side);
    drawSeal(p, sealRect);

    const QRectF text(sealRect.right() + size.width() * 0.05, 0, size.width() - sealRect.right(),
                      size.height());
    QFont title = p.font();
    title.setBold(true);
    title.setPixelSize(qMax(12, size.height() / 7));
    p.setFont(title);
    p.setPen(Navy);
    p.drawText(text.adjusted(0, 0, 0, -size.height() * 0.12), Qt::AlignLeft | Qt::AlignVCenter,
               AppInfo::Title);
    QFont sub = p.font();
    sub.setBold(false);
    sub.setPixelSize(qMax(10, size.height() / 16));
    p.setFont(sub);
    p.drawText(text.adjusted(0, size.height() * 0.18, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    return pixmap;
}

} // namespace Pictures
