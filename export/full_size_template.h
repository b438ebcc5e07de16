#pragma once

#include <string>
#include <vector>

#include <QLineF>
#include <QPageSize>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "geometry/number_text.h"
#include "report/horn_profile.h"

class QPagedPaintDevice;

// The full-size template: the profile curve(s), one side from the axis, at
// 1:1 on as many pages as needed. Pages overlap by kTemplateOverlapMm and
// carry marks to line them up, their place in the grid ("row 2, column 3"),
// a check ruler (100 mm, or 4 inch for inch horns) and a small title block.
namespace vortalis::exports {

inline constexpr qreal kTemplateOverlapMm = 10.0;
// More pages than this is refused: such a horn is not built from a paper template.
inline constexpr int kMaxTemplatePages = 500;

// Where things go, in millimetres. Page coordinates have their origin at the
// top left of the printable area, y down; drawing coordinates are the
// profile's in mm (x from the throat, y up from the axis).
struct TemplatePage {
  int row;        // 1 = top strip (farthest from the axis)
  int column;     // 1 = throat end
  // The part of the drawing shown, drawing coordinates: x from left() to
  // right(), y (up) from y() to y() + height().
  QRectF window;
};

struct TemplateLayout {
  QSizeF printableMm;  // one page's printable area
  QRectF drawingArea;  // page coordinates: where the window is drawn
  QRectF footer;       // page coordinates: label, ruler and title block
  qreal rulerLengthMm = 100.0;  // 100 mm, or 4 inch (101.6 mm)
  QRectF extent;       // the whole drawing with its margin, drawing coordinates (y up, as window)
  int rows = 0;
  int columns = 0;
  // The pages that show the axis or a curve, row by row, the throat end first;
  // the grid's other places are left blank and not printed.
  std::vector<TemplatePage> pages;
};

// Throws output::OutputError for a page too small to hold the footer and some drawing,
// and for more than kMaxTemplatePages pages.
TemplateLayout LayoutTemplate(const report::HornProfile& profile, const QSizeF& printableMm);

// One page as it is drawn, in device units (unitsPerMm per millimetre, y down
// from the printable area's top left). The painter draws exactly these.
struct TemplateText {
  QRectF box;
  QString text;
  qreal pointSize = 8.0;
  bool bold = false;
  int flags = Qt::AlignLeft | Qt::AlignTop;  // QPainter::drawText flags
};
struct TemplateCurve {
  QPolygonF points;
  bool dashed = false;  // sides 2A - 2B, beside the solid sides 1A - 1B
};
struct TemplatePageDrawing {
  QRectF drawingFrame;               // curves, axis, guides and marks are clipped to it
  std::vector<TemplateCurve> curves;
  QLineF axis;                       // null when the axis is not on this page
  std::vector<QLineF> guides;        // throat and end lines, distance ticks on the axis
  std::vector<QLineF> overlapEdges;  // where the neighbouring pages' drawings end
  std::vector<QLineF> crosses;       // registration crosses, the same on both neighbours
  QLineF ruler;                      // the check ruler, exactly rulerLengthMm long
  std::vector<QLineF> rulerTicks;
  QRectF titleFrame;
  std::vector<TemplateText> labels;  // in the drawing (clipped): distances, throat, mouth
  std::vector<TemplateText> texts;   // page label, ruler caption, title block
};
TemplatePageDrawing DrawTemplatePage(const report::HornProfile& profile,
                                     const TemplateLayout& layout, int pageIndex,
                                     qreal unitsPerMm, const geometry::Separators& separators);

// Prints the template on device (a QPrinter from the print dialog, or a
// QPdfWriter) with the device's page layout; returns the number of pages.
// Throws output::OutputError when the device cannot be painted on or the layout is refused.
int PrintFullSizeTemplate(const report::HornProfile& profile, QPagedPaintDevice& device,
                          const geometry::Separators& separators = {".", ""});

// The template as a PDF file on pageSize paper with 10 mm margins, written
// through the one writer (path: bytes, kept exactly); returns the number of
// pages. Needs a QGuiApplication.
int WriteTemplatePdf(const report::HornProfile& profile, const std::string& path,
                     const QPageSize& pageSize = QPageSize(QPageSize::A4),
                     const geometry::Separators& separators = {".", ""});
// The same for a name in the file system's encoding.
int WriteTemplatePdf(const report::HornProfile& profile, const QString& path,
                     const QPageSize& pageSize = QPageSize(QPageSize::A4),
                     const geometry::Separators& separators = {".", ""});

}  // namespace vortalis::exports
