#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "export/svg_file.h"
#include "geometry/number_text.h"

namespace vortalis::exports {

namespace {

constexpr qreal kWallPenMm = 0.25;
constexpr qreal kThinPenMm = 0.15;
// Around the drawing, so that no stroke is cut at the edge.
constexpr qreal kMarginMm = 5.0;
constexpr qreal kLegendRowMm = 5.0;
constexpr qreal kLegendWidthMm = 70.0;
constexpr qreal kLegendSampleMm = 10.0;
constexpr qreal kTextMm = 2.5;       // capital height
constexpr qreal kTextUnitsPerMm = 100.0;  // fonts take whole pixels: text is painted in hundredths

QColor CurveColour(const ProfileCurve& curve) {
  if (curve.layer == "SIDES_1A_1B") return QColor(0, 70, 200);
  if (curve.layer == "SIDES_2A_2B") return QColor(0, 140, 60);
  return Qt::black;
}

QPen AxisPen() { return QPen(QColor(200, 0, 0), kThinPenMm, Qt::DashDotLine); }
QPen StationPen() { return QPen(Qt::darkGray, kThinPenMm); }
QPen CurvePen(const ProfileCurve& curve) {
  return QPen(CurveColour(curve), kWallPenMm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// `sign` 1 draws the positive side of the axis above it (SVG's y points down), -1 below.
void DrawCurve(QPainter& painter, const std::vector<QPointF>& curve, qreal scale, qreal sign) {
  std::vector<QPointF> points;
  points.reserve(curve.size());
  for (const QPointF& p : curve) points.emplace_back(p.x() * scale, -sign * p.y() * scale);
  DrawFinePolyline(painter, points, 1.0);
}

// Text whose capitals are kTextMm high, anchored at `at` (mm) by `flags`.
void DrawText(QPainter& painter, const QPointF& at, const QString& text, int flags) {
  painter.save();
  painter.scale(1.0 / kTextUnitsPerMm, 1.0 / kTextUnitsPerMm);
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(std::lround(kTextMm / 0.7 * kTextUnitsPerMm)));
  painter.setFont(font);
  painter.setPen(Qt::black);
  const qreal box = 40.0 * kTextUnitsPerMm;
  const QPointF p = at * kTextUnitsPerMm;
  QRectF rect(p.x(), p.y() - box, box, box);  // above and right of the anchor
  if (flags & Qt::AlignHCenter) rect.moveLeft(p.x() - box / 2);
  if (flags & Qt::AlignTop) rect.moveTop(p.y());
  if (flags & Qt::AlignVCenter) rect.moveTop(p.y() - box / 2);
  painter.drawText(rect, flags, text);
  painter.restore();
}

void DrawStations(QPainter& painter, const report::HornProfile& profile, qreal scale) {
  painter.setPen(StationPen());
  const std::vector<std::vector<StationMark>> stations = StationMarks(profile);
  for (const std::vector<StationMark>& marks : stations) {
    for (const StationMark& mark : marks) {
      for (const qreal side : {1.0, -1.0}) {
        // Drawing y up, SVG y down.
        const QPointF at(mark.point.x() * scale, -side * mark.point.y() * scale);
        const QPointF across(mark.across.x(), -side * mark.across.y());
        painter.drawLine(at - kStationTickMm * across, at + kStationTickMm * across);
      }
    }
  }
  for (const std::vector<StationMark>& marks : stations) {
    for (const StationMark& mark : marks) {
      if (!mark.labelled) continue;
      const QPointF across(mark.across.x(), -mark.across.y());
      const QPointF at =
          QPointF(mark.point.x() * scale, -mark.point.y() * scale) + 1.5 * kStationTickMm * across;
      DrawText(painter, at, QString::fromStdString(StationText(profile, mark.distance)),
               Qt::AlignHCenter | Qt::AlignBottom);
    }
  }
}

void DrawLegend(QPainter& painter, const std::vector<ProfileCurve>& curves,
                const QPointF& topLeft) {
  qreal y = topLeft.y() + kLegendRowMm / 2;
  const auto row = [&](const QPen& pen, const QString& name, bool tick) {
    painter.setPen(pen);
    const qreal x = topLeft.x();
    if (tick)
      painter.drawLine(QPointF(x + kLegendSampleMm / 2, y - kStationTickMm),
                       QPointF(x + kLegendSampleMm / 2, y + kStationTickMm));
    else
      painter.drawLine(QPointF(x, y), QPointF(x + kLegendSampleMm, y));
    DrawText(painter, QPointF(x + kLegendSampleMm + 2.0, y), name,
             Qt::AlignLeft | Qt::AlignVCenter);
    y += kLegendRowMm;
  };
  row(AxisPen(), QStringLiteral("Axis"), false);
  for (const ProfileCurve& curve : curves)
    row(CurvePen(curve), QString::fromStdString(curve.label), false);
  row(StationPen(), QStringLiteral("Stations of the step (distance from the throat)"), true);
}

}  // namespace

QByteArray ProfileSvg(const report::HornProfile& profile) {
  const qreal scale = MillimetresPerUnit(profile);
  const QRectF extent = ProfileExtent(profile);
  const std::vector<ProfileCurve> curves = ProfileCurves(profile);
  const QSizeF drawingMm(extent.width() * scale, 2.0 * extent.height() * scale);
  const qreal legendMm = kLegendRowMm * static_cast<qreal>(curves.size() + 2);
  // The legend below the drawing; the horn starts kMarginMm from the left edge.
  const QRectF viewMm(-kMarginMm, -drawingMm.height() / 2 - kMarginMm,
                      std::max(drawingMm.width(), kLegendWidthMm) + 2.0 * kMarginMm,
                      drawingMm.height() + legendMm + 3.0 * kMarginMm);
  return MillimetreSvg(viewMm, QStringLiteral("Tractrix horn profile"), [&](QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(AxisPen());
    painter.drawLine(QPointF(0.0, 0.0), QPointF(drawingMm.width(), 0.0));

    painter.setPen(QPen(Qt::gray, kThinPenMm));
    for (const ProfileCurve& curve : curves) {
      // The throat and the end close the outline.
      for (const QPointF& end : {curve.points.front(), curve.points.back()})
        painter.drawLine(QPointF(end.x() * scale, -end.y() * scale),
                         QPointF(end.x() * scale, end.y() * scale));
    }
    DrawStations(painter, profile, scale);
    for (const ProfileCurve& curve : curves) {
      painter.setPen(CurvePen(curve));
      DrawCurve(painter, curve.points, scale, 1.0);
      DrawCurve(painter, curve.points, scale, -1.0);
    }
    DrawLegend(painter, curves, QPointF(0.0, drawingMm.height() / 2 + kMarginMm));
  });
}

}  // namespace vortalis::exports
