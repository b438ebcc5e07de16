#pragma once

#include <cstddef>
#include <vector>

// A drawing larger than a page laid over sheets, in millimetres of the
// drawing: columns across it, in each column the bands that hold lines, and
// over each band a run of sheets. Neighbouring sheets share a strip `overlap`
// wide, so that they can be glued over each other and lined up.
namespace vortalis::sheets {

// Sheets needed for `length` when each shows `window` of it; a hair over a
// whole number is rounding, not another sheet.
int SheetsFor(double length, double window, double overlap);

// The left edges of the columns that cover `length` from `start`.
std::vector<double> ColumnLefts(double start, double length, double window, double overlap);

// The starts of the sheets over the drawing from `low` to `high`, with
// `before` and `after` of paper beyond its ends. When those margins alone take
// a sheet more than margins of `least` would, they shrink in proportion and
// the sheets stand centred over the drawing: every sheet then shows some of
// the drawing that its neighbours do not, and none only paper or a part that
// lies within another sheet's overlap.
std::vector<double> SheetStarts(double low, double high, double before, double after,
                                double least, double window, double overlap);

// A range of heights in one column that must be on paper.
struct Band {
  double low;
  double high;
};

// How bands that lie near each other become one run of sheets: only when
// they overlap, or also when one run holds both on no more sheets than two.
enum class Joining { Overlapping, FewerSheets };
std::vector<Band> JoinBands(std::vector<Band> bands, double window, double overlap,
                            Joining joining);

// The bottoms of the sheets over a band. One sheet stands in its middle;
// more start at its low end and either step by the window less the overlap
// (Stepped) or share the band evenly, so that none holds only a sliver (Even).
enum class Spread { Stepped, Even };
std::vector<double> SheetBottoms(const Band& band, double window, double overlap, Spread spread);

// A sheet as laid out: its column (from 1), its place in the column (a larger
// `rank` is higher), and the part of the drawing it shows (y up).
struct Placed {
  int column;
  double rank;
  double left;
  double bottom;
  double width;
  double height;
};

// The sheets that share a strip of at least `minShared` by `minShared` with
// sheet `index`, by the edge they join at.
struct Neighbours {
  std::vector<std::size_t> left;
  std::vector<std::size_t> right;
  std::vector<std::size_t> below;
  std::vector<std::size_t> above;
};
Neighbours NeighboursOf(const std::vector<Placed>& sheets, std::size_t index, double minShared);

}  // namespace vortalis::sheets
