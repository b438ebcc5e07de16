#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "buildkit/kit_horn.h"
#include "output/output_error.h"
#include "export/kit_files.h"
#include "export/kit_layout.h"
#include "export/svg_file.h"
#include "geometry/constants.h"
#include "geometry/number_text.h"
#include "report/number_format.h"

namespace vortalis::exports {

namespace {

using geometry::LengthUnit;

constexpr qreal kCutPenMm = 0.25;
constexpr qreal kMarkPenMm = 0.12;
constexpr qreal kPieceMarginMm = 5.0;
constexpr qreal kOverlapMm = 10.0;
constexpr qreal kHeaderMm = 14.0;
constexpr qreal kFooterMm = 16.0;
constexpr int kMaxPages = 500;
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
    polygon << map(circle.centre + offset +
                   QPointF(circle.radius * std::cos(a), circle.radius * std::sin(a)));
  }
  return polygon;
}

QPen Pen(qreal widthMm, qreal u, const QColor& colour = Qt::black) {
  return QPen(colour, widthMm * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Pages needed for `length` when each shows `window` of it and neighbours share the overlap.
int PagesFor(qreal length, qreal window) {
  if (length <= window) return 1;
  return static_cast<int>(std::ceil((length - kOverlapMm) / (window - kOverlapMm) - 1e-9));
}

// Whether any cut or circle of the piece (in mm, offset applied) passes through `window`.
bool Shows(const KitPiece& piece, qreal mmPer, const QRectF& window) {
  for (const KitPath& path : piece.paths) {
    for (std::size_t i = 0; i < path.points.size(); ++i) {
      const QPointF a = path.points[i] * mmPer;
      const QPointF b = path.points[(i + 1) % path.points.size()] * mmPer;
      if (QRectF(a, b).normalized().adjusted(-0.01, -0.01, 0.01, 0.01).intersects(window))
        return true;
    }
  }
  for (const KitCircle& circle : piece.circles) {
    const QPointF c = circle.centre * mmPer;
    const qreal r = circle.radius * mmPer;
    const qreal nx = std::clamp(c.x(), window.left(), window.right());
    const qreal ny = std::clamp(c.y(), window.top(), window.bottom());
    const qreal near = std::hypot(c.x() - nx, c.y() - ny);
    const qreal far = std::max({std::hypot(c.x() - window.left(), c.y() - window.top()),
                                std::hypot(c.x() - window.right(), c.y() - window.top()),
                                std::hypot(c.x() - window.left(), c.y() - window.bottom()),
                                std::hypot(c.x() - window.right(), c.y() - window.bottom())});
    if (near <= r && r <= far) return true;
  }
  return false;
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

// The rings' cutting list, as many pages as it needs; returns the pages painted.
int PaintCuttingList(QPainter& painter, QPagedPaintDevice& device, const RingsKit& kit,
                     const QStringList& tooLarge, const QSizeF& printable, qreal u, bool& first) {
  const geometry::Separators point{".", ""};
  const report::NumberFormat size = report::SizeFormat(kit.unit);
  const report::NumberFormat length = report::LengthFormat(kit.unit);
  const auto number = [&point](long double value, report::NumberFormat format) {
    return QString::fromStdString(report::FormatNumber(value, format, point));
  };
  const QString unit = QString::fromLatin1(geometry::UnitName(kit.unit));
  const QStringList header{QStringLiteral("Board"),
                           QStringLiteral("From (%1)").arg(unit),
                           QStringLiteral("To (%1)").arg(unit),
                           QStringLiteral("Hole radius, throat side"),
                           QStringLiteral("Hole radius, mouth side"),
                           QStringLiteral("Bevel (deg)"),
                           QStringLiteral("Outer radius")};
  const qreal rowMm = 5.0;
  const qreal topMm = 26.0;
  const int perPage = std::max(1, static_cast<int>((printable.height() - topMm - 10.0) / rowMm));
  const int count = static_cast<int>(kit.rings.size());
  const int pages = (count + perPage - 1) / perPage;
  const qreal column = printable.width() / header.size();
  for (int page = 0; page < pages; ++page) {
    if (!first && !device.newPage())
      throw output::OutputError("Cannot print the kit: the printer refused a new page.");
    first = false;
    painter.setPen(Qt::black);
    PaintLines(painter, QRectF(0, 0, printable.width() * u, (topMm - 2.0 * rowMm) * u),
               {QStringLiteral("Stacked rings: cutting list (%1 boards), page %2 of %3")
                    .arg(count)
                    .arg(page + 1)
                    .arg(pages),
                QStringLiteral("Lengths in %1; hole radii at the board's faces; bevel of the "
                               "straight cut from the axis.")
                        .arg(unit) +
                    (tooLarge.isEmpty()
                         ? QString()
                         : QStringLiteral(" Boards %1 do not fit a page: mark them out from "
                                          "this list or cut them from the DXF.")
                               .arg(tooLarge.join(QStringLiteral(", "))))},
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
      const buildkit::Ring& ring = kit.rings[static_cast<std::size_t>(i)];
      const QStringList cells{QString::number(ring.board),   number(ring.from, length),
                              number(ring.to, length),       number(ring.innerFrom, size),
                              number(ring.innerTo, size),    number(ring.bevel, {8, 3}),
                              number(ring.outerRadius, size)};
      const qreal y = topMm + (i - page * perPage) * rowMm;
      for (int c = 0; c < cells.size(); ++c)
        painter.drawText(QRectF(c * column * u, y * u, (column - 1.0) * u, rowMm * u),
                         Qt::AlignRight | Qt::AlignVCenter, cells[c]);
    }
  }
  return pages;
}

}  // namespace

KitSheet LayOut(const KitDrawing& drawing) {
  KitSheet sheet;
  const qreal h = drawing.unit == LengthUnit::Millimetre ? 5.0 : 0.2;
  qreal y = 0.0;
  QStringList lines{drawing.title};
  lines << drawing.notes;
  qreal width = 0.0;
  for (const QString& line : lines) {
    y -= 1.6 * h;
    sheet.notes.push_back({"NOTES", QPointF(0.0, y), line == drawing.title ? h : 0.7 * h, line});
    width = std::max(width, 0.8 * h * line.size());
  }
  y -= 2.0 * h;
  for (const KitPiece& piece : drawing.pieces) {
    sheet.offsets.emplace_back(-piece.bounds.left(), y - piece.bounds.bottom());
    width = std::max(width, piece.bounds.width());
    y -= piece.bounds.height() + 3.0 * h;
  }
  sheet.extent = QRectF(0.0, y + 3.0 * h, width, -y - 3.0 * h);
  return sheet;
}

void PaintText(QPainter& painter, const KitText& text, const QPointF& offset,
               const KitMapping& map) {
  QFont font = painter.font();
  // The text's height is its capitals': about 0.7 of the font's size.
  font.setPixelSize(
      std::max(1, static_cast<int>(std::lround(text.height * map.mmPerUnit / 0.7 * map.u))));
  font.setBold(false);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(map(text.at + offset), text.text);
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
    QPolygonF polygon;
    for (const QPointF& p : path.points) polygon << map(p + offset);
    painter.setPen(pen(path.cut));
    if (path.closed)
      painter.drawPolygon(polygon);
    else
      painter.drawPolyline(polygon);
  }
  painter.setPen(pen(true));
  for (const KitCircle& circle : piece.circles)
    painter.drawPolyline(CirclePolygon(circle, offset, map));
  if (!texts) return;
  for (const KitText& text : piece.texts) PaintText(painter, text, offset, map);
}

QByteArray KitSvg(const FlatKit& kit) {
  const KitDrawing drawing = DrawKit(kit);
  const KitSheet sheet = LayOut(drawing);
  const qreal mmPer = MmPer(drawing.unit);
  const qreal margin = 5.0;
  const QRectF extentMm(sheet.extent.left() * mmPer - margin, sheet.extent.top() * mmPer - margin,
                        sheet.extent.width() * mmPer + 2 * margin,
                        sheet.extent.height() * mmPer + 2 * margin);
  return MillimetreSvg(QRectF(0.0, 0.0, extentMm.width(), extentMm.height()), drawing.title,
                       [&](QPainter& painter) {
    painter.scale(1.0 / kSvgUnitsPerMm, 1.0 / kSvgUnitsPerMm);
    const KitMapping map{mmPer, extentMm.left(), extentMm.bottom(), kSvgUnitsPerMm};
    for (const KitText& note : sheet.notes) PaintText(painter, note, QPointF(), map);
    for (std::size_t i = 0; i < drawing.pieces.size(); ++i)
      PaintPiece(painter, drawing.pieces[i], sheet.offsets[i], map);
  });
}

int PrintKit(const FlatKit& kit, QPagedPaintDevice& device) {
  const KitDrawing drawing = DrawKit(kit);
  const qreal u = device.logicalDpiX() / 25.4;
  const QSizeF printable(device.width() / u, device.height() / u);
  if (printable.width() < 150.0 || printable.height() < 100.0)
    throw output::OutputError(
        "The page is too small for a full-size template: it needs a printable "
        "area of at least 150 x 100 mm.");
  const qreal mmPer = MmPer(drawing.unit);
  const QRectF area(0.0, kHeaderMm, printable.width(), printable.height() - kHeaderMm - kFooterMm);

  // Each piece's pages: the windows (mm, y up) that show some of it.
  struct Page {
    std::size_t piece;
    int row, column, rows, columns;
    QRectF window;
  };
  std::vector<Page> pages;
  const auto* rings = std::get_if<RingsKit>(&kit);
  QStringList tooLarge;
  int lastTooLarge = 0;
  for (std::size_t i = 0; i < drawing.pieces.size(); ++i) {
    const KitPiece& piece = drawing.pieces[i];
    QRectF b(piece.bounds.left() * mmPer, piece.bounds.top() * mmPer, piece.bounds.width() * mmPer,
             piece.bounds.height() * mmPer);
    b.adjust(-kPieceMarginMm, -kPieceMarginMm, kPieceMarginMm, kPieceMarginMm);
    const int columns = PagesFor(b.width(), area.width());
    const int rows = PagesFor(b.height(), area.height());
    // A ring is drawn only when it fits a page; a compass marks out larger ones.
    if (rings != nullptr && columns * rows > 1) {
      const int board = rings->rings[i].board;
      // Runs of boards as "97 to 368".
      if (!tooLarge.isEmpty() && lastTooLarge == board - 1) {
        const QString first = tooLarge.last().section(QLatin1Char(' '), 0, 0);
        tooLarge.last() = first + QStringLiteral(" to ") + QString::number(board);
      } else {
        tooLarge << QString::number(board);
      }
      lastTooLarge = board;
      continue;
    }
    if (static_cast<double>(columns) * rows > 4.0 * kMaxPages)
      throw output::OutputError(
          "This kit would need too many pages at full size; a template has at most 500.");
    if (columns == 1 && rows == 1) {
      // Centred on its page.
      const QPointF centre = b.center();
      pages.push_back({i, 1, 1, 1, 1,
                       QRectF(centre.x() - area.width() / 2, centre.y() - area.height() / 2,
                              area.width(), area.height())});
      continue;
    }
    for (int row = 1; row <= rows; ++row) {
      for (int column = 1; column <= columns; ++column) {
        const QRectF window(b.left() + (column - 1) * (area.width() - kOverlapMm),
                            b.bottom() - area.height() - (row - 1) * (area.height() - kOverlapMm),
                            area.width(), area.height());
        if (Shows(piece, mmPer, window)) pages.push_back({i, row, column, rows, columns, window});
      }
    }
    if (pages.size() > static_cast<std::size_t>(kMaxPages))
      throw output::OutputError("This kit would need " + std::to_string(pages.size()) +
                        " pages at full size; a template has at most 500.");
  }

  QPainter painter;
  if (!painter.begin(&device)) throw output::OutputError("Cannot print the kit: the printer refused.");
  painter.setRenderHint(QPainter::Antialiasing);
  bool first = true;
  int count = 0;
  if (rings != nullptr)
    count += PaintCuttingList(painter, device, *rings, tooLarge, printable, u, first);
  for (const Page& page : pages) {
    if (!first && !device.newPage())
      throw output::OutputError("Cannot print the kit: the printer refused a new page.");
    first = false;
    ++count;
    const KitPiece& piece = drawing.pieces[page.piece];
    painter.setPen(Qt::black);
    QString place = piece.title;
    if (page.rows * page.columns > 1)
      place += QStringLiteral(": row %1, column %2 of %3 x %4 pages (overlap %5 mm)")
                   .arg(page.row)
                   .arg(page.column)
                   .arg(page.rows)
                   .arg(page.columns)
                   .arg(kOverlapMm);
    PaintLines(painter, QRectF(0, 0, printable.width() * u, 6.0 * u), {place}, 11.0, true);
    PaintLines(painter, QRectF(0, 6.0 * u, printable.width() * u, (kHeaderMm - 6.0) * u),
               {drawing.title + QStringLiteral(". ") + drawing.notes.join(QLatin1Char(' '))}, 7.0,
               false);
    const QRectF frame(area.left() * u, area.top() * u, area.width() * u, area.height() * u);
    painter.save();
    painter.setClipRect(frame);
    // window.left() -> area.left(); window.bottom() (highest y) -> area.top()
    const KitMapping map{mmPer, page.window.left() - area.left(), page.window.bottom() + area.top(),
                         u};
    PaintPiece(painter, piece, QPointF(), map);
    painter.restore();
    painter.setPen(Pen(0.15, u, Qt::lightGray));
    painter.drawRect(frame);
    PaintRuler(painter, 2.0, printable.height() - kFooterMm + 8.0, drawing.unit, u);
    painter.setPen(Qt::black);
    PaintLines(
        painter,
        QRectF(110.0 * u, (printable.height() - kFooterMm + 2.0) * u,
               (printable.width() - 110.0) * u, (kFooterMm - 2.0) * u),
        {QStringLiteral("Page %1. Scale 1:1: print at 100 %, no fitting to the page.").arg(count)},
        7.0, false);
  }
  if (!painter.end()) throw output::OutputError("Cannot print the kit: the printer failed.");
  return count;
}

}  // namespace vortalis::exports
