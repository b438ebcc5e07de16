#include "cli/kit_tool.h"

#include <cstdio>
#include <memory>

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
    return FlatKitFile{buildkit::RingsKit{Unit(), buildkit::StackedRings(
                                                     Circular(horn, "Stacked rings"), limit,
                                                     separators, rings.board, rings.wall)},
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
                                                                   separators, staves.count)},
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
  try {
    const BuiltKit built =
        std::visit(KitBuilder{horn, separators, options.mouthLimit}, options.kit);
    if (const auto* solid = std::get_if<SolidFiles>(&built)) {
      for (const std::string& name : files::WriteStlFiles(solid->solids, solid->path))
        std::fprintf(env.out, "%s\n", name.c_str());
    } else {
      const FlatKitFile& flat = std::get<FlatKitFile>(built);
      // SVG and PDF are painted; CSV and DXF never start Qt's platform.
      if (!files::WriteUnpaintedKitFile(flat.kit, flat.path)) {
        const std::unique_ptr<PaintedFiles> painter = StartPaintedFiles();
        if (!painter) {
          std::fprintf(env.err, "vortalis-report: %s\n", std::string(NoPaintingReason()).c_str());
          return kExitRefused;
        }
        const int pages = painter->KitFile(flat.kit, flat.path, options.paper);
        if (pages > 0)
          std::fprintf(env.out, "%s: %d page%s at full size\n", flat.path.c_str(), pages,
                       pages == 1 ? "" : "s");
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
  return std::fflush(env.out) == 0 ? kExitDone : kExitRefused;
}

}  // namespace vortalis::cli
