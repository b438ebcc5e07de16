#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "buildkit/kit_parameters.h"
#include "buildkit/sectors.h"
#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// The walls of a rectangular horn as flat patterns. Wall 1A is the surface
// z = side1(x) / 2, |y| <= side2(x) / 2 (x along the axis): curved in one plane
// only, so it develops exactly into the plane as (length along the wall from
// the throat, y). Wall 2A likewise with side2 / 2 and side1; 1B and 2B are
// their mirror images, with the same outlines.
namespace vortalis::buildkit {

struct PanelPoint {
  long double distance;  // from the throat along the axis
  long double along;     // the pattern's length from the throat end, along the wall
  long double width;     // between the two walls this one meets; the outline lies at +-width / 2
};

struct Panel {
  std::string name;                // "1A", "1B", "2A" or "2B"
  bool flat = false;               // a flat side: a plane, its length the slant length
  std::vector<PanelPoint> points;  // throat first; the outline is within the curve tolerance
  long double length = 0.0L;       // the last point's `along`
  std::vector<PanelPoint> marks;   // at whole multiples of the set's markStep, before the end
  // With a board thickness, on the pair that covers the other's edges: the
  // cut edge, its width reaching the covered boards' outer faces (see
  // WallPanels). Empty: the outline is the inner face's.
  std::vector<PanelPoint> edge;
  // With a board thickness, on the covered pair: the saw's tilt from square
  // along the edges, in degrees, at the throat and at the end; where the
  // covering wall narrows towards the mouth it is negative (the outer face
  // would be wider than the inner one).
  long double throatBevel = 0.0L;
  long double endBevel = 0.0L;

  // The closed outline, in the horn's unit: x along the wall, y across it,
  // symmetric about y = 0; the upper edge from the throat, then the lower back.
  std::vector<FlatPoint> Outline() const;
};

struct PanelSet {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  long double end = 0.0L;      // where the panels end along the axis: L, or the mouth limit
  long double markStep = 0.0L;  // between the marks, along the axis (MarkStep of the end)
  std::array<Panel, 4> panels;  // 1A, 1B, 2A, 2B
  long double board = 0.0L;     // the boards' thickness; 0: inner faces only
};

// Only for input the validation accepted. Throws KitError for a circular horn
// and report::ProfileError for a mouth limit the profile refuses; the panels
// end where the profile does.
//
// With boards `board` thick (their inner faces on the walls, their ends cut
// square to the face), 2A and 2B cover the edges of 1A and 1B: 1A and 1B keep
// their inner width, their edges bevelled to lie on the inner faces of 2A and
// 2B; 2A and 2B are widened to the outer faces of 1A and 1B. Wall 1A is a
// cylinder across y, so its board's section is the same in every plane
// y = const, the inner face of 2A among them: the edge of 2A at distance x
// is the farthest point from the axis of that section at x, i.e. of the
// inner curve offset by `board` along its normal, and of the board's end.
// The bevel that lays 1A's edge on 2A's face is asin(sin w1 sin w2) from
// square, w1 and w2 the walls' angles to the axis.
PanelSet WallPanels(const report::HornInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators, long double board = 0.0L);

// The thickness of the panels' boards, in the horn's unit.
inline constexpr KitParameter kPanelBoard{
    "panel board thickness", false, 0.0L, true, kMaxKitThickness, "--panel-board", "T",
    "the board thickness of --panels: 2A and 2B are widened\n"
    "to cover the edges of 1A and 1B (0: the inner faces)",
    "0", "Pan&el board thickness:", "PanelBoard",
    [](const KitStart&) { return 0.0L; }};
inline constexpr std::array<const KitParameter*, 1> kPanelsParameters{&kPanelBoard};

inline constexpr KitUnit kPanelsUnit{
    "--panels", "FILE", false,
    "the four walls of a rectangular horn at true size, each\n"
    "laid flat (its length along the wall against the width\n"
    "between the walls it meets): DXF, SVG or a PDF template on\n"
    "--paper, by FILE's extension; a kit's PDF is turned to need\n"
    "fewer pages and its page count is printed",
    "vortalis-report rectangular --flat-mouth 900 --panels walls.dxf", kPanelsParameters, nullptr,
    nullptr, "Wall pan&els laid flat", "Panels", "panels", true};

// The kit's files: the four walls laid flat.
struct PanelsKit {
  static constexpr const KitUnit& kUnit = kPanelsUnit;
  static constexpr std::array<std::string_view, 3> kFiles{"dxf", "svg", "pdf"};
  // What a piece's x and y are.
  static constexpr const char* kAxes =
      "x along the panel from its throat end, y across from its centre line";
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  PanelSet panels;

  static PanelsKit Make(const KitInput& input, const KitValues& values);
};
KitDrawing Draw(const PanelsKit& kit);
// A flat-sided horn's pinched pair and oversized mouth, one sentence each
// (report::SideWarnings of the panels' points); none without flat sides.
std::vector<std::string> Warnings(const PanelsKit& kit);
// One line for a window: the panels' lengths along the wall.
std::string Summary(const PanelsKit& kit, const geometry::Separators& separators);

}  // namespace vortalis::buildkit
