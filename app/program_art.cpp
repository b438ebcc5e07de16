#include "app/program_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "geometry/tractrix.h"

namespace vortalis::app {

namespace {

// Points (distance from the throat, radius) of a tractrix with mouth radius 1,
// from the throat radius `throat` to the mouth.
QList<QPointF> HornWall(qreal throat, int steps) {
  const long double length = vortalis::geometry::TractrixLength(1.0L, throat);
  QList<QPointF> wall;
  for (int i = 0; i <= steps; ++i) {
    const qreal r = throat + (1.0 - throat) * i / steps;
    const long double x = i == steps ? 0.0L : vortalis::geometry::TractrixLength(1.0L, r);
    wall.append(QPointF(static_cast<qreal>(length - x), r));
  }
  return wall;
}

}  // namespace

// The same pictures that are installed into the desktop's icon theme.
QPixmap ProgramIconPixmap(int size) {
  return ProgramIcon().pixmap(size, size);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/vortalis-%1.png").arg(size), QSize(size, size));
  return icon;
}

QPixmap LogoPixmap() {
  QPixmap pixmap(105, 25);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  // The upper wall of a horn, sweeping under the word from left to right.
  const QList<QPointF> wall = HornWall(0.06, 80);
  const qreal length = wall.constLast().x();
  const auto at = [&](const QPointF& p) {
    return QPointF(2 + p.x() * 101.0 / length, 24.0 - p.y() * 22.0);
  };
  QPainterPath sweep(at(wall.constFirst()));
  for (const QPointF& p : wall) sweep.lineTo(at(p));
  painter.setPen(QPen(QColor(0xd9, 0xa4, 0x41), 2.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(sweep);

  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(17);
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(QColor(0x17, 0x34, 0x52));
  // The word stands above the wall, which rises steeply only past its end.
  painter.drawText(QRectF(1, 0, 80, 17), Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Vortalis"));
  return pixmap;
}

}  // namespace vortalis::app
