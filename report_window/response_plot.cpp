#include "report_window/response_plot.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/locale_separators.h"

namespace vortalis::report_window {

using namespace ui;

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

}  // namespace vortalis::report_window
