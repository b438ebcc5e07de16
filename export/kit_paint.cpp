#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "buildkit/kit_horn.h"
#include "output/output_error.h"
#include "export/kit_files.h"
#include "export/kit_layout.h"
#include "export/svg_file.h"
#include "geometry/constants.h"
#include "geometry/number_text.h"
#include "report/number_format.h"
#include "sheets/join_notes.h"
#include "sheets/map_fit.h"
#include "sheets/sheet_layout.h"

namespace vortalis::exports {

namespace {

using geometry::LengthUnit;

constexpr qreal kCutPenMm = 0.25;
constexpr qreal kMarkPenMm = 0.12;
constexpr qreal kSvgUnitsPerMm = 100.0;  // painted in hundredths, written in mm

qreal MmPer(LengthUnit unit) { return static_cast<qreal>(buildkit::MillimetresPer(unit)); }

QPolygonF CirclePolygon(const KitCircle& circle, const QPointF& offset, const KitMapping& map) {
  const qreal toleranceMm = static_cast<qreal>(buildkit::kCurveToleranceMm);
  const qreal r = circle.radius * map.mmPerUnit;
  const int n =
      r <= toleranceMm
          ? 8
          : std::max(8, static_cast<int>(std::ceil(M_PI / std::acos(1.0 - toleranceMm / r))));
  QPolygonF polygon;
  for (int i = 0; i <= n; ++i) {
    const qreal a = 2.0 * M_PI * i / n;
    polygon << map(ToQt(circle.centre) + offset +
                   QPointF(circle.radius * std::cos(a), circle.radius * std::sin(a)));
  }
  return polygon;
}

QPen Pen(qreal widthMm, qreal u, const QColor& colour = Qt::black) {
  return QPen(colour, widthMm * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void PaintRuler(QPainter& painter, qreal left, qreal y, LengthUnit unit, qreal u) {
  const bool mm = unit == LengthUnit::Millimetre;
  const qreal length = mm ? 100.0 : 4.0 * static_cast<qreal>(geometry::InchToMillimetre);
  const int ticks = mm ? 100 : 32;
  const int major = mm ? 10 : 8;
  const int middle = mm ? 5 : 4;
  painter.setPen(Pen(0.2, u));
  painter.drawLine(QPointF(left * u, y * u), QPointF((left + length) * u, y * u));
  for (int i = 0; i <= ticks; ++i) {
    const qreal height = i % major == 0 ? 4.0 : (i % middle == 0 ? 2.5 : 1.5);
    const qreal x = left + i * length / ticks;
    painter.drawLine(QPointF(x * u, y * u), QPointF(x * u, (y - height) * u));
  }
  QFont font = painter.font();
  font.setPointSizeF(7.0);
  font.setBold(false);
  painter.setFont(font);
  painter.drawText(QRectF(left * u, (y + 0.8) * u, length * u, 4.0 * u),
                   Qt::AlignHCenter | Qt::AlignTop,
                   mm ? QStringLiteral("Check: this ruler measures 100 mm at full size")
                      : QStringLiteral("Check: this ruler measures 4 inch at full size"));
}

void PaintLines(QPainter& painter, const QRectF& box, const QStringList& lines, qreal points,
                bool bold) {
  QFont font = painter.font();
  font.setPointSizeF(points);
  font.setBold(bold);
  painter.setFont(font);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join('\n'));
}

// The drawing's table, as many pages as it needs; returns the pages painted.
int PaintTable(QPainter& painter, QPagedPaintDevice& device, const KitTable& table,
               const QSizeF& printable, LengthUnit unit, qreal u,
               bool& first) {
  QStringList header;
  for (const std::string& caption : table.header) header << ToQt(caption);
  const qreal rowMm = 5.0;
  const qreal topMm = CuttingListTopMm(table);
  const int perPage = CuttingListRows(printable, table);
  const int count = static_cast<int>(table.rows.size());
  const int pages = (count + perPage - 1) / perPage;
  const qreal column = printable.width() / header.size();
  QStringList warnings;
  for (const std::string& warning : table.warnings) warnings << ToQt(warning);
  for (int page = 0; page < pages; ++page) {
    if (!first && !device.newPage())
      throw output::OutputError("Cannot print the kit: the printer refused a new page.");
    first = false;
    painter.setPen(Qt::black);
    PaintLines(painter, QRectF(0, 0, printable.width() * u, (topMm - 2.0 * rowMm) * u),
               QStringList{ToQt(table.title) + QStringLiteral(", page %1 of %2").arg(page + 1).arg(pages),
                ToQt(table.note)} +
                    warnings,
               10.0, false);
    QFont font = painter.font();
    font.setPointSizeF(8.5);
    font.setBold(true);
    painter.setFont(font);
    for (int c = 0; c < header.size(); ++c)
      painter.drawText(
          QRectF(c * column * u, (topMm - 2.0 * rowMm) * u, (column - 1.0) * u, 2.0 * rowMm * u),
          Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap, header[c]);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Pen(0.15, u));
    painter.drawLine(QPointF(0, topMm * u), QPointF(printable.width() * u, topMm * u));
    for (int i = page * perPage; i < std::min(count, (page + 1) * perPage); ++i) {
      QStringList cells;
      for (const std::string& cell : table.rows[static_cast<std::size_t>(i)]) cells << ToQt(cell);
      const qreal y = topMm + (i - page * perPage) * rowMm;
      for (int c = 0; c < cells.size(); ++c)
        painter.drawText(QRectF(c * column * u, y * u, (column - 1.0) * u, rowMm * u),
                         Qt::AlignRight | Qt::AlignVCenter, cells[c]);
    }
    PaintRuler(painter, 2.0, printable.height() - 8.0, unit, u);
  }
  return pages;
}

}  // namespace

void PaintText(QPainter& painter, const KitText& text, const QPointF& offset,
               const KitMapping& map) {
  QFont font = painter.font();
  // The text's height is its capitals': about 0.7 of the font's size.
  font.setPixelSize(
      std::max(1, static_cast<int>(std::lround(text.height * map.mmPerUnit / 0.7 * map.u))));
  font.setBold(false);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QPointF at = map(ToQt(text.at) + offset);
  const QPointF origin = FineOrigin(painter, at, map.u);
  painter.save();
  painter.translate(origin);
  painter.drawText(at - origin, ToQt(text.text));
  painter.restore();
}

void PaintPiece(QPainter& painter, const KitPiece& piece, const QPointF& offset,
                const KitMapping& map, bool texts) {
  // A preview's lines keep their width in pixels.
  const auto pen = [&](bool cut) {
    QPen result = cut ? Pen(kCutPenMm, map.u) : Pen(kMarkPenMm, map.u, Qt::darkGray);
    if (!texts) result.setWidthF(cut ? 1.5 : 1.0);
    return result;
  };
  painter.setBrush(Qt::NoBrush);
  for (const KitPath& path : piece.paths) {
    std::vector<QPointF> points;
    for (const buildkit::DrawPoint& p : path.points) points.push_back(map(ToQt(p) + offset));
    painter.setPen(pen(path.cut));
    DrawFinePolyline(painter, points, map.u, path.closed);
  }
  painter.setPen(pen(true));
  for (const KitCircle& circle : piece.circles) {
    const QPolygonF polygon = CirclePolygon(circle, offset, map);
    DrawFinePolyline(painter, std::vector<QPointF>(polygon.begin(), polygon.end()), map.u);
  }
  if (!texts) return;
  for (const KitText& text : piece.texts) PaintText(painter, text, offset, map);
}

QByteArray KitSvg(const FlatKit& kit) {
  const KitDrawing drawing = DrawKit(kit);
  const KitSheet sheet = LayOut(drawing);
  const QRectF extent = ToQt(sheet.extent);
  const qreal mmPer = MmPer(drawing.unit);
  const qreal margin = 5.0;
  const QRectF extentMm(extent.left() * mmPer - margin, extent.top() * mmPer - margin,
                        extent.width() * mmPer + 2 * margin, extent.height() * mmPer + 2 * margin);
  return MillimetreSvg(QRectF(0.0, 0.0, extentMm.width(), extentMm.height()), ToQt(drawing.title),
                       [&](QPainter& painter) {
    painter.scale(1.0 / kSvgUnitsPerMm, 1.0 / kSvgUnitsPerMm);
    const KitMapping map{mmPer, extentMm.left(), extentMm.bottom(), kSvgUnitsPerMm};
    for (const KitText& note : sheet.notes) PaintText(painter, note, QPointF(), map);
    for (std::size_t i = 0; i < drawing.pieces.size(); ++i)
      PaintPiece(painter, drawing.pieces[i], ToQt(sheet.offsets[i]), map);
  });
}

namespace {

// The drawing's notes on one line.
QString NotesLine(const KitDrawing& drawing) {
  QStringList notes;
  for (const std::string& note : drawing.notes) notes << ToQt(note);
  return notes.join(QLatin1Char(' '));
}

QString Value(qreal mm, qreal mmPer, LengthUnit unit) {
  return QString::fromStdString(report::FormatNumber(static_cast<long double>(mm / mmPer),
                                                     report::SizeFormat(unit), {".", ""}));
}

// What a piece's x and y are.
QString Axes(const FlatKit& kit) {
  return std::visit([](const auto& each) { return QString::fromLatin1(each.kAxes); }, kit);
}

std::size_t MapOf(const KitPrintLayout& layout, std::size_t index) {
  while (index > 0 && layout.pages[index].kind != KitPrintPage::Kind::Map) --index;
  return index;
}

// The sheets of the same piece that share a strip of at least 1 mm with the
// page at `index`, as indices of the layout's pages, and their notes.
struct Joins {
  sheets::Neighbours neighbours;
  sheets::JoinNotes notes;
};

Joins JoinsOf(const KitPrintLayout& layout, std::size_t index) {
  const KitPrintPage& page = layout.pages[index];
  std::vector<std::size_t> pages;
  std::vector<sheets::Placed> placed;
  std::vector<int> numbers;
  std::size_t self = 0;
  for (std::size_t j = 0; j < layout.pages.size(); ++j) {
    const KitPrintPage& other = layout.pages[j];
    if (j != index && (other.kind != KitPrintPage::Kind::Sheet || other.piece != page.piece))
      continue;
    if (j == index) self = placed.size();
    pages.push_back(j);
    placed.push_back({other.column, other.window.top(), other.window.left(), other.window.top(),
                      other.window.width(), other.window.height()});
    numbers.push_back(layout.PageNumber(j));
  }
  Joins joins{sheets::NeighboursOf(placed, self, 1.0), {}};
  joins.notes = sheets::JoinNotesOf(joins.neighbours, numbers, sheets::ListStyle::Listed);
  for (auto* side : {&joins.neighbours.left, &joins.neighbours.right, &joins.neighbours.below,
                     &joins.neighbours.above})
    for (std::size_t& j : *side) j = pages[j];
  return joins;
}

// Where the cut lines cross the line x = at (across: y = at) within the
// window, highest (rightmost) first.
QString CrossingsAt(const KitEdges& edges, qreal at, bool across, const QRectF& window,
                    qreal mmPer, LengthUnit unit) {
  const auto swap = [across](const QPointF& p) { return across ? QPointF(p.y(), p.x()) : p; };
  const QRectF range = across ? QRectF(window.top(), window.left(), window.height(), window.width())
                              : window;
  std::vector<qreal> found;
  for (const auto* lines : {&edges.curves, &edges.straight}) {
    for (const QLineF& line : *lines) {
      const QLineF s(swap(line.p1()), swap(line.p2()));
      const qreal x0 = std::min(s.x1(), s.x2());
      const qreal x1 = std::max(s.x1(), s.x2());
      if (at < x0 || at > x1 || x0 == x1) continue;
      const qreal v = s.y1() + (at - s.x1()) / s.dx() * s.dy();
      if (v < range.top() || v > range.bottom()) continue;
      // A vertex shared by two segments is one crossing.
      if (std::none_of(found.begin(), found.end(), [v](qreal f) { return std::abs(f - v) < 1e-6; }))
        found.push_back(v);
    }
  }
  std::sort(found.begin(), found.end(), std::greater<>());
  QStringList texts;
  for (qreal v : found) texts << Value(v, mmPer, unit);
  return QStringLiteral("at %1 = %2: ").arg(across ? QStringLiteral("y") : QStringLiteral("x"),
                                             Value(at, mmPer, unit)) +
         (texts.isEmpty() ? QStringLiteral("none")
                          : (across ? QStringLiteral("x = ") : QStringLiteral("y = ")) +
                                texts.join(", "));
}

// Grid lines at whole multiples of 50 mm (2 inch), labelled at the frame's left and bottom edges.
void PaintGrid(QPainter& painter, const QRectF& window, const QRectF& area, qreal mmPer,
               LengthUnit unit, qreal u) {
  const qreal stepMm = unit == LengthUnit::Millimetre ? 50.0 : 2.0 * mmPer;
  const auto x = [&](qreal mm) { return (area.left() + mm - window.left()) * u; };
  const auto y = [&](qreal mm) { return (area.top() + window.bottom() - mm) * u; };
  QFont font = painter.font();
  font.setPointSizeF(6.0);
  font.setBold(false);
  painter.setFont(font);
  const QString unitName = QString::fromLatin1(geometry::UnitName(unit));
  for (qreal g = std::ceil(window.left() / stepMm) * stepMm; g <= window.right(); g += stepMm) {
    painter.setPen(Pen(0.1, u, QColor(170, 170, 170)));
    painter.drawLine(QPointF(x(g), area.top() * u), QPointF(x(g), area.bottom() * u));
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF(x(g) + 0.6 * u, (area.bottom() - 4.0) * u, 30.0 * u, 3.5 * u),
                     Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("x %1").arg(Value(g, mmPer, unit)));
  }
  for (qreal g = std::ceil(window.top() / stepMm) * stepMm; g <= window.bottom(); g += stepMm) {
    painter.setPen(Pen(0.1, u, QColor(170, 170, 170)));
    painter.drawLine(QPointF(area.left() * u, y(g)), QPointF(area.right() * u, y(g)));
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF((area.left() + 0.6) * u, y(g) - 3.6 * u, 40.0 * u, 3.5 * u),
                     Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("y %1 %2").arg(Value(g, mmPer, unit), unitName));
  }
}

