#include "export/svg_file.h"

#include <QBuffer>
#include <QPainter>
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

}  // namespace

QString MillimetreText(qreal value) {
  return QString::fromStdString(geometry::FixedText(value, 18, 3, {".", ""}));
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
