#include "buildkit/panels.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "buildkit/kit_horn.h"
#include "geometry/constants.h"
#include "geometry/gauss_legendre.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/side_warnings.h"
#include "report/station_section.h"

namespace vortalis::buildkit {

namespace {

constexpr int kGaussNodes = 16;

const geometry::GaussLegendre<kGaussNodes>& Gauss() {
  static const geometry::GaussLegendre<kGaussNodes> rule;
  return rule;
}

// The two kinds of wall: 1A (half-height side1 / 2, width side2) and 2A.
enum Wall { kWall1 = 0, kWall2 = 1 };

// Each wall's pattern as a function of the full tractrix's radius r at its section.
class WallShapes {
 public:
  explicit WallShapes(const report::RectangularHorn& horn) : horn_(horn) {
    // Without flat sides the sides grow in proportion to r.
    const geometry::MouthSides perRadius =
        geometry::RectMouthSides(1.0L, horn.locationFactor, horn.side1, horn.side2);
    halfPerRadius_ = {perRadius.side1 * 0.5L, perRadius.side2 * 0.5L};
  }

  long double Distance(long double r) const {
    return r < horn_.mouthRadius ? horn_.length - geometry::TractrixLength(horn_.mouthRadius, r)
                                 : horn_.length;
  }

  report::RectangularSection Section(long double r, long double distance) const {
    return report::RectangularSectionAt(horn_, r, 1.0L, distance, distance);
  }

  long double Width(Wall wall, long double r) const {
    const geometry::MouthSides sides = Section(r, Distance(r)).sides;
    return wall == kWall1 ? sides.side2 : sides.side1;
  }

  // The length along `wall` between the sections of radii r0 and r1.
  long double Along(Wall wall, long double r0, long double r1) const {
    if (!horn_.flatSides) return Curved(halfPerRadius_[wall], r1) - Curved(halfPerRadius_[wall], r0);
    if (wall == kWall1) return Slant(r1) - Slant(r0);
    return Quadrature(r0, r1);
  }

 private:
  // A wall z = c r(x): with dx/dr = sqrt(a^2 - r^2) / r its arc element is
  // sqrt(a^2 + (c^2 - 1) r^2) / r dr, whose integral is q - a ln((a + q) / r).
  long double Curved(long double c, long double r) const {
    const long double a = horn_.mouthRadius;
    const long double q = std::sqrt((a - r) * (a + r) + c * c * r * r);
    return q - a * std::log((a + q) / r);
  }

  long double Slant(long double r) const { return Section(r, Distance(r)).flatSideDistance; }

  // Wall 2A beside flat sides: z = side2 / 2 = pi r^2 / (2 k side1(x)), so
  // dz = z (2 dr / r - dside1 / side1). Integrated over the flare angle t
  // (r = a sin t), in which x and z are smooth up to the mouth.
  long double Quadrature(long double r0, long double r1) const {
    const long double a = horn_.mouthRadius;
    const long double t0 = std::asin(std::min(1.0L, r0 / a));
    const long double t1 = std::asin(std::min(1.0L, r1 / a));
    const long double half = (t1 - t0) * 0.5L;
    const long double mid = (t1 + t0) * 0.5L;
    const long double side1PerDistance = 2.0L * horn_.flatOffset / horn_.length;
    const auto& rule = Gauss();
    long double sum = 0.0L;
    for (int i = 0; i < kGaussNodes; ++i) {
      const long double t = mid + half * rule.node[static_cast<std::size_t>(i)];
      const long double sine = std::sin(t);
      const long double cosine = std::cos(t);
      const long double r = a * sine;
      const report::RectangularSection section = Section(r, Distance(r));
      const long double dx = a * cosine * cosine / sine;
      const long double dz = section.sides.side2 * 0.5L *
                             (2.0L * a * cosine / r - side1PerDistance * dx / section.sides.side1);
      sum += rule.weight[static_cast<std::size_t>(i)] * std::hypot(dx, dz);
    }
    return sum * half;
  }

