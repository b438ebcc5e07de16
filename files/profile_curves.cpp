#include "files/profile_curves.h"

#include <algorithm>
#include <cmath>

#include "geometry/constants.h"
#include "report/station_section.h"
#include "report/table_formats.h"
#include "report/wall_curve.h"

namespace vortalis::files {

namespace {

using report::WallPoint;

// Of the tolerance, the share the chords take; the rest is left for the
// digits the files write.
constexpr long double kChordShare = 0.9L;
// Golden-section steps: the bracket shrinks to 0.618^kGoldenSteps of the chord's span.
constexpr int kGoldenSteps = 60;

enum class Value { Radius, Side1, Side2 };

struct Point {
  long double x;
  long double y;
};

// One curve of the drawing as a function of the full tractrix's radius u at
// distance x from the throat. Every curve is convex in x (the tractrix; its
// scaled copy; the area over a side growing linearly is log-convex), so its
// distance from a chord is unimodal between the chord's ends.
struct CurveModel {
  const report::HornProfile& profile;
  Value value;

  long double Y(long double u, long double x) const {
    if (value == Value::Radius) return u;
    const report::RectangularSection section =
        report::RectangularSectionAt(profile.rectangle, u, 1.0L, x, x);
    return 0.5L * (value == Value::Side1 ? section.sides.side1 : section.sides.side2);
  }
  long double StationY(const report::ProfilePoint& point) const {
    switch (value) {
      case Value::Radius:
        return point.radius;
      case Value::Side1:
        return 0.5L * point.side1;
      case Value::Side2:
        return 0.5L * point.side2;
    }
    return 0.0L;
  }
  report::TractrixCurve Wall() const { return {profile.mouthRadius, profile.length}; }
  // The true curve where the full tractrix has radius u.
  Point At(long double u) const {
    const long double x = Wall().At(u).along;
    return {x, Y(u, x)};
  }
  Point Vertex(const WallPoint& p) const { return {p.distance, Y(p.radius, p.distance)}; }

