#include "plot/page_cells.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace vortalis::plot {

std::vector<QRectF> PageCells(const QSizeF& page, int columns, int rows, int count,
                              qreal heightShare) {
  const qreal width = page.width() / columns;
  const qreal height = std::min<qreal>(page.height() / rows, width * heightShare);
  std::vector<QRectF> cells;
  for (int i = 0; i < count; ++i)
    cells.emplace_back((i % columns) * width, (i / columns) * height, width, height);
  return cells;
}

QSizeF LayOutAsScreen(QPainter& painter, const QPagedPaintDevice& device) {
  const qreal scale = device.logicalDpiX() / 96.0;
  painter.scale(scale, scale);
  return {device.width() / scale, device.height() / scale};
}

}  // namespace vortalis::plot
