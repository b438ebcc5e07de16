#include "report/radius_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/tractrix.h"

namespace vortalis::report {

long double TractrixDistance(long double a, long double r) {
  if (a > r) return geometry::TractrixLength(a, r);
  return -1.0L;
}

long double SolveRadius(long double a, long double x, long double rStart, long double eps) {
  long double step = 1.0L;
  long double r = rStart;
  long double xr = TractrixDistance(a, r);
  while (std::fabs(xr - x) > eps) {
    const long double rBefore = r;
    const long double stepBefore = step;
    r = r + step;
    if (xr < x) {
      // The radius before this step already passed the target (or the mouth):
      // go back to the last radius on the throat side and refine the step.
      r = r - 2.0L * step;
      step = step * 0.1L;
    }
    // A tolerance finer than the arithmetic can resolve (or a NaN argument)
    // would repeat this same state for ever; a converging walk never does.
    if (step == stepBefore && (r == rBefore || std::isnan(r))) break;
    xr = TractrixDistance(a, r);
  }
  return r;
}

long double FlareAngle(long double t) {
  if (t > 0.999999991L) return 90.0L;
  return std::atan(t / std::sqrt(1.0L - t * t)) * 57.29577951308232L;
}

long double RoundedLength(long double length) { return std::nearbyint(length); }

int ProgressPercent(long double d, long double lr) {
  // A horn shorter than half a unit rounds to 0: show a full bar rather than divide by zero.
  if (lr == 0.0L) return 100;
  const long double percent = d / lr * 100.0L;
  // llrint rounds in the current mode exactly as nearbyint does (to nearest, ties
  // to even) without saving and restoring the floating-point environment, which
  // cost a few percent of a huge table; it needs a value within long long.
  constexpr long double kLongLongSafe = 0x1p62L;
  if (!(percent < kLongLongSafe)) return std::numeric_limits<int>::max();  // NaN too
  if (!(percent > -kLongLongSafe)) return std::numeric_limits<int>::min();
  return static_cast<int>(std::clamp<long long>(std::llrint(percent),
                                                std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

long double SearchTolerance(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Millimetre ? 0.000001L : 0.00000001L;
}

std::string_view AreaSeparator(long double area, geometry::LengthUnit unit) {
  const long double threshold = unit == geometry::LengthUnit::Millimetre ? 1000000.0L : 10000.0L;
  return area >= threshold ? std::string_view("\t") : std::string_view("\t\t");
}

}  // namespace vortalis::report
