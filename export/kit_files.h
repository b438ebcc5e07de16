#pragma once

#include <string>
#include <variant>
#include <vector>

#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "buildkit/flat_kits.h"
#include "buildkit/horn_solid.h"
#include "export/full_size_template.h"
#include "geometry/units.h"
#include "output/output_set.h"

class QPagedPaintDevice;

// The build kits' files: stacked rings (CSV, DXF, PDF), sheet developments and
// staves, wall panels (DXF, SVG, PDF template at 1:1) and the printable solids as STL.
// Every file goes through the one writer (output/output_file.h); failures
// throw output::OutputError naming the file.
namespace vortalis::exports {

// The kits and their drawings are the build kits' own (buildkit/flat_kits.h).
using buildkit::DrawKit;
using buildkit::FlatKit;
using buildkit::KitCircle;
using buildkit::KitDrawing;
using buildkit::KitPath;
using buildkit::KitPiece;
using buildkit::KitTable;
using buildkit::KitText;
using buildkit::PanelsKit;
using buildkit::RingsKit;
using buildkit::SectorsKit;
using buildkit::StavesKit;

// The pieces one under the other for a drawing, in real millimetres as the
// profile's SVG (the DXF: files/kit_files.h). Needs a QGuiApplication.
QByteArray KitSvg(const FlatKit& kit);

// The template at 1:1 on the device's pages: the drawing's table (the rings' cutting list),
// then the pieces in order: those that fit a page share pages in rows, a cutting
// gap apart; a larger one as an
// assembly map, then overlapping sheets laid over its curves only, numbered
// from the throat end, each with its range, a labelled grid, where the cut
// lines cross its edges and its neighbours; straight edges are stated by their
// points, on the map or in a table after the sheets. A 100 mm (4 inch) check
// ruler on every page. Returns the number of pages.
int PrintKit(const FlatKit& kit, QPagedPaintDevice& device);

// The orientation of pageSize paper (with marginsMm) that needs fewer pages,
// portrait on a tie, and that number. Throws output::OutputError when neither
// orientation can hold the kit.
struct KitOrientation {
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  int pages = 0;
};
KitOrientation FewerKitPages(const FlatKit& kit, const QPageSize& pageSize,
                             const QMarginsF& marginsMm = TemplateMargins());

// The file for `path` by its extension: .csv (rings), .dxf, .svg (sectors,
// staves, panels), .pdf (on pageSize paper with 10 mm margins, turned as
// FewerKitPages says). Returns the PDF's page count, 0 for the other files.
int WriteKitFile(const FlatKit& kit, const QString& path,
                  const QPageSize& pageSize = QPageSize(QPageSize::A4));
// The same as a member of `set`, committed with it (path: bytes, kept exactly).
int AddKitFile(output::OutputSet& set, const FlatKit& kit, const std::string& path,
               const QPageSize& pageSize = QPageSize(QPageSize::A4));
// A painted kit's bytes to `sink`: `extension` "svg" or "pdf" (any other is
// taken as PDF). Returns the PDF's page count, 0 for SVG.
int WritePaintedKit(const FlatKit& kit, std::string_view extension, output::ByteSink& sink,
                    const QPageSize& pageSize);

// The extensions a kit can be saved as, and a file dialog's filter for one of them.
QStringList KitExtensions(const FlatKit& kit);
QString KitFilter(const FlatKit& kit, const QString& extension);

// The STL files of solids: one file at `path`, or with several segments
// `horn.stl` gives horn-1.stl, horn-2.stl, ... from the throat, written as one
// set (all or nothing). Pieces of an older, longer set beside them
// (horn-46.stl ... when 45 are written; horn-1.stl ... for a single file) are
// removed with the commit when their headers show them to be this program's
// pieces under those numbers; any other file there refuses the set with the
// names in the way. A folder's name is refused. Returns the names written.
// Names in the file system's encoding (files/kit_files.h has them as bytes,
// added to a set); committed at once. Throws output::OutputError.
QStringList StlFileNames(const QString& path, std::size_t pieces);
QStringList WriteStlFiles(const buildkit::HornSolids& solids, const QString& path);

}  // namespace vortalis::exports
