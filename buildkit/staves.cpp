#include "buildkit/staves.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"
#include "buildkit/kit_parameters.h"
#include "geometry/constants.h"
#include "report/number_format.h"

namespace vortalis::buildkit {

std::string_view StaveFitName(StaveFit fit) {
  for (const auto& [name, each] : kStaveFits)
    if (each == fit) return name;
  return {};
}

StaveSection SectionOf(StaveFit fit, int count) {
  const long double half = geometry::Pi / static_cast<long double>(count);
  const long double tangent = std::tan(half);
  switch (fit) {
    case StaveFit::Inscribed:
      return {std::cos(half), std::sin(half)};
    case StaveFit::EqualArea: {
      // N h^2 tan(pi/N) = pi.
      const long double apothem = std::sqrt(geometry::Pi / (count * tangent));
      return {apothem, apothem * tangent};
    }
    case StaveFit::Circumscribed:
      break;
  }
  return {1.0L, tangent};
}

namespace {

// The stave on the tractrix of mouth radius a, its polygon's apothem h r.
// The mid-line's arc element is sqrt(x'(r)^2 + h^2) dr = S(r) / r dr with
// S = sqrt(a^2 - q^2 r^2), q^2 = 1 - h^2, whose integral is
// S - a ln(a + S) + a ln r (finite for q = 0, the circumscribed polygon).
struct StaveShape {
  long double a;
  long double q2;         // 1 - apothem^2
  long double halfWidth;  // per unit radius
  long double sinHalf;    // sin(pi/N)

