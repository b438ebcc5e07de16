#pragma once

#include <string>
#include <vector>

#include <QLineF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "export/profile_curves.h"
#include "geometry/number_text.h"
#include "output/output_file.h"
#include "report/horn_profile.h"

class QPagedPaintDevice;

// The full-size template: the profile curve(s), one side from the axis, at
// 1:1 on sheets laid over the curves only (not over the axis or empty paper),
// after a first page with the assembly map. Sheets overlap their neighbours by
// kTemplateOverlapMm and carry crosses to line them up, a reference line
// parallel to the axis at a stated distance with the distances from the throat
// on it, the step's stations, what joins at each edge, a check ruler (100 mm,
// or 4 inch for inch horns) and a small title block.
namespace vortalis::exports {

inline constexpr qreal kTemplateOverlapMm = 10.0;
// More printed pages than this is refused: such a horn is not built from a paper template.
inline constexpr int kMaxTemplatePages = 500;
// The margins of every template's PDF and print, on each side.
inline constexpr qreal kTemplateMarginMm = 10.0;
inline QMarginsF TemplateMargins() {
  return {kTemplateMarginMm, kTemplateMarginMm, kTemplateMarginMm, kTemplateMarginMm};
}

// Sheets needed for `lengthMm` when each shows `windowMm` of it and
// neighbours share kTemplateOverlapMm; the kits' templates count the same way.
int PagesFor(qreal lengthMm, qreal windowMm);

// Where things go, in millimetres. Page coordinates have their origin at the
// top left of the printable area, y down; drawing coordinates are the
// profile's in mm (x from the throat, y up from the axis).
struct TemplatePage {
  int number;     // the sheet's page in the PDF: the map is page 1, the throat's sheet page 2
  int column;     // 1 = throat end
  int level;      // 1 = nearest the axis in its column
  // The part of the drawing shown, drawing coordinates: x from left() to
  // right(), y (up) from y() to y() + height().
  QRectF window;
  qreal referenceMm = 0.0;  // the sheet's reference line, parallel to the axis at this distance
};

struct TemplateLayout {
  QSizeF printableMm;  // one page's printable area
  QRectF drawingArea;  // page coordinates: where the window is drawn
  QRectF footer;       // page coordinates: ruler, page label, title block, check values
  qreal rulerLengthMm = 100.0;  // 100 mm, or 4 inch (101.6 mm)
  qreal referenceStepMm = 5.0;  // reference lines stand at whole multiples of this
  QRectF extent;       // the sheets' windows and the axis, drawing coordinates (y up, as window)
  int columns = 0;
  std::vector<ProfileCurve> curves;  // ProfileCurves in millimetres
  // Column by column from the throat, each column from the axis outward.
  std::vector<TemplatePage> pages;
  // The sheets and the assembly map before them.
  int PrintedPages() const { return static_cast<int>(pages.size()) + 1; }
};

// Throws output::OutputError for a page too small to hold the footer and some drawing,
// and for more than kMaxTemplatePages printed pages.
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
  std::vector<QLineF> guides;        // throat and end lines, distance ticks, station ticks
  QLineF reference;                  // the reference line (the map: null)
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
// The assembly map: every sheet as a small numbered frame, the curves and the axis through them.
TemplatePageDrawing DrawTemplateMap(const report::HornProfile& profile,
                                    const TemplateLayout& layout, qreal unitsPerMm,
                                    const geometry::Separators& separators);

// The orientation of pageSize paper (with marginsMm) that needs fewer printed
// pages, portrait on a tie, and that number. Throws output::OutputError when
// neither orientation can hold the template.
struct TemplateOrientation {
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  int pages = 0;
};
TemplateOrientation FewerTemplatePages(const report::HornProfile& profile,
                                       const QPageSize& pageSize,
                                       const QMarginsF& marginsMm = TemplateMargins());

// Prints the template on device (a QPrinter from the print dialog, or a
// QPdfWriter) with the device's page layout: the map, then the sheets; returns
// the number of pages.
// Throws output::OutputError when the device cannot be painted on or the layout is refused.
int PrintFullSizeTemplate(const report::HornProfile& profile, QPagedPaintDevice& device,
                          const geometry::Separators& separators = {".", ""});

// The template as a PDF file on pageSize paper with 10 mm margins, turned as
// FewerTemplatePages says, written
// through the one writer (path: bytes, kept exactly); returns the number of
// pages. Needs a QGuiApplication.
int WriteTemplatePdf(const report::HornProfile& profile, const std::string& path,
                     const QPageSize& pageSize = QPageSize(QPageSize::A4),
                     const geometry::Separators& separators = {".", ""});
// The same into `sink` (a member of an output set), not committed.
int WriteTemplatePdf(const report::HornProfile& profile, output::ByteSink& sink,
                     const QPageSize& pageSize = QPageSize(QPageSize::A4),
                     const geometry::Separators& separators = {".", ""});
// The same for a name in the file system's encoding.
int WriteTemplatePdf(const report::HornProfile& profile, const QString& path,
                     const QPageSize& pageSize = QPageSize(QPageSize::A4),
                     const geometry::Separators& separators = {".", ""});

}  // namespace vortalis::exports
