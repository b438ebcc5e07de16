#include "report_window/response_plot.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "report/drawing_grid.h"
#include "ui/locale_separators.h"

namespace vortalis::windows {

namespace {

using vortalis::geometry::Separators;

constexpr qreal kGap = 6;
constexpr qreal kMinGridPixels = 32;
constexpr qreal kHeadroom = 0.06;
const QColor kGrid(222, 222, 222);
const QColor kFrame(150, 150, 150);
const QColor kMarker(110, 110, 110);
const QColor kText(30, 30, 30);

QString Text(const std::string& text) { return QString::fromStdString(text); }

struct Axes {
  QRectF frame;
  long double logFrom = 0.0L, logTo = 1.0L, low = 0.0L, high = 1.0L;
  qreal X(long double f) const {
    return frame.left() +
           static_cast<qreal>((std::log2(f) - logFrom) / (logTo - logFrom)) * frame.width();
  }
  qreal Y(long double v) const {
    return frame.bottom() - static_cast<qreal>((v - low) / (high - low)) * frame.height();
  }
};

Axes MakeAxes(const LinePlot& plot, const QRectF& frame) {
  Axes axes;
  axes.frame = frame;
  if (!plot.frequencies.empty()) {
    axes.logFrom = std::log2(plot.frequencies.front());
    axes.logTo = std::max(std::log2(plot.frequencies.back()), axes.logFrom + 0.01L);
  }
  bool any = false;
  for (const PlotLine& line : plot.lines) {
    const auto take = [&](long double v) {
      if (!std::isfinite(v)) return;
      axes.low = any ? std::min(axes.low, v) : v;
      axes.high = any ? std::max(axes.high, v) : v;
      any = true;
    };
    for (const long double v : line.values) take(v);
    if (line.level) take(*line.level);
  }
  if (!(axes.high - axes.low > 1e-9L * (1.0L + std::fabs(axes.high)))) {
    axes.low -= 1.0L;
    axes.high += 1.0L;
  }
  const long double pad = (axes.high - axes.low) * kHeadroom;
  axes.low -= pad;
  axes.high += pad;
  return axes;
}

}  // namespace

QRectF LinePlotFrame(const QRectF& area, const QFont& font, const QPaintDevice* device) {
  const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(device));
  const qreal line = metrics.height();
  const qreal scale = device ? std::max<qreal>(1, device->logicalDpiY() / 96.0) : 1;
  const qreal gap = kGap * scale;
  const qreal left = metrics.horizontalAdvance(QStringLiteral("-0000.0")) + 2 * gap;
  // Room on the right for half of the last frequency's label.
  const qreal right = metrics.horizontalAdvance(QStringLiteral("00000")) / 2 + gap;
  return QRectF(area.left() + left, area.top() + 2 * line + 2 * gap,
                std::max<qreal>(area.width() - left - right, 1),
                std::max<qreal>(area.height() - 4 * line - 4 * gap, 1));
}

std::optional<std::size_t> LinePlotPointAt(const LinePlot& plot, const QRectF& frame, qreal x) {
  if (plot.frequencies.empty() || x < frame.left() || x > frame.right()) return std::nullopt;
  const Axes axes = MakeAxes(plot, frame);
  const auto nearest = std::min_element(
      plot.frequencies.begin(), plot.frequencies.end(), [&](long double a, long double b) {
        return std::fabs(axes.X(a) - x) < std::fabs(axes.X(b) - x);
      });
  return static_cast<std::size_t>(nearest - plot.frequencies.begin());
}

