#pragma once

#include <QtGlobal>
#include <cstddef>
#include <optional>
#include <vector>

#include "report/drawing_grid.h"

// One axis of a plot: a range of values laid along a run of device pixels,
// evenly (linear) or by their logarithm (log), and the values its grid lines
// and readouts fall on.
namespace vortalis::plot {

enum class AxisScale { Linear, Log };

class Axis {
 public:
  // `from` is the pixel of `low`, `to` that of `high`; a vertical axis runs
  // from the bottom (larger pixel) to the top. A log axis needs 0 < low < high.
  Axis(long double low, long double high, qreal from, qreal to,
       AxisScale scale = AxisScale::Linear);

  qreal Pixel(long double value) const;
  long double ValueAt(qreal pixel) const;
  bool Covers(qreal pixel) const;

  long double Low() const { return low_; }
  long double High() const { return high_; }
  // Values per pixel on a linear axis.
  long double UnitsPerPixel() const;

 private:
  long double Position(long double value) const;

  long double low_;
  long double high_;
  qreal from_;
  qreal to_;
  AxisScale scale_;
};

// Tick values on a linear axis: a 1-2-5 step at least `minPixels` apart, its
// multiples within the axis, and the decimals their labels need.
struct Ticks {
  report::GridStep step;
  std::vector<long double> values;
};
Ticks LinearTicks(const Axis& axis, qreal minPixels);

// from, 2 from, 4 from, ... up to `to` (kept when rounding put it a hair
// above): the grid of a log frequency axis, an octave a line.
std::vector<long double> Octaves(long double from, long double to);

// The index of the value (ascending along the axis) whose pixel is nearest
// `pixel`; none for no values or a pixel off the axis.
std::optional<std::size_t> NearestIndex(const std::vector<long double>& values, const Axis& axis,
                                        qreal pixel);

// The value at `pixel` of a linear axis rounded to a 1-2-5 step of at least
// two pixels, so that a readout shows no more digits than the mouse can point at.
struct Reading {
  long double value;
  int decimals;
};
Reading ReadingAt(const Axis& axis, qreal pixel);

}  // namespace vortalis::plot
