#include "export/svg_file.h"

#include <QBuffer>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cmath>

#include "geometry/number_text.h"
#include "output/output_error.h"

namespace vortalis::exports {

namespace {

// Generator pixels per inch; the size in millimetres is written exactly afterwards.
constexpr int kSvgResolution = 2540;

QString ViewText(qreal value) { return value == 0.0 ? QStringLiteral("0") : MillimetreText(value); }

constexpr qreal kOriginGridMm = 100.0;
constexpr qreal kPieceMm = 500.0;

bool OnSvg(const QPainter& painter) {
  return painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::SVG;
}

}  // namespace

QString MillimetreText(qreal value) {
  return QString::fromStdString(geometry::FixedText(value, 18, 3, {".", ""}));
}

QPointF FineOrigin(const QPainter& painter, const QPointF& at, qreal unitsPerMm) {
  if (!OnSvg(painter)) return {};
  const qreal grid = kOriginGridMm * unitsPerMm;
  return {std::floor(at.x() / grid) * grid, std::floor(at.y() / grid) * grid};
}

void DrawFinePolyline(QPainter& painter, const std::vector<QPointF>& open, qreal unitsPerMm,
                      bool closed) {
  if (!OnSvg(painter)) {
    if (closed)
      painter.drawPolygon(open.data(), static_cast<int>(open.size()));
    else
      painter.drawPolyline(open.data(), static_cast<int>(open.size()));
    return;
  }
  std::vector<QPointF> curve = open;
  if (closed && !curve.empty()) curve.push_back(curve.front());
  const qreal piece = kPieceMm * unitsPerMm;
  // A long straight piece gets points between its ends, on the line.
  std::vector<QPointF> points;
  for (std::size_t i = 0; i < curve.size(); ++i) {
    if (i > 0) {
      const QPointF d = curve[i] - curve[i - 1];
      const int parts = static_cast<int>(std::ceil(std::hypot(d.x(), d.y()) / (piece / 2)));
      for (int k = 1; k < parts; ++k) points.push_back(curve[i - 1] + d * k / parts);
    }
    points.push_back(curve[i]);
  }
  std::size_t start = 0;
  while (start + 1 < points.size()) {
    const QPointF origin = FineOrigin(painter, points[start], unitsPerMm);
    QPolygonF part;
    std::size_t i = start;
    for (; i < points.size(); ++i) {
      const QPointF at = points[i] - origin;
      if (i > start + 1 && (std::fabs(at.x()) > piece || std::fabs(at.y()) > piece)) break;
      part << at;
    }
    painter.save();
    painter.translate(origin);
    painter.drawPolyline(part);
    painter.restore();
    start = i - 1;  // the next piece starts where this one ends
  }
}

QByteArray MillimetreSvg(const QRectF& viewMm, const QString& title,
                         const std::function<void(QPainter&)>& paint) {
  const qreal pixelsPerMm = kSvgResolution / 25.4;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(kSvgResolution);
  generator.setSize(QSize(static_cast<int>(std::lround(viewMm.width() * pixelsPerMm)),
                          static_cast<int>(std::lround(viewMm.height() * pixelsPerMm))));
  generator.setViewBox(viewMm);
  generator.setTitle(title);
  generator.setDescription(QStringLiteral("Full size: print at 100 %. Lengths in millimetres."));
  QPainter painter;
  if (!painter.begin(&generator)) throw output::OutputError("Cannot draw the SVG drawing.");
  painter.setRenderHint(QPainter::Antialiasing);
  paint(painter);
  painter.end();

  QString text = QString::fromUtf8(buffer.data());
  static const QRegularExpression kSize(
      QStringLiteral("<svg\\s+width=\"[^\"]*\"\\s+height=\"[^\"]*\"\\s+viewBox=\"[^\"]*\""));
  if (!kSize.match(text).hasMatch())
    throw output::OutputError("The SVG drawing could not be given its size in millimetres.");
  const QString width = MillimetreText(viewMm.width());
  const QString height = MillimetreText(viewMm.height());
  text.replace(kSize, QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\" viewBox=\"%3 %4 %1 %2\"")
                          .arg(width, height, ViewText(viewMm.left()), ViewText(viewMm.top())));
  return text.toUtf8();
}

}  // namespace vortalis::exports
