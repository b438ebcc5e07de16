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

#include "buildkit/horn_solid.h"
#include "buildkit/panels.h"
#include "buildkit/rings.h"
#include "buildkit/sectors.h"
#include "buildkit/staves.h"
#include "export/full_size_template.h"
#include "geometry/units.h"
#include "output/output_set.h"

class QPagedPaintDevice;

// The build kits' files: stacked rings (CSV, DXF, PDF), sheet developments and
// staves, wall panels (DXF, SVG, PDF template at 1:1) and the printable solids as STL.
// Every file goes through the one writer (output/output_file.h); failures
// throw output::OutputError naming the file.
namespace vortalis::exports {

struct RingsKit {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  std::vector<buildkit::Ring> rings;
};

struct SectorsKit {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  buildkit::SheetDevelopment development;
};

struct StavesKit {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  buildkit::StavePattern pattern;
};

struct PanelsKit {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  buildkit::PanelSet panels;
};

using FlatKit = std::variant<RingsKit, SectorsKit, StavesKit, PanelsKit>;

// A kit as flat shapes in the horn's unit, y up: one piece per ring, per
// sector, or the one stave, each with its texts. Every curve is a polyline
// within the kit tolerance of the true shape, except the rings' circles.
struct KitPath {
  std::string layer;
  std::vector<QPointF> points;
  bool closed = false;
  bool cut = true;  // false: a mark (mid-line, fold, tick), drawn thin
};
struct KitCircle {
  std::string layer;
  QPointF centre;
  qreal radius;
};
struct KitText {
  std::string layer;
  QPointF at;    // left end of the text's base line
  qreal height;  // in the unit
  QString text;
};
struct KitPiece {
  QString title;  // "Board 3", "Sector 2 of 14", "Stave (cut 12)"
  std::vector<KitPath> paths;
  std::vector<KitCircle> circles;
  std::vector<KitText> texts;
  QRectF bounds;  // shapes and texts, y up (top() is the lowest y)
  // False for a piece the same as an earlier one, whose title says to cut it
  // twice: the 1:1 template prints it once. Drawings show every piece.
  bool inTemplate = true;
};
struct KitDrawing {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  QString title;
  QStringList notes;                // stated on every drawing and page
  std::vector<std::string> layers;  // in the order of the pieces
  std::vector<KitPiece> pieces;     // each in its own coordinates
};

KitDrawing DrawKit(const FlatKit& kit);

// The pieces one under the other for a cutter (DXF) or a drawing (SVG).
// DXF in the horn's unit with $INSUNITS; rings as CIRCLE entities on layers
// RING_<n>, sectors on SECTOR_<n>, the stave on STAVE, a rectangular horn's
// wall panels on PANEL_1A, PANEL_1B, PANEL_2A and PANEL_2B.
QByteArray KitDxf(const FlatKit& kit);
// Real millimetres, as the profile's SVG. Needs a QGuiApplication.
QByteArray KitSvg(const FlatKit& kit);

// The template at 1:1 on the device's pages: for rings the cutting list,
// then every ring that fits a page on a page of its own (the list names the
// others); a piece that fits a page on a page of its own; a larger one as an
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
// Paths are bytes, kept exactly; throws output::OutputError.
std::vector<std::string> StlPieceNames(const std::string& path, std::size_t pieces);
std::vector<std::string> AddStlFiles(output::OutputSet& set, const buildkit::HornSolids& solids,
                                     const std::string& path);
// The same in the file system's encoding, committed at once.
QStringList StlFileNames(const QString& path, std::size_t pieces);
QStringList WriteStlFiles(const buildkit::HornSolids& solids, const QString& path);

}  // namespace vortalis::exports
