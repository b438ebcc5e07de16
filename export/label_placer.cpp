#include "export/label_placer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>

namespace vortalis::exports {

namespace {

constexpr qreal kMmPerPoint = 25.4 / 72.0;
// Measured large and scaled: a pixel size does not depend on a screen's resolution.
constexpr int kMeasurePixels = 100;
// Glyphs are hinted a little differently at other sizes.
constexpr qreal kSlack = 1.05;

bool Crosses(const QLineF& line, const QRectF& box) {
  if (box.contains(line.p1()) || box.contains(line.p2())) return true;
  const QLineF edges[] = {{box.topLeft(), box.topRight()},
                          {box.topRight(), box.bottomRight()},
                          {box.bottomRight(), box.bottomLeft()},
                          {box.bottomLeft(), box.topLeft()}};
  return std::any_of(std::begin(edges), std::end(edges), [&line](const QLineF& edge) {
    return line.intersects(edge, nullptr) == QLineF::BoundedIntersection;
  });
}

}  // namespace

QSizeF TextSizeMm(const QString& text, qreal points, bool bold) {
  QFont font;
  font.setPixelSize(kMeasurePixels);
  font.setBold(bold);
  const QFontMetricsF metrics(font);
  const QStringList lines = text.split('\n');
  qreal widest = 0.0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  const qreal mmPerPixel = points * kMmPerPoint / kMeasurePixels * kSlack;
  return {widest * mmPerPixel,
          (metrics.height() + (lines.size() - 1) * metrics.lineSpacing()) * mmPerPixel};
}

void LabelPlacer::AddLine(const QLineF& line) {
  lines_.push_back(line);
  bounds_.push_back(QRectF(line.p1(), line.p2()).normalized());
}

void LabelPlacer::AddPolyline(const QPolygonF& points) {
  for (qsizetype i = 1; i < points.size(); ++i) AddLine({points[i - 1], points[i]});
}

bool LabelPlacer::Free(const QRectF& box) const {
  if (!frame_.contains(box)) return false;
  for (const QRectF& other : placed_)
    if (other.intersects(box)) return false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const QRectF& b = bounds_[i];
    if (b.right() < box.left() || b.left() > box.right() || b.bottom() < box.top() ||
        b.top() > box.bottom())
      continue;
    if (Crosses(lines_[i], box)) return false;
  }
  return true;
}

std::optional<QRectF> LabelPlacer::Place(const std::vector<QRectF>& candidates) {
  for (const QRectF& box : candidates) {
    if (!Free(box)) continue;
    placed_.push_back(box);
    return box;
  }
  return std::nullopt;
}

}  // namespace vortalis::exports
