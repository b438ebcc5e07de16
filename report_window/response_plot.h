#pragma once

#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>

#include "plot/line_plot.h"

namespace vortalis::report_window {

using vortalis::plot::LinePlot;
using vortalis::plot::LinePlotFrame;
using vortalis::plot::LinePlotPointAt;
using vortalis::plot::PaintLinePlot;
using vortalis::plot::PlotLine;

// The plot on screen; tells `hover` the point under the mouse (none when it leaves).
class LinePlotView : public QWidget {
 public:
  LinePlotView(const LinePlot& plot, std::function<void(std::optional<std::size_t>)> hover,
               QWidget* parent);
  void Mark(std::optional<std::size_t> point);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent*) override;

 private:
  const LinePlot& plot_;
  std::function<void(std::optional<std::size_t>)> hover_;
  std::optional<std::size_t> marked_;
};

}  // namespace vortalis::report_window