  long double S(long double r) const { return std::sqrt(std::max(0.0L, a * a - q2 * r * r)); }
  long double Primitive(long double r) const {
    const long double s = S(r);
    return s - a * std::log(a + s) + a * std::log(r);
  }
  // Half the angle between neighbouring staves' normals, where the mid-plane
  // rises at h' = h r / sqrt(a^2 - r^2): sin = sin(pi/N) / sqrt(1 + h'^2).
  long double Mitre(long double r) const {
    const long double s = S(r);
    if (!(s > 0.0L)) return 0.0L;
    return Degrees(std::asin(sinHalf * std::sqrt(std::max(0.0L, a * a - r * r)) / s));
  }
  // The largest distance between the outline (along(r), halfWidth r) from r0
  // to r1 and its chord: the outline is convex, so at the point whose tangent
  // is parallel to the chord, halfWidth r / S(r) = slope.
  long double OutlineGap(long double r0, long double r1) const {
    const long double dx = Primitive(r1) - Primitive(r0);
    const long double dy = halfWidth * (r1 - r0);
    if (!(dx > 0.0L)) return 0.0L;
    const long double m = dy / dx;
    const long double r = std::clamp(m * a / std::sqrt(halfWidth * halfWidth + m * m * q2), r0, r1);
    const long double x = Primitive(r) - Primitive(r0);
    const long double y = halfWidth * (r - r0);
    return std::fabs(dx * y - dy * x) / std::hypot(dx, dy);
  }
};

}  // namespace

StavePattern Staves(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, int count, StaveFit fit) {
  Checked(kStaveCount, count);
  const KitHorn horn = MakeKitHorn(input, limit, separators);
  const StaveSection section = SectionOf(fit, count);
  const StaveShape shape{horn.mouthRadius, 1.0L - section.apothem * section.apothem,
                         section.halfWidth,
                         std::sin(geometry::Pi / static_cast<long double>(count))};
  const long double start = shape.Primitive(horn.throatRadius);
  const auto point = [&](long double distance, long double radius) {
    return StavePoint{distance, radius, shape.Primitive(radius) - start,
                      section.halfWidth * radius, shape.Mitre(radius)};
  };
  const auto gap = [&shape](const WallPoint& p, const WallPoint& q) {
    return shape.OutlineGap(p.radius, q.radius);
  };
  StavePattern pattern;
  pattern.count = count;
  pattern.fit = fit;
  for (const WallPoint& p : WallPoints(horn, {0.0L, horn.throatRadius}, {horn.end, horn.endRadius},
                                       CurveTolerance(horn.unit), gap))
    pattern.points.push_back(point(p.distance, p.radius));
  pattern.length = pattern.points.back().along;
  const long double step = MarkStep(horn.end, horn.unit);
  long double radius = horn.throatRadius;
  for (long double d = step; d < horn.end; d += step) {
    radius = WallRadius(horn, d, radius);
    pattern.ticks.push_back(point(d, radius));
  }
  return pattern;
}

std::string StavesCsv(const StavePattern& pattern, geometry::LengthUnit unit) {
  const geometry::Separators csv{".", ""};
  const report::NumberFormat length = report::LengthFormat(unit);
  constexpr report::NumberFormat kAngle{8, 3};
  std::vector<StavePoint> rows{pattern.points.front()};
  rows.insert(rows.end(), pattern.ticks.begin(), pattern.ticks.end());
  rows.push_back(pattern.points.back());
  std::string text = "distance,radius,along,width,mitre_degrees\r\n";
  for (const StavePoint& p : rows) {
    for (const long double value : {p.distance, p.radius, p.along, 2.0L * p.halfWidth}) {
      geometry::AppendFixedText(text, value, length.precision, length.decimals, csv);
      text += ',';
    }
    geometry::AppendFixedText(text, p.mitre, kAngle.precision, kAngle.decimals, csv);
    text += "\r\n";
  }
  return text;
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
  result.notes = {
      "Cut " + count + " staves of this pattern; bend each along its length.",
      std::string("Ticks: distance from the throat along the axis, with each long edge's mitre "
                  "from square below; sizes in ") +
          geometry::UnitName(unit) + ", scale 1:1.",
      "Fit: " + std::string(StaveFitName(pattern.fit)) + " on the wall's circle."};
  const std::string layer = "STAVE";
  result.layers = {layer, "MIDLINE", "TICKS", kLabelLayer};
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
  const double h = TextHeight(unit);
  for (const StavePoint& tick : pattern.ticks) {
    const double x = static_cast<double>(tick.along);
    const double half = static_cast<double>(tick.halfWidth) * 0.3;
    piece.paths.push_back({"TICKS", {{x, -half}, {x, half}}, false, false});
    piece.texts.push_back({"TICKS", {x + 0.3 * h, half}, 0.7 * h, TickText(tick.distance, unit)});
    piece.texts.push_back(
        {"TICKS", {x + 0.3 * h, -half - 0.7 * h}, 0.7 * h, Angle(tick.mitre)});
  }
  std::vector<double> ticks;
  for (const StavePoint& tick : pattern.ticks) ticks.push_back(static_cast<double>(tick.along));
  AddMidLineLabel(piece, piece.paths.front().points, ticks, static_cast<double>(pattern.length),
                  "stave: throat end at the left", unit);
  const DrawBox shape = Bounds(piece);
  const StavePoint& first = pattern.points.front();
  const StavePoint& last = pattern.points.back();
  AddLines(piece, layer, 0.0, shape.Top() - h,
           {"Stave pattern: cut " + count,
            "length " + Length(pattern.length, unit) + " along the mid-line",
            "width " + Size(2.0L * first.halfWidth, unit) + " at the throat, " +
                Size(2.0L * last.halfWidth, unit) + " at the end",
            "mitre " + Angle(first.mitre) + " a side at the throat, " + Angle(last.mitre) +
                " at the end",
            "horn radius " + Size(first.radius, unit) + " to " + Size(last.radius, unit)},
           unit);
  piece.bounds = Bounds(piece);
  result.pieces.push_back(std::move(piece));
  return result;
}

StavesKit StavesKit::Make(const KitInput& input, const KitValues& values) {
  const std::string_view word = values.choice.empty() ? kStaveFitChoice.unset : values.choice;
  StaveFit fit = StaveFit::Circumscribed;
  for (const auto& [name, each] : kStaveFits)
    if (name == word) fit = each;
  return {report::UnitOf(input.horn),
          Staves(CircularOnly(input, "Staves"), input.limit, input.separators,
                 static_cast<int>(values.Value(kStaveCount)), fit)};
}

}  // namespace vortalis::buildkit
