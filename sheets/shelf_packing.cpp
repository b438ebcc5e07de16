#include "sheets/shelf_packing.h"

#include <algorithm>
#include <stdexcept>

namespace vortalis::sheets {

std::vector<Spot> PackShelves(const std::vector<BoxSize>& boxes, BoxSize sheet, double gap) {
  std::vector<Spot> spots;
  std::size_t current = 0;
  double rowTop = sheet.height;  // the row's top edge
  double rowHeight = 0.0;        // its tallest box so far
  double next = 0.0;             // the left edge of the row's next box
  bool empty = true;             // nothing on this sheet yet
  for (const BoxSize& box : boxes) {
    if (box.width > sheet.width || box.height > sheet.height)
      throw std::invalid_argument("a box larger than its sheet");
    const bool fitsRow = next + box.width <= sheet.width && rowTop - box.height >= 0.0;
    if (!empty && !fitsRow) {
      // A new row under this one, or a new sheet.
      const double top = rowTop - rowHeight - gap;
      if (top - box.height >= 0.0) {
        rowTop = top;
      } else {
        ++current;
        rowTop = sheet.height;
      }
      rowHeight = 0.0;
      next = 0.0;
    }
    spots.push_back({current, next, rowTop - box.height});
    rowHeight = std::max(rowHeight, box.height);
    next += box.width + gap;
    empty = false;
  }
  return spots;
}

}  // namespace vortalis::sheets