void PaintJoins(QPainter& painter, const KitPrintLayout& layout, std::size_t index, qreal u) {
  const KitPrintPage& page = layout.pages[index];
  const QRectF& w = page.window;
  const QRectF& area = layout.area;
  const auto at = [&](qreal x, qreal y) {
    return QPointF((area.left() + x - w.left()) * u, (area.top() + w.bottom() - y) * u);
  };
  const Joins joins = JoinsOf(layout, index);
  const sheets::Neighbours& n = joins.neighbours;
  QPen dashed = Pen(0.15, u, QColor(0, 90, 200));
  dashed.setStyle(Qt::DashLine);
  painter.setPen(dashed);
  for (std::size_t j : n.left) {
    const QRectF c = w.intersected(layout.pages[j].window);
    painter.drawLine(at(c.right(), c.top()), at(c.right(), c.bottom()));
  }
  for (std::size_t j : n.right) {
    const QRectF c = w.intersected(layout.pages[j].window);
    painter.drawLine(at(c.left(), c.top()), at(c.left(), c.bottom()));
  }
  for (std::size_t j : n.below) {
    const QRectF c = w.intersected(layout.pages[j].window);
    painter.drawLine(at(c.left(), c.bottom()), at(c.right(), c.bottom()));
  }
  for (std::size_t j : n.above) {
    const QRectF c = w.intersected(layout.pages[j].window);
    painter.drawLine(at(c.left(), c.top()), at(c.right(), c.top()));
  }
  QFont font = painter.font();
  font.setPointSizeF(6.5);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(0, 60, 160));
  const auto note = [&](const QRectF& mm, const QString& text, int flags) {
    painter.drawText(QRectF(mm.left() * u, mm.top() * u, mm.width() * u, mm.height() * u), flags,
                     text);
  };
  // The side notes stand where no cut line meets that edge: near its top or its bottom.
  const KitEdges& edges = layout.edges[page.piece];
  const auto freeAt = [&](qreal x) {
    const qreal high = area.top() + 0.2 * area.height();
    const qreal low = area.bottom() - 0.2 * area.height();
    qreal nearHigh = 1e9;
    qreal nearLow = 1e9;
    for (const auto* lines : {&edges.curves, &edges.straight}) {
      for (const QLineF& s : *lines) {
        if (x < std::min(s.x1(), s.x2()) || x > std::max(s.x1(), s.x2()) || s.dx() == 0.0)
          continue;
        const qreal y = area.top() + w.bottom() - (s.y1() + (x - s.x1()) / s.dx() * s.dy());
        nearHigh = std::min(nearHigh, std::abs(y - high));
        nearLow = std::min(nearLow, std::abs(y - low));
      }
    }
    return (nearHigh >= nearLow ? high : low) - 4.0;
  };
  const sheets::JoinNotes& notes = joins.notes;
  if (!notes.left.empty())
    note(QRectF(area.left() + 1.0, freeAt(w.left() + 20.0), 45.0, 8.0),
         QString::fromStdString(notes.left), Qt::AlignLeft | Qt::AlignVCenter);
  if (!notes.right.empty())
    note(QRectF(area.right() - 46.0, freeAt(w.right() - 20.0), 45.0, 8.0),
         QString::fromStdString(notes.right), Qt::AlignRight | Qt::AlignVCenter);
  if (!notes.above.empty())
    note(QRectF(area.center().x() - 60.0, area.top() + 0.8, 120.0, 4.0),
         QString::fromStdString(notes.above), Qt::AlignHCenter | Qt::AlignTop);
  if (!notes.below.empty())
    note(QRectF(area.center().x() - 60.0, area.bottom() - 8.8, 120.0, 4.0),
         QString::fromStdString(notes.below), Qt::AlignHCenter | Qt::AlignBottom);
}

