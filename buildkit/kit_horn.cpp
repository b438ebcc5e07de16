#include "buildkit/kit_horn.h"
#include "buildkit/solid_kit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "geometry/constants.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/station_section.h"

namespace vortalis::buildkit {

std::vector<long double> PieceCuts(long double end, long double height) {
  Checked(kSegmentHeight, height);
  std::vector<long double> cuts;
  if (height == 0.0L) return cuts;
  const long double pieces = std::ceil(end / height);
  if (pieces > 1000.0L) throw KitError("The segment height gives more than 1,000 pieces.");
  const auto count = static_cast<int>(pieces);
  for (int k = 1; k < count; ++k) cuts.push_back(end * static_cast<long double>(k) / pieces);
  return cuts;
}

long double MarkStep(long double length, geometry::LengthUnit unit) {
  long double step = unit == geometry::LengthUnit::Millimetre ? 10.0L : 0.5L;
  for (int i = 0; length / step > 60.0L; ++i) step *= (i % 3 == 1) ? 2.5L : 2.0L;
  return step;
}

long double Degrees(long double radians) { return radians * 180.0L * geometry::InversePi; }

KitHorn MakeKitHorn(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators) {
  const report::CircularHorn circular = report::MakeCircularHorn(input, separators);
  // A step of the whole length gives the throat and the end the profile draws.
  const report::HornProfile ends =
      report::MakeCircularProfile(input, circular.length, limit, separators);
  KitHorn horn;
  horn.unit = input.unit;
  horn.mouthRadius = circular.mouthRadius;
  horn.length = circular.length;
  horn.throatRadius = circular.throatRadius;
  horn.end = ends.points.back().distance;
  horn.endRadius = ends.points.back().radius;
  return horn;
}

void RefuseTooManyPieces(long double count, const char* pieces, const char* remedy) {
  if (!(count > kMaxKitPieces)) return;
  const geometry::Separators english{".", ","};
  throw KitError("The kit would have " +
                 (count < 1e18L ? geometry::GroupedInteger(static_cast<unsigned long long>(
                                                               std::ceil(count)),
                                                           english)
                                : std::string("more than 10^18")) +
                 " " + pieces + "; a kit has at most " +
                 geometry::GroupedInteger(static_cast<unsigned long long>(kMaxKitPieces), english) +
                 ": " + remedy + ".");
}

void RefuseUnprintable(const char* name, long double value, geometry::LengthUnit unit) {
  if (value >= 0.1L / MillimetresPer(unit)) return;
  throw KitError(std::string("The ") + name + " must be at least 0.1 mm to be printed.");
}

}  // namespace vortalis::buildkit
