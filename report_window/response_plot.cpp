#include "report_window/response_plot.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/locale_separators.h"

namespace vortalis::report_window {

using namespace ui;

PlotView::PlotView(Paint paint, PointAt pointAt,
                   std::function<void(std::optional<std::size_t>)> hover, QSize minimum,
                   QWidget* parent)
    : QWidget(parent),
      paint_(std::move(paint)),
      pointAt_(std::move(pointAt)),
      hover_(std::move(hover)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setMinimumSize(minimum);
}

void PlotView::Mark(std::optional<std::size_t> point) {
  marked_ = point;
  update();
}

void PlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint_(painter, rect(), marked_);
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
  const auto point = pointAt_(*this, event->position().x());
  if (point != marked_) hover_(point);
}

void PlotView::leaveEvent(QEvent*) {
  if (marked_) hover_(std::nullopt);
}

PlotView* NewLinePlotView(const LinePlot& plot,
                          std::function<void(std::optional<std::size_t>)> hover,
                          QWidget* parent) {
  return new PlotView(
      [&plot](QPainter& painter, const QRectF& area, std::optional<std::size_t> marked) {
        PaintLinePlot(painter, area, plot, CurrentSeparators(), marked);
      },
      [&plot](QWidget& view, qreal x) {
        return LinePlotPointAt(plot, LinePlotFrame(view.rect(), view.font(), &view), x);
      },
      std::move(hover), QSize(300, 190), parent);
}

}  // namespace vortalis::report_window
