#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "buildkit/kit_parameters.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// A circular horn made of sheet: conical frusta between the stations of a
// step, each unrolled into an annular sector with a seam strip on one edge.
namespace vortalis::buildkit {

struct Sector {
  long double from;           // distance of the frustum's throat end from the throat
  long double to;             // of its mouth end
  long double radiusFrom;     // the wall's radius at `from` (the report's)
  long double radiusTo;       // at `to`
  long double innerRadius;    // unrolled: distance of the throat end's arc from the cone's apex
  long double outerRadius;    // of the mouth end's arc
  long double angle;          // the sector's angle without the seam, in degrees
  long double angleWithSeam;  // including the seam strip, measured at the inner arc
  long double gap;            // largest distance between the frustum and the true wall
};

struct SheetDevelopment {
  long double step = 0.0L;
  long double seam = 0.0L;  // width of the strip beyond one straight edge, for the overlap
  std::vector<Sector> sectors;
  long double largestGap = 0.0L;  // over all frusta
};

// Frusta between a profile's points at `step`; throws report::ProfileError
// for a step the profile refuses and KitError for a seam < 0.
SheetDevelopment SheetDevelopments(const report::CircularReportInput& input,
                                   const report::MouthLimit& limit,
                                   const geometry::Separators& separators, long double step,
                                   long double seam);

struct FlatPoint {
  long double x;
  long double y;
};

// The piece to cut, seam included, with the cone's apex at the origin and the
// sector's first straight edge on the x axis, counter-clockwise; the arcs
// within `tolerance`. Throws KitError when the seam does not fit (as wide as
// the inner radius, or the piece with its seam would overlap itself).
std::vector<FlatPoint> SectorOutline(const Sector& sector, long double seam, long double tolerance);

// The step is the profile's: the tool takes it from --step, which the drawings share.
inline constexpr KitParameter kSectorStep{
    "step", false, 0.0L, false, kMaxKitSpan, "--step", "VALUE", "", "",
    "&Step between stations:", "Step",
    [](const KitStart& start) { return InUnit(start.unit, 20.0L, 1); }};
inline constexpr KitParameter kSeamAllowance{
    "seam allowance", false, 0.0L, true, kMaxKitThickness, "--seam", "A",
    "the seam allowance of --sectors", "0", "Seam &allowance:", "Seam",
    [](const KitStart& start) { return InUnit(start.unit, 10.0L, 1); }};
inline constexpr std::array<const KitParameter*, 2> kSectorsParameters{&kSectorStep,
                                                                       &kSeamAllowance};
inline constexpr KitUnit kSectorsUnit{
    "--sectors", "FILE", true,
    "build kit of sheet developments: the horn as cones between\n"
    "stations --step apart, unrolled to cut from sheet (DXF,\n"
    "SVG or PDF template); needs --step",
    "vortalis-report circular --sectors cones.svg --step 20 --seam 10", kSectorsParameters,
    nullptr, nullptr, "Sheet &developments (frusta)", "Sectors", "sectors"};

// The kit's files: every sector as a piece to cut.
struct SectorsKit {
  static constexpr const KitUnit& kUnit = kSectorsUnit;
  static constexpr std::array<std::string_view, 3> kFiles{"dxf", "svg", "pdf"};
  // What a piece's x and y are.
  static constexpr const char* kAxes =
      "x, y from the centre of the sector's arcs, x along its first edge";
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  SheetDevelopment development;

  // No seam when none is given.
  static SectorsKit Make(const KitInput& input, const KitValues& values);
};
KitDrawing Draw(const SectorsKit& kit);
// One line for a window: the sectors and the largest gap.
std::string Summary(const SectorsKit& kit, const geometry::Separators& separators);

}  // namespace vortalis::buildkit
