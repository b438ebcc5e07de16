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

  long double MouthRadius() const { return horn_.mouthRadius; }

  // The angle of `wall` to the axis at the section of radius r, with
  // dr/dx = r / root, root = sqrt(a^2 - r^2): a flat side's is constant;
  // z = c r(x) has the slope c r / root; 2A beside flat sides, z = side2 / 2
  // = pi r^2 / (2 k side1(x)), has z (2 / root - side1' / side1).
  long double Angle(Wall wall, long double r) const {
    const long double a = horn_.mouthRadius;
    const long double root = std::sqrt(std::max(0.0L, (a - r) * (a + r)));
    if (!horn_.flatSides) return std::atan2(halfPerRadius_[wall] * r, root);
    if (wall == kWall1) return std::atan2(horn_.flatOffset, horn_.length);
    const geometry::MouthSides sides = Section(r, Distance(r)).sides;
    const long double side1PerDistance = 2.0L * horn_.flatOffset / horn_.length;
    return std::atan2(sides.side2 * 0.5L * (2.0L - side1PerDistance * root / sides.side1), root);
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

// The section of wall 1A's board in the plane of 2A, as (distance, z): the
// inner curve offset by `board` along its normal away from the axis, its
// chords within `tolerance` of the offset curve, then the board's end, square
// to its face, back to the inner curve at `end`. The first vertex lies behind
// the throat.
class CoveredSection {
 public:
  CoveredSection(const WallShapes& shapes, long double board, long double tolerance)
      : shapes_(shapes), board_(board), tolerance_(tolerance) {}

  std::vector<FlatPoint> Of(const std::vector<WallPoint>& wall, const Panel& two,
                            long double end) const {
    std::vector<FlatPoint> section;
    for (std::size_t i = 0; i < wall.size(); ++i) {
      const FlatPoint p = Offset(wall[i].radius, wall[i].distance, two.points[i].width * 0.5L);
      if (i > 0) Refine(wall[i - 1].radius, wall[i].radius, section.back(), p, 0, section);
      section.push_back(p);
    }
    section.push_back({end, two.points.back().width * 0.5L});
    return section;
  }

 private:
  FlatPoint Offset(long double radius, long double distance, long double half) const {
    const long double angle = shapes_.Angle(kWall1, radius);
    return {distance - board_ * std::sin(angle), half + board_ * std::cos(angle)};
  }

  FlatPoint Offset(long double radius) const {
    const long double distance = shapes_.Distance(radius);
    return Offset(radius, distance, shapes_.Section(radius, distance).sides.side1 * 0.5L);
  }

  // The points strictly between p (radius r0) and q (r1), halving the flare
  // angle (r = a sin t, even along the curve up to the mouth) while an offset
  // point between them lies farther than the tolerance from their chord.
  void Refine(long double r0, long double r1, const FlatPoint& p, const FlatPoint& q, int depth,
              std::vector<FlatPoint>& out) const {
    const long double a = shapes_.MouthRadius();
    const long double t0 = std::asin(std::min(1.0L, r0 / a));
    const long double t1 = std::asin(std::min(1.0L, r1 / a));
    // Measured across the panel (in z), where the width is read; a chord
    // that stands steeper than 84 degrees by its length instead.
    const long double run =
        std::max(std::fabs(q.x - p.x), 0.1L * std::hypot(q.x - p.x, q.y - p.y));
    long double gap = 0.0L;
    for (const long double f : {0.25L, 0.5L, 0.75L}) {
      const FlatPoint m = Offset(a * std::sin(t0 + (t1 - t0) * f));
      gap = std::max(gap, run > 0.0L ? std::fabs((q.x - p.x) * (m.y - p.y) -
                                                 (q.y - p.y) * (m.x - p.x)) /
                                           run
                                     : std::hypot(m.x - p.x, m.y - p.y));
    }
    const long double mid = a * std::sin((t0 + t1) * 0.5L);
    if (!(gap > tolerance_) || depth >= kMaxDepth || !(mid > r0 && mid < r1)) return;
    const FlatPoint m = Offset(mid);
    Refine(r0, mid, p, m, depth + 1, out);
    out.push_back(m);
    Refine(mid, r1, m, q, depth + 1, out);
  }

  static constexpr int kMaxDepth = 30;
  const WallShapes& shapes_;
  long double board_;
  long double tolerance_;
};

// The section's farthest point from the axis at `distance` (none outside it).
long double SectionTop(const std::vector<FlatPoint>& section, long double distance) {
  long double top = 0.0L;
  for (std::size_t k = 1; k < section.size(); ++k) {
    const FlatPoint& p = section[k - 1];
    const FlatPoint& q = section[k];
    if (distance < std::min(p.x, q.x) || distance > std::max(p.x, q.x)) continue;
    const long double z =
        q.x == p.x ? std::max(p.y, q.y) : p.y + (q.y - p.y) * (distance - p.x) / (q.x - p.x);
    top = std::max(top, z);
  }
  return top;
}

}  // namespace