// A table of the straight edges' points: each run's points in order, to be
// joined with a straightedge.
void PaintPoints(QPainter& painter, const FlatKit& kit, const KitDrawing& drawing,
                 const KitPrintLayout& layout, const KitPrintPage& page, qreal u) {
  const qreal mmPer = MmPer(drawing.unit);
  const QRectF& area = layout.area;
  const PointTable table = PointTableOf(area);
  struct Row {
    int run;
    QPointF at;
  };
  std::vector<Row> rows;
  const std::vector<std::vector<QPointF>> runs = StraightRuns(layout.edges[page.piece]);
  for (std::size_t r = 0; r < runs.size(); ++r)
    for (const QPointF& p : runs[r]) rows.push_back({static_cast<int>(r) + 1, p});
  QFont font = painter.font();
  font.setPointSizeF(7.5);
  font.setBold(false);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRectF((area.left() + 2.0) * u, (area.top() + 1.5) * u,
                          (area.width() - 4.0) * u, 8.0 * u),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("Straight edges, table %1 of %2: join the points of each run "
                                  "in order with a straightedge; coordinates in %3: %4.")
                       .arg(page.sheet)
                       .arg(page.sheets)
                       .arg(QString::fromLatin1(geometry::UnitName(drawing.unit)), Axes(kit)));
  const qreal width = area.width() / table.columns;
  const qreal cellWidths[] = {14.0, 22.0, 22.0};
  font.setBold(true);
  painter.setFont(font);
  const int shown =
      std::min(table.PerPage(), static_cast<int>(rows.size()) - page.firstRow);
  for (int c = 0; c < std::min(table.columns, (shown + table.rows - 1) / table.rows); ++c) {
    const qreal left = area.left() + c * width + 1.0 + cellWidths[0];
    const qreal top = area.top() + 12.0 - 4.6;
    painter.drawText(QRectF(left * u, top * u, (cellWidths[1] - 1.0) * u, 4.2 * u),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("x"));
    painter.drawText(QRectF((left + cellWidths[1]) * u, top * u, (cellWidths[2] - 1.0) * u,
                            4.2 * u),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("y"));
  }
  font.setBold(false);
  painter.setFont(font);
  for (int i = 0; i < table.PerPage(); ++i) {
    const std::size_t k = static_cast<std::size_t>(page.firstRow + i);
    if (k >= rows.size()) break;
    const qreal left = area.left() + (i / table.rows) * width;
    const qreal top = area.top() + 12.0 + (i % table.rows) * 4.2;
    const bool first = k == 0 || rows[k - 1].run != rows[k].run;
    const QStringList cells{first ? QStringLiteral("run %1").arg(rows[k].run) : QString(),
                            Value(rows[k].at.x(), mmPer, drawing.unit),
                            Value(rows[k].at.y(), mmPer, drawing.unit)};
    qreal x = left + 1.0;
    for (int c = 0; c < cells.size(); ++c) {
      painter.drawText(QRectF(x * u, top * u, (cellWidths[c] - 1.0) * u, 4.2 * u),
                       (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[c]);
      x += cellWidths[c];
    }
  }
}

