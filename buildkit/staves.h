#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "buildkit/kit_parameters.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// A circular horn of N flat staves bent along their length. A stave's
// cross-section edges all stand square to its mid-plane, so the stave is a
// cylinder surface and develops exactly: along its mid-line (which lies
// r cos(pi/N) from the axis) against its width 2 r sin(pi/N).
namespace vortalis::buildkit {

struct StavePoint {
  long double distance;   // from the throat along the axis
  long double radius;     // the wall's radius there (the reports' solver)
  long double along;      // the flat pattern's length from the throat end, along the mid-line
  long double halfWidth;  // r sin(pi/N): the outline lies at +-halfWidth from the mid-line
};

struct StavePattern {
  int count = 0;
  std::vector<StavePoint> points;  // throat first; the outline is within the curve tolerance
  long double length = 0.0L;       // the last point's `along`
};

// The tool takes the count with the kit's own option: --staves N FILE.
inline constexpr KitParameter kStaveCount{
    "number of staves", true, 6.0L, true, 64.0L, "", "", "", "",
    "&Number of staves (6 to 64):", "StaveCount", [](const KitStart&) { return 12.0L; }};
inline constexpr std::array<const KitParameter*, 1> kStavesParameters{&kStaveCount};
inline constexpr KitUnit kStavesUnit{
    "--staves", "N FILE", true,
    "build kit of N flat staves (6 to 64) bent along their\n"
    "length: one stave's pattern (DXF, SVG or PDF template)",
    "vortalis-report circular --staves 12 staves.pdf", kStavesParameters};

// Throws KitError for a count outside kStaveCount's limits.
StavePattern Staves(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, int count);

// The kit's files: the one stave's pattern.
struct StavesKit {
  static constexpr const KitUnit& kUnit = kStavesUnit;
  static constexpr std::array<std::string_view, 3> kFiles{"dxf", "svg", "pdf"};
  // What a piece's x and y are.
  static constexpr const char* kAxes =
      "x along the stave's mid-line from its throat end, y across from it";
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  StavePattern pattern;
};
KitDrawing Draw(const StavesKit& kit);
// One line for a window: the staves and their length.
std::string Summary(const StavesKit& kit, const geometry::Separators& separators);

}  // namespace vortalis::buildkit
