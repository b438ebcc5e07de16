#include "app/splash_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <vector>

#include "geometry/tractrix.h"

namespace vortalis::app {

namespace {

constexpr int kWidth = 308;
constexpr int kHeight = 146;

// The drawn horn, in pixels: mouth radius, throat radius, axis height and
// where its throat sits.
constexpr qreal kMouth = 58.0;
constexpr qreal kThroat = 6.5;
constexpr qreal kAxis = 73.0;
constexpr qreal kThroatX = 34.0;

// Horizontal pixel position of the section of radius r: the throat at the
// left, the mouth plane a full horn length further right.
qreal SectionX(qreal r) {
  using vortalis::geometry::TractrixLength;
  const auto length = TractrixLength(kMouth, kThroat);
  const auto fromMouth = r >= kMouth ? 0.0L : TractrixLength(kMouth, r);
  return kThroatX + static_cast<qreal>(length - fromMouth);
}

// Radii from the throat to the mouth, closer together where the wall turns fast.
std::vector<qreal> WallRadii() {
  std::vector<qreal> radii;
  for (qreal r = kThroat; r < kMouth; r *= 1.04) radii.push_back(r);
  radii.push_back(kMouth);
  return radii;
}

QPainterPath HornOutline() {
  const std::vector<qreal> radii = WallRadii();
  QPainterPath outline;
  outline.moveTo(SectionX(radii.front()), kAxis - radii.front());
  for (const qreal r : radii) outline.lineTo(SectionX(r), kAxis - r);
  for (auto r = radii.rbegin(); r != radii.rend(); ++r) outline.lineTo(SectionX(*r), kAxis + *r);
  outline.closeSubpath();
  return outline;
}

void DrawBackground(QPainter& painter) {
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0.0, QColor(0xdc, 0xdc, 0xdc));
  sky.setColorAt(1.0, QColor(0xa8, 0xa8, 0xa8));
  painter.fillRect(QRect(0, 0, kWidth, kHeight), sky);
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
  painter.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 2));
}

void DrawHorn(QPainter& painter) {
  const QPainterPath outline = HornOutline();
  QLinearGradient brass(0, kAxis - kMouth, 0, kAxis + kMouth);
  brass.setColorAt(0.0, QColor(0xf6, 0xdc, 0x9a));
  brass.setColorAt(0.45, QColor(0xd8, 0xa2, 0x3c));
  brass.setColorAt(1.0, QColor(0x7c, 0x52, 0x12));
  painter.setBrush(brass);
  painter.setPen(QPen(QColor(0x4a, 0x30, 0x08), 1.2));
  painter.drawPath(outline);

  // A few sections as seen slightly from the side, evenly spaced along the axis.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x6a, 0x46, 0x10, 0xa0), 0.8));
  for (const qreal r : {9.0, 13.0, 19.0, 27.0, 38.0}) {
    painter.drawEllipse(QPointF(SectionX(r), kAxis), r * 0.18, r);
  }

  // The open mouth.
  QRadialGradient inside(QPointF(SectionX(kMouth), kAxis), kMouth);
  inside.setColorAt(0.0, QColor(0x2a, 0x1c, 0x06));
  inside.setColorAt(1.0, QColor(0x9c, 0x6c, 0x1c));
  painter.setBrush(inside);
  painter.setPen(QPen(QColor(0x4a, 0x30, 0x08), 1.2));
  painter.drawEllipse(QPointF(SectionX(kMouth), kAxis), kMouth * 0.2, kMouth);

  // The driver behind the throat.
  QLinearGradient steel(0, kAxis - 16, 0, kAxis + 16);
  steel.setColorAt(0.0, QColor(0x70, 0x70, 0x70));
  steel.setColorAt(0.5, QColor(0x30, 0x30, 0x30));
  steel.setColorAt(1.0, QColor(0x10, 0x10, 0x10));
  painter.setBrush(steel);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRoundedRect(QRectF(10, kAxis - 16, kThroatX - 10, 32), 3, 3);
}

void DrawName(QPainter& painter) {
  const QRectF textArea(188, 34, 112, 78);
  QFont name(QStringLiteral("Times New Roman"));
  name.setPixelSize(26);
  name.setBold(true);
  name.setItalic(true);
  painter.setFont(name);
  painter.setPen(QColor(0xff, 0xff, 0xff, 0xb0));
  painter.drawText(textArea.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop,
                   QStringLiteral("Vortalis"));
  painter.setPen(QColor(0x1c, 0x2c, 0x4c));
  painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Vortalis"));

  QFont line(QStringLiteral("Arial"));
  line.setPixelSize(11);
  painter.setFont(line);
  painter.setPen(QColor(0x20, 0x20, 0x20));
  painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("tractrix horn\ncalculator"));
}

}  // namespace

QPixmap SplashPicture() {
  QPixmap picture(kWidth, kHeight);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  DrawBackground(painter);
  DrawHorn(painter);
  DrawName(painter);
  return picture;
}

}  // namespace vortalis::app
