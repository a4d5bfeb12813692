#include "Screenshot.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

void screenshot(QWidget* widget, const QString& file) {
    const QString dir = qEnvironmentVariable("TARVENDIX_SCREENSHOTS");
    if (dir.isEmpty() || !widget)
        return;
    ASSERT_TRUE(QDir().mkpath(dir)) << dir.toStdString();
    const QString path = QDir(dir).filePath(file);
    const bool fromTheScreen = widget->isWindow() && QGuiApplication::platformName() == QLatin1String("xcb");
    if (fromTheScreen) {
        // Xvfb has no window manager: the window is raised and kept on the screen by hand.
        widget->raise();
        widget->activateWindow();
        widget->move(std::max(0, widget->x()), std::max(0, widget->y()));
    }
    for (int i = 0; i < 20; ++i) { // let the windows paint
        QApplication::processEvents();
        QThread::msleep(10);
    }
    if (!fromTheScreen) {
        ASSERT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
        EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        return;
    }
    const QRect area = widget->frameGeometry();
    const QString crop =
        QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y());
    EXPECT_EQ(QProcess::execute(QStringLiteral("import"),
                                {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                                 crop, QStringLiteral("+repage"), path}),
              0)
        << path.toStdString();
}
