#include "buildkit/kit_parameters.h"

#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"

namespace vortalis::buildkit {

namespace {

std::string Whole(long double value) { return std::to_string(static_cast<long long>(value)); }

}  // namespace

long double Checked(const KitParameter& parameter, long double value) {
  const bool above = parameter.lowIncluded ? value >= parameter.low : value > parameter.low;
  const bool whole = !parameter.count || value == std::floor(value);
  if (above && value <= parameter.high && std::isfinite(value) && whole) return value;
  const std::string subject = "The " + std::string(parameter.name) + " must be ";
  if (parameter.count)
    throw KitError(subject + "a whole number from " + Whole(parameter.low) + " to " +
                   Whole(parameter.high) + ".");
  throw KitError(subject + "a number " +
                 (parameter.lowIncluded ? "of at least " : "greater than ") +
                 Whole(parameter.low) +
                 (std::isfinite(parameter.high) ? " and at most " + Whole(parameter.high) : "") +
                 ".");
}

long double Checked(const KitParameter& parameter, std::string_view text,
                    const geometry::Separators& separators) {
  const auto value = geometry::ParseNumber(text, separators);
  return Checked(parameter, value ? *value : std::nanl(""));
}

std::optional<long double> KitValues::Given(const KitParameter& parameter) const {
  for (const auto& [which, value] : given)
    if (which == &parameter) return value;
  return std::nullopt;
}

const report::CircularReportInput& CircularOnly(const KitInput& input, std::string_view kits) {
  const auto* circular = std::get_if<report::CircularReportInput>(&input.horn);
  if (circular == nullptr)
    throw KitError(std::string(kits) + " are made for circular horns only.");
  return *circular;
}

long double InUnit(geometry::LengthUnit unit, long double mm, int decimals) {
  if (unit == geometry::LengthUnit::Millimetre) return mm;
  const long double scale = std::pow(10.0L, decimals);
  return std::round(mm / 25.4L * scale) / scale;
}

}  // namespace vortalis::buildkit
