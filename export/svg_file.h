#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <functional>

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

}  // namespace vortalis::exports
