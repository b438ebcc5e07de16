#include "app/program_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "geometry/tractrix.h"

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

QPixmap ProgramIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);

  QLinearGradient tile(0, 0, 0, 32);
  tile.setColorAt(0, QColor(0x2f, 0x5d, 0x8a));
  tile.setColorAt(1, QColor(0x17, 0x34, 0x52));
  painter.setPen(Qt::NoPen);
  painter.setBrush(tile);
  painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);

  // Throat at the left, mouth at the right, axis across the middle.
  const qreal throat = 0.14;
  const QList<QPointF> wall = HornWall(throat, 40);
  const qreal length = wall.constLast().x();
  const qreal scaleX = 22.0 / length;
  const qreal scaleR = 13.0;
  QPainterPath horn;
  horn.moveTo(5 + wall.constFirst().x() * scaleX, 16 - wall.constFirst().y() * scaleR);
  for (const QPointF& p : wall) horn.lineTo(5 + p.x() * scaleX, 16 - p.y() * scaleR);
  for (auto p = wall.crbegin(); p != wall.crend(); ++p)
    horn.lineTo(5 + p->x() * scaleX, 16 + p->y() * scaleR);
  horn.closeSubpath();

  QLinearGradient brass(0, 3, 0, 29);
  brass.setColorAt(0, QColor(0xf4, 0xd4, 0x8c));
  brass.setColorAt(0.5, QColor(0xd9, 0xa4, 0x41));
  brass.setColorAt(1, QColor(0x9a, 0x6a, 0x1c));
  painter.setBrush(brass);
  painter.setPen(QPen(QColor(0x5a, 0x3c, 0x0c), 0.8));
  painter.drawPath(horn);

  // The driver at the throat.
  painter.setBrush(QColor(0x3a, 0x3a, 0x3a));
  painter.setPen(QPen(QColor(0x1a, 0x1a, 0x1a), 0.6));
  painter.drawRoundedRect(QRectF(2.5, 16 - throat * scaleR - 1.2, 3, throat * scaleR * 2 + 2.4), 0.6,
                          0.6);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128}) icon.addPixmap(ProgramIconPixmap(size));
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
