#include "buildkit/staves.h"

#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"
#include "geometry/constants.h"
#include "geometry/tractrix.h"

namespace vortalis::buildkit {

StavePattern Staves(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, int count) {
  if (count < kMinStaves || count > kMaxStaves) {
    throw KitError("The number of staves must be from " + std::to_string(kMinStaves) + " to " +
                   std::to_string(kMaxStaves) + ".");
  }
  const KitHorn horn = MakeKitHorn(input, limit, separators);
  const long double a = horn.mouthRadius;
  const long double k = std::sin(geometry::Pi / static_cast<long double>(count));
  // With u = k r, the mid-line's arc element sqrt(a^2 - u^2) / u du is the
  // tractrix's own: the outline (along, u) is a tractrix of mouth radius a, and
  // its length from the throat end is TractrixLength(a, k t) - TractrixLength(a, u).
  const TractrixCurve outline{a, geometry::TractrixLength(a, k * horn.throatRadius)};
  const auto gap = [&outline, k](const WallPoint& p, const WallPoint& q) {
    return outline.ChordGap(k * p.radius, k * q.radius);
  };
  StavePattern pattern;
  pattern.count = count;
  for (const WallPoint& p : WallPoints(horn, {0.0L, horn.throatRadius}, {horn.end, horn.endRadius},
                                       CurveTolerance(horn.unit), gap)) {
    pattern.points.push_back({p.distance, p.radius, outline.At(k * p.radius).along, k * p.radius});
  }
  pattern.length = pattern.points.back().along;
  return pattern;
}

}  // namespace vortalis::buildkit
