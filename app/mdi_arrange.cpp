#include "app/mdi_arrange.h"

#include <algorithm>

namespace vortalis::app {

std::vector<QRect> HorizontalTiles(int count, const QRect& area) {
  std::vector<QRect> tiles;
  if (count <= 0) return tiles;
  int columns = 1;
  while ((columns + 1) * (columns + 1) <= count) ++columns;
  const int rowsPerColumn = count / columns;
  const int width = area.width() / columns;
  for (int column = 0; column < columns; ++column) {
    const bool last = column == columns - 1;
    const int rows = last ? count - rowsPerColumn * (columns - 1) : rowsPerColumn;
    const int height = area.height() / rows;
    for (int row = 0; row < rows; ++row) {
      tiles.emplace_back(area.left() + column * width, area.top() + row * height, width, height);
    }
  }
  return tiles;
}

std::vector<QPoint> IconPositions(const std::vector<QSize>& iconSizes, const QRect& area) {
  std::vector<QPoint> positions;
  int x = area.left();
  int rowBottom = area.bottom() + 1;
  int rowHeight = 0;
  for (const QSize& size : iconSizes) {
    if (x > area.left() && x + size.width() > area.right() + 1) {
      x = area.left();
      rowBottom -= rowHeight;
      rowHeight = 0;
    }
    rowHeight = std::max(rowHeight, size.height());
    positions.emplace_back(x, rowBottom - size.height());
    x += size.width();
  }
  return positions;
}

}  // namespace vortalis::app
