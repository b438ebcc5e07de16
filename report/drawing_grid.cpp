#include "report/drawing_grid.h"

#include <algorithm>
#include <cmath>

namespace vortalis::report {

namespace {

constexpr long double kFewestPoints = 200.0L;
constexpr long double kMostPoints = 2000.0L;
// Grid values are whole multiples of the step; this much of a step absorbs the
// rounding of a range end that lies on a grid line.
constexpr long double kGridSlack = 1e-9L;
constexpr long double kMostGridLines = 10000.0L;

}  // namespace

long double DrawingStep(long double length, long double increment) {
  if (!(length > 0.0L) || !(increment > 0.0L)) return increment;
  long double step = increment;
  while (length / step > kMostPoints) step *= 10.0L;
  while (length / step < kFewestPoints) step /= 10.0L;
  return step;
}

GridStep NiceGridStep(long double minStep) {
  if (!(minStep > 0.0L) || !std::isfinite(minStep)) return {1.0L, 0};
  const int exponent = static_cast<int>(std::floor(std::log10(minStep)));
  const long double power = std::pow(10.0L, static_cast<long double>(exponent));
  for (const int multiple : {1, 2, 5}) {
    const long double step = power * multiple;
    // The logarithm of an exact power of ten may come out a hair low or high.
    if (step >= minStep * (1.0L - kGridSlack)) return {step, std::max(0, -exponent)};
  }
  return {power * 10.0L, std::max(0, -(exponent + 1))};
}

std::vector<long double> GridValues(long double low, long double high, long double step) {
  std::vector<long double> values;
  if (!(step > 0.0L) || !(high >= low) || (high - low) / step > kMostGridLines) return values;
  const long double first = std::ceil(low / step - kGridSlack);
  const long double last = std::floor(high / step + kGridSlack);
  for (long double i = first; i <= last; i += 1.0L) values.push_back(i * step);
  return values;
}

long double NearestGridValue(long double value, long double step) {
  return std::round(value / step) * step;
}

std::string ShortNumberText(long double value, const geometry::Separators& separators) {
  std::string text = geometry::FixedText(value, 18, 6, separators);
  const std::size_t point = text.find(separators.decimal);
  if (separators.decimal.empty() || point == std::string::npos) return text;
  while (text.size() > point + separators.decimal.size() && text.back() == '0') text.pop_back();
  if (text.size() == point + separators.decimal.size()) text.resize(point);
  return text;
}

}  // namespace vortalis::report
