#include "buildkit/sectors.h"

#include <algorithm>
#include <cmath>

#include "buildkit/kit_horn.h"
#include "buildkit/kit_parameters.h"
#include "geometry/constants.h"

namespace vortalis::buildkit {

SheetDevelopment SheetDevelopments(const report::CircularReportInput& input,
                                   const report::MouthLimit& limit,
                                   const geometry::Separators& separators, long double step,
                                   long double seam) {
  Checked(kSectorStep, step);
  Checked(kSeamAllowance, seam);
  const KitHorn horn = MakeKitHorn(input, limit, separators);
  RefuseTooManyPieces(horn.end / step, "sectors", "choose a longer step or cut the horn short");
  const TractrixCurve wall{horn.mouthRadius, horn.length};
  const report::HornProfile profile = report::MakeCircularProfile(input, step, limit, separators);
  SheetDevelopment kit;
  kit.step = step;
  kit.seam = seam;
  for (std::size_t i = 1; i < profile.points.size(); ++i) {
    const report::ProfilePoint& p = profile.points[i - 1];
    const report::ProfilePoint& q = profile.points[i];
    const long double rise = q.radius - p.radius;
    const long double slant = std::hypot(q.distance - p.distance, rise);
    Sector sector{};
    sector.from = p.distance;
    sector.to = q.distance;
    sector.radiusFrom = p.radius;
    sector.radiusTo = q.radius;
    // Similar triangles to the apex: the slant radii are to the radii as the
    // slant length is to the rise, so each arc is its circle's circumference.
    sector.innerRadius = slant * p.radius / rise;
    sector.outerRadius = slant * q.radius / rise;
    const long double angle = 2.0L * geometry::Pi * rise / slant;
    sector.angle = Degrees(angle);
    sector.angleWithSeam = Degrees(angle + std::asin(std::min(1.0L, seam / sector.innerRadius)));
    sector.gap = wall.ChordGap(p.radius, q.radius);
    kit.largestGap = std::max(kit.largestGap, sector.gap);
    kit.sectors.push_back(sector);
  }
  return kit;
}

namespace {

// Points of the arc of radius r from angle t0 to t1, t0 excluded, within tolerance.
void AppendArc(std::vector<FlatPoint>& out, long double r, long double t0, long double t1,
               long double tolerance) {
  const long double widest = 2.0L * std::acos(std::max(-1.0L, 1.0L - tolerance / r));
  const long double count = std::max(1.0L, std::ceil(std::fabs(t1 - t0) / widest));
  const auto steps = static_cast<long long>(count);
  for (long long i = 1; i <= steps; ++i) {
    const long double t = t0 + (t1 - t0) * static_cast<long double>(i) / count;
    out.push_back({r * std::cos(t), r * std::sin(t)});
  }
}

}  // namespace

std::vector<FlatPoint> SectorOutline(const Sector& sector, long double seam,
                                     long double tolerance) {
  const long double r0 = sector.innerRadius;
  const long double r1 = sector.outerRadius;
  if (!(seam < r0)) throw KitError("The seam allowance must be narrower than the sector.");
  const long double angle = sector.angle * geometry::Pi / 180.0L;
  // The seam strip keeps its width `seam` along the straight edge at `angle`.
  const long double outerEnd = angle + std::asin(seam / r1);
  const long double innerEnd = angle + std::asin(seam / r0);
  if (!(innerEnd < 2.0L * geometry::Pi))
    throw KitError("This sector and its seam would overlap: choose a finer step.");
  std::vector<FlatPoint> outline{{r0, 0.0L}, {r1, 0.0L}};
  AppendArc(outline, r1, 0.0L, outerEnd, tolerance);
  outline.push_back({r0 * std::cos(innerEnd), r0 * std::sin(innerEnd)});
  AppendArc(outline, r0, innerEnd, 0.0L, tolerance);
  outline.pop_back();  // back at the first point
  return outline;
}

std::string Summary(const SectorsKit& kit, const geometry::Separators& separators) {
  return drawing::Counted(kit.development.sectors.size(), "sector") +
         "; largest gap between the frusta and the tractrix " +
         drawing::Length(kit.development.largestGap, kit.unit, separators) + ".";
}

namespace {

// Inside the sector (outline first): its number in the middle, its throat side
// by the short arc, and the seam along the edge at its angle.
void AddLabels(KitPiece& piece, const Sector& sector, const std::string& number,
               geometry::LengthUnit unit) {
  using namespace drawing;
  const std::vector<DrawPoint>& outline = piece.paths.front().points;
  const auto inside = [&outline](DrawPoint p) { return InsidePolygon(outline, p); };
  const double inner = static_cast<double>(sector.innerRadius);
  const double outer = static_cast<double>(sector.outerRadius);
  const double a = static_cast<double>(sector.angle * geometry::Pi / 180.0L);
  const double h = TextHeight(unit);
  const auto at = [](double r, double angle) {
    return DrawPoint{r * std::cos(angle), r * std::sin(angle)};
  };
  const double middle = (inner + outer) / 2.0;
  const struct {
    DrawPoint centre;
    std::string text;
  } labels[] = {
      {at(middle, a / 2.0), number},
      // clear of the number, its box just clear of the short arc however it lies
      {at(inner + std::min((outer - inner) / 3.0,
                           0.3 * h + std::abs(std::cos(a / 4.0)) * 0.4 * h * 11.0 +
                               std::abs(std::sin(a / 4.0)) * 0.65 * h),
          a / 4.0),
       "throat side"},
      // just inside the seam edge, two text heights from it
      {at(middle, a - std::min(a / 4.0, 2.0 * h / middle)), "seam"},
  };
  for (const auto& label : labels)
    if (auto text = FittedLabel(label.centre, h, label.text, inside))
      piece.texts.push_back(std::move(*text));
}

}  // namespace

KitDrawing Draw(const SectorsKit& kit) {
  using namespace drawing;
  const SheetDevelopment& development = kit.development;
  const geometry::LengthUnit unit = kit.unit;
  const long double tolerance = CurveTolerance(unit);
  KitDrawing result;
  result.unit = unit;
  const int count = static_cast<int>(development.sectors.size());
  const std::string of = " of " + std::to_string(count);
  result.title = "Sheet development: " + std::to_string(count) + " sectors";
  result.sheetsAlongArcs = true;
  result.notes = {"Step " + Length(development.step, unit) + ", seam allowance " +
                      Size(development.seam, unit) + "; sizes in " + geometry::UnitName(unit) +
                      ", scale 1:1.",
                  "Largest gap between the frusta and the true tractrix: " +
                      Length(development.largestGap, unit) + "."};
  for (int i = 0; i < count; ++i) {
    const Sector& sector = development.sectors[static_cast<std::size_t>(i)];
    const std::string layer = "SECTOR_" + std::to_string(i + 1);
    result.layers.push_back(layer);
    KitPiece piece;
    piece.title = "Sector " + std::to_string(i + 1) + of;
    KitPath outline{layer, {}, true, true};
    for (const FlatPoint& p : SectorOutline(sector, development.seam, tolerance))
      outline.points.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    piece.paths.push_back(std::move(outline));
    if (development.seam > 0.0L) {
      // The fold: the sector's own edge, where the seam strip begins.
      const long double a = sector.angle * geometry::Pi / 180.0L;
      const auto at = [a](long double r) {
        return DrawPoint{static_cast<double>(r * std::cos(a)),
                         static_cast<double>(r * std::sin(a))};
      };
      piece.paths.push_back(
          {layer, {at(sector.innerRadius), at(sector.outerRadius)}, false, false});
    }
    const DrawBox shape = Bounds(piece);
    AddLabels(piece, sector, std::to_string(i + 1), unit);
    AddLines(piece, layer, shape.Left(), shape.Top() - TextHeight(unit),
             {"Sector " + std::to_string(i + 1) + of + ": " + Length(sector.from, unit) + " to " +
                  Length(sector.to, unit),
              "arc radii " + Length(sector.innerRadius, unit) + " and " +
                  Length(sector.outerRadius, unit),
              "angle " + Angle(sector.angle) + " (" + Angle(sector.angleWithSeam) +
                  " with the seam)",
              "horn radius " + Size(sector.radiusFrom, unit) + " to " + Size(sector.radiusTo, unit),
              "largest gap to the tractrix " + Length(sector.gap, unit)},
             unit);
    piece.bounds = Bounds(piece);
    result.pieces.push_back(std::move(piece));
  }
  result.layers.push_back(kLabelLayer);
  return result;
}

SectorsKit SectorsKit::Make(const KitInput& input, const KitValues& values) {
  return {report::UnitOf(input.horn),
          SheetDevelopments(CircularOnly(input, "Sheet developments"), input.limit,
                            input.separators, values.Value(kSectorStep),
                            values.Value(kSeamAllowance))};
}

}  // namespace vortalis::buildkit
