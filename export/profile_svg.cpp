#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cmath>

#include "output/output_error.h"
#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "geometry/number_text.h"

namespace vortalis::exports {

namespace {

// Generator pixels per inch; the size in millimetres is written exactly afterwards.
constexpr int kSvgResolution = 2540;
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

// A millimetre text with micrometre decimals, "." whatever the locale.
QString MillimetreText(qreal value) {
  return QString::fromStdString(geometry::FixedText(value, 18, 3, {".", ""}));
}

// QSvgGenerator writes its size from whole pixels and six significant digits;
// the drawing's physical size is written again here to the micrometre.
QByteArray WithExactSize(QByteArray svg, const QSizeF& sizeMm) {
  QString text = QString::fromUtf8(svg);
  static const QRegularExpression kSize(
      QStringLiteral("<svg\\s+width=\"[^\"]*\"\\s+height=\"[^\"]*\"\\s+viewBox=\"[^\"]*\""));
  const QString width = MillimetreText(sizeMm.width());
  const QString height = MillimetreText(sizeMm.height());
  const QString replacement = QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\" viewBox=\"0 -%3 %1 %2\"")
                                  .arg(width, height, MillimetreText(sizeMm.height() / 2));
  if (!kSize.match(text).hasMatch())
    throw output::OutputError("The SVG drawing could not be given its size in millimetres.");
  text.replace(kSize, replacement);
  return text.toUtf8();
}

}  // namespace

QByteArray ProfileSvg(const report::HornProfile& profile) {
  const qreal scale = MillimetresPerUnit(profile);
  const QRectF extent = ProfileExtent(profile);
  const QSizeF sizeMm(extent.width() * scale, 2.0 * extent.height() * scale);
  const qreal pixelsPerMm = kSvgResolution / 25.4;

  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(kSvgResolution);
  generator.setSize(QSize(static_cast<int>(std::lround(sizeMm.width() * pixelsPerMm)),
                          static_cast<int>(std::lround(sizeMm.height() * pixelsPerMm))));
  generator.setViewBox(QRectF(0.0, -sizeMm.height() / 2, sizeMm.width(), sizeMm.height()));
  generator.setTitle(QStringLiteral("Tractrix horn profile"));
  generator.setDescription(QStringLiteral("Full size: print at 100 %. Lengths in millimetres."));

  QPainter painter;
  if (!painter.begin(&generator)) throw output::OutputError("Cannot draw the SVG drawing.");
  painter.setRenderHint(QPainter::Antialiasing);
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
  painter.end();
  return WithExactSize(buffer.data(), sizeMm);
}

}  // namespace vortalis::exports
