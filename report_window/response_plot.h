#pragma once

#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>

#include "plot/line_plot.h"

class QPainter;

namespace vortalis::report_window {

using vortalis::plot::LinePlot;
using vortalis::plot::LinePlotFrame;
using vortalis::plot::LinePlotPointAt;
using vortalis::plot::PaintLinePlot;
using vortalis::plot::PlotLine;

// A plot on screen that reads out the point under the mouse: tells `hover`
// the point (none when the mouse leaves), and marks the point it is given.
class PlotView : public QWidget {
 public:
  // Paints the plot into `area` with the marked point.
  using Paint = std::function<void(QPainter& painter, const QRectF& area,
                                   std::optional<std::size_t> marked)>;
  // The point at x in the plot as `view` shows it (its rectangle, font and device).
  using PointAt = std::function<std::optional<std::size_t>(QWidget& view, qreal x)>;

  PlotView(Paint paint, PointAt pointAt, std::function<void(std::optional<std::size_t>)> hover,
           QSize minimum, QWidget* parent);
  void Mark(std::optional<std::size_t> point);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent*) override;

 private:
  Paint paint_;
  PointAt pointAt_;
  std::function<void(std::optional<std::size_t>)> hover_;
  std::optional<std::size_t> marked_;
};

// A line plot's view.
PlotView* NewLinePlotView(const LinePlot& plot,
                          std::function<void(std::optional<std::size_t>)> hover, QWidget* parent);

}  // namespace vortalis::report_window
