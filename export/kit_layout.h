#pragma once

#include <QLineF>
#include <QPointF>
#include <QPainter>
#include <vector>

#include "export/full_size_template.h"
#include "export/kit_files.h"

// Where a kit's pieces go on one sheet (DXF, SVG), and how a piece is painted.
namespace vortalis::exports {

using buildkit::KitSheet;
using buildkit::LayOut;

// The neutral drawing's points, boxes and texts for painting.
inline QPointF ToQt(const buildkit::DrawPoint& p) { return {p.x, p.y}; }
inline QRectF ToQt(const buildkit::DrawBox& b) { return {b.x, b.y, b.width, b.height}; }
inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Maps the drawing's unit (y up) to device units: x' = (x * mmPerUnit - left) * u,
// y' = (top - y * mmPerUnit) * u.
struct KitMapping {
  qreal mmPerUnit;
  qreal left;  // mm
  qreal top;   // mm
  qreal u;     // device units per mm

  QPointF operator()(const buildkit::DrawPoint& p) const { return (*this)(ToQt(p)); }
  QPointF operator()(const QPointF& p) const {
    return {(p.x() * mmPerUnit - left) * u, (top - p.y() * mmPerUnit) * u};
  }
};

// Cut lines thick, marks thin, circles as polygons within the kit tolerance.
// Without texts for a small preview.
void PaintPiece(QPainter& painter, const KitPiece& piece, const QPointF& offset,
                const KitMapping& map, bool texts = true);
void PaintText(QPainter& painter, const KitText& text, const QPointF& offset,
               const KitMapping& map);

// A piece's cut lines in mm (y up), split into the curved ones, which a
// template must carry, and the straight edges, which a straightedge draws
// from their end points. Circles count as curves.
struct KitEdges {
  std::vector<QLineF> curves;    // the segments of curved cut lines
  std::vector<QLineF> straight;  // one line per straight edge, collinear runs joined
};
KitEdges SplitEdges(const KitPiece& piece, qreal mmPerUnit);
// The straight edges as runs of points, edges that meet end to end joined.
std::vector<std::vector<QPointF>> StraightRuns(const KitEdges& edges);

// The pages of a kit's 1:1 template. Pieces that fit a page share pages, in
// rows with a cutting gap between them; a piece whose texts do not fit beside
// it has a page of its own; a larger one has an assembly map, then sheets laid over its curves only
// (straight edges are drawn where they pass and stated on the map, or in
// tables of their points after the sheets), numbered from the throat end.
inline constexpr qreal kKitOverlapMm = kTemplateOverlapMm;  // sheets overlap their neighbours

// A piece on a Whole page: its drawing in mm moved by `shift` into the page's window.
struct KitPlacement {
  std::size_t piece = 0;
  QPointF shift;  // mm
};

struct KitPrintPage {
  enum class Kind { Whole, Map, Sheet, Points };
  Kind kind = Kind::Whole;
  std::size_t piece = 0;  // Whole: the first of its pieces
  QRectF window;  // mm, y up: the part of the piece shown (bottom() is the highest y)
  int sheet = 0;  // a sheet's number among its piece's sheets, from 1
  int sheets = 0;  // the piece's sheets
  int tables = 0;  // Map: pages listing the straight edges' points, after the sheets
  int firstRow = 0;  // Points: the first point listed, from 0
  int column = 0;  // from the piece's left (throat) end
  int level = 0;   // from the bottom of its column
  bool textsAbove = false;  // Whole: the piece's texts do not fit beside it and go in the header
  std::vector<KitPlacement> placed{};  // Whole: the pieces it shows, in the window's coordinates
};
struct KitPrintLayout {
  QSizeF printable;  // mm
  QRectF area;       // mm from the printable area's top left: where a window is drawn
  int listPages = 0;  // the drawing's table, printed first
  std::vector<KitPrintPage> pages;
  std::vector<KitEdges> edges;  // per piece
  int Total() const { return listPages + static_cast<int>(pages.size()); }
  int PageNumber(std::size_t index) const { return listPages + static_cast<int>(index) + 1; }
};
// Throws output::OutputError for a page too small or too many pages.
KitPrintLayout LayOutKitPages(const KitDrawing& drawing,
                              const QSizeF& printableMm);
// The straight edges' points on one Points page: rows in each of columns.
struct PointTable {
  int rows = 0;
  int columns = 0;
  int PerPage() const { return rows * columns; }
};
PointTable PointTableOf(const QRectF& area);
// Fewer points than this are listed on the map itself.
inline constexpr int kMapPoints = 24;

// Where a drawing's table starts on its page, below its title, note and
// warnings, and the rows that fit one page.
qreal CuttingListTopMm(const KitTable& table);
int CuttingListRows(const QSizeF& printableMm, const KitTable& table);

}  // namespace vortalis::exports
