#pragma once

#include <string>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "files/profile_curves.h"
#include "report/horn_profile.h"

// The profile's lines (files/profile_curves.h: the DXF draws the same) in
// Qt's types, for the SVG, the template and the profile window.
namespace vortalis::exports {

struct ProfileCurve {
  std::string layer;            // DXF layer name: "WALL", "SIDES_1A_1B", "SIDES_2A_2B"
  std::string label;            // for a legend: "Wall", "Sides 1A - 1B", "Sides 2A - 2B"
  std::vector<QPointF> points;  // throat first; y >= 0 (one side of the axis)
  bool straight = false;        // a flat side: only its two ends
};

// One curve per wall shape, on the positive side of the axis: the circular
// wall (radius), or the half distances of sides 1A - 1B and 2A - 2B (with flat
// sides the first is a straight line). Every point of profile.points is a
// point of each curve, with the same values; more lie between where needed.
std::vector<ProfileCurve> ProfileCurves(const report::HornProfile& profile);
// How many curves ProfileCurves gives, without computing them.
using files::ProfileCurveCount;

// A station of the step (not the throat nor the end) on one curve.
struct StationMark {
  QPointF point;         // on the curve, in the unit
  QPointF across;        // unit normal of the curve there, pointing away from the axis
  long double distance;  // from the throat
  bool labelled;         // every few stations carry their distance (StationText)
};
using files::kStationLabelRoomMm;
using files::kStationLabelSpacingMm;
using files::kStationMarkSpacingMm;
using files::kStationTextMm;
using files::kStationTickMm;

// The step's stations on each curve of ProfileCurves, in the same order.
std::vector<std::vector<StationMark>> StationMarks(const report::HornProfile& profile);

// A station's distance as the CSV writes it ("." decimals unless told otherwise).
using files::StationText;

// The same curve mirrored to the other side of the axis (y -> -y).
std::vector<QPointF> Mirrored(const std::vector<QPointF>& points);

// x from 0 to the last point's distance, y from 0 to the largest curve value.
QRectF ProfileExtent(const report::HornProfile& profile);

// Millimetres in one unit of the profile (1 or 25.4), for physical sizes.
using files::MillimetresPerUnit;

}  // namespace vortalis::exports
