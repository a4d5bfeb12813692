#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures are drawn, not shipped: a seal of conformity with the program's name.
namespace Pictures {

// A banner of the given size: the seal on the left, the name and the subtitle beside it.
QPixmap banner(const QSize& size, const QString& subtitle);

// The seal alone, square.
QPixmap seal(int side);

} // namespace Pictures