// The assembly map of a piece printed on sheets: what to do, the straight
// edges by their ends, and the piece's cut lines through its numbered sheets.
void PaintMap(QPainter& painter, const FlatKit& kit, const KitDrawing& drawing,
              const KitPrintLayout& layout, std::size_t index, qreal u) {
  const KitPrintPage& map = layout.pages[index];
  const KitPiece& piece = drawing.pieces[map.piece];
  const KitEdges& edges = layout.edges[map.piece];
  const qreal mmPer = MmPer(drawing.unit);
  const QString unit = QString::fromLatin1(geometry::UnitName(drawing.unit));
  const auto point = [&](const QPointF& p) {
    return QStringLiteral("(%1, %2)").arg(Value(p.x(), mmPer, drawing.unit),
                                          Value(p.y(), mmPer, drawing.unit));
  };
  QStringList lines;
  if (map.sheets > 0)
    lines << QStringLiteral(
                 "%1 sheets at full size on pages %2 to %3, numbered from the throat end, each "
                 "overlapping its neighbours by %4 mm. Trim each sheet's left and top edges "
                 "along its frame and glue them over the sheets named there, the grid lines "
                 "on each other. Check each sheet by its ruler, its grid and the cut lines' "
                 "positions printed at its top.")
                 .arg(map.sheets)
                 .arg(layout.PageNumber(index + 1))
                 .arg(layout.PageNumber(index + static_cast<std::size_t>(map.sheets)))
                 .arg(kKitOverlapMm);
  else
    lines << QStringLiteral(
        "Every edge of this piece is straight, so it has no sheets: mark its corners from "
        "the numbers below and join them with a straightedge.");
  for (const KitText& text : piece.texts)
    if (!buildkit::drawing::OnPiece(text)) lines << ToQt(text.text);
  lines << QStringLiteral("Coordinates in %1: %2.").arg(unit, Axes(kit));
  const std::vector<std::vector<QPointF>> runs = StraightRuns(edges);
  const std::size_t firstTable = index + 1 + static_cast<std::size_t>(map.sheets);
  if (map.tables > 0) {
    lines << QStringLiteral("Straight edges, drawn with a straightedge from point to point (on the "
                            "sheets only where they pass the curves): %1 runs of points listed on "
                            "pages %2 to %3.")
                 .arg(runs.size())
                 .arg(layout.PageNumber(firstTable))
                 .arg(layout.PageNumber(firstTable + static_cast<std::size_t>(map.tables) - 1));
  } else if (!runs.empty()) {
    QStringList straight;
    for (const std::vector<QPointF>& run : runs) {
      QStringList points;
      for (const QPointF& p : run) points << point(p);
      straight << (run.size() == 2 ? QStringLiteral("from %1 to %2").arg(points[0], points[1])
                                   : QStringLiteral("through ") + points.join(QStringLiteral(", ")));
    }
    lines << QStringLiteral("Straight edges, drawn with a straightedge from point to point (on "
                            "the sheets only where they pass the curves): ") +
                 straight.join(QStringLiteral("; ")) + QStringLiteral(".");
  }
  const QRectF& area = layout.area;
  QFont font = painter.font();
  font.setPointSizeF(7.5);
  font.setBold(false);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QRectF textBox((area.left() + 2.0) * u, (area.top() + 1.5) * u, (area.width() - 4.0) * u,
                       area.height() * u);
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  const QRectF used = painter.boundingRect(textBox, flags, lines.join('\n'));
  painter.drawText(textBox, flags, lines.join('\n'));

  QRectF e = map.window;
  for (std::size_t j = index + 1; j <= index + static_cast<std::size_t>(map.sheets); ++j)
    e = e.united(layout.pages[j].window);
  const QRectF room = QRectF(area.left() + 4.0, used.bottom() / u + 4.0, area.width() - 8.0,
                             area.bottom() - used.bottom() / u - 8.0);
  if (room.height() < 20.0) return;
  const sheets::MapFit fit =
      sheets::FitMap({e.left(), e.top(), e.width(), e.height()},
                     {room.left(), room.top(), room.width(), room.height()});
  const auto at = [&](const QPointF& p) { return QPointF(fit.X(p.x()) * u, fit.Y(p.y()) * u); };
  for (std::size_t j = index + 1; j <= index + static_cast<std::size_t>(map.sheets); ++j) {
    const QRectF& w = layout.pages[j].window;
    const QRectF frame = QRectF(at(w.topLeft()), at(w.bottomRight())).normalized();
    painter.setPen(Pen(0.15, u, QColor(0, 90, 200)));
    painter.drawRect(frame);
    font.setPointSizeF(sheets::FrameNumberPoints(w.width(), w.height(), fit.scale));
    painter.setFont(font);
    painter.setPen(QColor(0, 60, 160));
    painter.drawText(frame, Qt::AlignCenter, QString::number(layout.PageNumber(j)));
  }
  painter.setPen(Pen(0.3, u));
  for (const auto* cuts : {&edges.curves, &edges.straight})
    for (const QLineF& line : *cuts) painter.drawLine(at(line.p1()), at(line.p2()));
}

}  // namespace