void PaintLinePlot(QPainter& painter, const QRectF& area, const LinePlot& plot,
                   const Separators& separators, std::optional<std::size_t> marked) {
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal line = metrics.height();
  const qreal scale = std::max<qreal>(1, painter.device()->logicalDpiY() / 96.0);
  const qreal gap = kGap * scale;
  const Axes axes = MakeAxes(plot, LinePlotFrame(area, painter.font(), painter.device()));
  const QRectF frame = axes.frame;

  // Octaves from the first frequency, values on a 1-2-5 grid.
  painter.setPen(QPen(kGrid, scale));
  std::vector<long double> octaves;
  if (!plot.frequencies.empty())
    for (long double f = plot.frequencies.front(); f <= plot.frequencies.back() * (1 + 1e-9L);
         f *= 2)
      octaves.push_back(f);
  for (const long double f : octaves)
    painter.drawLine(QPointF(axes.X(f), frame.top()), QPointF(axes.X(f), frame.bottom()));
  const auto grid = vortalis::report::NiceGridStep((axes.high - axes.low) * kMinGridPixels * scale /
                                                   frame.height());
  const auto values = vortalis::report::GridValues(axes.low, axes.high, grid.step);
  for (const long double v : values)
    painter.drawLine(QPointF(frame.left(), axes.Y(v)), QPointF(frame.right(), axes.Y(v)));
  painter.setPen(QPen(kFrame, scale));
  painter.drawRect(frame);
  painter.setPen(kText);
  for (const long double v : values)
    painter.drawText(
        QRectF(area.left(), axes.Y(v) - line / 2, frame.left() - area.left() - gap, line),
        Qt::AlignRight | Qt::AlignVCenter,
        Text(vortalis::geometry::FixedText(v, 18, grid.decimals, separators)));
  const std::size_t every = octaves.size() > 7 ? 2 : 1;
  for (std::size_t i = 0; i < octaves.size(); i += every)
    painter.drawText(
        QRectF(axes.X(octaves[i]) - 50 * line, frame.bottom() + gap / 2, 100 * line, line),
        Qt::AlignHCenter | Qt::AlignTop,
        Text(vortalis::report::ShortNumberText(octaves[i], separators)));
  painter.drawText(QRectF(frame.left(), frame.bottom() + line + gap, frame.width(), line),
                   Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Frequency (Hz)"));
  QFont bold = painter.font();
  bold.setBold(true);
  painter.save();
  painter.setFont(bold);
  painter.drawText(QRectF(frame.left(), area.top() + gap, frame.width(), line),
                   Qt::AlignLeft | Qt::AlignVCenter, plot.title);
  painter.restore();
  // The legend, right of the title's line below it.
  qreal x = frame.left();
  const qreal y = area.top() + gap + 1.5 * line;
  for (const PlotLine& curve : plot.lines) {
    painter.setPen(QPen(curve.color, 2 * scale, curve.dashed ? Qt::DashLine : Qt::SolidLine));
    painter.drawLine(QPointF(x, y), QPointF(x + 2 * line, y));
    painter.setPen(kText);
    const qreal width = metrics.horizontalAdvance(curve.name);
    painter.drawText(QRectF(x + 2 * line + gap, y - line / 2, width + gap, line),
                     Qt::AlignLeft | Qt::AlignVCenter, curve.name);
    x += 2 * line + 3 * gap + width;
  }

  painter.setClipRect(frame);
  for (const PlotLine& curve : plot.lines) {
    QPolygonF points;
    if (curve.level) {
      points << QPointF(frame.left(), axes.Y(*curve.level))
             << QPointF(frame.right(), axes.Y(*curve.level));
    } else {
      for (std::size_t i = 0; i < curve.values.size() && i < plot.frequencies.size(); ++i)
        if (std::isfinite(curve.values[i]))
          points << QPointF(axes.X(plot.frequencies[i]), axes.Y(curve.values[i]));
    }
    painter.setPen(QPen(curve.color, 2 * scale, curve.dashed ? Qt::DashLine : Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points);
  }
  if (marked && *marked < plot.frequencies.size()) {
    const qreal at = axes.X(plot.frequencies[*marked]);
    painter.setPen(QPen(kMarker, scale, Qt::DotLine));
    painter.drawLine(QPointF(at, frame.top()), QPointF(at, frame.bottom()));
    painter.setPen(Qt::NoPen);
    for (const PlotLine& curve : plot.lines) {
      if (*marked >= curve.values.size()) continue;
      painter.setBrush(curve.color);
      painter.drawEllipse(QPointF(at, axes.Y(curve.values[*marked])), 3 * scale, 3 * scale);
    }
  }
  painter.restore();
}

LinePlotView::LinePlotView(const LinePlot& plot,
                           std::function<void(std::optional<std::size_t>)> hover, QWidget* parent)
    : QWidget(parent), plot_(plot), hover_(std::move(hover)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setMinimumSize(300, 190);
}

void LinePlotView::Mark(std::optional<std::size_t> point) {
  marked_ = point;
  update();
}

void LinePlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintLinePlot(painter, rect(), plot_, CurrentSeparators(), marked_);
}

void LinePlotView::mouseMoveEvent(QMouseEvent* event) {
  const auto point =
      LinePlotPointAt(plot_, LinePlotFrame(rect(), font(), this), event->position().x());
  if (point != marked_) hover_(point);
}

void LinePlotView::leaveEvent(QEvent*) {
  if (marked_) hover_(std::nullopt);
}

}  // namespace vortalis::windows
