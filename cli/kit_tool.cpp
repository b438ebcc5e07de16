#include "cli/kit_tool.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "buildkit/flat_kits.h"
#include "buildkit/kit_horn.h"
#include "buildkit/solid_kit.h"
#include "cli/painted_files.h"
#include "cli/terminal_progress.h"
#include "files/kit_files.h"
#include "output/output_error.h"

namespace vortalis::cli {

int WriteKit(const report::HornInput& horn, const geometry::Separators& separators,
             const KitOptions& options, ToolEnvironment& env) {
  // File names stay bytes from the command line to the system.
  output::OutputSet outputs;
  std::string said;
  try {
    if (options.unit == &buildkit::SolidKit::kUnit)
      files::StlPieceNames(options.path, 1);  // a folder's name refused before the work
    // A bar on a terminal once the solids take longer than a second; Ctrl+C
    // stops the tool at once meanwhile (no file is open yet).
    TerminalProgress bar(env.err, env.progressBar, nullptr);
    const auto started = std::chrono::steady_clock::now();
    bool shown = false;
    const std::function<void(int)> progress = [&](int percent) {
      if (!shown && std::chrono::steady_clock::now() - started < std::chrono::seconds(1)) return;
      if (!shown) bar.Show();
      shown = true;
      bar.SetPosition(percent);
    };
    // The pieces are written, each streamed: no solid in one piece besides them.
    const buildkit::AnyKit built = buildkit::MakeKit(
        *options.unit, {horn, options.mouthLimit, separators, false, progress}, options.values);
    bar.Hide();
    if (const auto* solids = std::get_if<buildkit::HornSolids>(&built)) {
      const std::vector<std::string> names = files::AddStlFiles(outputs, *solids, options.path);
      for (std::size_t i = 0; i < names.size(); ++i) {
        said += names[i];
        if (i < solids->prints.size()) said += ": " + buildkit::PrintAdvice(solids->prints[i]);
        said += "\n";
      }
      said += buildkit::JointAdvice(solids->joint) + "\n";
    } else {
      const buildkit::FlatKit& flat = std::get<buildkit::FlatKit>(built);
      for (const std::string& warning : buildkit::KitWarnings(flat))
        std::fprintf(env.err, "vortalis-report: %s\n", warning.c_str());
      // SVG and PDF are painted; CSV and DXF never start Qt's platform.
      if (!files::AddUnpaintedKitFile(outputs, flat, options.path)) {
        const std::unique_ptr<PaintedFiles> painter = StartPaintedFiles();
        if (!painter) {
          std::fprintf(env.err, "vortalis-report: %s\n", std::string(NoPaintingReason()).c_str());
          return kExitRefused;
        }
        const int pages = painter->KitFile(flat, files::KitFileExtension(flat, options.path),
                                           outputs.Add(options.path), options.paper);
        if (pages > 0)
          said += options.path + ": " + std::to_string(pages) + " page" + (pages == 1 ? "" : "s") +
                  " at full size\n";
      }
    }
  } catch (const report::ProfileError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  } catch (const buildkit::KitError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  } catch (const output::OutputError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return CommitOutputs(outputs, said, env);
}

}  // namespace vortalis::cli