  const report::RectangularHorn& horn_;
  std::array<long double, 2> halfPerRadius_{};
};

// The largest distance between a wall's pattern edge (along, width / 2) from
// radius r0 to r1 and its chord: sampled, then the best sample's
// neighbourhood searched by golden section.
long double PatternGap(const WallShapes& shapes, Wall wall, long double r0, long double r1) {
  const long double y0 = shapes.Width(wall, r0) * 0.5L;
  const long double dx = shapes.Along(wall, r0, r1);
  const long double dy = shapes.Width(wall, r1) * 0.5L - y0;
  const long double chord = std::hypot(dx, dy);
  if (!(chord > 0.0L)) return 0.0L;
  const auto gap = [&](long double r) {
    const long double x = shapes.Along(wall, r0, r);
    const long double y = shapes.Width(wall, r) * 0.5L - y0;
    return std::fabs(dx * y - dy * x) / chord;
  };
  constexpr int kSamples = 8;
  const long double h = (r1 - r0) / (kSamples + 1);
  int best = 1;
  long double largest = 0.0L;
  for (int j = 1; j <= kSamples; ++j) {
    const long double g = gap(r0 + h * j);
    if (g > largest) {
      largest = g;
      best = j;
    }
  }
  constexpr long double kGolden = 0.61803398874989484820L;
  long double lo = r0 + h * (best - 1);
  long double hi = r0 + h * (best + 1);
  for (int i = 0; i < 40; ++i) {
    const long double m1 = hi - kGolden * (hi - lo);
    const long double m2 = lo + kGolden * (hi - lo);
    const long double g1 = gap(m1);
    const long double g2 = gap(m2);
    largest = std::max({largest, g1, g2});
    (g1 < g2 ? lo : hi) = g1 < g2 ? m1 : m2;
  }
  return largest;
}

}  // namespace

std::vector<FlatPoint> Panel::Outline() const {
  std::vector<FlatPoint> outline;
  outline.reserve(2 * points.size());
  for (const PanelPoint& p : points) outline.push_back({p.along, p.width * 0.5L});
  for (auto it = points.rbegin(); it != points.rend(); ++it)
    outline.push_back({it->along, -it->width * 0.5L});
  return outline;
}

PanelSet WallPanels(const report::HornInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators) {
  const auto* rectangular = std::get_if<report::RectangularReportInput>(&input);
  if (rectangular == nullptr) {
    throw KitError(
        "Panels are drawn for rectangular horns only: the wall of a circular horn is curved "
        "in two directions and cannot be cut flat.");
  }
  const report::RectangularHorn horn = report::MakeRectangularHorn(*rectangular, separators);
  // A step of the whole length gives the throat and the end the profile draws.
  const report::HornProfile ends =
      report::MakeRectangularProfile(*rectangular, horn.length, limit, separators);
  const report::ProfilePoint& last = ends.points.back();

  KitHorn kitHorn;
  kitHorn.unit = rectangular->unit;
  kitHorn.mouthRadius = horn.mouthRadius;
  kitHorn.length = horn.length;
  kitHorn.throatRadius = horn.throatRadius;
  kitHorn.end = last.distance;
  kitHorn.endRadius = last.radius;

  const WallShapes shapes(horn);
  const auto gap = [&shapes](const WallPoint& p, const WallPoint& q) {
    return std::max(PatternGap(shapes, kWall1, p.radius, q.radius),
                    PatternGap(shapes, kWall2, p.radius, q.radius));
  };
  const std::vector<WallPoint> wall =
      WallPoints(kitHorn, {0.0L, horn.throatRadius}, {last.distance, last.radius},
                 CurveTolerance(kitHorn.unit), gap);

  PanelSet set;
  set.unit = rectangular->unit;
  set.end = last.distance;
  Panel one{"1A", horn.flatSides, {}, 0.0L, {}};
  Panel two{"2A", false, {}, 0.0L, {}};
  long double along2 = 0.0L;
  for (std::size_t i = 0; i < wall.size(); ++i) {
    const WallPoint& p = wall[i];
    report::RectangularSection section{};
    if (i == 0) {
      section = report::RectangularThroat(horn);
    } else if (i + 1 == wall.size()) {
      section = {{last.side1, last.side2}, last.area, last.flatSideDistance};
    } else {
      section = shapes.Section(p.radius, p.distance);
    }
    const long double along1 = horn.flatSides
                                   ? section.flatSideDistance
                                   : shapes.Along(kWall1, horn.throatRadius, p.radius);
    if (i > 0) {
      along2 = horn.flatSides ? along2 + shapes.Along(kWall2, wall[i - 1].radius, p.radius)
                              : shapes.Along(kWall2, horn.throatRadius, p.radius);
    }
    one.points.push_back({p.distance, along1, section.sides.side2});
    two.points.push_back({p.distance, along2, section.sides.side1});
  }
  // The marks, each solved and developed like a vertex, from the vertex before it.
  set.markStep = MarkStep(last.distance, set.unit);
  std::size_t j = 0;
  for (long long k = 1;; ++k) {
    const long double d = static_cast<long double>(k) * set.markStep;
    if (!(d < last.distance)) break;
    while (j + 1 < wall.size() && wall[j + 1].distance <= d) ++j;
    const long double radius = WallRadius(kitHorn, d, wall[j].radius);
    const report::RectangularSection section = shapes.Section(radius, d);
    const long double along1 = horn.flatSides ? section.flatSideDistance
                                              : shapes.Along(kWall1, horn.throatRadius, radius);
    const long double along2 =
        horn.flatSides ? two.points[j].along + shapes.Along(kWall2, wall[j].radius, radius)
                       : shapes.Along(kWall2, horn.throatRadius, radius);
    one.marks.push_back({d, along1, section.sides.side2});
    two.marks.push_back({d, along2, section.sides.side1});
  }
  one.length = one.points.back().along;
  two.length = two.points.back().along;
  Panel oneB = one;
  oneB.name = "1B";
  Panel twoB = two;
  twoB.name = "2B";
  set.panels = {std::move(one), std::move(oneB), std::move(two), std::move(twoB)};
  return set;
}

std::vector<std::string> Warnings(const PanelsKit& kit) {
  // 1A spans sides 2A - 2B, and 2A spans 1A - 1B, at the same distances.
  const Panel& one = kit.panels.panels[0];
  const Panel& two = kit.panels.panels[2];
  if (!one.flat) return {};
  std::vector<report::SidesAt> sides;
  for (std::size_t i = 0; i < one.points.size() && i < two.points.size(); ++i)
    sides.push_back({one.points[i].distance, two.points[i].width, one.points[i].width});
  return report::SideWarnings(sides, kit.unit);
}

std::string Summary(const PanelsKit& kit, const geometry::Separators& separators) {
  return "Panels 1A and 1B " + drawing::Length(kit.panels.panels[0].length, kit.unit, separators) +
         ", 2A and 2B " + drawing::Length(kit.panels.panels[2].length, kit.unit, separators) +
         " long.";
}

KitDrawing Draw(const PanelsKit& kit) {
  using namespace drawing;
  const geometry::LengthUnit unit = kit.unit;
  const double h = TextHeight(unit);
  KitDrawing result;
  result.unit = unit;
  result.title = "Wall panels 1A, 1B, 2A, 2B at true size";
  result.notes = {
      "Each wall laid flat: its length along the wall from the throat against the width between "
      "the two walls it meets.",
      std::string("Inner faces, without joints. Ticks on the centre line: distance from the "
                  "throat along the axis; sizes in ") +
          geometry::UnitName(unit) + ", scale 1:1."};
  for (std::string& warning : Warnings(kit)) result.notes.push_back(std::move(warning));
  for (const Panel& panel : kit.panels.panels) result.layers.push_back("PANEL_" + panel.name);
  result.layers.push_back("MIDLINE");
  result.layers.push_back("TICKS");
  result.layers.push_back(kLabelLayer);
  for (const Panel& panel : kit.panels.panels) {
    const std::string layer = "PANEL_" + panel.name;
    const std::string& name = panel.name;
    KitPiece piece;
    // 1B and 2B are 1A and 2A again: their sheets would be the same.
    const bool second = name.back() == 'B';
    piece.inTemplate = !second;
    piece.title = second ? "Panel " + name
                         : "Panel " + name + " (cut two: " + name + " and " +
                               name.substr(0, name.size() - 1) + "B)";
    KitPath outline{layer, {}, true, true};
    for (const FlatPoint& p : panel.Outline())
      outline.points.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    piece.paths.push_back(std::move(outline));
    piece.paths.push_back(
        {"MIDLINE", {{0.0, 0.0}, {static_cast<double>(panel.length), 0.0}}, false, false});
    for (const PanelPoint& mark : panel.marks) {
      const double x = static_cast<double>(mark.along);
      const double half = static_cast<double>(mark.width) * 0.15;
      piece.paths.push_back({"TICKS", {{x, -half}, {x, half}}, false, false});
      piece.texts.push_back({"TICKS", {x + 0.3 * h, half}, 0.7 * h, TickText(mark.distance, unit)});
    }
    std::vector<double> ticks;
    for (const PanelPoint& mark : panel.marks) ticks.push_back(static_cast<double>(mark.along));
    AddMidLineLabel(piece, piece.paths.front().points, ticks, static_cast<double>(panel.length),
                    name + ": throat end at the left", unit);
    const DrawBox shape = Bounds(piece);
    AddLines(piece, layer, 0.0, shape.Top() - h,
             {"Panel " + name + (panel.flat ? " (flat side)" : ""),
              "length " + Length(panel.length, unit) + " along the wall, " +
                  Length(panel.points.back().distance, unit) + " along the axis",
              "width " + Size(panel.points.front().width, unit) + " at the throat, " +
                  Size(panel.points.back().width, unit) + " at the end"},
             unit);
    piece.bounds = Bounds(piece);
    result.pieces.push_back(std::move(piece));
  }
  return result;
}

PanelsKit PanelsKit::Make(const KitInput& input, const KitValues&) {
  return {report::UnitOf(input.horn), WallPanels(input.horn, input.limit, input.separators)};
}

}  // namespace vortalis::buildkit
