#include <string>
#include <vector>

#include "files/dxf_file.h"
#include "files/profile_curves.h"
#include "files/profile_files.h"

namespace vortalis::files {

namespace {

// DXF colour numbers.
constexpr int kRed = 1;
constexpr int kGreen = 3;
constexpr int kBlue = 5;
constexpr int kForeground = 7;  // black on white, white on black
constexpr const char* kAxisLayer = "AXIS";
constexpr const char* kProfileLayer = "PROFILE";
constexpr const char* kStationsLayer = "STATIONS";

int CurveColour(const ProfileCurve& curve) {
  if (curve.layer == "SIDES_1A_1B") return kBlue;
  if (curve.layer == "SIDES_2A_2B") return kGreen;
  return kForeground;
}

std::vector<DxfLayer> Layers(const std::vector<ProfileCurve>& curves) {
  std::vector<DxfLayer> layers{{kAxisLayer, kRed}};
  for (const ProfileCurve& curve : curves) layers.push_back({curve.layer, CurveColour(curve)});
  layers.push_back({kProfileLayer, kForeground});
  layers.push_back({kStationsLayer, kForeground});
  return layers;
}

void WritePolyline(DL_Dxf& dxf, DL_WriterA& dw, const std::string& layer,
                   const std::vector<DrawPoint>& points, bool closed = false) {
  dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(points.size()), 0, 0, closed ? 1 : 0),
                    OnLayer(layer));
  for (const DrawPoint& point : points) dxf.writeVertex(dw, DL_VertexData(point.x, point.y));
  dxf.writePolylineEnd(dw);
}

// A tick across each wall and its mirror image at every station, the
// labelled ones with their distance beyond the upper tick.
void WriteStations(DL_Dxf& dxf, DL_WriterA& dw, const report::HornProfile& profile) {
  const double perMm = 1.0 / MillimetresPerUnit(profile);
  const double tick = kStationTickMm * perMm;
  for (const std::vector<StationMark>& marks : StationMarks(profile)) {
    for (const StationMark& mark : marks) {
      for (const double side : {1.0, -1.0}) {
        const DrawPoint at{mark.point.x, side * mark.point.y};
        const DrawPoint across{mark.across.x, side * mark.across.y};
        const DrawPoint from{at.x - across.x * tick, at.y - across.y * tick};
        const DrawPoint to{at.x + across.x * tick, at.y + across.y * tick};
        dxf.writeLine(dw, DL_LineData(from.x, from.y, 0.0, to.x, to.y, 0.0),
                      OnLayer(kStationsLayer));
      }
      if (!mark.labelled) continue;
      const double beyond = 1.5 * tick;
      const DrawPoint text{mark.point.x + mark.across.x * beyond,
                           mark.point.y + mark.across.y * beyond};
      dxf.writeText(dw,
                    DL_TextData(text.x, text.y, 0.0, text.x, text.y, 0.0,
                                kStationTextMm * perMm, 1.0, 0, 1 /* centre */, 1 /* bottom */,
                                StationText(profile, mark.distance), "Standard", 0.0),
                    OnLayer(kStationsLayer));
    }
  }
}

void WriteDrawing(DL_WriterA& dw, DL_Dxf& dxf, const report::HornProfile& profile) {
  const std::vector<ProfileCurve> curves = ProfileCurves(profile);
  const DrawBox extent = ProfileExtent(profile);
  WriteDxfHeader(dxf, dw, profile.unit == geometry::LengthUnit::Millimetre, extent.Left(),
                 -extent.Bottom(), extent.Right(), extent.Bottom());
  WriteDxfTables(dxf, dw, Layers(curves));
  dw.sectionEntities();
  dxf.writeLine(dw, DL_LineData(0.0, 0.0, 0.0, extent.Right(), 0.0, 0.0), OnLayer(kAxisLayer));
  for (const ProfileCurve& curve : curves) {
    WritePolyline(dxf, dw, curve.layer, curve.points);
    WritePolyline(dxf, dw, curve.layer, Mirrored(curve.points));
  }
  for (const ProfileCurve& curve : curves) {
    // Axis, throat line, wall and end line as one outline, to revolve or extrude.
    std::vector<DrawPoint> outline{{curve.points.front().x, 0.0}};
    outline.insert(outline.end(), curve.points.begin(), curve.points.end());
    outline.push_back({curve.points.back().x, 0.0});
    WritePolyline(dxf, dw, kProfileLayer, outline, true);
  }
  WriteStations(dxf, dw, profile);
  dw.sectionEnd();
  WriteDxfObjects(dxf, dw);
  dw.dxfEOF();
}

}  // namespace

void WriteProfileDxf(const report::HornProfile& profile, output::ByteSink& sink) {
  WriteDxf(sink, [&profile](DL_Dxf& dxf, DL_WriterA& dw) { WriteDrawing(dw, dxf, profile); });
}

}  // namespace vortalis::files
