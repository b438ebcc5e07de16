#include "report/wall_curve.h"

#include <algorithm>
#include <cmath>

#include "geometry/tractrix.h"
#include "report/station_section.h"

namespace vortalis::report {

namespace {

// Halving an interval of a long double stops after at most this many steps.
constexpr int kMaxHalvings = 80;

}  // namespace

long double CurveTolerance(geometry::LengthUnit unit) {
  return kCurveToleranceMm / geometry::MillimetresPer(unit);
}

HornWall HornWallOf(const HornProfile& profile) {
  HornWall wall;
  wall.unit = profile.unit;
  wall.mouthRadius = profile.mouthRadius;
  wall.length = profile.length;
  wall.throatRadius = profile.points.front().radius;
  wall.end = profile.points.back().distance;
  wall.endRadius = profile.points.back().radius;
  return wall;
}

CurvePoint TractrixCurve::At(long double u) const {
  // The tangent of a tractrix meets the axis at the flare angle, sin = u / a.
  const long double sine = u / a;
  const long double cosine = std::sqrt(std::max(0.0L, 1.0L - sine * sine));
  return {base - geometry::TractrixLength(a, u) - offset * sine, u + offset * cosine};
}

long double DistanceFromLine(long double dx, long double dy, long double ex, long double ey) {
  return std::fabs(dx * ey - dy * ex) / std::hypot(dx, dy);
}

long double TractrixCurve::ChordGap(long double u0, long double u1) const {
  const CurvePoint p = At(u0);
  const CurvePoint q = At(u1);
  const long double dx = q.along - p.along;
  const long double dy = q.across - p.across;
  const long double chord = std::hypot(dx, dy);
  if (!(chord > 0.0L)) return 0.0L;
  // A moved curve keeps the tangent of its foot: the foot whose flare angle
  // has the chord's direction.
  const long double foot = std::clamp(a * dy / chord, std::min(u0, u1), std::max(u0, u1));
  const CurvePoint far = At(foot);
  return DistanceFromLine(dx, dy, far.along - p.along, far.across - p.across);
}

long double TractrixCurve::TurningFoot() const {
  return a * a / std::sqrt(a * a + offset * offset);
}

long double TractrixCurve::FootAt(long double along, long double u0, long double u1) const {
  for (int i = 0; i < 200; ++i) {
    const long double mid = (u0 + u1) * 0.5L;
    if (mid <= u0 || mid >= u1) break;
    (At(mid).along < along ? u0 : u1) = mid;
  }
  return std::fabs(At(u0).along - along) <= std::fabs(At(u1).along - along) ? u0 : u1;
}

long double WallRadius(const HornWall& horn, long double distance, long double throatSide) {
  if (!(distance > 0.0L)) return horn.throatRadius;
  if (!(distance < horn.length)) return horn.mouthRadius;
  return StationRadius(horn.mouthRadius, horn.length, distance, throatSide, horn.unit);
}

namespace {

void RefineWall(const HornWall& horn, const WallPoint& p, const WallPoint& q, long double tolerance,
                const ChordGapFunction& gap, int depth, std::vector<WallPoint>& out) {
  const long double mid = (p.distance + q.distance) * 0.5L;
  const long double error =
      gap ? gap(p, q) : TractrixCurve{horn.mouthRadius, horn.length}.ChordGap(p.radius, q.radius);
  if (error <= tolerance || depth >= kMaxHalvings || mid <= p.distance || mid >= q.distance) {
    out.push_back(q);
    return;
  }
  const WallPoint m{mid, WallRadius(horn, mid, p.radius)};
  RefineWall(horn, p, m, tolerance, gap, depth + 1, out);
  RefineWall(horn, m, q, tolerance, gap, depth + 1, out);
}

void RefineFeet(const TractrixCurve& curve, long double u0, long double u1, long double tolerance,
                int depth, std::vector<long double>& out) {
  const long double mid = (u0 + u1) * 0.5L;
  if (curve.ChordGap(u0, u1) <= tolerance || depth >= kMaxHalvings || mid <= u0 || mid >= u1) {
    out.push_back(u1);
    return;
  }
  RefineFeet(curve, u0, mid, tolerance, depth + 1, out);
  RefineFeet(curve, mid, u1, tolerance, depth + 1, out);
}

}  // namespace

std::vector<WallPoint> WallPoints(const HornWall& horn, WallPoint from, WallPoint to,
                                  long double tolerance, const ChordGapFunction& gap) {
  std::vector<WallPoint> points{from};
  RefineWall(horn, from, to, tolerance, gap, 0, points);
  return points;
}

std::vector<long double> CurveFeet(const TractrixCurve& curve, long double u0, long double u1,
                                   long double tolerance) {
  std::vector<long double> feet{u0};
  RefineFeet(curve, u0, u1, tolerance, 0, feet);
  return feet;
}

}  // namespace vortalis::report
