#include "Pictures.h"

#include "AppInfo.h"
#include "ReportDocument.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Pictures {

QPixmap seal(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    Report::paintSeal(p, QRectF(0, 0, side, side));
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
    Report::paintSeal(p, sealRect);

    const QRectF text(sealRect.right() + size.width() * 0.05, 0, size.width() - sealRect.right(),
                      size.height());
    QFont title = p.font();
    title.setBold(true);
    title.setPixelSize(qMax(12, size.height() / 7));
    p.setFont(title);
    p.setPen(QColor(16, 54, 110)); // the seal's navy
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
