#include "export/full_size_template.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <string>

#include "export/profile_curves.h"
#include "export/sink_device.h"
#include "output/output_error.h"
#include "output/output_file.h"
#include "geometry/constants.h"
#include "report/number_format.h"

namespace vortalis::exports {

namespace {

using geometry::LengthUnit;

constexpr qreal kMarginMm = 8.0;  // around the curve; the axis ticks' labels stand in it
constexpr qreal kFooterMm = 28.0;
constexpr qreal kFooterGapMm = 3.0;
constexpr qreal kMinPrintableWidthMm = 180.0;
constexpr qreal kMinPrintableHeightMm = 100.0;
constexpr qreal kCrossMm = 6.0;
constexpr qreal kPdfMarginMm = 10.0;

// Pages needed for `length` when each shows `window` of it and neighbours share the overlap.
int PagesFor(qreal length, qreal window) {
  if (length <= window) return 1;
  // A hair over a whole number of pages is rounding, not another page.
  return static_cast<int>(std::ceil((length - kTemplateOverlapMm) /
                                        (window - kTemplateOverlapMm) -
                                    1e-9));
}

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

// The curve's points on this page, with one more on each side so that the
// line runs to the page's edges.
QPolygonF PagePart(const std::vector<QPointF>& points, qreal scale, const QRectF& window,
                   const PageMapping& map) {
  QPolygonF part;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const qreal x = points[i].x() * scale;
    const bool before = i + 1 < points.size() && points[i + 1].x() * scale < window.left();
    const bool after = i > 0 && points[i - 1].x() * scale > window.right();
    if (before || after) continue;
    part << map(x, points[i].y() * scale);
  }
  return part;
}

void AddAxisTicks(TemplatePageDrawing& drawing, const report::HornProfile& profile,
                  qreal lengthMm, const TemplatePage& page, const PageMapping& map,
                  qreal unitsPerMm, const geometry::Separators& separators) {
  // mm: a tick every 10 mm, numbered every 100 mm; inch: every half inch, numbered every inch.
  const bool mm = Millimetres(profile);
  const qreal tickMm = mm ? 10.0 : 12.7;
  const int numberedEvery = mm ? 10 : 2;
  const qreal unitsPerNumber = mm ? 100.0 : 1.0;
  const int first = std::max(0, static_cast<int>(std::floor(page.window.left() / tickMm)));
  for (int i = first; i * tickMm <= std::min(lengthMm, page.window.right()); ++i) {
    const qreal x = i * tickMm;
    const bool numbered = i % numberedEvery == 0;
    drawing.guides.push_back(map.Line(x, 0.0, x, numbered ? -3.0 : -1.5));
    if (numbered && i > 0) {
      const QPointF at = map(x, -3.5);
      drawing.labels.push_back(
          {QRectF(at.x() - 10.0 * unitsPerMm, at.y(), 20.0 * unitsPerMm, 4.0 * unitsPerMm),
           Number(i / numberedEvery * unitsPerNumber, {8, 0}, separators), 6.0, false,
           Qt::AlignHCenter | Qt::AlignTop});
    }
  }
}

void AddOverlapMarks(TemplatePageDrawing& drawing, const TemplateLayout& layout,
                     const TemplatePage& page, const PageMapping& map) {
  const QRectF& w = page.window;
  const qreal o = kTemplateOverlapMm;
  const auto cross = [&](qreal x, qreal y) {
    const qreal h = kCrossMm / 2.0;
    drawing.crosses.push_back(map.Line(x - h, y, x + h, y));
    drawing.crosses.push_back(map.Line(x, y - h, x, y + h));
  };
  // Neighbours in a row share the window's y range, neighbours in a column its
  // x range, so both draw a cross at the same place of the drawing.
  const auto printed = [&layout](int row, int column) {
    return std::any_of(layout.pages.begin(), layout.pages.end(), [&](const TemplatePage& other) {
      return other.row == row && other.column == column;
    });
  };
  if (page.column < layout.columns && printed(page.row, page.column + 1)) {
    drawing.overlapEdges.push_back(map.Line(w.right() - o, w.top(), w.right() - o, w.bottom()));
    for (qreal f : {0.25, 0.75}) cross(w.right() - o / 2.0, w.top() + f * w.height());
  }
  if (page.column > 1 && printed(page.row, page.column - 1)) {
    drawing.overlapEdges.push_back(map.Line(w.left() + o, w.top(), w.left() + o, w.bottom()));
    for (qreal f : {0.25, 0.75}) cross(w.left() + o / 2.0, w.top() + f * w.height());
  }
  if (page.row < layout.rows && printed(page.row + 1, page.column)) {  // nearer the axis
    drawing.overlapEdges.push_back(map.Line(w.left(), w.top() + o, w.right(), w.top() + o));
    for (qreal f : {0.25, 0.75}) cross(w.left() + f * w.width(), w.top() + o / 2.0);
  }
  if (page.row > 1 && printed(page.row - 1, page.column)) {
    drawing.overlapEdges.push_back(map.Line(w.left(), w.bottom() - o, w.right(), w.bottom() - o));
    for (qreal f : {0.25, 0.75}) cross(w.left() + f * w.width(), w.bottom() - o / 2.0);
  }
}

void AddFooter(TemplatePageDrawing& drawing, const report::HornProfile& profile,
               const TemplateLayout& layout, int pageIndex, qreal u,
               const geometry::Separators& separators) {
  const TemplatePage& page = layout.pages[static_cast<std::size_t>(pageIndex)];
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
  drawing.texts.push_back(
      {QRectF(left * u, (f.top() + 15.0) * u, layout.rulerLengthMm * u, 6.0 * u),
       QStringLiteral("row %1, column %2").arg(page.row).arg(page.column), 11.0, true,
       Qt::AlignLeft | Qt::AlignTop});
  drawing.texts.push_back(
      {QRectF(left * u, (f.top() + 21.5) * u, layout.rulerLengthMm * u, 5.0 * u),
       QStringLiteral("page %1 of %2 (grid of %3 %4 by %5 %6)")
           .arg(pageIndex + 1)
           .arg(layout.pages.size())
           .arg(layout.rows)
           .arg(layout.rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
           .arg(layout.columns)
           .arg(layout.columns == 1 ? QStringLiteral("column") : QStringLiteral("columns")),
       7.0, false, Qt::AlignLeft | Qt::AlignTop});

  const qreal titleLeft = left + layout.rulerLengthMm + 6.0;
  drawing.titleFrame = QRectF(titleLeft * u, f.top() * u, (f.right() - titleLeft) * u, f.height() * u);
  const QRectF inside = drawing.titleFrame.adjusted(1.5 * u, 1.0 * u, -1.5 * u, -1.0 * u);
  drawing.texts.push_back({inside, TitleLines(profile, separators).join('\n'), 7.0, false,
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap});
}

void PaintTexts(QPainter& painter, const std::vector<TemplateText>& texts) {
  for (const TemplateText& text : texts) {
    QFont font = painter.font();
    font.setPointSizeF(text.pointSize);
    font.setBold(text.bold);
    painter.setFont(font);
    painter.drawText(text.box, text.flags, text.text);
  }
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

// Whether the polyline (x ascending, in mm) passes through the window.
bool Crosses(const std::vector<QPointF>& points, qreal scale, const QRectF& window) {
  const auto first = std::lower_bound(
      points.begin(), points.end(), window.left(),
      [scale](const QPointF& point, qreal x) { return point.x() * scale < x; });
  auto from = first == points.begin() ? first : first - 1;
  for (auto it = from; it != points.end(); ++it) {
    const QPointF a(it->x() * scale, it->y() * scale);
    if (window.contains(a)) return true;
    if (it + 1 == points.end()) break;
    const QPointF b((it + 1)->x() * scale, (it + 1)->y() * scale);
    if (a.x() > window.right()) break;
    const QLineF segment(a, b);
    const QLineF edges[] = {{window.topLeft(), window.topRight()},
                            {window.topRight(), window.bottomRight()},
                            {window.bottomRight(), window.bottomLeft()},
                            {window.bottomLeft(), window.topLeft()}};
    for (const QLineF& edge : edges) {
      if (segment.intersects(edge, nullptr) == QLineF::BoundedIntersection) return true;
    }
  }
  return false;
}

}  // namespace

TemplateLayout LayoutTemplate(const report::HornProfile& profile, const QSizeF& printableMm) {
  if (printableMm.width() < kMinPrintableWidthMm || printableMm.height() < kMinPrintableHeightMm) {
    throw output::OutputError(
        "The page is too small for a full-size template: it needs a printable area of at least "
        "180 x 100 mm.");
  }
  TemplateLayout layout;
  layout.printableMm = printableMm;
  layout.drawingArea =
      QRectF(0.0, 0.0, printableMm.width(), printableMm.height() - kFooterMm - kFooterGapMm);
  layout.footer = QRectF(0.0, printableMm.height() - kFooterMm, printableMm.width(), kFooterMm);
  layout.rulerLengthMm = Millimetres(profile) ? 100.0 : 4.0 * static_cast<qreal>(geometry::InchToMillimetre);

  const qreal scale = MillimetresPerUnit(profile);
  const QRectF drawn = ProfileExtent(profile);
  layout.extent = QRectF(-kMarginMm, -kMarginMm, drawn.width() * scale + 2.0 * kMarginMm,
                         drawn.height() * scale + 2.0 * kMarginMm);
  const QSizeF window = layout.drawingArea.size();
  const qreal columns = PagesFor(layout.extent.width(), window.width());
  const qreal rows = PagesFor(layout.extent.height(), window.height());
  // A grid this large is refused before its pages are looked at one by one.
  if (!(columns * rows <= 4 * kMaxTemplatePages)) {
    throw output::OutputError("This horn would need about " +
                      std::to_string(static_cast<long long>(columns * rows)) +
                      " pages at full size; a template has at most 500.");
  }
  layout.columns = static_cast<int>(columns);
  layout.rows = static_cast<int>(rows);
  const qreal stepX = window.width() - kTemplateOverlapMm;
  const qreal stepY = window.height() - kTemplateOverlapMm;
  const std::vector<ProfileCurve> curves = ProfileCurves(profile);
  // The bottom row starts at the margin below the axis; rows are counted from
  // the top. Pages that would show neither the axis nor a curve are left out.
  for (int row = 1; row <= layout.rows; ++row) {
    for (int column = 1; column <= layout.columns; ++column) {
      const QRectF shown(layout.extent.left() + (column - 1) * stepX,
                         layout.extent.top() + (layout.rows - row) * stepY, window.width(),
                         window.height());
      bool used = shown.top() <= 0.0 && 0.0 <= shown.bottom();
      for (const ProfileCurve& curve : curves) used = used || Crosses(curve.points, scale, shown);
      if (used) layout.pages.push_back({row, column, shown});
    }
  }
  if (layout.pages.size() > static_cast<std::size_t>(kMaxTemplatePages)) {
    throw output::OutputError("This horn would need " + std::to_string(layout.pages.size()) +
                      " pages at full size; a template has at most 500.");
  }
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

  const QRectF& w = page.window;
  for (const ProfileCurve& curve : ProfileCurves(profile)) {
    drawing.curves.push_back(
        {PagePart(curve.points, scale, w, map), curve.layer == "SIDES_2A_2B"});
    // The throat and the end, from the axis to the wall.
    for (const QPointF& end : {curve.points.front(), curve.points.back()})
      drawing.guides.push_back(map.Line(end.x() * scale, 0.0, end.x() * scale, end.y() * scale));
  }
  // Outside the horn, so that even a tweeter's labels stay apart: the throat
  // below the axis, the mouth beyond its line.
  const bool cut = profile.points.back().distance < profile.length;
  const QPointF throat = map(0.0, -0.8);
  const QPointF mouth = map(lengthMm, 1.0);
  drawing.labels.push_back({QRectF(throat.x() + 0.8 * u, throat.y(), 30.0 * u, 4.0 * u),
                            QStringLiteral("throat"), 7.0, false, Qt::AlignLeft | Qt::AlignTop});
  drawing.labels.push_back({QRectF(mouth.x() + 1.0 * u, mouth.y() - 4.0 * u, 30.0 * u, 4.0 * u),
                            cut ? QStringLiteral("cut") : QStringLiteral("mouth"), 7.0, false,
                            Qt::AlignLeft | Qt::AlignBottom});
  if (w.top() <= 0.0 && 0.0 <= w.bottom()) {
    drawing.axis = map.Line(std::max(w.left(), -kMarginMm), 0.0,
                            std::min(w.right(), lengthMm + kMarginMm), 0.0);
    AddAxisTicks(drawing, profile, lengthMm, page, map, u, separators);
  }
  AddOverlapMarks(drawing, layout, page, map);
  AddFooter(drawing, profile, layout, pageIndex, u, separators);
  return drawing;
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
  for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
    if (i > 0 && !device.newPage())
      throw output::OutputError("Cannot print the template: the printer refused a new page.");
    Paint(painter, DrawTemplatePage(profile, layout, i, unitsPerMm, separators), unitsPerMm);
  }
  if (!painter.end()) throw output::OutputError("Cannot print the template: the printer failed.");
  return static_cast<int>(layout.pages.size());
}

int WriteTemplatePdf(const report::HornProfile& profile, const std::string& path,
                     const QPageSize& pageSize, const geometry::Separators& separators) {
  // The orientation that needs fewer pages (portrait on a tie).
  const QSizeF paper = pageSize.size(QPageSize::Millimeter);
  const QSizeF portrait(paper.width() - 2.0 * kPdfMarginMm, paper.height() - 2.0 * kPdfMarginMm);
  const QSizeF landscape(portrait.height(), portrait.width());
  const auto pages = [&profile](const QSizeF& printable) -> std::size_t {
    try {
      return LayoutTemplate(profile, printable).pages.size();
    } catch (const output::OutputError&) {
      return SIZE_MAX;
    }
  };
  const QPageLayout::Orientation orientation =
      pages(landscape) < pages(portrait) ? QPageLayout::Landscape : QPageLayout::Portrait;

  // Streamed page by page into the writer, so that a large template needs no
  // more memory than one page.
  output::OutputFile file(path);
  SinkDevice device(file);
  device.open(QIODevice::WriteOnly);
  int count = 0;
  {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Vortalis"));
    writer.setTitle(QStringLiteral("Full-size tractrix horn template"));
    writer.setPageLayout(QPageLayout(pageSize, orientation,
                                     QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm,
                                               kPdfMarginMm),
                                     QPageLayout::Millimeter));
    count = PrintFullSizeTemplate(profile, writer, separators);
  }
  device.close();
  device.ThrowIfFailed();
  file.Commit();
  return count;
}

int WriteTemplatePdf(const report::HornProfile& profile, const QString& path,
                     const QPageSize& pageSize, const geometry::Separators& separators) {
  return WriteTemplatePdf(profile, QFile::encodeName(path).toStdString(), pageSize, separators);
}

}  // namespace vortalis::exports
