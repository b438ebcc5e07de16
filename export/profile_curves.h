#pragma once

#include <string>
#include <vector>

#include <QPointF>
#include <QRectF>

#include "output/output_file.h"
#include "report/horn_profile.h"

// The lines of a profile drawing in the report's unit: x along the axis from
// the throat, y up from the axis. The DXF, the SVG, the template and the
// profile window all draw these, so no two drawings of a horn differ.
namespace vortalis::exports {

struct ProfileCurve {
  std::string layer;            // DXF layer name: "WALL", "SIDES_1A_1B", "SIDES_2A_2B"
  std::string label;            // for a legend: "Wall", "Sides 1A - 1B", "Sides 2A - 2B"
  std::vector<QPointF> points;  // throat first; y >= 0 (one side of the axis)
  bool straight = false;        // a flat side: only its two ends
};

// One curve per wall shape, on the positive side of the axis: the circular
// wall (radius), or the half distances of sides 1A - 1B and 2A - 2B (with flat
// sides the first is a straight line).
std::vector<ProfileCurve> ProfileCurves(const report::HornProfile& profile);

// The same curve mirrored to the other side of the axis (y -> -y).
std::vector<QPointF> Mirrored(const std::vector<QPointF>& points);

// x from 0 to the last point's distance, y from 0 to the largest curve value.
QRectF ProfileExtent(const report::HornProfile& profile);

// Millimetres in one unit of the profile (1 or 25.4), for physical sizes.
qreal MillimetresPerUnit(const report::HornProfile& profile);

// The DXF file (see WriteProfile): dxflib writes to a named scratch file in
// $TMPDIR, whose bytes then go to sink.
void WriteProfileDxf(const report::HornProfile& profile, output::ByteSink& sink);

}  // namespace vortalis::exports
