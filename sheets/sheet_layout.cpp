#include "sheets/sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vortalis::sheets {

int SheetsFor(double length, double window, double overlap) {
  if (length <= window) return 1;
  return static_cast<int>(std::ceil((length - overlap) / (window - overlap) - 1e-9));
}

std::vector<double> ColumnLefts(double start, double length, double window, double overlap) {
  std::vector<double> lefts;
  const int columns = SheetsFor(length, window, overlap);
  for (int column = 1; column <= columns; ++column)
    lefts.push_back(start + (column - 1) * (window - overlap));
  return lefts;
}

std::vector<double> SheetStarts(double low, double high, double before, double after,
                                double least, double window, double overlap) {
  const double drawing = high - low;
  const int count = SheetsFor(drawing + before + after, window, overlap);
  const double leastSum = least * (before + after) / std::min(before, after);
  const int fewer = SheetsFor(drawing + leastSum, window, overlap);
  double start = low - before;
  if (fewer < count) {
    const double spare = fewer * (window - overlap) + overlap - drawing;
    start = low - spare * before / (before + after);
  }
  std::vector<double> starts;
  for (int k = 0; k < std::min(count, fewer); ++k) starts.push_back(start + k * (window - overlap));
  return starts;
}

std::vector<Band> JoinBands(std::vector<Band> bands, double window, double overlap,
                            Joining joining) {
  std::sort(bands.begin(), bands.end(), [](const Band& a, const Band& b) {
    return a.low < b.low || (a.low == b.low && a.high < b.high);
  });
  const auto sheets = [&](double low, double high) {
    return SheetsFor(high - low, window, overlap);
  };
  std::vector<Band> joined;
  for (const Band& band : bands) {
    const bool join =
        !joined.empty() &&
        (band.low <= joined.back().high ||
         (joining == Joining::FewerSheets &&
          sheets(joined.back().low, std::max(joined.back().high, band.high)) <=
              sheets(joined.back().low, joined.back().high) + sheets(band.low, band.high)));
    if (join)
      joined.back().high = std::max(joined.back().high, band.high);
    else
      joined.push_back(band);
  }
  return joined;
}

std::vector<double> SheetBottoms(const Band& band, double window, double overlap, Spread spread) {
  const int count = SheetsFor(band.high - band.low, window, overlap);
  if (count == 1) return {(band.low + band.high - window) / 2.0};
  const double step = spread == Spread::Stepped ? window - overlap
                                                : (band.high - band.low - window) / (count - 1);
  std::vector<double> bottoms;
  for (int k = 0; k < count; ++k) bottoms.push_back(band.low + k * step);
  return bottoms;
}

Neighbours NeighboursOf(const std::vector<Placed>& sheets, std::size_t index, double minShared) {
  const Placed& sheet = sheets[index];
  Neighbours neighbours;
  for (std::size_t j = 0; j < sheets.size(); ++j) {
    const Placed& other = sheets[j];
    if (j == index || std::abs(other.column - sheet.column) > 1) continue;
    const double width = std::min(sheet.left + sheet.width, other.left + other.width) -
                         std::max(sheet.left, other.left);
    const double height = std::min(sheet.bottom + sheet.height, other.bottom + other.height) -
                          std::max(sheet.bottom, other.bottom);
    if (width < minShared || height < minShared) continue;
    if (other.column < sheet.column)
      neighbours.left.push_back(j);
    else if (other.column > sheet.column)
      neighbours.right.push_back(j);
    else
      (other.rank < sheet.rank ? neighbours.below : neighbours.above).push_back(j);
  }
  return neighbours;
}

}  // namespace vortalis::sheets
