#include "export/profile_curves.h"

#include <algorithm>

#include "geometry/constants.h"

namespace vortalis::exports {

namespace {

std::vector<QPointF> CurvePoints(const report::HornProfile& profile,
                                 long double report::ProfilePoint::*value, long double scale) {
  std::vector<QPointF> points;
  points.reserve(profile.points.size());
  for (const report::ProfilePoint& point : profile.points) {
    points.emplace_back(static_cast<qreal>(point.distance),
                        static_cast<qreal>(point.*value * scale));
  }
  return points;
}

}  // namespace

std::vector<ProfileCurve> ProfileCurves(const report::HornProfile& profile) {
  if (!profile.rectangular)
    return {{"WALL", "Wall", CurvePoints(profile, &report::ProfilePoint::radius, 1.0L), false}};
  // A wall stands half the distance between two opposite sides from the axis.
  ProfileCurve sides1{"SIDES_1A_1B", "Sides 1A - 1B",
                      CurvePoints(profile, &report::ProfilePoint::side1, 0.5L), profile.flatSides};
  if (sides1.straight && sides1.points.size() > 2)
    sides1.points = {sides1.points.front(), sides1.points.back()};
  ProfileCurve sides2{"SIDES_2A_2B", "Sides 2A - 2B",
                      CurvePoints(profile, &report::ProfilePoint::side2, 0.5L), false};
  return {std::move(sides1), std::move(sides2)};
}

std::vector<QPointF> Mirrored(const std::vector<QPointF>& points) {
  std::vector<QPointF> mirrored;
  mirrored.reserve(points.size());
  for (const QPointF& point : points) mirrored.emplace_back(point.x(), -point.y());
  return mirrored;
}

QRectF ProfileExtent(const report::HornProfile& profile) {
  qreal top = 0.0;
  for (const ProfileCurve& curve : ProfileCurves(profile)) {
    for (const QPointF& point : curve.points) top = std::max(top, point.y());
  }
  const qreal length =
      profile.points.empty() ? 0.0 : static_cast<qreal>(profile.points.back().distance);
  return QRectF(0.0, 0.0, length, top);
}

qreal MillimetresPerUnit(const report::HornProfile& profile) {
  return static_cast<qreal>(geometry::MillimetresPer(profile.unit));
}

}  // namespace vortalis::exports
