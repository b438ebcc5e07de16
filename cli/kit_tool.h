#pragma once

#include <optional>
#include <string>

#include "buildkit/kit_parameters.h"
#include "cli/option_table.h"
#include "cli/report_tool.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// vortalis-report's build kits: the cutting data of stacked rings, sheet
// developments, staves and wall panels, and the solids for 3D printing, instead of the
// report. Lengths in the horn's unit.
namespace vortalis::cli {

// One of buildkit::kKitUnits with its file and its values as the options gave
// them: --rings FILE --board T ..., --staves N FILE, --stl FILE --wall W ...
struct KitOptions {
  const buildkit::KitUnit* unit = nullptr;
  std::string path;  // FILE; the STL pieces' names are made from it
  buildkit::KitValues values;
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
