#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

#include "geometry/number_text.h"

class QPaintDevice;
class QPainter;

// A plot of curves of one quantity against frequency: a log frequency axis
// with a line an octave, values on a 1-2-5 grid, a title and a legend.
namespace vortalis::plot {

// One curve against the plot's frequencies (a constant line when `level` is set).
struct PlotLine {
  QString name;
  QColor color;
  std::vector<long double> values;  // one per frequency; empty for a level
  std::optional<long double> level;
  bool dashed = false;
};

// Curves of one quantity against frequency on a log axis.
struct LinePlot {
  QString title;  // also names the quantity and its unit
  std::vector<long double> frequencies;
  std::vector<PlotLine> lines;
};

// The plot's frame inside `area` of a device whose font is `font`, and the
// point of the frequencies nearest to the device x (none outside the frame).
QRectF LinePlotFrame(const QRectF& area, const QFont& font, const QPaintDevice* device);
std::optional<std::size_t> LinePlotPointAt(const LinePlot& plot, const QRectF& frame, qreal x);

// Grid, curves, legend and title in `area`; a dotted line at `marked`.
void PaintLinePlot(QPainter& painter, const QRectF& area, const LinePlot& plot,
                   const vortalis::geometry::Separators& separators,
                   std::optional<std::size_t> marked = std::nullopt);

}  // namespace vortalis::plot
