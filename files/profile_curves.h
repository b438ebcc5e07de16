#pragma once

#include <string>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"

// The lines of a profile drawing in the report's unit: x along the axis from
// the throat, y up from the axis. The DXF, the SVG, the template and the
// profile window all draw these, so no two drawings of a horn differ. Every
// chord lies within report::kCurveToleranceMm of the true curve at full
// size; the points come from the reports' radius solver.
namespace vortalis::files {

using buildkit::DrawBox;
using buildkit::DrawPoint;

struct ProfileCurve {
  std::string layer;            // DXF layer name: "WALL", "SIDES_1A_1B", "SIDES_2A_2B"
  std::string label;            // for a legend: "Wall", "Sides 1A - 1B", "Sides 2A - 2B"
  std::vector<DrawPoint> points;  // throat first; y >= 0 (one side of the axis)
  bool straight = false;        // a flat side: only its two ends
};

// One curve per wall shape, on the positive side of the axis: the circular
// wall (radius), or the half distances of sides 1A - 1B and 2A - 2B (with flat
// sides the first is a straight line). Every point of profile.points is a
// point of each curve, with the same values; more lie between where needed.
std::vector<ProfileCurve> ProfileCurves(const report::HornProfile& profile);
// How many curves ProfileCurves gives, without computing them.
std::size_t ProfileCurveCount(const report::HornProfile& profile);
// The true point of curve `index` of ProfileCurves where the full tractrix has
// radius u, in the unit: x grows with u, y need not (a side pinched by flat sides).
DrawPoint CurvePointAt(const report::HornProfile& profile, std::size_t index, long double u);

// A station of the step (not the throat nor the end) on one curve.
struct StationMark {
  DrawPoint point;         // on the curve, in the unit
  DrawPoint across;        // unit normal of the curve there, pointing away from the axis
  long double distance;  // from the throat
  bool labelled;         // every few stations carry their distance (StationText)
};
// Half the length of a station tick, at full size: it crosses the wall by this much each way.
inline constexpr double kStationTickMm = 2.0;
// Labelled stations are at least this far apart along the axis, at full size.
inline constexpr double kStationLabelSpacingMm = 20.0;
// Marks are at least this far apart: a finer step marks every few stations.
inline constexpr double kStationMarkSpacingMm = 1.0;
// The height of a station's distance, written beyond its tick, at full size.
inline constexpr double kStationTextMm = 2.5;
// A station's distance is written on a curve only where the next curve out
// stands at least this far beyond it, so that text and ticks stay apart; the
// outermost curve always has room.
inline constexpr double kStationLabelRoomMm = 2.5 * kStationTickMm + kStationTextMm + 1.0;

// The step's stations on each curve of ProfileCurves, in the same order.
std::vector<std::vector<StationMark>> StationMarks(const report::HornProfile& profile);

// A station's distance as the CSV writes it ("." decimals unless told otherwise).
std::string StationText(const report::HornProfile& profile, long double distance,
                        const geometry::Separators& separators = {".", ""});

// The same curve mirrored to the other side of the axis (y -> -y).
std::vector<DrawPoint> Mirrored(const std::vector<DrawPoint>& points);

// x from 0 to the last point's distance, y from 0 to the largest curve value.
DrawBox ProfileExtent(const report::HornProfile& profile);

// Millimetres in one unit of the profile (1 or 25.4), for physical sizes.
double MillimetresPerUnit(const report::HornProfile& profile);

}  // namespace vortalis::files
