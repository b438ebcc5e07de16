#pragma once

#include <QColor>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "plot/axis.h"

class QPaintDevice;
class QPainter;

// Painting a plot on any painter (a widget, an image, a printer): the pieces
// every plot of the program shares, in one look.
namespace vortalis::plot {

inline const QColor kGridColor(222, 222, 222);
inline const QColor kFrameColor(150, 150, 150);
inline const QColor kMarkerColor(110, 110, 110);
inline const QColor kTextColor(30, 30, 30);
// Screen pixels between a label and what it names (scaled on paper).
inline constexpr qreal kGap = 6;

// Device pixels per screen pixel: 1 on screen, dpi / 96 on paper.
qreal DeviceScale(const QPaintDevice* device);

// White background, smooth lines and text.
void BeginPlot(QPainter& painter, const QRectF& area);

// Grid lines at `xs` and `ys` across `frame`, then the frame.
void PaintGrid(QPainter& painter, const QRectF& frame, const Axis& x,
               const std::vector<long double>& xs, const Axis& y,
               const std::vector<long double>& ys, qreal penWidth);

// One label under the frame for each of `xs` (centred on it), starting `gap`
// below it; one right of the frame's left edge minus `gap` for each of `ys`.
void PaintXLabels(QPainter& painter, const QRectF& frame, const Axis& x,
                  const std::vector<long double>& xs, const QStringList& texts, qreal top);
void PaintYLabels(QPainter& painter, qreal right, const Axis& y,
                  const std::vector<long double>& ys, const QStringList& texts);

// The curve through (xs[i], ys[i]); points with a value that is not finite are left out.
QPolygonF Polyline(const Axis& x, const std::vector<long double>& xs, const Axis& y,
                   const std::vector<long double>& ys);

// `frame` shaded between the values `from` and `to` of x (beyond the frame: to its edge).
void PaintBand(QPainter& painter, const QRectF& frame, const Axis& x, long double from,
               long double to, const QColor& shade);

// A dotted line across the frame at device x, and a dot on each curve there.
void PaintMarker(QPainter& painter, const QRectF& frame, qreal x,
                 const std::vector<std::pair<qreal, QColor>>& dots, qreal radius, qreal scale);

// Lines of text in a box at the frame's top, right of device x, or left of it
// where the right has no room; each line in its colour.
QRectF ReadoutBox(const QRectF& frame, qreal x, qreal width, int lines, qreal lineHeight,
                  qreal gap);
void PaintReadout(QPainter& painter, const QRectF& frame, qreal x, const QStringList& lines,
                  const std::vector<QColor>& colors, qreal scale);

// A stroke of each entry's pen and its name, in a row from `start` (the
// strokes' height); returns where the row ends.
struct LegendEntry {
  QString name;
  QPen pen;
};
qreal PaintLegend(QPainter& painter, QPointF start, const std::vector<LegendEntry>& entries,
                  qreal stroke, qreal gap, qreal spacing);

// A one-line text that starts at `left` (or is centred on `centre`), moved
// and if need be shortened so that it stays between `low` and `high`.
void DrawFitted(QPainter& painter, const QString& text, qreal low, qreal high, qreal top,
                std::optional<qreal> left, qreal centre);

// The first of `forms` (the full title, then shorter ones) that fits
// `length`, reading upward with its top at device x `left`, centred on `centreY`.
void PaintUpwardTitle(QPainter& painter, qreal left, qreal centreY, qreal length,
                      const QStringList& forms);

// The first of `forms` no wider than `room` in the painter's font; the last when none is.
QString FittingForm(const QPainter& painter, const QStringList& forms, qreal room);

}  // namespace vortalis::plot
