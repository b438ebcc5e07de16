#pragma once

#include <QPainter>
#include <vector>

#include "export/kit_files.h"

// Where a kit's pieces go on one sheet (DXF, SVG), and how a piece is painted.
namespace vortalis::exports {

struct KitSheet {
  std::vector<QPointF> offsets;  // added to each piece's coordinates
  std::vector<KitText> notes;    // the title and notes above the pieces
  QRectF extent;                 // everything, y up
};

// The title and notes on top, the pieces one under the other, left-aligned.
KitSheet LayOut(const KitDrawing& drawing);

// Maps the drawing's unit (y up) to device units: x' = (x * mmPerUnit - left) * u,
// y' = (top - y * mmPerUnit) * u.
struct KitMapping {
  qreal mmPerUnit;
  qreal left;  // mm
  qreal top;   // mm
  qreal u;     // device units per mm

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

}  // namespace vortalis::exports
