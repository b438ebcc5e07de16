#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QPointF>
#include <functional>
#include <vector>

class QPainter;

// The full-size SVG drawings' frame: one user unit is one millimetre.
namespace vortalis::exports {

// A millimetre text with micrometre decimals, "." whatever the locale.
QString MillimetreText(qreal value);

// An SVG whose user units are millimetres over `viewMm`, painted by `paint`,
// with its width and height written in millimetres to the micrometre
// (QSvgGenerator alone writes whole pixels). Needs a QGuiApplication; throws
// output::OutputError when it cannot be drawn.
QByteArray MillimetreSvg(const QRectF& viewMm, const QString& title,
                         const std::function<void(QPainter&)>& paint);

// QSvgGenerator writes six significant digits. On an SVG these draw in
// frames whose origins lie on a 100 mm grid, no number written more than
// 500 mm from its origin, so every coordinate keeps 0.001 mm at any size;
// elsewhere they draw plainly. `unitsPerMm`: painter units in a millimetre;
// `closed` joins the last point to the first.
void DrawFinePolyline(QPainter& painter, const std::vector<QPointF>& points, qreal unitsPerMm,
                      bool closed = false);
// The origin of the frame for a text or mark at `at`.
QPointF FineOrigin(const QPainter& painter, const QPointF& at, qreal unitsPerMm);

}  // namespace vortalis::exports