KitOrientation FewerKitPages(const FlatKit& kit, const QPageSize& pageSize,
                             const QMarginsF& marginsMm) {
  const KitDrawing drawing = DrawKit(kit);
  const QSizeF paper = pageSize.size(QPageSize::Millimeter);
  const qreal across = marginsMm.left() + marginsMm.right();
  const qreal down = marginsMm.top() + marginsMm.bottom();
  std::optional<int> portrait;
  std::optional<int> landscape;
  std::string refusal;
  const auto cost = [](const KitPrintLayout& layout) { return layout.Total(); };
  try {
    portrait = cost(
        LayOutKitPages(drawing, QSizeF(paper.width() - across, paper.height() - down)));
  } catch (const output::OutputError& e) {
    refusal = e.what();
  }
  try {
    landscape = cost(
        LayOutKitPages(drawing, QSizeF(paper.height() - across, paper.width() - down)));
  } catch (const output::OutputError&) {
  }
  if (landscape && (!portrait || *landscape < *portrait))
    return {QPageLayout::Landscape, *landscape};
  if (!portrait) throw output::OutputError(refusal);
  return {QPageLayout::Portrait, *portrait};
}

int PrintKit(const FlatKit& kit, QPagedPaintDevice& device) {
  const KitDrawing drawing = DrawKit(kit);
  const qreal u = device.logicalDpiX() / 25.4;
  // The page layout's own millimetres: the device's whole pixels would make
  // the area a hair smaller than the one FewerKitPages counted pages for.
  const QSizeF printable = device.pageLayout().paintRect(QPageLayout::Millimeter).size();
  const KitPrintLayout layout = LayOutKitPages(drawing, printable);
  const qreal mmPer = MmPer(drawing.unit);
  const QRectF& area = layout.area;
  const int total = layout.Total();

  QPainter painter;
  if (!painter.begin(&device))
    throw output::OutputError("Cannot print the kit: the printer refused.");
  painter.setRenderHint(QPainter::Antialiasing);
  bool first = true;
  if (drawing.table)
    PaintTable(painter, device, *drawing.table, printable, drawing.unit, u,
               first);
  for (std::size_t index = 0; index < layout.pages.size(); ++index) {
    const KitPrintPage& page = layout.pages[index];
    if (!first && !device.newPage())
      throw output::OutputError("Cannot print the kit: the printer refused a new page.");
    first = false;
    const int number = layout.PageNumber(index);
    const KitPiece& piece = drawing.pieces[page.piece];
    QString place = ToQt(piece.title);
    if (page.placed.size() > 1)
      place += QStringLiteral(" to %1 (%2 pieces)")
                   .arg(ToQt(drawing.pieces[page.placed.back().piece].title))
                   .arg(page.placed.size());
    QStringList about;
    if (page.kind == KitPrintPage::Kind::Map) {
      place += QStringLiteral(": assembly map");
    } else if (page.kind == KitPrintPage::Kind::Points) {
      place += QStringLiteral(": straight edges");
    } else if (page.kind == KitPrintPage::Kind::Sheet) {
      const QRectF& w = page.window;
      const KitEdges& edges = layout.edges[page.piece];
      place += QStringLiteral(": sheet %1 of %2, column %3, %4 from the bottom")
                   .arg(page.sheet)
                   .arg(page.sheets)
                   .arg(page.column)
                   .arg(page.level);
      about << QStringLiteral("This sheet shows x %1 to %2 and y %3 to %4 %5 (%6); the map is "
                              "on page %7.")
                   .arg(Value(w.left(), mmPer, drawing.unit), Value(w.right(), mmPer, drawing.unit),
                        Value(w.top(), mmPer, drawing.unit), Value(w.bottom(), mmPer, drawing.unit),
                        QString::fromLatin1(geometry::UnitName(drawing.unit)), Axes(kit))
                   .arg(layout.PageNumber(MapOf(layout, index)));
      about << QStringLiteral("Cut lines at the frame's left edge, %1; at its right edge, %2; "
                              "at its top edge, %3; at its bottom edge, %4.")
                   .arg(CrossingsAt(edges, w.left(), false, w, mmPer, drawing.unit),
                        CrossingsAt(edges, w.right(), false, w, mmPer, drawing.unit),
                        CrossingsAt(edges, w.bottom(), true, w, mmPer, drawing.unit),
                        CrossingsAt(edges, w.top(), true, w, mmPer, drawing.unit));
    }
    if (page.textsAbove) {
      QStringList texts;
      for (const KitText& text : piece.texts)
        if (!buildkit::drawing::OnPiece(text)) texts << ToQt(text.text);
      about << texts.join(QStringLiteral("; "));
    }
    if (page.kind == KitPrintPage::Kind::Sheet)
      about << ToQt(drawing.title) + QStringLiteral("; its notes are on the map.");
    else
      about << ToQt(drawing.title) + QStringLiteral(". ") + NotesLine(drawing);
    painter.setPen(Qt::black);
    PaintLines(painter, QRectF(0, 0, printable.width() * u, 6.0 * u), {place}, 11.0, true);
    PaintLines(painter, QRectF(0, 6.0 * u, printable.width() * u, (area.top() - 6.0) * u), about,
               7.0, false);
    const QRectF frame(area.left() * u, area.top() * u, area.width() * u, area.height() * u);
    if (page.kind == KitPrintPage::Kind::Map) {
      PaintMap(painter, kit, drawing, layout, index, u);
    } else if (page.kind == KitPrintPage::Kind::Points) {
      PaintPoints(painter, kit, drawing, layout, page, u);
    } else {
      painter.save();
      painter.setClipRect(frame);
      if (page.kind == KitPrintPage::Kind::Sheet)
        PaintGrid(painter, page.window, area, mmPer, drawing.unit, u);
      // window.left() -> area.left(); window.bottom() (highest y) -> area.top()
      const KitMapping map{mmPer, page.window.left() - area.left(),
                           page.window.bottom() + area.top(), u};
      if (page.kind == KitPrintPage::Kind::Sheet) {
        PaintPiece(painter, piece, QPointF(), map);
        PaintJoins(painter, layout, index, u);
      }
      for (const KitPlacement& placed : page.placed) {
        KitPiece shown = drawing.pieces[placed.piece];
        if (page.textsAbove)
          std::erase_if(shown.texts,
                        [](const KitText& text) { return !buildkit::drawing::OnPiece(text); });
        PaintPiece(painter, shown, placed.shift / mmPer, map);
      }
      painter.restore();
    }
    painter.setPen(Pen(0.15, u, Qt::lightGray));
    painter.drawRect(frame);
    PaintRuler(painter, 2.0, printable.height() - 8.0, drawing.unit, u);
    painter.setPen(Qt::black);
    PaintLines(painter,
               QRectF(110.0 * u, (printable.height() - 14.0) * u, (printable.width() - 110.0) * u,
                      14.0 * u),
               {QStringLiteral("Page %1 of %2. %3")
                    .arg(number)
                    .arg(total)
                    .arg(page.kind == KitPrintPage::Kind::Points
                             ? QStringLiteral("The sheets are 1:1: print at 100 %, no fitting "
                                              "to the page.")
                         : page.kind == KitPrintPage::Kind::Map
                             ? QStringLiteral("The map is not to scale; the sheets are 1:1: "
                                              "print at 100 %, no fitting to the page.")
                             : QStringLiteral("Scale 1:1: print at 100 %, no fitting to the "
                                              "page."))},
               7.0, false);
  }
  if (!painter.end()) throw output::OutputError("Cannot print the kit: the printer failed.");
  return total;
}

}  // namespace vortalis::exports
