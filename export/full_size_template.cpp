#include "export/full_size_template.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "export/label_placer.h"
#include "export/profile_curves.h"
#include "export/sink_device.h"
#include "output/output_error.h"
#include "output/output_file.h"
#include "geometry/constants.h"
#include "report/number_format.h"
#include "sheets/join_notes.h"
#include "sheets/map_fit.h"
#include "sheets/sheet_layout.h"
#include "report/side_warnings.h"

namespace vortalis::exports {

namespace {

using geometry::LengthUnit;

constexpr qreal kMarginMm = 8.0;   // above the curves, before the throat and after the end
constexpr qreal kBelowMm = 18.0;   // below the curves: room for the reference line and its numbers
constexpr qreal kTitleMm = 28.0;   // ruler, page label and title block
constexpr qreal kFooterMm = 38.0;
// The margins above shrink to this rather than take a sheet of their own.
constexpr qreal kLeastMarginMm = 2.0;  // and the check values below them
constexpr qreal kFooterGapMm = 3.0;
constexpr qreal kMinPrintableWidthMm = 180.0;
constexpr qreal kMinPrintableHeightMm = 100.0;
constexpr qreal kCrossMm = 6.0;


bool Millimetres(const report::HornProfile& profile) {
  return profile.unit == LengthUnit::Millimetre;
}

QString Number(long double value, report::NumberFormat format,
               const geometry::Separators& separators) {
  return QString::fromStdString(report::FormatNumber(value, format, separators));
}

QString Length(long double value, const report::HornProfile& profile,
               const geometry::Separators& separators) {
  return Number(value, report::LengthFormat(profile.unit), separators) + " " +
         geometry::UnitName(profile.unit);
}

QString Size(long double value, const report::HornProfile& profile,
             const geometry::Separators& separators) {
  return Number(value, report::SizeFormat(profile.unit), separators) + " " +
         geometry::UnitName(profile.unit);
}

// The horn's data, one line each.
QStringList TitleLines(const report::HornProfile& profile,
                       const geometry::Separators& separators) {
  const report::ProfilePoint& throat = profile.points.front();
  const report::ProfilePoint& end = profile.points.back();
  const QString frequency = QString::fromStdString(profile.frequencyText) + QStringLiteral(" Hz");
  QStringList lines;
  if (!profile.rectangular) {
    lines << QStringLiteral("Tractrix horn, circular, fc ") + frequency;
    lines << QStringLiteral("Throat radius ") + Size(throat.radius, profile, separators) +
                 QStringLiteral(", end radius ") + Size(end.radius, profile, separators);
  } else {
    lines << QStringLiteral("Tractrix horn, rectangular") +
                 (profile.flatSides ? QStringLiteral(" with flat sides") : QString()) +
                 QStringLiteral(", fc ") + frequency;
    lines << QStringLiteral("Throat ") + Size(throat.side1, profile, separators) +
                 QStringLiteral(" x ") + Size(throat.side2, profile, separators) +
                 QStringLiteral(", end ") + Size(end.side1, profile, separators) +
                 QStringLiteral(" x ") + Size(end.side2, profile, separators);
    lines << QStringLiteral("Solid: half of sides 1A - 1B; dashed: half of sides 2A - 2B");
  }
  if (profile.limit.kind == report::MouthLimitKind::None || end.distance == profile.length)
    lines << QStringLiteral("Length ") + Length(profile.length, profile, separators);
  else
    lines << QStringLiteral("Cut at ") + Length(end.distance, profile, separators) +
                 QStringLiteral(" of ") + Length(profile.length, profile, separators);
  lines << QStringLiteral("Wall from the axis, scale 1:1, sizes in ") +
               geometry::UnitName(profile.unit);
  for (const std::string& warning : report::FlatSideWarnings(profile))
    lines << QStringLiteral("Warning: ") + QString::fromStdString(warning);
  return lines;
}

// Maps drawing millimetres (y up) to device units on one page.
class PageMapping {
 public:
  PageMapping(const TemplateLayout& layout, const TemplatePage& page, qreal unitsPerMm)
      : area_(layout.drawingArea), window_(page.window), units_(unitsPerMm) {}

  QPointF operator()(qreal x, qreal y) const {
    return {(area_.left() + x - window_.left()) * units_,
            (area_.top() + window_.bottom() - y) * units_};
  }
  QLineF Line(qreal x1, qreal y1, qreal x2, qreal y2) const {
    return {(*this)(x1, y1), (*this)(x2, y2)};
  }

