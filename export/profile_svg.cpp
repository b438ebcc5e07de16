#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "export/svg_file.h"
#include "geometry/number_text.h"

namespace vortalis::exports {

namespace {

constexpr qreal kWallPenMm = 0.25;
constexpr qreal kThinPenMm = 0.15;

QColor CurveColour(const ProfileCurve& curve) {
  if (curve.layer == "SIDES_1A_1B") return QColor(0, 70, 200);
  if (curve.layer == "SIDES_2A_2B") return QColor(0, 140, 60);
  return Qt::black;
}

QPolygonF Polygon(const std::vector<QPointF>& points, qreal scale) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  // SVG's y points down: the positive side of the axis is drawn above it.
  for (const QPointF& point : points) polygon << QPointF(point.x() * scale, -point.y() * scale);
  return polygon;
}

}  // namespace

QByteArray ProfileSvg(const report::HornProfile& profile) {
  const qreal scale = MillimetresPerUnit(profile);
  const QRectF extent = ProfileExtent(profile);
  const QSizeF sizeMm(extent.width() * scale, 2.0 * extent.height() * scale);
  const QRectF viewMm(0.0, -sizeMm.height() / 2, sizeMm.width(), sizeMm.height());
  return MillimetreSvg(viewMm, QStringLiteral("Tractrix horn profile"), [&](QPainter& painter) {
    painter.setBrush(Qt::NoBrush);

    QPen axis(QColor(200, 0, 0), kThinPenMm, Qt::DashDotLine);
    painter.setPen(axis);
    painter.drawLine(QPointF(0.0, 0.0), QPointF(sizeMm.width(), 0.0));

    const std::vector<ProfileCurve> curves = ProfileCurves(profile);
    painter.setPen(QPen(Qt::gray, kThinPenMm));
    for (const ProfileCurve& curve : curves) {
      // The throat and the end close the outline.
      for (const QPointF& end : {curve.points.front(), curve.points.back()})
        painter.drawLine(QPointF(end.x() * scale, -end.y() * scale),
                         QPointF(end.x() * scale, end.y() * scale));
    }
    for (const ProfileCurve& curve : curves) {
      painter.setPen(QPen(CurveColour(curve), kWallPenMm, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
      painter.drawPolyline(Polygon(curve.points, scale));
      painter.drawPolyline(Polygon(Mirrored(curve.points), scale));
    }
  });
}

}  // namespace vortalis::exports
