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

  // The closed outline, in the horn's unit: x along the wall, y across it,
  // symmetric about y = 0; the upper edge from the throat, then the lower back.
  std::vector<FlatPoint> Outline() const;
};

struct PanelSet {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  long double end = 0.0L;      // where the panels end along the axis: L, or the mouth limit
  long double markStep = 0.0L;  // between the marks, along the axis (MarkStep of the end)
  std::array<Panel, 4> panels;  // 1A, 1B, 2A, 2B
};

// Only for input the validation accepted. Throws KitError for a circular horn
// and report::ProfileError for a mouth limit the profile refuses; the panels
// end where the profile does.
PanelSet WallPanels(const report::HornInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators);

inline constexpr KitUnit kPanelsUnit{
    "--panels", "FILE", false,
    "the four walls of a rectangular horn at true size, each\n"
    "laid flat (its length along the wall against the width\n"
    "between the walls it meets): DXF, SVG or a PDF template on\n"
    "--paper, by FILE's extension; a kit's PDF is turned to need\n"
    "fewer pages and its page count is printed",
    "vortalis-report rectangular --flat-mouth 900 --panels walls.dxf", {}, nullptr, nullptr,
    "Wall pan&els laid flat", "Panels", "panels", true};

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
