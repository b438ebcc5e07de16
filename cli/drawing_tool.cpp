#include "cli/drawing_tool.h"

#include <QPageSize>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/painting.h"
#include "export/full_size_template.h"
#include "export/profile_export.h"
#include "output/output_error.h"
#include "output/output_set.h"
#include "report/horn_profile.h"

namespace vortalis::cli {

namespace {

report::HornProfile MakeProfile(const ToolOptions& options) {
  const DrawingOptions& drawings = options.drawings;
  const long double step = drawings.step.value_or(geometry::IncrementValue(
      report::IncrementOf(options.horn), report::UnitOf(options.horn)));
  return report::MakeProfile(options.horn, step, drawings.mouthLimit, options.separators);
}

}  // namespace

int WriteDrawings(const ToolOptions& options, ToolEnvironment& env, output::OutputSet& files,
                  std::string& said) {
  const DrawingOptions& drawings = options.drawings;
  try {
    const report::HornProfile profile = MakeProfile(options);
    std::unique_ptr<QGuiApplication> app;
    const bool paints = drawings.templatePath || drawings.format == report::ExportFormat::Svg;
    if (paints) app = StartPainting();
    // File names are bytes, passed on exactly.
    if (drawings.format)
      exports::WriteProfile(profile, *drawings.format, files.Add(drawings.exportPath));
    if (drawings.templatePath) {
      const int pages =
          exports::WriteTemplatePdf(profile, files.Add(*drawings.templatePath),
                                    PageSizeOf(drawings.paper), options.separators);
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
