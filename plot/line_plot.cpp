#include "plot/line_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "plot/plot_paint.h"
#include "report/drawing_grid.h"

namespace vortalis::plot {

namespace {

using vortalis::geometry::Separators;

constexpr qreal kMinGridPixels = 32;
constexpr qreal kHeadroom = 0.06;

QString Text(const std::string& text) { return QString::fromStdString(text); }

struct Axes {
  Axis x;
  Axis y;
};

// Frequency on a log axis; every finite value of the curves and levels, with headroom.
Axes MakeAxes(const LinePlot& plot, const QRectF& frame) {
  long double from = 1.0L;
  long double to = 2.0L;
  if (!plot.frequencies.empty()) {
    from = plot.frequencies.front();
    to = std::max(plot.frequencies.back(), std::exp2(std::log2(from) + 0.01L));
  }
  long double low = 0.0L;
  long double high = 1.0L;
  bool any = false;
  for (const PlotLine& line : plot.lines) {
    const auto take = [&](long double v) {
      if (!std::isfinite(v)) return;
      low = any ? std::min(low, v) : v;
      high = any ? std::max(high, v) : v;
      any = true;
    };
    for (const long double v : line.values) take(v);
    if (line.level) take(*line.level);
  }
  if (!(high - low > 1e-9L * (1.0L + std::fabs(high)))) {
    low -= 1.0L;
    high += 1.0L;
  }
  const long double pad = (high - low) * kHeadroom;
  return {Axis(from, to, frame.left(), frame.right(), AxisScale::Log),
          Axis(low - pad, high + pad, frame.bottom(), frame.top())};
}

}  // namespace

QRectF LinePlotFrame(const QRectF& area, const QFont& font, const QPaintDevice* device) {
  const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(device));
  const qreal line = metrics.height();
  const qreal gap = kGap * DeviceScale(device);
  const qreal left = metrics.horizontalAdvance(QStringLiteral("-0000.0")) + 2 * gap;
  // Room on the right for half of the last frequency's label.
  const qreal right = metrics.horizontalAdvance(QStringLiteral("00000")) / 2 + gap;
  return QRectF(area.left() + left, area.top() + 2 * line + 2 * gap,
                std::max<qreal>(area.width() - left - right, 1),
                std::max<qreal>(area.height() - 4 * line - 4 * gap, 1));
}

std::optional<std::size_t> LinePlotPointAt(const LinePlot& plot, const QRectF& frame, qreal x) {
  return NearestIndex(plot.frequencies, MakeAxes(plot, frame).x, x);
}

void PaintLinePlot(QPainter& painter, const QRectF& area, const LinePlot& plot,
                   const Separators& separators, std::optional<std::size_t> marked) {
  painter.save();
  BeginPlot(painter, area);
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal line = metrics.height();
  const qreal scale = DeviceScale(painter.device());
  const qreal gap = kGap * scale;
  const QRectF frame = LinePlotFrame(area, painter.font(), painter.device());
  const Axes axes = MakeAxes(plot, frame);

  // Octaves from the first frequency, values on a 1-2-5 grid.
  const std::vector<long double> octaves =
      plot.frequencies.empty()
          ? std::vector<long double>()
          : Octaves(plot.frequencies.front(), plot.frequencies.back());
  const Ticks values = LinearTicks(axes.y, kMinGridPixels * scale);
  PaintGrid(painter, frame, axes.x, octaves, axes.y, values.values, scale);
  painter.setPen(kTextColor);
  QStringList valueTexts;
  for (const long double v : values.values)
    valueTexts << Text(vortalis::geometry::FixedText(v, 18, values.step.decimals, separators));
  PaintYLabels(painter, frame.left() - gap, axes.y, values.values, valueTexts);
  const std::size_t every = octaves.size() > 7 ? 2 : 1;
  std::vector<long double> labelled;
  QStringList hertz;
  for (std::size_t i = 0; i < octaves.size(); i += every) {
    labelled.push_back(octaves[i]);
    hertz << Text(vortalis::report::ShortNumberText(octaves[i], separators));
  }
  PaintXLabels(painter, frame, axes.x, labelled, hertz, frame.bottom() + gap / 2);
  painter.drawText(QRectF(frame.left(), frame.bottom() + line + gap, frame.width(), line),
                   Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Frequency (Hz)"));
  QFont bold = painter.font();
  bold.setBold(true);
  painter.save();
  painter.setFont(bold);
  painter.drawText(QRectF(frame.left(), area.top() + gap, frame.width(), line),
                   Qt::AlignLeft | Qt::AlignVCenter, plot.title);
  painter.restore();
  // The legend, on the line below the title.
  std::vector<LegendEntry> legend;
  for (const PlotLine& curve : plot.lines)
    legend.push_back(
        {curve.name, QPen(curve.color, 2 * scale, curve.dashed ? Qt::DashLine : Qt::SolidLine)});
  PaintLegend(painter, QPointF(frame.left(), area.top() + gap + 1.5 * line),
                              legend, 2 * line, gap, 2 * gap);

  painter.setClipRect(frame);
  for (const PlotLine& curve : plot.lines) {
    QPolygonF points;
    if (curve.level) {
      points << QPointF(frame.left(), axes.y.Pixel(*curve.level))
             << QPointF(frame.right(), axes.y.Pixel(*curve.level));
    } else {
      points = Polyline(axes.x, plot.frequencies, axes.y, curve.values);
    }
    painter.setPen(QPen(curve.color, 2 * scale, curve.dashed ? Qt::DashLine : Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points);
  }
  if (marked && *marked < plot.frequencies.size()) {
    std::vector<std::pair<qreal, QColor>> dots;
    for (const PlotLine& curve : plot.lines)
      if (*marked < curve.values.size())
        dots.emplace_back(axes.y.Pixel(curve.values[*marked]), curve.color);
    PaintMarker(painter, frame, axes.x.Pixel(plot.frequencies[*marked]), dots,
                                3 * scale, scale);
  }
  painter.restore();
}

}  // namespace vortalis::plot
