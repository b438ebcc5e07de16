#include "buildkit/solid_kit.h"

#include <variant>

#include "buildkit/rect_solid.h"

namespace vortalis::buildkit {

Flange CheckedFlange(long double outerDiameter, long double thickness, long double boltCircle,
                     long double boltCount, long double holeDiameter) {
  Flange flange{Checked(kFlangeDiameter, outerDiameter), Checked(kFlangeThickness, thickness),
                0.0L, static_cast<int>(Checked(kBoltCount, boltCount)), 0.0L};
  if (flange.boltCount > 0) {
    flange.boltCircle = Checked(kBoltCircle, boltCircle);
    flange.holeDiameter = Checked(kHoleDiameter, holeDiameter);
  }
  return flange;
}

void CheckFlange(std::span<const long double> values) {
  const auto at = [&values](std::size_t i) { return i < values.size() ? values[i] : 0.0L; };
  CheckedFlange(at(0), at(1), at(2), at(3), at(4));
}

HornSolids SolidKit::Make(const KitInput& input, const KitValues& values) {
  SolidOptions options;
  options.wall = values.Value(kSolidWall);
  options.segmentHeight = values.Value(kSegmentHeight);
  if (!values.group.empty()) {
    const auto at = [&values](std::size_t i) {
      return i < values.group.size() ? values.group[i] : 0.0L;
    };
    options.flange = CheckedFlange(at(0), at(1), at(2), at(3), at(4));
  }
  options.whole = input.wholeSolid;
  options.progress = input.progress;
  return BuildSolids(input.horn, input.limit, input.separators, options);
}

const SolidOptions& Checked(const SolidOptions& options) {
  Checked(kSolidWall, options.wall);
  Checked(kSegmentHeight, options.segmentHeight);
  if (const auto& f = options.flange)
    CheckedFlange(f->outerDiameter, f->thickness, f->boltCircle, f->boltCount, f->holeDiameter);
  return options;
}

HornSolids BuildSolids(const report::HornInput& input, const report::MouthLimit& limit,
                       const geometry::Separators& separators, const SolidOptions& options) {
  if (const auto* rectangular = std::get_if<report::RectangularReportInput>(&input))
    return RectangularHornSolids(*rectangular, limit, separators, options);
  return CircularHornSolids(std::get<report::CircularReportInput>(input), limit, separators,
                            options);
}

}  // namespace vortalis::buildkit
