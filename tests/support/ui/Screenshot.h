#pragma once

#include <QString>

class QWidget;

// The pictures of the how-tos are taken by the screen tests: when TARVENDIX_SCREENSHOTS names a
// directory, saves `widget` there as `file` (PNG); otherwise does nothing.
// A window is taken as the X server shows it (run under Xvfb with QT_QPA_PLATFORM=xcb: its frame and
// any dialog or popup over it included), raised and kept on the screen first; a part of a window, or
// a window on a platform without an X server, is taken as the widget paints itself.
void screenshot(QWidget* widget, const QString& file);
