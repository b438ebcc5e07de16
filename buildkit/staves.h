#pragma once

#include <array>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "buildkit/kit_parameters.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// A circular horn of N flat staves bent along their length. Across the horn
// the staves make a regular N-gon around the wall's circle; a stave's
// cross-section edges all stand square to its mid-plane, so the stave is a
// cylinder surface and develops exactly: along its mid-line (which lies the
// polygon's apothem from the axis) against its width.
namespace vortalis::buildkit {

// How the polygon sits on the wall's circle of radius r.
enum class StaveFit {
  Inscribed,      // corners on the circle: apothem r cos(pi/N)
  Circumscribed,  // flats tangent to it: apothem r, so no flat stands inside the circle
  EqualArea,      // the polygon's area pi r^2
};
inline constexpr std::array<std::pair<std::string_view, StaveFit>, 3> kStaveFits{{
    {"inscribed", StaveFit::Inscribed},
    {"circumscribed", StaveFit::Circumscribed},
    {"equal-area", StaveFit::EqualArea},
}};
std::string_view StaveFitName(StaveFit fit);

struct StavePoint {
  long double distance;   // from the throat along the axis
  long double radius;     // the wall's radius there (the reports' solver)
  long double along;      // the flat pattern's length from the throat end, along the mid-line
  long double halfWidth;  // the outline lies at +-halfWidth from the mid-line
  long double mitre;      // each edge's bevel from square, degrees: half the angle between
                          // the neighbouring staves' normals
};

// The polygon's apothem and half side for a circle of radius 1.
struct StaveSection {
  long double apothem;
  long double halfWidth;
};
StaveSection SectionOf(StaveFit fit, int count);

struct StavePattern {
  int count = 0;
  StaveFit fit = StaveFit::Circumscribed;
  std::vector<StavePoint> points;  // throat first; the outline is within the curve tolerance
  long double length = 0.0L;       // the last point's `along`
  std::vector<StavePoint> ticks;   // at round distances from the throat (MarkStep), exactly
};

// The tool takes the count with the kit's own option: --staves N FILE.
inline constexpr KitParameter kStaveCount{
    "number of staves", true, 6.0L, true, 64.0L, "", "", "", "",
    "&Number of staves:", "StaveCount", [](const KitStart&) { return 12.0L; }};
inline constexpr std::array<const KitParameter*, 1> kStavesParameters{&kStaveCount};
inline constexpr std::array<std::string_view, 3> kStaveFitWords{
    kStaveFits[0].first, kStaveFits[1].first, kStaveFits[2].first};
inline constexpr KitChoice kStaveFitChoice{
    "--stave-fit",
    "how the staves' polygon sits on the wall's circle:\n"
    "circumscribed (flats tangent to it, so the throat is never\n"
    "narrower than the driver's exit), inscribed (corners on\n"
    "it) or equal-area",
    "circumscribed", kStaveFitWords, "Stave &fit:", "StaveFit"};
inline constexpr KitUnit kStavesUnit{
    "--staves", "N FILE", true,
    "build kit of N flat staves (6 to 64) bent along their\n"
    "length: one stave's pattern (DXF, SVG or PDF template) or\n"
    "its list of widths and edge mitres (CSV)",
    "vortalis-report circular --staves 12 staves.pdf", kStavesParameters, nullptr,
    &kStaveFitChoice, "S&taves bent along their length", "Staves", "staves"};

// Throws KitError for a count outside kStaveCount's limits.
StavePattern Staves(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, int count,
                    StaveFit fit = StaveFit::Circumscribed);

// The staves' list as comma-separated text with "\r\n" line ends: the header
// distance,radius,along,width,mitre_degrees, then the throat end, every tick
// and the end; lengths in the horn's unit with '.' decimals.
std::string StavesCsv(const StavePattern& pattern, geometry::LengthUnit unit);

// The kit's files: the one stave's pattern, and its list.
struct StavesKit {
  static constexpr const KitUnit& kUnit = kStavesUnit;
  static constexpr std::array<std::string_view, 4> kFiles{"dxf", "svg", "pdf", "csv"};
  // What a piece's x and y are.
  static constexpr const char* kAxes =
      "x along the stave's mid-line from its throat end, y across from it";
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  StavePattern pattern;

  // The choice's unset fit when none is given.
  static StavesKit Make(const KitInput& input, const KitValues& values);
};
KitDrawing Draw(const StavesKit& kit);
// One line for a window: the staves and their length.
std::string Summary(const StavesKit& kit, const geometry::Separators& separators);
inline std::string Csv(const StavesKit& kit) { return StavesCsv(kit.pattern, kit.unit); }

}  // namespace vortalis::buildkit
