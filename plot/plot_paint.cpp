#include "plot/plot_paint.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vortalis::plot {

qreal DeviceScale(const QPaintDevice* device) {
  return device ? std::max<qreal>(1, device->logicalDpiY() / 96.0) : 1;
}

void BeginPlot(QPainter& painter, const QRectF& area) {
  painter.fillRect(area, Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void PaintGrid(QPainter& painter, const QRectF& frame, const Axis& x,
               const std::vector<long double>& xs, const Axis& y,
               const std::vector<long double>& ys, qreal penWidth) {
  painter.setPen(QPen(kGridColor, penWidth));
  for (const long double value : xs) {
    const qreal at = x.Pixel(value);
    painter.drawLine(QPointF(at, frame.top()), QPointF(at, frame.bottom()));
  }
  for (const long double value : ys) {
    const qreal at = y.Pixel(value);
    painter.drawLine(QPointF(frame.left(), at), QPointF(frame.right(), at));
  }
  painter.setPen(QPen(kFrameColor, penWidth));
  painter.drawRect(frame);
}

// Labels are written in the painter's pen.
void PaintXLabels(QPainter& painter, const QRectF& frame, const Axis& x,
                  const std::vector<long double>& xs, const QStringList& texts, qreal top) {
  Q_UNUSED(frame);
  const qreal line = QFontMetricsF(painter.font(), painter.device()).height();
  for (std::size_t i = 0; i < xs.size() && i < static_cast<std::size_t>(texts.size()); ++i) {
    const qreal at = x.Pixel(xs[i]);
    painter.drawText(QRectF(at - 100 * line, top, 200 * line, line),
                     Qt::AlignHCenter | Qt::AlignTop, texts[static_cast<qsizetype>(i)]);
  }
}

void PaintYLabels(QPainter& painter, qreal right, const Axis& y,
                  const std::vector<long double>& ys, const QStringList& texts) {
  const qreal line = QFontMetricsF(painter.font(), painter.device()).height();
  for (std::size_t i = 0; i < ys.size() && i < static_cast<std::size_t>(texts.size()); ++i) {
    const qreal at = y.Pixel(ys[i]);
    painter.drawText(QRectF(right - 200 * line, at - line / 2, 200 * line, line),
                     Qt::AlignRight | Qt::AlignVCenter, texts[static_cast<qsizetype>(i)]);
  }
}

QPolygonF Polyline(const Axis& x, const std::vector<long double>& xs, const Axis& y,
                   const std::vector<long double>& ys) {
  QPolygonF points;
  for (std::size_t i = 0; i < xs.size() && i < ys.size(); ++i)
    if (std::isfinite(ys[i])) points << QPointF(x.Pixel(xs[i]), y.Pixel(ys[i]));
  return points;
}

void PaintBand(QPainter& painter, const QRectF& frame, const Axis& x, long double from,
               long double to, const QColor& shade) {
  const qreal left = std::clamp(x.Pixel(from), frame.left(), frame.right());
  const qreal right = std::clamp(x.Pixel(to), frame.left(), frame.right());
  if (right > left) painter.fillRect(QRectF(left, frame.top(), right - left, frame.height()), shade);
}

void PaintMarker(QPainter& painter, const QRectF& frame, qreal x,
                 const std::vector<std::pair<qreal, QColor>>& dots, qreal radius, qreal scale) {
  painter.setPen(QPen(kMarkerColor, scale, Qt::DotLine));
  painter.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
  painter.setPen(Qt::NoPen);
  for (const auto& [y, color] : dots) {
    painter.setBrush(color);
    painter.drawEllipse(QPointF(x, y), radius, radius);
  }
  painter.setBrush(Qt::NoBrush);
}

QRectF ReadoutBox(const QRectF& frame, qreal x, qreal width, int lines, qreal lineHeight,
                  qreal gap) {
  QRectF box(0, frame.top() + gap, width + 2 * gap, lines * lineHeight + gap);
  box.moveLeft(x + gap + box.width() <= frame.right() ? x + gap : x - gap - box.width());
  return box;
}

void PaintReadout(QPainter& painter, const QRectF& frame, qreal x, const QStringList& lines,
                  const std::vector<QColor>& colors, qreal scale) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal line = metrics.height();
  const qreal gap = kGap * scale;
  qreal width = 0;
  for (const QString& text : lines) width = std::max(width, metrics.horizontalAdvance(text));
  const QRectF box = ReadoutBox(frame, x, width, static_cast<int>(lines.size()), line, gap);
  painter.setPen(QPen(kFrameColor, scale));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(box);
  painter.setBrush(Qt::NoBrush);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const auto index = static_cast<std::size_t>(i);
    painter.setPen(index < colors.size() ? colors[index] : kTextColor);
    painter.drawText(QRectF(box.left() + gap, box.top() + gap / 2 + i * line, width + gap, line),
                     Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
  }
}

qreal PaintLegend(QPainter& painter, QPointF start, const std::vector<LegendEntry>& entries,
                  qreal stroke, qreal gap, qreal spacing) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal line = metrics.height();
  qreal x = start.x();
  const qreal y = start.y();
  for (const LegendEntry& entry : entries) {
    painter.setPen(entry.pen);
    painter.drawLine(QPointF(x, y), QPointF(x + stroke, y));
    painter.setPen(kTextColor);
    const qreal width = metrics.horizontalAdvance(entry.name);
    painter.drawText(QRectF(x + stroke + gap, y - line / 2, width + gap, line),
                     Qt::AlignLeft | Qt::AlignVCenter, entry.name);
    x += stroke + gap + width + spacing;
  }
  return x;
}

void DrawFitted(QPainter& painter, const QString& text, qreal low, qreal high, qreal top,
                std::optional<qreal> left, qreal centre) {
  const QFontMetricsF metrics(painter.font());
  const qreal room = std::max<qreal>(high - low, 0);
  const QString shown = metrics.elidedText(text, Qt::ElideRight, room);
  const qreal width = metrics.horizontalAdvance(shown);
  const qreal start = std::clamp(left ? *left : centre - width / 2, low, std::max(low, high - width));
  painter.drawText(QRectF(start, top, width + 1, metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                   shown);
}

QString FittingForm(const QPainter& painter, const QStringList& forms, qreal room) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  for (const QString& form : forms)
    if (metrics.horizontalAdvance(form) <= room) return form;
  return forms.isEmpty() ? QString() : forms.back();
}

void PaintUpwardTitle(QPainter& painter, qreal left, qreal centreY, qreal length,
                      const QStringList& forms) {
  const qreal line = QFontMetricsF(painter.font(), painter.device()).height();
  const QString title = FittingForm(painter, forms, length);
  painter.save();
  painter.translate(left, centreY);
  painter.rotate(-90);
  painter.drawText(QRectF(-length / 2, 0, length, line), Qt::AlignCenter, title);
  painter.restore();
}

}  // namespace vortalis::plot
