#include "cli/painted_files.h"

namespace vortalis::cli {

std::unique_ptr<PaintedFiles> StartPaintedFiles() { return nullptr; }

std::string_view NoPaintingReason() {
  return "SVG drawings and PDF templates are painted with Qt, which this build of "
         "vortalis-report was made without; it writes the reports, the CSV and DXF profiles, "
         "the build kits' CSV, DXF and STL files and the impedance and response files.";
}

}  // namespace vortalis::cli