  // The largest distance between the chord p q and the curve between them.
  long double ChordGap(const WallPoint& p, const WallPoint& q) const {
    const Point from = Vertex(p);
    const Point to = Vertex(q);
    const long double dx = to.x - from.x;
    const long double dy = to.y - from.y;
    const long double chord = std::hypot(dx, dy);
    if (!(chord > 0.0L)) return 0.0L;
    const auto gap = [&](long double u) {
      const Point c = At(u);
      return report::DistanceFromLine(dx, dy, c.x - from.x, c.y - from.y);
    };
    constexpr long double kGolden = 0.6180339887498948482L;
    long double lo = std::min(p.radius, q.radius);
    long double hi = std::max(p.radius, q.radius);
    long double m1 = hi - kGolden * (hi - lo);
    long double m2 = lo + kGolden * (hi - lo);
    long double g1 = gap(m1);
    long double g2 = gap(m2);
    for (int i = 0; i < kGoldenSteps; ++i) {
      if (g1 < g2) {
        lo = m1;
        m1 = m2;
        g1 = g2;
        m2 = lo + kGolden * (hi - lo);
        g2 = gap(m2);
      } else {
        hi = m2;
        m2 = m1;
        g2 = g1;
        m1 = hi - kGolden * (hi - lo);
        g1 = gap(m1);
      }
    }
    return std::max(g1, g2);
  }
};

std::vector<DrawPoint> DensePoints(const report::HornProfile& profile, const CurveModel& model) {
  std::vector<DrawPoint> points;
  if (profile.points.empty()) return points;
  const report::HornWall horn = report::HornWallOf(profile);
  const long double tolerance = kChordShare * report::CurveTolerance(profile.unit);
  report::ChordGapFunction gap;
  if (model.value != Value::Radius)
    gap = [&model](const WallPoint& p, const WallPoint& q) { return model.ChordGap(p, q); };
  const auto add = [&points](long double x, long double y) {
    points.push_back({static_cast<double>(x), static_cast<double>(y)});
  };
  const report::ProfilePoint& throat = profile.points.front();
  add(throat.distance, model.StationY(throat));
  for (std::size_t i = 1; i < profile.points.size(); ++i) {
    const report::ProfilePoint& p = profile.points[i - 1];
    const report::ProfilePoint& q = profile.points[i];
    const std::vector<WallPoint> between = report::WallPoints(
        horn, {p.distance, p.radius}, {q.distance, q.radius}, tolerance, gap);
    // The stations keep their own values; the points between come from the solver.
    for (std::size_t k = 1; k + 1 < between.size(); ++k)
      add(between[k].distance, model.Y(between[k].radius, between[k].distance));
    add(q.distance, model.StationY(q));
  }
  return points;
}

struct CurveKind {
  const char* layer;
  const char* label;
  Value value;
  bool straight;
};

std::vector<CurveKind> Kinds(const report::HornProfile& profile) {
  if (!profile.rectangular) return {{"WALL", "Wall", Value::Radius, false}};
  // A wall stands half the distance between two opposite sides from the axis.
  return {{"SIDES_1A_1B", "Sides 1A - 1B", Value::Side1, profile.flatSides},
          {"SIDES_2A_2B", "Sides 2A - 2B", Value::Side2, false}};
}

// The unit normal away from the axis where the full tractrix has radius u.
DrawPoint Across(const report::HornProfile& profile, const CurveModel& model, long double u) {
  const long double a = profile.mouthRadius;
  const long double h = 1e-6L * a;
  const long double lo = std::max(u - h, profile.points.front().radius);
  const long double hi = std::min(u + h, a);
  const Point p = model.At(lo);
  const Point q = model.At(hi);
  const long double dx = q.x - p.x;
  const long double dy = q.y - p.y;
  const long double norm = std::hypot(dx, dy);
  if (!(norm > 0.0L)) return {0.0, 1.0};
  return {static_cast<double>(-dy / norm), static_cast<double>(dx / norm)};
}

}  // namespace

std::size_t ProfileCurveCount(const report::HornProfile& profile) {
  return Kinds(profile).size();
}

DrawPoint CurvePointAt(const report::HornProfile& profile, std::size_t index, long double u) {
  const Point at = CurveModel{profile, Kinds(profile).at(index).value}.At(u);
  return {static_cast<double>(at.x), static_cast<double>(at.y)};
}

std::vector<ProfileCurve> ProfileCurves(const report::HornProfile& profile) {
  std::vector<ProfileCurve> curves;
  for (const CurveKind& kind : Kinds(profile)) {
    const CurveModel model{profile, kind.value};
    ProfileCurve curve{kind.layer, kind.label, {}, kind.straight};
    if (kind.straight) {
      for (const report::ProfilePoint* p : {&profile.points.front(), &profile.points.back()})
        curve.points.push_back(
            {static_cast<double>(p->distance), static_cast<double>(model.StationY(*p))});
    } else {
      curve.points = DensePoints(profile, model);
    }
    curves.push_back(std::move(curve));
  }
  return curves;
}

std::vector<std::vector<StationMark>> StationMarks(const report::HornProfile& profile) {
  std::vector<std::vector<StationMark>> marks;
  const double stepMm = static_cast<double>(profile.step) * MillimetresPerUnit(profile);
  // Stations apart, counted in marks: every `marked` station, every `labelled` one labelled.
  const auto stations = [stepMm](double spacingMm) {
    return static_cast<std::size_t>(std::max(1.0, std::ceil(spacingMm / stepMm - 1e-9)));
  };
  const std::size_t marked = stations(kStationMarkSpacingMm);
  const std::size_t labelled =
      marked * static_cast<std::size_t>(std::max(
                   1.0, std::ceil(kStationLabelSpacingMm / (stepMm * marked) - 1e-9)));
  for (const CurveKind& kind : Kinds(profile)) {
    const CurveModel model{profile, kind.value};
    std::vector<StationMark>& curve = marks.emplace_back();
    for (std::size_t i = marked; i + 1 < profile.points.size(); i += marked) {
      const report::ProfilePoint& p = profile.points[i];
      const DrawPoint at{static_cast<double>(p.distance), static_cast<double>(model.StationY(p))};
      curve.push_back({at, Across(profile, model, p.radius), p.distance, i % labelled == 0});
    }
  }
  // Every curve has a mark at the same stations; where two run close (the
  // sides of a rectangular horn near its throat) the inner one is not labelled.
  const double room = kStationLabelRoomMm / MillimetresPerUnit(profile);
  for (std::size_t j = 0; j < (marks.empty() ? 0 : marks.front().size()); ++j) {
    for (std::vector<StationMark>& curve : marks) {
      StationMark& mark = curve[j];
      for (const std::vector<StationMark>& other : marks) {
        const double above = other[j].point.y - mark.point.y;
        if (&other != &curve && above >= 0.0 && above < room &&
            (above > 0.0 || &other < &curve))
          mark.labelled = false;
      }
    }
  }
  return marks;
}

std::string StationText(const report::HornProfile& profile, long double distance,
                        const geometry::Separators& separators) {
  const report::NumberFormat format = report::LengthFormat(profile.unit);
  return geometry::FixedText(distance, format.precision, format.decimals, separators);
}

std::vector<DrawPoint> Mirrored(const std::vector<DrawPoint>& points) {
  std::vector<DrawPoint> mirrored;
  mirrored.reserve(points.size());
  for (const DrawPoint& point : points) mirrored.push_back({point.x, -point.y});
  return mirrored;
}

DrawBox ProfileExtent(const report::HornProfile& profile) {
  // Every curve is convex, so it stays below the larger of its values at two
  // neighbouring stations.
  double top = 0.0;
  for (const CurveKind& kind : Kinds(profile)) {
    const CurveModel model{profile, kind.value};
    for (const report::ProfilePoint& point : profile.points)
      top = std::max(top, static_cast<double>(model.StationY(point)));
  }
  const double length =
      profile.points.empty() ? 0.0 : static_cast<double>(profile.points.back().distance);
  return {0.0, 0.0, length, top};
}

double MillimetresPerUnit(const report::HornProfile& profile) {
  return static_cast<double>(geometry::MillimetresPer(profile.unit));
}

}  // namespace vortalis::files
