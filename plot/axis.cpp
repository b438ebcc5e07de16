#include "plot/axis.h"

#include <algorithm>
#include <cmath>

namespace vortalis::plot {

Axis::Axis(long double low, long double high, qreal from, qreal to, AxisScale scale)
    : low_(low), high_(high), from_(from), to_(to), scale_(scale) {}

long double Axis::Position(long double value) const {
  if (scale_ == AxisScale::Log)
    return (std::log2(value) - std::log2(low_)) / (std::log2(high_) - std::log2(low_));
  return (value - low_) / (high_ - low_);
}

qreal Axis::Pixel(long double value) const {
  return from_ + static_cast<qreal>(Position(value)) * (to_ - from_);
}

long double Axis::ValueAt(qreal pixel) const {
  const long double share = static_cast<long double>(pixel - from_) / (to_ - from_);
  if (scale_ == AxisScale::Log)
    return std::exp2(std::log2(low_) + share * (std::log2(high_) - std::log2(low_)));
  return low_ + share * (high_ - low_);
}

bool Axis::Covers(qreal pixel) const {
  return pixel >= std::min(from_, to_) && pixel <= std::max(from_, to_);
}

long double Axis::UnitsPerPixel() const { return (high_ - low_) / std::fabs(to_ - from_); }

Ticks LinearTicks(const Axis& axis, qreal minPixels) {
  const report::GridStep step = report::NiceGridStep(minPixels * axis.UnitsPerPixel());
  return {step, report::GridValues(axis.Low(), axis.High(), step.step)};
}

std::vector<long double> Octaves(long double from, long double to) {
  std::vector<long double> octaves;
  for (long double octave = from; octave <= to * (1.0L + 1e-9L); octave *= 2.0L)
    octaves.push_back(octave);
  return octaves;
}

std::optional<std::size_t> NearestIndex(const std::vector<long double>& values, const Axis& axis,
                                        qreal pixel) {
  if (values.empty() || !axis.Covers(pixel)) return std::nullopt;
  const auto nearest =
      std::min_element(values.begin(), values.end(), [&](long double a, long double b) {
        return std::fabs(axis.Pixel(a) - pixel) < std::fabs(axis.Pixel(b) - pixel);
      });
  return static_cast<std::size_t>(nearest - values.begin());
}

Reading ReadingAt(const Axis& axis, qreal pixel) {
  const report::GridStep step = report::NiceGridStep(2 * axis.UnitsPerPixel());
  return {report::NearestGridValue(axis.ValueAt(pixel), step.step), step.decimals};
}

}  // namespace vortalis::plot
