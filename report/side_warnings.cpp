#include "report/side_warnings.h"

#include <algorithm>

#include "report/number_format.h"

namespace vortalis::report {

namespace {

std::string Text(long double value, NumberFormat format, geometry::LengthUnit unit) {
  return FormatNumber(value, format, {".", ""}) + " " + geometry::UnitName(unit);
}

}  // namespace

std::vector<std::string> SideWarnings(const std::vector<SidesAt>& sides, geometry::LengthUnit unit) {
  std::vector<std::string> warnings;
  if (sides.empty()) return warnings;
  const NumberFormat size = SizeFormat(unit);
  const NumberFormat length = LengthFormat(unit);
  const struct {
    long double SidesAt::*side;
    const char* pair;
  } pairs[] = {{&SidesAt::side1, "1A - 1B"}, {&SidesAt::side2, "2A - 2B"}};
  for (const auto& [side, pair] : pairs) {
    const auto narrowest = std::min_element(
        sides.begin(), sides.end(),
        [side](const SidesAt& p, const SidesAt& q) { return p.*side < q.*side; });
    const long double throat = sides.front().*side;
    // Rounding in the last digits is no narrowing.
    if (!((*narrowest).*side < throat * (1.0L - 1e-9L))) continue;
    warnings.push_back("Sides " + std::string(pair) + " narrow from " + Text(throat, size, unit) +
                       " at the throat to " + Text((*narrowest).*side, size, unit) + " at " +
                       Text(narrowest->distance, length, unit) +
                       " from the throat: the flat sides squeeze them below the throat's size.");
  }
  const SidesAt& mouth = sides.back();
  const long double widest = std::max(mouth.side1, mouth.side2);
  if (widest * geometry::MillimetresPer(unit) > kLargestMouthMm)
    warnings.push_back("The mouth is " + Text(widest, size, unit) + " across sides " +
                       (mouth.side1 >= mouth.side2 ? "1A - 1B" : "2A - 2B") +
                       ", more than 2 m.");
  return warnings;
}

std::vector<std::string> FlatSideWarnings(const HornProfile& profile) {
  if (!profile.rectangular || !profile.flatSides) return {};
  std::vector<SidesAt> sides;
  sides.reserve(profile.points.size());
  for (const ProfilePoint& p : profile.points) sides.push_back({p.distance, p.side1, p.side2});
  return SideWarnings(sides, profile.unit);
}

}  // namespace vortalis::report
