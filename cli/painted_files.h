#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "buildkit/flat_kits.h"
#include "cli/option_table.h"
#include "geometry/number_text.h"
#include "output/output_file.h"
#include "report/horn_profile.h"

// The files vortalis-report paints: the profile's SVG, the full-size
// template and the build kits' SVG and PDF. A build with the window program
// paints them with Qt off screen; a build without Qt has no painter and
// refuses them. Failures throw output::OutputError.
namespace vortalis::cli {

class PaintedFiles {
 public:
  virtual ~PaintedFiles() = default;
  // Each writes to `file`, a member of the run's output::OutputSet.
  virtual void ProfileSvg(const report::HornProfile& profile, output::OutputFile& file) = 0;
  // Return the number of pages.
  virtual int Template(const report::HornProfile& profile, output::OutputFile& file, Paper paper,
                       const geometry::Separators& separators) = 0;
  // `extension`: "svg" or "pdf", as files::KitFileExtension gives it.
  virtual int KitFile(const buildkit::FlatKit& kit, std::string_view extension,
                      output::OutputFile& file, Paper paper) = 0;
};

// A painter for as long as it lives (Qt's platform started off screen), or
// nothing in a build without Qt.
std::unique_ptr<PaintedFiles> StartPaintedFiles();

// Why a build without Qt refuses the painted files, one sentence; empty in a
// build that paints them.
std::string_view NoPaintingReason();

}  // namespace vortalis::cli
