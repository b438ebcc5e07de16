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

namespace {

const report::CircularReportInput& Circular(const report::HornInput& horn, const char* kit) {
  const auto* circular = std::get_if<report::CircularReportInput>(&horn);
  if (circular == nullptr)
    throw buildkit::KitError(std::string(kit) + " are made for circular horns only.");
  return *circular;
}

// Each kind of kit from its options: a flat kit with the file it goes to, or
// the solids. A kind of option without its overload does not compile.
struct FlatKitFile {
  buildkit::FlatKit kit;
  std::string path;
};
struct SolidFiles {
  buildkit::HornSolids solids;
  std::string path;
  buildkit::Joint joint;
};
using BuiltKit = std::variant<FlatKitFile, SolidFiles>;

struct KitBuilder {
  const report::HornInput& horn;
  const geometry::Separators& separators;
  const report::MouthLimit& limit;
  const std::function<void(int)>& progress;

  geometry::LengthUnit Unit() const { return report::UnitOf(horn); }

  BuiltKit operator()(const RingsKitOptions& rings) const {
    const long double wall = rings.wall.value_or(buildkit::DefaultRingWall(Unit()));
    return FlatKitFile{
        buildkit::RingsKit{Unit(),
                           buildkit::StackedRings(Circular(horn, "Stacked rings"), limit,
                                                  separators, rings.board, wall),
                           rings.tolerance},
        rings.path};
  }
  BuiltKit operator()(const SectorsKitOptions& sectors) const {
    return FlatKitFile{
        buildkit::SectorsKit{Unit(), buildkit::SheetDevelopments(
                                        Circular(horn, "Sheet developments"), limit, separators,
                                        sectors.step, sectors.seam)},
        sectors.path};
  }
  BuiltKit operator()(const StavesKitOptions& staves) const {
    return FlatKitFile{buildkit::StavesKit{Unit(), buildkit::Staves(Circular(horn, "Staves"), limit,
                                                                   separators, staves.count,
                                                                   staves.fit)},
                       staves.path};
  }
  BuiltKit operator()(const PanelsKitOptions& panels) const {
    return FlatKitFile{
        buildkit::PanelsKit{Unit(), buildkit::WallPanels(horn, limit, separators, panels.board)},
        panels.path};
  }
  BuiltKit operator()(const StlKitOptions& stl) const {
    buildkit::SolidOptions solid = stl.solid;
    solid.progress = progress;
    return SolidFiles{buildkit::BuildSolids(horn, limit, separators, solid), stl.path,
                      solid.joint};
  }
};

}  // namespace

int WriteKit(const report::HornInput& horn, const geometry::Separators& separators,
             const KitOptions& options, ToolEnvironment& env) {
  // File names stay bytes from the command line to the system.
  output::OutputSet outputs;
  std::string said;
  try {
    if (const auto* stl = std::get_if<StlKitOptions>(&options.kit))
      files::StlPieceNames(stl->path, 1);  // a folder's name refused before the work
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
    const BuiltKit built =
        std::visit(KitBuilder{horn, separators, options.mouthLimit, progress}, options.kit);
    bar.Hide();
    if (const auto* solid = std::get_if<SolidFiles>(&built)) {
      const std::vector<std::string> names =
          files::AddStlFiles(outputs, solid->solids, solid->path);
      for (std::size_t i = 0; i < names.size(); ++i) {
        said += names[i];
        if (i < solid->solids.prints.size())
          said += ": " + buildkit::PrintAdvice(solid->solids.prints[i]);
        said += "\n";
      }
      said += buildkit::JointAdvice(solid->joint) + "\n";
    } else {
      const FlatKitFile& flat = std::get<FlatKitFile>(built);
      for (const std::string& warning : buildkit::KitWarnings(flat.kit))
        std::fprintf(env.err, "vortalis-report: %s\n", warning.c_str());
      // SVG and PDF are painted; CSV and DXF never start Qt's platform.
      if (!files::AddUnpaintedKitFile(outputs, flat.kit, flat.path)) {
        const std::unique_ptr<PaintedFiles> painter = StartPaintedFiles();
        if (!painter) {
          std::fprintf(env.err, "vortalis-report: %s\n", std::string(NoPaintingReason()).c_str());
          return kExitRefused;
        }
        const int pages = painter->KitFile(flat.kit, files::KitFileExtension(flat.kit, flat.path),
                                           outputs.Add(flat.path), options.paper);
        if (pages > 0)
          said += flat.path + ": " + std::to_string(pages) + " page" + (pages == 1 ? "" : "s") +
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
