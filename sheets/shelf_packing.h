#pragma once

#include <cstddef>
#include <vector>

// Small pieces sharing sheets: boxes laid in rows (shelves) from a sheet's top
// left, left to right, a row under the one before, a new sheet when the next
// box fits no more; in the order given, so that numbered pieces stay in order.
namespace vortalis::sheets {

struct BoxSize {
  double width;
  double height;
};

// Where a box lies: its sheet (from 0) and its lower left corner, y up from
// the sheet's bottom edge.
struct Spot {
  std::size_t sheet;
  double left;
  double bottom;
};

// Every box lies within `sheet` and at least `gap` from every other box on its
// sheet. Throws std::invalid_argument for a box larger than the sheet.
std::vector<Spot> PackShelves(const std::vector<BoxSize>& boxes, BoxSize sheet, double gap);

}  // namespace vortalis::sheets
