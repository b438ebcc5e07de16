#pragma once

#include <optional>
#include <vector>

#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Labels laid on a drawing so that none prints over another or over a line
// that must stay readable (a cut line): each label takes the first of its
// candidate boxes that lies inside the frame and is free.
namespace vortalis::exports {

// The size text takes when painted at `points` in the application's font, in
// millimetres, one line per '\n'.
QSizeF TextSizeMm(const QString& text, qreal points, bool bold);

class LabelPlacer {
 public:
  explicit LabelPlacer(const QRectF& frame) : frame_(frame) {}

  void AddLine(const QLineF& line);
  void AddPolyline(const QPolygonF& points);
  // Taken as placed, whether free or not.
  void AddBox(const QRectF& box) { placed_.push_back(box); }

  bool Free(const QRectF& box) const;
  // The first free candidate, now taken; none when every one is in the way.
  std::optional<QRectF> Place(const std::vector<QRectF>& candidates);

 private:
  QRectF frame_;
  std::vector<QLineF> lines_;
  std::vector<QRectF> bounds_;  // each line's bounding box, to pass most lines by quickly
  std::vector<QRectF> placed_;
};

}  // namespace vortalis::exports
