#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "buildkit/kit_parameters.h"
#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// A circular horn stacked from boards of one thickness, each with a conical
// hole: the straight cut between the wall's radii at its two faces.
namespace vortalis::buildkit {

struct Ring {
  int board;                // 1 at the throat
  long double from;         // distance of the throat-side face from the throat
  long double to;           // of the mouth-side face (the last board may be thinner)
  long double innerFrom;    // the wall's radius at `from`, as the report gives it
  long double innerTo;      // at `to`
  long double bevel;        // the cut's angle from the axis, in degrees
  long double outerRadius;  // innerTo + wall
  long double gap;          // the largest distance between the straight cut and the wall
};

// The wood left around the hole when none is given: 20 mm, or 0.75 inch.
long double DefaultRingWall(geometry::LengthUnit unit);
// The gap a straight cut may leave before its board is named: 0.5 mm in the unit.
long double DefaultRingTolerance(geometry::LengthUnit unit);
// A saw tilts at most this far from square to the board.
inline constexpr long double kSawTiltDegrees = 45.0L;

// Boards of thickness `board` from the throat to the end of the horn (its
// mouth or the mouth limit), the radii by the reports' solver at the same
// distances as a report or profile of that step. The wall is measured in the
// board's mouth-side face, where the hole is widest: the straight cut lies
// outside the curved wall, so no point of the board is nearer the hole than
// `wall`. A last board thinner than a quarter of `board` is glued to the one
// before: they are cut as one. Throws report::ProfileError or KitError for a
// board or wall that gives no rings (a board under 0.01 mm, a wall not > 0).
std::vector<Ring> StackedRings(const report::CircularReportInput& input,
                               const report::MouthLimit& limit,
                               const geometry::Separators& separators, long double board,
                               long double wall);

// The cutting list as comma-separated text with "\r\n" line ends: the header
// board,from,to,inner_radius_from,inner_radius_to,bevel_degrees,outer_radius,largest_gap
// then one line per board, lengths in the horn's unit with '.' decimals, at
// least three significant digits of the thinnest board.
std::string RingsCsv(const std::vector<Ring>& rings, geometry::LengthUnit unit);

inline constexpr KitParameter kBoardThickness{
    "board thickness", false, 0.0L, false, kMaxKitThickness, "--board", "T",
    "the board thickness of --rings", "", "&Board thickness:", "Board",
    [](const KitStart& start) { return InUnit(start.unit, 18.0L, 3); }};
inline constexpr KitParameter kRingWall{
    "wall", false, 0.0L, false, kMaxKitThickness, "--wall", "W",
    "the wood left around the hole of --rings (above 0)", "20 mm or 0.75 inch",
    "Wood around the &hole:", "BoardWall",
    [](const KitStart& start) { return DefaultRingWall(start.unit); }};
inline constexpr KitParameter kRingTolerance{
    "ring tolerance", false, 0.0L, false, kMaxKitThickness, "--ring-tolerance", "G",
    "the largest gap between a ring's straight cut and the\n"
    "curve before the board is named on standard error and in\n"
    "the PDF's list (as is a bevel past 45 degrees)",
    "0.5 mm", "Ring &tolerance:", "RingTolerance",
    [](const KitStart& start) { return DefaultRingTolerance(start.unit); }};
inline constexpr std::array<const KitParameter*, 3> kRingsParameters{&kBoardThickness, &kRingWall,
                                                                     &kRingTolerance};
inline constexpr KitUnit kRingsUnit{
    "--rings", "FILE", true,
    "build kit of stacked rings cut from boards: a CSV cutting\n"
    "list, a DXF of each board's circles, or a PDF of the list\n"
    "and each ring at full size (by FILE's extension); needs\n"
    "--board",
    "vortalis-report circular --freq 100 --rings rings.pdf --board 18 --wall 20",
    kRingsParameters, nullptr, nullptr, "Stacked &rings from boards", "Rings", "rings"};

// The kit's files: each board's circles as a drawing, and the cutting list.
struct RingsKit {
  static constexpr const KitUnit& kUnit = kRingsUnit;
  static constexpr std::array<std::string_view, 3> kFiles{"dxf", "pdf", "csv"};
  // What a piece's x and y are.
  static constexpr const char* kAxes =
      "x, y from the board's centre";
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  std::vector<Ring> rings;
  // The gap that names a board; the unit's DefaultRingTolerance when not given.
  std::optional<long double> tolerance = std::nullopt;

  // The wall and the tolerance the unit's defaults when not given.
  static RingsKit Make(const KitInput& input, const KitValues& values);
};
KitDrawing Draw(const RingsKit& kit);
// Sentences naming the boards a builder must look at: a gap over the
// tolerance, a bevel past the saw's tilt, a last board merged into the one
// before. Throws KitError for a tolerance not above 0.
std::vector<std::string> Warnings(const RingsKit& kit);
// One line for a window: the boards and the largest outer radius.
std::string Summary(const RingsKit& kit, const geometry::Separators& separators);
inline std::string Csv(const RingsKit& kit) { return RingsCsv(kit.rings, kit.unit); }

}  // namespace vortalis::buildkit