 private:
  QRectF area_;
  QRectF window_;  // y up: bottom() is the top edge of the page's drawing
  qreal units_;
};

void PaintTexts(QPainter& painter, const std::vector<TemplateText>& texts) {
  for (const TemplateText& text : texts) {
    QFont font = painter.font();
    font.setPointSizeF(text.pointSize);
    font.setBold(text.bold);
    painter.setFont(font);
    painter.drawText(text.box, text.flags, text.text);
  }
}

// The box of `size` whose point named by `align` (left, right or centre;
// top, bottom or centre) stands at `anchor`.
QRectF BoxAt(const QPointF& anchor, const QSizeF& size, int align) {
  qreal left = anchor.x() - size.width() / 2.0;
  if (align & Qt::AlignLeft) left = anchor.x();
  if (align & Qt::AlignRight) left = anchor.x() - size.width();
  qreal top = anchor.y() - size.height() / 2.0;
  if (align & Qt::AlignTop) top = anchor.y();
  if (align & Qt::AlignBottom) top = anchor.y() - size.height();
  return {QPointF(left, top), size};
}

// A label in the drawing at the first of `anchors` (device units) where it
// is free of the labels and lines already there; none when every place is
// taken.
void PlaceLabel(TemplatePageDrawing& drawing, LabelPlacer& placer, const QString& text,
                qreal points, bool bold, int align, const std::vector<QPointF>& anchors,
                qreal u) {
  const QSizeF size = TextSizeMm(text, points, bold) * u;
  std::vector<QRectF> boxes;
  for (const QPointF& anchor : anchors) boxes.push_back(BoxAt(anchor, size, align));
  if (const std::optional<QRectF> box = placer.Place(boxes))
    drawing.labels.push_back(
        {*box, text, points, bold,
         static_cast<int>((align & Qt::AlignRight ? Qt::AlignRight : Qt::AlignLeft) |
                          Qt::AlignVCenter) |
             Qt::TextDontClip});
}

void Paint(QPainter& painter, const TemplatePageDrawing& drawing, qreal u) {
  const auto pen = [u](const QColor& colour, qreal widthMm, Qt::PenStyle style = Qt::SolidLine) {
    QPen p(colour, widthMm * u, style, Qt::FlatCap, Qt::RoundJoin);
    return p;
  };
  painter.save();
  painter.setClipRect(drawing.drawingFrame);
  painter.setPen(pen(QColor(200, 0, 0), 0.2, Qt::DashDotLine));
  if (!drawing.axis.isNull()) painter.drawLine(drawing.axis);
  painter.setPen(pen(QColor(200, 0, 0), 0.2));
  if (!drawing.reference.isNull()) painter.drawLine(drawing.reference);
  painter.setPen(pen(Qt::darkGray, 0.15));
  for (const QLineF& line : drawing.guides) painter.drawLine(line);
  painter.setPen(pen(QColor(0, 90, 200), 0.15, Qt::DashLine));
  for (const QLineF& line : drawing.overlapEdges) painter.drawLine(line);
  painter.setPen(pen(QColor(0, 90, 200), 0.2));
  for (const QLineF& line : drawing.crosses) painter.drawLine(line);
  for (const TemplateCurve& curve : drawing.curves) {
    QPen curvePen = pen(Qt::black, 0.3);
    if (curve.dashed) curvePen.setDashPattern({12.0, 6.0});
    painter.setPen(curvePen);
    painter.drawPolyline(curve.points);
  }
  painter.setPen(QPen(Qt::black));
  PaintTexts(painter, drawing.labels);
  painter.restore();

  painter.setPen(pen(Qt::lightGray, 0.15));
  painter.drawRect(drawing.drawingFrame);
  painter.drawRect(drawing.titleFrame);
  painter.setPen(pen(Qt::black, 0.2));
  painter.drawLine(drawing.ruler);
  for (const QLineF& tick : drawing.rulerTicks) painter.drawLine(tick);
  PaintTexts(painter, drawing.texts);
}

// y of the polyline (x ascending) at x, its end values beyond its ends.
qreal YAt(const std::vector<QPointF>& points, qreal x) {
  const auto it = std::lower_bound(points.begin(), points.end(), x,
                                   [](const QPointF& point, qreal v) { return point.x() < v; });
  if (it == points.begin()) return points.front().y();
  if (it == points.end()) return points.back().y();
  const QPointF& a = *(it - 1);
  const QPointF& b = *it;
  if (b.x() == a.x()) return b.y();
  return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
}

// The lowest and highest y of the polyline for x0 <= x <= x1; false when it has no point there.
bool RangeOver(const std::vector<QPointF>& points, qreal x0, qreal x1, qreal& low, qreal& high) {
  if (points.empty() || x1 < points.front().x() || x0 > points.back().x()) return false;
  const qreal from = std::max(x0, points.front().x());
  const qreal to = std::min(x1, points.back().x());
  low = high = YAt(points, from);
  const auto widen = [&](qreal y) {
    low = std::min(low, y);
    high = std::max(high, y);
  };
  widen(YAt(points, to));
  auto it = std::lower_bound(points.begin(), points.end(), from,
                             [](const QPointF& point, qreal v) { return point.x() < v; });
  for (; it != points.end() && it->x() <= to; ++it) widen(it->y());
  return true;
}

// The part of segment a-b inside the window (Liang-Barsky); false when none.
bool ClipSegment(const QPointF& a, const QPointF& b, const QRectF& window, QPointF& from,
                 QPointF& to) {
  qreal t0 = 0.0;
  qreal t1 = 1.0;
  const qreal dx = b.x() - a.x();
  const qreal dy = b.y() - a.y();
  const auto clip = [&](qreal p, qreal q) {
    if (p == 0.0) return q >= 0.0;
    const qreal r = q / p;
    if (p < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  if (!clip(-dx, a.x() - window.left()) || !clip(dx, window.right() - a.x()) ||
      !clip(-dy, a.y() - window.top()) || !clip(dy, window.bottom() - a.y()))
    return false;
  from = QPointF(a.x() + t0 * dx, a.y() + t0 * dy);
  to = QPointF(a.x() + t1 * dx, a.y() + t1 * dy);
  return true;
}

// Where the polyline first enters the window and where it last leaves it.
struct Passage {
  QPointF in;
  QPointF out;
};
std::optional<Passage> PassageThrough(const std::vector<QPointF>& points, const QRectF& window) {
  if (points.size() < 2) return std::nullopt;
  auto it = std::lower_bound(points.begin(), points.end(), window.left(),
                             [](const QPointF& point, qreal v) { return point.x() < v; });
  if (it != points.begin()) --it;
  std::optional<Passage> passage;
  for (; it + 1 < points.end() && it->x() <= window.right(); ++it) {
    QPointF from;
    QPointF to;
    if (!ClipSegment(*it, *(it + 1), window, from, to)) continue;
    if (!passage) passage = Passage{from, to};
    passage->out = to;
  }
  return passage;
}

// The curve's points on this page, with one more on each side so that the
// line runs to the page's edges.
QPolygonF PagePart(const std::vector<QPointF>& points, const QRectF& window,
                   const PageMapping& map) {
  auto first = std::lower_bound(points.begin(), points.end(), window.left(),
                                [](const QPointF& point, qreal v) { return point.x() < v; });
  if (first != points.begin()) --first;
  QPolygonF part;
  for (auto it = first; it != points.end(); ++it) {
    part << map(it->x(), it->y());
    if (it->x() > window.right()) break;
  }
  return part;
}

// The sheet's reference line: just below the lowest curve on the sheet when
// there is room for its numbers, else just above the numbers' room; never so
// near the axis that the numbers cross it.
qreal ReferenceLine(const TemplateLayout& layout, const QRectF& window) {
  constexpr qreal kRoomMm = 9.0;  // ticks and numbers below the line
  qreal lowest = window.bottom();
  for (const ProfileCurve& curve : layout.curves) {
    qreal low = 0.0;
    qreal high = 0.0;
    if (RangeOver(curve.points, window.left(), window.right(), low, high))
      lowest = std::min(lowest, low);
  }
  const qreal step = layout.referenceStepMm;
  // Just above the axis the numbers would hang across it: the line lies on
  // the axis then, or clears it.
  const auto clearOfAxis = [&](qreal y, bool down) {
    if (y <= 0.0 || y >= kRoomMm) return y;
    return down ? 0.0 : std::ceil(kRoomMm / step) * step;
  };
  const qreal below = clearOfAxis(std::floor((lowest - 1.0) / step) * step, true);
  if (below >= window.top() + kRoomMm) return below;
  return clearOfAxis(std::ceil((window.top() + kRoomMm) / step) * step, false);
}

// The sheets that share part of this sheet's drawing (any strip at all), by
// the edge they join at.
sheets::Neighbours NeighboursOf(const TemplateLayout& layout, int index) {
  std::vector<sheets::Placed> placed;
  for (const TemplatePage& page : layout.pages)
    placed.push_back({page.column, static_cast<double>(page.level), page.window.left(),
                      page.window.top(), page.window.width(), page.window.height()});
  return sheets::NeighboursOf(placed, static_cast<std::size_t>(index),
                              std::numeric_limits<double>::denorm_min());
}

// Distances from the throat along the reference line: mm, a tick every 10 mm,
// numbered every 100 mm; inch, every half inch, numbered every inch.
void AddDistanceTicks(TemplatePageDrawing& drawing, const report::HornProfile& profile,
                      qreal lengthMm, const TemplatePage& page, const PageMapping& map,
                      LabelPlacer& placer, qreal unitsPerMm,
                      const geometry::Separators& separators) {
  const bool mm = Millimetres(profile);
  const qreal tickMm = mm ? 10.0 : 12.7;
  const int numberedEvery = mm ? 10 : 2;
  const qreal unitsPerNumber = mm ? 100.0 : 1.0;
  const qreal y = page.referenceMm;
  const int first = std::max(0, static_cast<int>(std::ceil(page.window.left() / tickMm)));
  for (int i = first; i * tickMm <= std::min(lengthMm, page.window.right()); ++i) {
    const qreal x = i * tickMm;
    const bool numbered = i % numberedEvery == 0;
    drawing.guides.push_back(map.Line(x, y, x, y - (numbered ? 3.0 : 1.5)));
    if (numbered)
      PlaceLabel(drawing, placer, Number(i / numberedEvery * unitsPerNumber, {8, 0}, separators),
                 6.0, false, Qt::AlignHCenter | Qt::AlignTop, {map(x, y - 3.5)}, unitsPerMm);
  }
}

// Short ticks across each curve at the step's stations, the distance written
// beside the first curved wall's ticks at a readable interval.
void AddStations(TemplatePageDrawing& drawing, const report::HornProfile& profile,
                 const TemplateLayout& layout, const TemplatePage& page, const PageMapping& map,
                 LabelPlacer& placer, qreal u, const geometry::Separators& separators) {
  const qreal scale = MillimetresPerUnit(profile);
  const qreal stepMm = static_cast<qreal>(profile.step) * scale;
  if (!(stepMm > 0.0)) return;
  // Stations closer than 2 mm would blacken the wall: every nth then.
  const std::size_t every = static_cast<std::size_t>(std::max(1.0, std::ceil(2.0 / stepMm - 1e-9)));
  const std::size_t labelled = every * static_cast<std::size_t>(
                                           std::max(1.0, std::ceil(20.0 / (every * stepMm))));
  const QRectF& w = page.window;
  const auto first = std::lower_bound(
      profile.points.begin(), profile.points.end(), w.left() - 3.0,
      [scale](const report::ProfilePoint& point, qreal x) {
        return static_cast<qreal>(point.distance) * scale < x;
      });
  const ProfileCurve* named = nullptr;
  for (const ProfileCurve& curve : layout.curves)
    if (!named && !curve.straight) named = &curve;
  for (auto it = first; it != profile.points.end(); ++it) {
    const qreal x = static_cast<qreal>(it->distance) * scale;
    if (x > w.right() + 3.0) break;
    const std::size_t index = static_cast<std::size_t>(it - profile.points.begin());
    const bool last = it + 1 == profile.points.end();
    if (index % every != 0 && !last) continue;
    for (const ProfileCurve& curve : layout.curves) {
      const qreal y = YAt(curve.points, x);
      const qreal slope = (YAt(curve.points, x + 0.25) - YAt(curve.points, x - 0.25)) / 0.5;
      const qreal norm = std::hypot(1.0, slope);
      const QPointF across(-slope / norm, 1.0 / norm);
      drawing.guides.push_back(map.Line(x - 1.5 * across.x(), y - 1.5 * across.y(),
                                        x + 1.5 * across.x(), y + 1.5 * across.y()));
      if (&curve != named || (index % labelled != 0 && !last)) continue;
      std::vector<QPointF> anchors;
      for (const qreal out : {4.5, 6.5, 8.5})
        anchors.push_back(map(x + out * across.x(), y + out * across.y()));
      PlaceLabel(drawing, placer,
                 Number(it->distance, report::SizeFormat(profile.unit), separators), 5.0, false,
                 Qt::AlignCenter, anchors, u);
    }
  }
}

// Dashed lines where the neighbours' drawings end, crosses in the shared
// strips (the same place of the drawing on both sheets), and at each edge
// what joins there: a sheet's left and top edges are trimmed and laid over its
// neighbours, its right and bottom edges lie under theirs.
void AddJoins(TemplatePageDrawing& drawing, const TemplateLayout& layout, int index,
              const PageMapping& map, LabelPlacer& placer, qreal u) {
  const TemplatePage& page = layout.pages[static_cast<std::size_t>(index)];
  const QRectF& w = page.window;
  const sheets::Neighbours neighbours = NeighboursOf(layout, index);
  const auto cross = [&](qreal x, qreal y) {
    const qreal h = kCrossMm / 2.0;
    drawing.crosses.push_back(map.Line(x - h, y, x + h, y));
    drawing.crosses.push_back(map.Line(x, y - h, x, y + h));
  };
  const auto crosses = [&](const QRectF& common) {
    const bool alongX = common.width() > common.height();
    const qreal length = alongX ? common.width() : common.height();
    const std::vector<qreal> at =
        length > 4.0 * kCrossMm ? std::vector<qreal>{0.25, 0.75} : std::vector<qreal>{0.5};
    for (qreal f : at) {
      if (alongX)
        cross(common.left() + f * common.width(), common.center().y());
      else
        cross(common.center().x(), common.top() + f * common.height());
    }
  };
  for (const std::size_t j : neighbours.left) {
    const QRectF common = w.intersected(layout.pages[j].window);
    drawing.overlapEdges.push_back(
        map.Line(common.right(), common.top(), common.right(), common.bottom()));
    crosses(common);
  }
  for (const std::size_t j : neighbours.right) {
    const QRectF common = w.intersected(layout.pages[j].window);
    drawing.overlapEdges.push_back(
        map.Line(common.left(), common.top(), common.left(), common.bottom()));
    crosses(common);
  }
  for (const std::size_t j : neighbours.below) {
    const QRectF common = w.intersected(layout.pages[j].window);
    drawing.overlapEdges.push_back(
        map.Line(common.left(), common.bottom(), common.right(), common.bottom()));
    crosses(common);
  }
  for (const std::size_t j : neighbours.above) {
    const QRectF common = w.intersected(layout.pages[j].window);
    drawing.overlapEdges.push_back(
        map.Line(common.left(), common.top(), common.right(), common.top()));
    crosses(common);
  }

  // The side notes stand in the half of the edge that the walls leave free,
  // or as near it as the walls and labels allow; the others near the middle.
  const QRectF& area = layout.drawingArea;
  const auto freeHalf = [&](qreal x) {
    qreal lowest = w.bottom();
    for (const ProfileCurve& curve : layout.curves) lowest = std::min(lowest, YAt(curve.points, x));
    return lowest < w.center().y() ? area.top() + area.height() * 0.12
                                   : area.bottom() - area.height() * 0.12;
  };
  // Places along an edge from `from` to `to`, nearest `best` first.
  const auto along = [](qreal best, qreal from, qreal to) {
    std::vector<qreal> at;
    for (qreal v = from; v <= to; v += 2.0) at.push_back(v);
    std::stable_sort(at.begin(), at.end(), [best](qreal a, qreal b) {
      return std::abs(a - best) < std::abs(b - best);
    });
    at.insert(at.begin(), best);
    return at;
  };
  const auto note = [&](const std::string& text, int align, const std::vector<QPointF>& atMm) {
    std::vector<QPointF> anchors;
    for (const QPointF& at : atMm) anchors.push_back(at * u);
    PlaceLabel(drawing, placer, QString::fromStdString(text), 6.5, true, align, anchors, u);
  };
  std::vector<int> numbers;
  for (const TemplatePage& page : layout.pages) numbers.push_back(page.number);
  const sheets::JoinNotes notes =
      sheets::JoinNotesOf(neighbours, numbers, sheets::ListStyle::Spoken);
  const auto side = [&](const std::string& text, qreal x, qreal wallX, int align) {
    if (text.empty()) return;
    std::vector<QPointF> at;
    for (const qreal y : along(freeHalf(wallX), area.top() + 5.0, area.bottom() - 5.0))
      at.emplace_back(x, y);
    note(text, align | Qt::AlignVCenter, at);
  };
  side(notes.left, area.left() + 1.0, w.left(), Qt::AlignLeft);
  side(notes.right, area.right() - 1.0, w.right(), Qt::AlignRight);
  const auto edge = [&](const std::string& text, qreal y, int align) {
    if (text.empty()) return;
    std::vector<QPointF> at;
    for (const qreal x : along(area.center().x(), area.left() + 20.0, area.right() - 20.0))
      at.emplace_back(x, y);
    note(text, align | Qt::AlignHCenter, at);
  };
  edge(notes.above, area.top() + 0.8, Qt::AlignTop);
  edge(notes.below, area.bottom() - 0.8, Qt::AlignBottom);
}

void AddRulerAndTitle(TemplatePageDrawing& drawing, const report::HornProfile& profile,
                      const TemplateLayout& layout, const QString& name, const QString& place,
                      qreal u, const geometry::Separators& separators) {
  const QRectF& f = layout.footer;
  const bool mm = Millimetres(profile);
  const qreal left = f.left() + 2.0;
  const qreal rulerY = f.top() + 8.0;
  drawing.ruler = QLineF(left * u, rulerY * u, (left + layout.rulerLengthMm) * u, rulerY * u);
  // mm: every millimetre, longer every 5 and 10; inch: every eighth, longer every half and inch.
  const int ticks = mm ? 100 : 32;
  const qreal tickMm = layout.rulerLengthMm / ticks;
  const int major = mm ? 10 : 8;
  const int middle = mm ? 5 : 4;
  for (int i = 0; i <= ticks; ++i) {
    const qreal height = i % major == 0 ? 4.0 : (i % middle == 0 ? 2.5 : 1.5);
    const qreal x = left + i * tickMm;
    drawing.rulerTicks.emplace_back(x * u, rulerY * u, x * u, (rulerY - height) * u);
  }
  drawing.texts.push_back({QRectF(left * u, (rulerY + 0.8) * u, layout.rulerLengthMm * u, 4.0 * u),
                           mm ? QStringLiteral("Check: this ruler measures 100 mm at full size")
                              : QStringLiteral("Check: this ruler measures 4 inch at full size"),
                           7.0, false, Qt::AlignHCenter | Qt::AlignTop});
  drawing.texts.push_back({QRectF(left * u, (f.top() + 15.0) * u, layout.rulerLengthMm * u, 6.0 * u),
                           name, 11.0, true, Qt::AlignLeft | Qt::AlignTop});
  drawing.texts.push_back({QRectF(left * u, (f.top() + 21.5) * u, layout.rulerLengthMm * u, 5.0 * u),
                           place, 7.0, false, Qt::AlignLeft | Qt::AlignTop});

  const qreal titleLeft = left + layout.rulerLengthMm + 6.0;
  drawing.titleFrame =
      QRectF(titleLeft * u, f.top() * u, (f.right() - titleLeft) * u, kTitleMm * u);
  const QRectF inside = drawing.titleFrame.adjusted(1.5 * u, 1.0 * u, -1.5 * u, -1.0 * u);
  drawing.texts.push_back({inside, TitleLines(profile, separators).join('\n'), 7.0, false,
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap});
}

QString Ordinal(int n) {
  if (n % 100 >= 11 && n % 100 <= 13) return QString::number(n) + QStringLiteral("th");
  static const char* const kEndings[] = {"th", "st", "nd", "rd", "th", "th", "th", "th", "th", "th"};
  return QString::number(n) + QLatin1String(kEndings[n % 10]);
}

// A point of the true curve near where its drawing crosses a sheet's edge,
// in mm. Where the curve rises gently the distance from the throat is a round
// number of the printed digits and the height is measured there; where it is
// steep, the height is, and the distance is measured at it: either way the
// measured value is the one that lies square to the curve, so a reader's
// error along the other does not change it.
struct CheckPoint {
  qreal xMm;
  qreal yMm;
  bool atDistance;  // the distance is exact, else the height
};

CheckPoint CheckPointNear(const report::HornProfile& profile, std::size_t curve,
                          const QPointF& drawn, qreal slope, qreal referenceMm) {
  using Long = long double;
  const Long scale = MillimetresPerUnit(profile);
  const Long digits = std::pow(10.0L, report::SizeFormat(profile.unit).decimals);
  const auto round = [digits](Long value) { return std::round(value * digits) / digits; };
  const auto at = [&](Long u) { return files::CurvePointAt(profile, curve, u); };
  // The foot radius in [low, high] where f(u) = target, for f rising.
  const auto solve = [](auto f, Long target, Long low, Long high) {
    for (int i = 0; i < 200 && low < high; ++i) {
      const Long middle = (low + high) / 2.0L;
      (f(middle) < target ? low : high) = middle;
    }
    return (low + high) / 2.0L;
  };
  const Long throat = profile.points.front().radius;
  const Long end = profile.points.back().radius;
  const auto x = [&](Long u) { return static_cast<Long>(at(u).x); };
  const auto footAt = [&](Long distance) { return solve(x, distance, throat, end); };
  if (std::abs(slope) > 1.0) {
    const Long reference = referenceMm / scale;
    const Long height = reference + round(drawn.y() / scale - reference);
    // The curve runs steeply here: within 2 mm either way of the drawn point it crosses the height.
    const Long near = 2.0L / scale;
    const Long low = footAt(drawn.x() / scale - near);
    const Long high = footAt(drawn.x() / scale + near);
    const auto y = [&](Long u) { return static_cast<Long>(at(u).y); };
    if ((y(low) - height) * (y(high) - height) <= 0.0L) {
      const Long u = y(low) > y(high) ? solve([&](Long v) { return -y(v); }, -height, low, high)
                                      : solve(y, height, low, high);
      return {static_cast<qreal>(x(u) * scale), static_cast<qreal>(height * scale), false};
    }
  }
  const Long distance =
      std::clamp(round(drawn.x() / scale), profile.points.front().distance,
                 profile.points.back().distance);
  return {static_cast<qreal>(distance * scale),
          static_cast<qreal>(at(footAt(distance)).y) * static_cast<qreal>(scale), true};
}

// The slope of the polyline's segment through x.
qreal SlopeAt(const std::vector<QPointF>& points, qreal x) {
  auto it = std::lower_bound(points.begin(), points.end(), x,
                             [](const QPointF& point, qreal v) { return point.x() < v; });
  if (it == points.begin()) ++it;
  if (it == points.end()) --it;
  const QPointF& a = *(it - 1);
  const QPointF& b = *it;
  if (b.x() == a.x()) return std::numeric_limits<qreal>::infinity();
  return (b.y() - a.y()) / (b.x() - a.x());
}

// What a sheet can be checked by alone: its distance ranges, its reference
// line, and where each curve enters and leaves it, measured from that line.
QStringList CheckLines(const report::HornProfile& profile, const TemplateLayout& layout,
                       const TemplatePage& page, const geometry::Separators& separators) {
  const qreal scale = MillimetresPerUnit(profile);
  const qreal lengthMm = ProfileExtent(profile).width() * scale;
  const QRectF& w = page.window;
  const auto size = [&](qreal mm) { return Size(static_cast<long double>(mm / scale), profile, separators); };
  QStringList lines;
  lines << QStringLiteral("This sheet: ") + size(std::clamp(w.left(), 0.0, lengthMm)) +
               QStringLiteral(" to ") + size(std::clamp(w.right(), 0.0, lengthMm)) +
               QStringLiteral(" from the throat, ") + size(std::max(0.0, w.top())) +
               QStringLiteral(" to ") + size(w.bottom()) +
               QStringLiteral(" from the axis; reference line ") + size(page.referenceMm) +
               QStringLiteral(" from the axis.");
  for (std::size_t i = 0; i < layout.curves.size(); ++i) {
    const ProfileCurve& curve = layout.curves[i];
    const std::optional<Passage> passage = PassageThrough(curve.points, w);
    if (!passage) continue;
    const auto at = [&](const QPointF& drawn) {
      const CheckPoint point =
          CheckPointNear(profile, i, drawn, SlopeAt(curve.points, drawn.x()),
                         page.referenceMm);
      const qreal above = point.yMm - page.referenceMm;
      const QString distance = size(point.xMm) + QStringLiteral(" from the throat");
      const QString height = size(std::abs(above)) +
                             (above < 0.0 ? QStringLiteral(" below") : QStringLiteral(" above"));
      return point.atDistance ? QStringLiteral("at exactly ") + distance + QStringLiteral(", ") + height
                              : QStringLiteral("at exactly ") + height + QStringLiteral(", ") + distance;
    };
    lines << QString::fromStdString(curve.label) + QStringLiteral(" (to the reference line): ") +
                 at(passage->in) + QStringLiteral("; ") + at(passage->out) + QStringLiteral(".");
  }
  return lines;
}

}  // namespace

int PagesFor(qreal lengthMm, qreal windowMm) {
  return sheets::SheetsFor(lengthMm, windowMm, kTemplateOverlapMm);
}

TemplateLayout LayoutTemplate(const report::HornProfile& profile, const QSizeF& printableMm) {
  if (printableMm.width() < kMinPrintableWidthMm || printableMm.height() < kMinPrintableHeightMm) {
    throw output::OutputError(
        "The page is too small for a full-size template: it needs a printable area of at least "
        "180 x 100 mm.");
  }
  if (profile.points.empty()) throw output::OutputError("There is no profile to print.");
  TemplateLayout layout;
  layout.printableMm = printableMm;
  layout.drawingArea =
      QRectF(0.0, 0.0, printableMm.width(), printableMm.height() - kFooterMm - kFooterGapMm);
  layout.footer = QRectF(0.0, printableMm.height() - kFooterMm, printableMm.width(), kFooterMm);
  const bool mm = Millimetres(profile);
  layout.rulerLengthMm = mm ? 100.0 : 4.0 * static_cast<qreal>(geometry::InchToMillimetre);
  layout.referenceStepMm = mm ? 5.0 : 0.25 * static_cast<qreal>(geometry::InchToMillimetre);

  const qreal scale = MillimetresPerUnit(profile);
  layout.curves = ProfileCurves(profile);
  for (ProfileCurve& curve : layout.curves)
    for (QPointF& point : curve.points) point *= scale;
  const qreal lengthMm = ProfileExtent(profile).width() * scale;
  const QSizeF window = layout.drawingArea.size();
  const std::vector<double> lefts = sheets::SheetStarts(
      0.0, lengthMm, kMarginMm, kMarginMm, kLeastMarginMm, window.width(), kTemplateOverlapMm);
  layout.columns = static_cast<int>(lefts.size());

  // Each column's sheets stand over the curves' bands only: from a little
  // below each curve's lowest point in the column to a little above its
  // highest, bands that touch joined. The bands' gaps are narrower than a
  // sheet, so every sheet shows a curve. Flat sides are drawn where they pass.
  long long printed = 1;  // the map
  std::vector<sheets::Band> bands;
  for (int column = 1; column <= layout.columns; ++column) {
    const qreal left = lefts[static_cast<std::size_t>(column - 1)];
    bands.clear();
    for (const ProfileCurve& curve : layout.curves) {
      qreal low = 0.0;
      qreal high = 0.0;
      if (!curve.straight && RangeOver(curve.points, left, left + window.width(), low, high))
        bands.push_back({low - kBelowMm, high + kMarginMm});
    }
    int level = 0;
    for (const sheets::Band& band : sheets::JoinBands(bands, window.height(), kTemplateOverlapMm,
                                                      sheets::Joining::Overlapping)) {
      const std::vector<double> bottoms =
          PagesFor(band.high - band.low, window.height()) == 1
              ? sheets::SheetBottoms(band, window.height(), kTemplateOverlapMm,
                                     sheets::Spread::Stepped)
              : sheets::SheetStarts(band.low + kBelowMm, band.high - kMarginMm, kBelowMm,
                                    kMarginMm, kLeastMarginMm, window.height(),
                                    kTemplateOverlapMm);
      printed += static_cast<long long>(bottoms.size());
      if (printed > kMaxTemplatePages) continue;  // only counted, for the message
      for (const double bottom : bottoms) {
        TemplatePage page{static_cast<int>(layout.pages.size()) + 2, column, ++level,
                          QRectF(left, bottom, window.width(), window.height())};
        page.referenceMm = ReferenceLine(layout, page.window);
        layout.pages.push_back(page);
      }
    }
  }
  if (printed > kMaxTemplatePages) {
    throw output::OutputError("This horn would need " + std::to_string(printed) +
                              " pages at full size; a template has at most 500.");
  }
  qreal top = 0.0;
  qreal bottom = 0.0;
  qreal right = lengthMm;
  for (const TemplatePage& page : layout.pages) {
    top = std::max(top, page.window.bottom());
    bottom = std::min(bottom, page.window.top());
    right = std::max(right, page.window.right());
  }
  layout.extent = QRectF(-kMarginMm, bottom, right + kMarginMm, top - bottom);
  return layout;
}

TemplatePageDrawing DrawTemplatePage(const report::HornProfile& profile,
                                     const TemplateLayout& layout, int pageIndex,
                                     qreal unitsPerMm, const geometry::Separators& separators) {
  const TemplatePage& page = layout.pages.at(static_cast<std::size_t>(pageIndex));
  const qreal u = unitsPerMm;
  const qreal scale = MillimetresPerUnit(profile);
  const qreal lengthMm = ProfileExtent(profile).width() * scale;
  const PageMapping map(layout, page, u);
  TemplatePageDrawing drawing;
  const QRectF& area = layout.drawingArea;
  drawing.drawingFrame = QRectF(area.left() * u, area.top() * u, area.width() * u, area.height() * u);

  // Labels keep off the cut lines (walls, throat and end lines, axis), the
  // reference line and each other.
  LabelPlacer placer(drawing.drawingFrame);
  const QRectF& w = page.window;
  for (const ProfileCurve& curve : layout.curves) {
    drawing.curves.push_back({PagePart(curve.points, w, map), curve.layer == "SIDES_2A_2B"});
    placer.AddPolyline(drawing.curves.back().points);
    // The throat and the end, from the axis to the wall.
    for (const QPointF& end : {curve.points.front(), curve.points.back()}) {
      drawing.guides.push_back(map.Line(end.x(), 0.0, end.x(), end.y()));
      placer.AddLine(drawing.guides.back());
    }
  }
  if (w.top() <= 0.0 && w.bottom() >= 0.0) {
    drawing.axis = map.Line(0.0, 0.0, lengthMm, 0.0);
    placer.AddLine(drawing.axis);
  }
  const qreal ref = page.referenceMm;
  drawing.reference = map.Line(w.left(), ref, w.right(), ref);
  placer.AddLine(drawing.reference);
  AddJoins(drawing, layout, pageIndex, map, placer, u);

  // Inside the horn, above the reference line: the throat after its line, the
  // end before its line, as near the line as the other lines leave room.
  std::vector<qreal> heights{5.0, 3.0, 1.0};
  for (qreal dy = 7.0; dy <= 60.0; dy += 2.0) heights.push_back(dy);
  const auto endLabel = [&](const QString& text, qreal x, qreal direction, int align) {
    std::vector<QPointF> anchors;
    for (qreal dx = 0.8; dx <= 40.0; dx += 3.0)
      for (const qreal dy : heights) anchors.push_back(map(x + direction * dx, ref + dy));
    PlaceLabel(drawing, placer, text, 7.0, false, align | Qt::AlignBottom, anchors, u);
  };
  const bool cut = profile.points.back().distance < profile.length;
  endLabel(QStringLiteral("throat"), 0.0, 1.0, Qt::AlignLeft);
  endLabel(cut ? QStringLiteral("cut") : QStringLiteral("mouth"), lengthMm, -1.0, Qt::AlignRight);

  std::vector<QPointF> captionAnchors;
  for (qreal dx = kTemplateOverlapMm + 2.0; dx < w.width(); dx += 5.0)
    for (const qreal dy : {0.6, 4.0, 7.5}) captionAnchors.push_back(map(w.left() + dx, ref + dy));
  PlaceLabel(drawing, placer,
             QStringLiteral("reference line, ") +
                 Size(static_cast<long double>(ref / scale), profile, separators) +
                 QStringLiteral(" from the axis"),
             6.5, false, Qt::AlignLeft | Qt::AlignBottom, captionAnchors, u);
  AddDistanceTicks(drawing, profile, lengthMm, page, map, placer, u, separators);
  AddStations(drawing, profile, layout, page, map, placer, u, separators);

  AddRulerAndTitle(drawing, profile, layout,
                   QStringLiteral("page %1 of %2").arg(page.number).arg(layout.PrintedPages()),
                   QStringLiteral("column %1, %2 sheet from the axis; the map is on page 1")
                       .arg(page.column)
                       .arg(Ordinal(page.level)),
                   u, separators);
  const QRectF& f = layout.footer;
  drawing.texts.push_back({QRectF((f.left() + 2.0) * u, (f.top() + kTitleMm + 0.8) * u,
                                  (f.width() - 4.0) * u, (kFooterMm - kTitleMm - 0.8) * u),
                           CheckLines(profile, layout, page, separators).join('\n'), 7.0, false,
                           Qt::AlignLeft | Qt::AlignTop});
  return drawing;
}

TemplatePageDrawing DrawTemplateMap(const report::HornProfile& profile,
                                    const TemplateLayout& layout, qreal unitsPerMm,
                                    const geometry::Separators& separators) {
  const qreal u = unitsPerMm;
  const qreal scale = MillimetresPerUnit(profile);
  const qreal lengthMm = ProfileExtent(profile).width() * scale;
  TemplatePageDrawing drawing;
  const QRectF& area = layout.drawingArea;
  drawing.drawingFrame = QRectF(area.left() * u, area.top() * u, area.width() * u, area.height() * u);

  QStringList lines;
  lines << QStringLiteral("Assembly map: %1 sheets in %2 columns; page 2 is at the throat.")
               .arg(layout.pages.size())
               .arg(layout.columns);
  lines << QStringLiteral(
      "Check each sheet by its ruler and its numbers, then cut off the part below its frame; trim "
      "its left and top edges along the frame and lay them over the sheets named there, crosses "
      "on crosses.");
  lines << QStringLiteral(
      "Each sheet's reference line is parallel to the axis at the distance printed on it; the "
      "numbers on it are distances from the throat. Its check values lie on the true curve: a "
      "height at exactly the distance stated, or a distance at exactly the height stated.");
  for (const ProfileCurve& curve : layout.curves) {
    if (!curve.straight) continue;
    const QPointF& a = curve.points.front();
    const QPointF& b = curve.points.back();
    const auto size = [&](qreal mm) {
      return Size(static_cast<long double>(mm / scale), profile, separators);
    };
    lines << QString::fromStdString(curve.label) +
                 QStringLiteral(" are flat: a straight line from ") + size(a.y()) +
                 QStringLiteral(" from the axis at the throat to ") + size(b.y()) +
                 QStringLiteral(" at ") + size(b.x()) +
                 QStringLiteral(" from the throat, drawn only on the curves' sheets.");
  }
  const QRectF& e = layout.extent;
  const auto fit = [&e](const QRectF& room) {
    return sheets::FitMap({e.left(), e.top(), e.width(), e.height()},
                          {room.left(), room.top(), room.width(), room.height()});
  };
  // A map too small to read the numbers on is followed by the columns in words.
  // About 1.6 mm a character at 7 points, 3.4 mm a line.
  const auto linesMm = [&area](const QString& text) {
    return 3.4 * std::max(1.0, std::ceil(text.size() * 1.6 / (area.width() - 4.0)));
  };
  qreal textMm = 2.0;
  for (const QString& line : lines) textMm += linesMm(line);
  const qreal smallest = std::min(layout.drawingArea.height(), layout.drawingArea.width() / 2.0) *
                         fit(area.adjusted(4.0, textMm + 4.0, -4.0, -4.0)).scale * 0.35;
  if (smallest < 1.6) {
    QString columns = QStringLiteral("Sheets by column from the throat: ");
    for (std::size_t i = 0; i < layout.pages.size();) {
      std::size_t j = i;
      while (j + 1 < layout.pages.size() && layout.pages[j + 1].column == layout.pages[i].column) ++j;
      columns += QStringLiteral("%1: %2").arg(layout.pages[i].column).arg(layout.pages[i].number);
      if (j > i) columns += QStringLiteral("-%1").arg(layout.pages[j].number);
      columns += j + 1 < layout.pages.size() ? QStringLiteral("; ") : QStringLiteral(".");
      i = j + 1;
    }
    lines << columns;
    textMm += linesMm(columns);
  }
  drawing.labels.push_back({QRectF((area.left() + 2.0) * u, (area.top() + 1.5) * u,
                                   (area.width() - 4.0) * u, textMm * u),
                            lines.join('\n'), 7.0, false,
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap});

  // The sheets' windows and the axis, scaled to fit below the text.
  const sheets::MapFit map = fit(area.adjusted(4.0, textMm + 4.0, -4.0, -4.0));
  const auto at = [&](qreal x, qreal y) { return QPointF(map.X(x) * u, map.Y(y) * u); };
  for (const TemplatePage& page : layout.pages) {
    const QRectF& w = page.window;
    const QPointF a = at(w.left(), w.bottom());
    const QPointF b = at(w.right(), w.top());
    drawing.guides.push_back({a, QPointF(b.x(), a.y())});
    drawing.guides.push_back({QPointF(b.x(), a.y()), b});
    drawing.guides.push_back({b, QPointF(a.x(), b.y())});
    drawing.guides.push_back({QPointF(a.x(), b.y()), a});
    drawing.labels.push_back({QRectF(a, b), QString::number(page.number),
                              sheets::FrameNumberPoints(w.width(), w.height(), map.scale), false,
                              Qt::AlignCenter});
  }
  for (const ProfileCurve& curve : layout.curves) {
    QPolygonF line;
    for (const QPointF& point : curve.points) line << at(point.x(), point.y());
    drawing.curves.push_back({line, curve.layer == "SIDES_2A_2B"});
  }
  drawing.axis = QLineF(at(0.0, 0.0), at(lengthMm, 0.0));
  AddRulerAndTitle(drawing, profile, layout,
                   QStringLiteral("page 1 of %1").arg(layout.PrintedPages()),
                   QStringLiteral("assembly map; %1 sheets follow, page 2 at the throat")
                       .arg(layout.pages.size()),
                   u, separators);
  return drawing;
}

TemplateOrientation FewerTemplatePages(const report::HornProfile& profile,
                                       const QPageSize& pageSize, const QMarginsF& marginsMm) {
  const QSizeF paper = pageSize.size(QPageSize::Millimeter);
  const qreal across = marginsMm.left() + marginsMm.right();
  const qreal down = marginsMm.top() + marginsMm.bottom();
  std::optional<int> portrait;
  std::optional<int> landscape;
  std::string refusal;
  try {
    portrait = LayoutTemplate(profile, QSizeF(paper.width() - across, paper.height() - down))
                   .PrintedPages();
  } catch (const output::OutputError& e) {
    refusal = e.what();
  }
  try {
    landscape = LayoutTemplate(profile, QSizeF(paper.height() - across, paper.width() - down))
                    .PrintedPages();
  } catch (const output::OutputError&) {
  }
  if (landscape && (!portrait || *landscape < *portrait))
    return {QPageLayout::Landscape, *landscape};
  if (!portrait) throw output::OutputError(refusal);
  return {QPageLayout::Portrait, *portrait};
}

int PrintFullSizeTemplate(const report::HornProfile& profile, QPagedPaintDevice& device,
                          const geometry::Separators& separators) {
  if (profile.points.empty()) throw output::OutputError("There is no profile to print.");
  const qreal unitsPerMm = device.logicalDpiX() / 25.4;
  const TemplateLayout layout = LayoutTemplate(
      profile, QSizeF(device.width() / unitsPerMm, device.height() / unitsPerMm));
  QPainter painter;
  if (!painter.begin(&device)) throw output::OutputError("Cannot print the template: the printer refused.");
  painter.setRenderHint(QPainter::Antialiasing);
  Paint(painter, DrawTemplateMap(profile, layout, unitsPerMm, separators), unitsPerMm);
  for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
    if (!device.newPage())
      throw output::OutputError("Cannot print the template: the printer refused a new page.");
    Paint(painter, DrawTemplatePage(profile, layout, i, unitsPerMm, separators), unitsPerMm);
  }
  if (!painter.end()) throw output::OutputError("Cannot print the template: the printer failed.");
  return layout.PrintedPages();
}

int WriteTemplatePdf(const report::HornProfile& profile, const std::string& path,
                     const QPageSize& pageSize, const geometry::Separators& separators) {
  output::OutputFile file(path);
  const int count = WriteTemplatePdf(profile, file, pageSize, separators);
  file.Commit();
  return count;
}

int WriteTemplatePdf(const report::HornProfile& profile, output::ByteSink& file,
                     const QPageSize& pageSize, const geometry::Separators& separators) {
  const QMarginsF margins = TemplateMargins();
  const QPageLayout::Orientation orientation =
      FewerTemplatePages(profile, pageSize, margins).orientation;

  // Streamed page by page into the writer, so that a large template needs no
  // more memory than one page.
  SinkDevice device(file);
  device.open(QIODevice::WriteOnly);
  int count = 0;
  {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Vortalis"));
    writer.setTitle(QStringLiteral("Full-size tractrix horn template"));
    writer.setPageLayout(QPageLayout(pageSize, orientation, margins, QPageLayout::Millimeter));
    count = PrintFullSizeTemplate(profile, writer, separators);
  }
  device.close();
  device.ThrowIfFailed();
  return count;
}

int WriteTemplatePdf(const report::HornProfile& profile, const QString& path,
                     const QPageSize& pageSize, const geometry::Separators& separators) {
  return WriteTemplatePdf(profile, QFile::encodeName(path).toStdString(), pageSize, separators);
}

}  // namespace vortalis::exports
