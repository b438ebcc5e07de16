#pragma once

#include <QRectF>
#include <QSizeF>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// Where plots go on a printed page.
namespace vortalis::plot {

// `count` cells in rows of `columns` from the page's top left, each a column
// wide and at most `heightShare` of its width high, and low enough that
// `rows` rows fit the page.
std::vector<QRectF> PageCells(const QSizeF& page, int columns, int rows, int count,
                              qreal heightShare);

// Scales the painter so that a page is laid out in pixels of a 96 dpi screen
// (lines and text keep their proportions at any printer resolution); returns
// the page's size in those pixels.
QSizeF LayOutAsScreen(QPainter& painter, const QPagedPaintDevice& device);

}  // namespace vortalis::plot
