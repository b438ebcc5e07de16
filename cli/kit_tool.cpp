#include "cli/kit_tool.h"

#include <QString>
#include <cstdio>
#include <memory>
#include <string>

#include "buildkit/kit_horn.h"
#include "buildkit/rect_solid.h"
#include "cli/painting.h"
#include "output/output_error.h"
#include "export/kit_files.h"

namespace vortalis::cli {

namespace {

const report::CircularReportInput& Circular(const report::HornInput& horn, const char* kit) {
  const auto* circular = std::get_if<report::CircularReportInput>(&horn);
  if (circular == nullptr)
    throw buildkit::KitError(std::string(kit) + " are made for circular horns only.");
  return *circular;
}

// The flat kit of `options`, or nothing for STL.
std::optional<exports::FlatKit> FlatKitOf(const report::HornInput& horn,
                                          const geometry::Separators& separators,
                                          const KitOptions& options, std::string& path) {
  const geometry::LengthUnit unit = report::UnitOf(horn);
  if (const auto* rings = std::get_if<RingsKitOptions>(&options.kit)) {
    path = rings->path;
    return exports::RingsKit{
        unit, buildkit::StackedRings(Circular(horn, "Stacked rings"), options.mouthLimit,
                                     separators, rings->board, rings->wall)};
  }
  if (const auto* sectors = std::get_if<SectorsKitOptions>(&options.kit)) {
    path = sectors->path;
    return exports::SectorsKit{
        unit, buildkit::SheetDevelopments(Circular(horn, "Sheet developments"), options.mouthLimit,
                                          separators, sectors->step, sectors->seam)};
  }
  if (const auto* staves = std::get_if<StavesKitOptions>(&options.kit)) {
    path = staves->path;
    return exports::StavesKit{unit, buildkit::Staves(Circular(horn, "Staves"), options.mouthLimit,
                                                     separators, staves->count)};
  }
  if (const auto* panels = std::get_if<PanelsKitOptions>(&options.kit)) {
    path = panels->path;
    return exports::PanelsKit{unit,
                              buildkit::WallPanels(horn, options.mouthLimit, separators)};
  }
  return std::nullopt;
}

}  // namespace

int WriteKit(const report::HornInput& horn, const geometry::Separators& separators,
             const KitOptions& options, ToolEnvironment& env) {
  // File names stay bytes from the command line to the system.
  output::OutputSet files;
  std::string said;
  try {
    if (const auto* stl = std::get_if<StlKitOptions>(&options.kit)) {
      exports::StlPieceNames(stl->path, 1);  // a folder's name refused before the work
      const buildkit::HornSolids solids =
          report::IsRectangular(horn)
              ? buildkit::RectangularHornSolids(std::get<report::RectangularReportInput>(horn),
                                                options.mouthLimit, separators, stl->solid)
              : buildkit::CircularHornSolids(std::get<report::CircularReportInput>(horn),
                                             options.mouthLimit, separators, stl->solid);
      for (const std::string& name : exports::AddStlFiles(files, solids, stl->path))
        said += name + "\n";
    } else {
      std::string path;
      const std::optional<exports::FlatKit> kit = FlatKitOf(horn, separators, options, path);
      // SVG and PDF are painted; CSV and DXF never start Qt's platform.
      const std::size_t dot = path.rfind('.');
      const QString extension =
          QString::fromStdString(dot == std::string::npos ? "" : path.substr(dot + 1)).toLower();
      std::unique_ptr<QGuiApplication> app;
      if (extension == QStringLiteral("svg") || extension == QStringLiteral("pdf"))
        app = StartPainting();
      const int pages = exports::AddKitFile(files, *kit, path, PageSizeOf(options.paper));
      if (pages > 0)
        said += path + ": " + std::to_string(pages) + " page" + (pages == 1 ? "" : "s") +
                " at full size\n";
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
  return CommitOutputs(files, said, env);
}

}  // namespace vortalis::cli
