#include "cli/drawing_tool.h"

#include <cstdio>
#include <memory>
#include <string>

#include "cli/painted_files.h"
#include "files/profile_formats.h"
#include "output/output_error.h"
#include "output/output_set.h"
#include "report/horn_profile.h"
#include "report/side_warnings.h"

namespace vortalis::cli {

namespace {

report::HornProfile MakeProfile(const ToolOptions& options) {
  const DrawingOptions& drawings = options.drawings;
  const long double step = drawings.step.value_or(geometry::IncrementValue(
      report::IncrementOf(options.horn), report::UnitOf(options.horn)));
  return report::MakeProfile(options.horn, step, drawings.mouthLimit, options.separators);
}

}  // namespace

int WriteDrawings(const ToolOptions& options, ToolEnvironment& env, output::OutputSet& outputs,
                  std::string& said) {
  const DrawingOptions& drawings = options.drawings;
  try {
    const bool paintedExport = drawings.format && files::FormatOf(*drawings.format).Painted();
    std::unique_ptr<PaintedFiles> painter;
    if (paintedExport || drawings.templatePath) {
      painter = StartPaintedFiles();
      if (!painter) {
        std::fprintf(env.err, "vortalis-report: %s\n", std::string(NoPaintingReason()).c_str());
        return kExitRefused;
      }
    }
    const report::HornProfile profile = MakeProfile(options);
    for (const std::string& warning : report::FlatSideWarnings(profile))
      std::fprintf(env.err, "vortalis-report: %s\n", warning.c_str());
    // File names are bytes, passed on exactly.
    if (paintedExport)
      painter->ProfileSvg(profile, outputs.Add(drawings.exportPath));
    else if (drawings.format)
      files::AddProfileFile(outputs, profile, *drawings.format, drawings.exportPath);
    if (drawings.templatePath) {
      const int pages = painter->Template(profile, outputs.Add(*drawings.templatePath),
                                          drawings.paper, options.separators);
      said += *drawings.templatePath + ": " + std::to_string(pages) + " page" +
              (pages == 1 ? "" : "s") + " at full size\n";
    }
  } catch (const report::ProfileError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  } catch (const output::OutputError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace vortalis::cli
