#pragma once

#include <optional>
#include <string>
#include <variant>

#include "buildkit/horn_solid.h"
#include "buildkit/staves.h"
#include "cli/option_table.h"
#include "cli/report_tool.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// vortalis-report's build kits: the cutting data of stacked rings, sheet
// developments, staves and wall panels, and the solids for 3D printing, instead of the
// report. Lengths in the horn's unit.
namespace vortalis::cli {

// --rings FILE --board T [--wall W] [--ring-tolerance G]: FILE ending .csv, .dxf or .pdf.
struct RingsKitOptions {
  std::string path;
  long double board = 0.0L;
  std::optional<long double> wall = std::nullopt;       // buildkit::DefaultRingWall when not given
  std::optional<long double> tolerance = std::nullopt;  // buildkit::DefaultRingTolerance when not given
};

// --sectors FILE --step S [--seam A]: FILE ending .dxf, .svg or .pdf.
struct SectorsKitOptions {
  std::string path;
  long double step = 0.0L;
  long double seam = 0.0L;
};

// --staves N FILE [--stave-fit FIT]: FILE ending .dxf, .svg, .pdf or .csv.
struct StavesKitOptions {
  std::string path;
  int count = 0;
  buildkit::StaveFit fit = buildkit::StaveFit::Circumscribed;
};

// --panels FILE [--panel-board T]: FILE ending .dxf, .svg or .pdf; rectangular horns only.
struct PanelsKitOptions {
  std::string path;
  long double board = 0.0L;  // 0: the inner faces
};

// --stl FILE --wall W [--segment-height H] [--flange OD,THICKNESS[,BOLT_CIRCLE,COUNT,HOLE]]
struct StlKitOptions {
  std::string path;
  buildkit::SolidOptions solid;  // wall, segmentHeight, flange
};

struct KitOptions {
  std::variant<RingsKitOptions, SectorsKitOptions, StavesKitOptions, PanelsKitOptions,
               StlKitOptions>
      kit;
  report::MouthLimit mouthLimit;  // as --mouth-limit gives it to the drawings
  Paper paper = Paper::A4;        // a PDF template's, as --paper gives it to the drawings
};

// For input the validation accepted. Writes the kit's file(s), the STL
// pieces' names to standard output (one a line); a refused kit value or a
// file that cannot be written is a sentence on standard error and
// kExitRefused; what the builder must look at in the kit goes to standard
// error, one sentence a line. A build without Qt refuses the painted SVG and PDF files.
int WriteKit(const report::HornInput& horn, const geometry::Separators& separators,
             const KitOptions& options, ToolEnvironment& env);

}  // namespace vortalis::cli
