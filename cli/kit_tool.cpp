#include "cli/kit_tool.h"

#include <cstdio>
#include <memory>
#include <string>

#include "buildkit/flat_kits.h"
#include "buildkit/kit_horn.h"
#include "buildkit/rect_solid.h"
#include "cli/painted_files.h"
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
};
using BuiltKit = std::variant<FlatKitFile, SolidFiles>;

struct KitBuilder {
  const report::HornInput& horn;
  const geometry::Separators& separators;
  const report::MouthLimit& limit;

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
    return FlatKitFile{buildkit::PanelsKit{Unit(), buildkit::WallPanels(horn, limit, separators)},
                       panels.path};
  }
  BuiltKit operator()(const StlKitOptions& stl) const {
    return SolidFiles{
        report::IsRectangular(horn)
            ? buildkit::RectangularHornSolids(std::get<report::RectangularReportInput>(horn),
                                              limit, separators, stl.solid)
            : buildkit::CircularHornSolids(std::get<report::CircularReportInput>(horn), limit,
                                           separators, stl.solid),
        stl.path};
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
    const BuiltKit built =
        std::visit(KitBuilder{horn, separators, options.mouthLimit}, options.kit);
    if (const auto* solid = std::get_if<SolidFiles>(&built)) {
      for (const std::string& name : files::AddStlFiles(outputs, solid->solids, solid->path))
        said += name + "\n";
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
