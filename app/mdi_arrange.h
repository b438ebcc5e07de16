#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace vortalis::app {

// Where the main window puts its report windows when asked to tile them or to
// line up the icons of the minimised ones.

// Horizontal tiling, the frame's default: with r the whole square root of
// `count`, the windows fill count / r rows per column in r columns (one
// column up to three windows, stacked full-width); the last column takes the
// windows that are left over. Rectangles in the order the windows are given.
std::vector<QRect> HorizontalTiles(int count, const QRect& area);

// Icons of minimised windows in rows from the bottom-left corner, left to
// right, a new row above when the next one would pass the right edge.
std::vector<QPoint> IconPositions(const std::vector<QSize>& iconSizes, const QRect& area);

}  // namespace vortalis::app
