#include "buildkit/staves.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"
#include "buildkit/kit_parameters.h"
#include "geometry/constants.h"
#include "geometry/tractrix.h"

namespace vortalis::buildkit {

StavePattern Staves(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, int count) {
  Checked(kStaveCount, count);
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

std::string Summary(const StavesKit& kit, const geometry::Separators& separators) {
  return std::to_string(kit.pattern.count) + " staves, each " +
         drawing::Length(kit.pattern.length, kit.unit, separators) + " long.";
}

KitDrawing Draw(const StavesKit& kit) {
  using namespace drawing;
  const StavePattern& pattern = kit.pattern;
  const geometry::LengthUnit unit = kit.unit;
  const std::string count = std::to_string(pattern.count);
  KitDrawing result;
  result.unit = unit;
  result.title = "Staves: cut " + count + " alike";
  result.notes = {"Cut " + count + " staves of this pattern; bend each along its length.",
                  std::string("Ticks: distance from the throat along the axis; sizes in ") +
                      geometry::UnitName(unit) + ", scale 1:1."};
  const std::string layer = "STAVE";
  result.layers = {layer, "MIDLINE", "TICKS"};
  KitPiece piece;
  piece.title = "Stave (cut " + count + ")";
  KitPath outline{layer, {}, true, true};
  for (const StavePoint& p : pattern.points)
    outline.points.push_back({static_cast<double>(p.along), static_cast<double>(p.halfWidth)});
  for (auto it = pattern.points.rbegin(); it != pattern.points.rend(); ++it)
    outline.points.push_back({static_cast<double>(it->along), static_cast<double>(-it->halfWidth)});
  piece.paths.push_back(std::move(outline));
  piece.paths.push_back(
      {"MIDLINE", {{0.0, 0.0}, {static_cast<double>(pattern.length), 0.0}}, false, false});
  const long double end = pattern.points.back().distance;
  const long double step = MarkStep(end, unit);
  const double h = TextHeight(unit);
  std::size_t j = 1;
  for (long double d = step; d < end; d += step) {
    while (j + 1 < pattern.points.size() && pattern.points[j].distance < d) ++j;
    const StavePoint& a = pattern.points[j - 1];
    const StavePoint& b = pattern.points[j];
    const long double f = (d - a.distance) / (b.distance - a.distance);
    const double x = static_cast<double>(a.along + f * (b.along - a.along));
    const double half = static_cast<double>(std::min(a.halfWidth, b.halfWidth)) * 0.3;
    piece.paths.push_back({"TICKS", {{x, -half}, {x, half}}, false, false});
    piece.texts.push_back({"TICKS", {x + 0.3 * h, half}, 0.7 * h, TickText(d, unit)});
  }
  const DrawBox shape = Bounds(piece);
  AddLines(piece, layer, 0.0, shape.Top() - h,
           {"Stave pattern: cut " + count,
            "length " + Length(pattern.length, unit) + " along the mid-line",
            "width " + Size(2.0L * pattern.points.front().halfWidth, unit) + " at the throat, " +
                Size(2.0L * pattern.points.back().halfWidth, unit) + " at the end",
            "horn radius " + Size(pattern.points.front().radius, unit) + " to " +
                Size(pattern.points.back().radius, unit)},
           unit);
  piece.bounds = Bounds(piece);
  result.pieces.push_back(std::move(piece));
  return result;
}

}  // namespace vortalis::buildkit
