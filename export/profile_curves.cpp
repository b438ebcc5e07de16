#include "export/profile_curves.h"

namespace vortalis::exports {

namespace {

QPointF ToQt(const files::DrawPoint& p) { return {p.x, p.y}; }

std::vector<QPointF> ToQt(const std::vector<files::DrawPoint>& points) {
  std::vector<QPointF> result;
  result.reserve(points.size());
  for (const files::DrawPoint& p : points) result.push_back(ToQt(p));
  return result;
}

}  // namespace

std::vector<ProfileCurve> ProfileCurves(const report::HornProfile& profile) {
  std::vector<ProfileCurve> curves;
  for (const files::ProfileCurve& curve : files::ProfileCurves(profile))
    curves.push_back({curve.layer, curve.label, ToQt(curve.points), curve.straight});
  return curves;
}

std::vector<std::vector<StationMark>> StationMarks(const report::HornProfile& profile) {
  std::vector<std::vector<StationMark>> marks;
  for (const std::vector<files::StationMark>& curve : files::StationMarks(profile)) {
    std::vector<StationMark>& converted = marks.emplace_back();
    for (const files::StationMark& mark : curve)
      converted.push_back({ToQt(mark.point), ToQt(mark.across), mark.distance, mark.labelled});
  }
  return marks;
}

std::vector<QPointF> Mirrored(const std::vector<QPointF>& points) {
  std::vector<QPointF> mirrored;
  mirrored.reserve(points.size());
  for (const QPointF& point : points) mirrored.emplace_back(point.x(), -point.y());
  return mirrored;
}

QRectF ProfileExtent(const report::HornProfile& profile) {
  const files::DrawBox extent = files::ProfileExtent(profile);
  return {extent.x, extent.y, extent.width, extent.height};
}

}  // namespace vortalis::exports
