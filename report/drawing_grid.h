#pragma once

#include <string>
#include <vector>

#include "geometry/number_text.h"

// The numbers of a profile drawing on screen or paper: how finely the curve is
// sampled and where its grid lines fall.
namespace vortalis::report {

// A step on the report's decimal grid (the increment times a power of ten)
// that draws a horn of `length` with 200 to 2000 points: fine enough for a
// tweeter reported in 10 mm steps, coarse enough that a horn hundreds of
// metres long draws at once. Between points the polygon strays from the
// tractrix by far less than a printed line's width.
long double DrawingStep(long double length, long double increment);

// A grid spacing of 1, 2 or 5 times a power of ten, not below minStep, and the
// decimals its labels need (0.5 needs one, 20 none).
struct GridStep {
  long double step;
  int decimals;
};
GridStep NiceGridStep(long double minStep);

// The multiples of step from low to high, both ends included where they fall
// on the grid; each is i * step, so no rounding error piles up along an axis.
std::vector<long double> GridValues(long double low, long double high, long double step);

// The multiple of step nearest to value, as i * step like GridValues (a
// readout that shows no more digits than the mouse can point at).
long double NearestGridValue(long double value, long double step);

// A number written as briefly as it reads, with up to 6 decimals: "18",
// "0.5", "0,01" (a step the user may edit and that is read back, a frequency).
std::string ShortNumberText(long double value, const geometry::Separators& separators);

}  // namespace vortalis::report