std::vector<FlatPoint> Panel::Outline() const {
  const std::vector<PanelPoint>& cut = edge.empty() ? points : edge;
  std::vector<FlatPoint> outline;
  outline.reserve(2 * cut.size());
  for (const PanelPoint& p : cut) outline.push_back({p.along, p.width * 0.5L});
  for (auto it = cut.rbegin(); it != cut.rend(); ++it)
    outline.push_back({it->along, -it->width * 0.5L});
  return outline;
}

PanelSet WallPanels(const report::HornInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, long double board) {
  Checked(kPanelBoard, board);
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
  Panel one{"1A", horn.flatSides, {}, 0.0L, {}, {}};
  Panel two{"2A", false, {}, 0.0L, {}, {}};
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
  set.board = board;
  if (board > 0.0L) {
    const auto bevel = [&shapes](long double radius) {
      return Degrees(std::asin(std::sin(shapes.Angle(kWall1, radius)) *
                               std::sin(shapes.Angle(kWall2, radius))));
    };
    one.throatBevel = bevel(horn.throatRadius);
    one.endBevel = bevel(last.radius);
    // 2A's edge at its own vertices and at the section's, within the panel.
    const std::vector<FlatPoint> section =
        CoveredSection(shapes, board, CurveTolerance(kitHorn.unit)).Of(wall, two, last.distance);
    std::vector<long double> stations;
    for (const WallPoint& p : wall) stations.push_back(p.distance);
    for (const FlatPoint& p : section)
      if (p.x > 0.0L && p.x < last.distance) stations.push_back(p.x);
    std::sort(stations.begin(), stations.end());
    stations.erase(std::unique(stations.begin(), stations.end()), stations.end());
    std::size_t j = 0;
    for (const long double d : stations) {
      while (j + 1 < wall.size() && wall[j + 1].distance <= d) ++j;
      long double along = two.points[j].along;
      if (d != wall[j].distance) {
        const long double radius = WallRadius(kitHorn, d, wall[j].radius);
        along = horn.flatSides ? along + shapes.Along(kWall2, wall[j].radius, radius)
                               : shapes.Along(kWall2, horn.throatRadius, radius);
      }
      two.edge.push_back({d, along, 2.0L * SectionTop(section, d)});
    }
  }
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
  const bool boards = kit.panels.board > 0.0L;
  result.notes = {
      "Each wall laid flat: its length along the wall from the throat against the width between "
      "the two walls it meets.",
      std::string(boards ? "Boards " + Length(kit.panels.board, unit) +
                               " thick, inner faces on the walls."
                         : "Inner faces, without joints.") +
          " Ticks on the centre line: distance from the throat along the axis; sizes in " +
          geometry::UnitName(unit) + ", scale 1:1."};
  if (boards) {
    result.notes.push_back(
        "Panels 2A and 2B cover the edges of 1A and 1B: they are widened to the outer faces of "
        "1A and 1B. 1A and 1B keep their inner width, their edges bevelled to lie on the inner "
        "faces of 2A and 2B. Every end is cut square to its board's face.");
  }
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
    std::vector<std::string> lines{
        "Panel " + name + (panel.flat ? " (flat side)" : ""),
        "length " + Length(panel.length, unit) + " along the wall, " +
            Length(panel.points.back().distance, unit) + " along the axis",
        "width " + Size(panel.points.front().width, unit) + " at the throat, " +
            Size(panel.points.back().width, unit) + " at the end" +
            (boards ? " (inner face)" : "")};
    if (boards && !panel.edge.empty()) {
      lines.push_back("covers the edges of 1A and 1B: cut " + Size(panel.edge.front().width, unit) +
                      " wide at the throat");
    } else if (boards) {
      lines.push_back("covered by 2A and 2B: edges bevelled to their inner faces, the saw tilted");
      lines.push_back(Angle(panel.throatBevel) + " from square at the throat, " +
                      Angle(panel.endBevel) + " at the end");
    }
    AddLines(piece, layer, 0.0, shape.Top() - h, lines, unit);
    piece.bounds = Bounds(piece);
    result.pieces.push_back(std::move(piece));
  }
  return result;
}

PanelsKit PanelsKit::Make(const KitInput& input, const KitValues& values) {
  return {report::UnitOf(input.horn), WallPanels(input.horn, input.limit, input.separators,
                                                 values.Value(kPanelBoard))};
}

}  // namespace vortalis::buildkit
