#include <string>
#include <vector>

#include "export/dxf_file.h"
#include "export/profile_curves.h"
#include "export/profile_export.h"

namespace vortalis::exports {

namespace {

// DXF colour numbers.
constexpr int kRed = 1;
constexpr int kGreen = 3;
constexpr int kBlue = 5;
constexpr int kForeground = 7;  // black on white, white on black
constexpr const char* kAxisLayer = "AXIS";

int CurveColour(const ProfileCurve& curve) {
  if (curve.layer == "SIDES_1A_1B") return kBlue;
  if (curve.layer == "SIDES_2A_2B") return kGreen;
  return kForeground;
}

std::vector<DxfLayer> Layers(const std::vector<ProfileCurve>& curves) {
  std::vector<DxfLayer> layers{{kAxisLayer, kRed}};
  for (const ProfileCurve& curve : curves) layers.push_back({curve.layer, CurveColour(curve)});
  return layers;
}

void WritePolyline(DL_Dxf& dxf, DL_WriterA& dw, const std::string& layer,
                   const std::vector<QPointF>& points) {
  dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(points.size()), 0, 0, 0),
                    OnLayer(layer));
  for (const QPointF& point : points) dxf.writeVertex(dw, DL_VertexData(point.x(), point.y()));
  dxf.writePolylineEnd(dw);
}

void WriteDrawing(DL_WriterA& dw, DL_Dxf& dxf, const report::HornProfile& profile) {
  const std::vector<ProfileCurve> curves = ProfileCurves(profile);
  const QRectF extent = ProfileExtent(profile);
  WriteDxfHeader(dxf, dw, profile.unit == geometry::LengthUnit::Millimetre, extent.left(),
                 -extent.bottom(), extent.right(), extent.bottom());
  WriteDxfTables(dxf, dw, Layers(curves));
  dw.sectionEntities();
  dxf.writeLine(dw, DL_LineData(0.0, 0.0, 0.0, extent.right(), 0.0, 0.0), OnLayer(kAxisLayer));
  for (const ProfileCurve& curve : curves) {
    WritePolyline(dxf, dw, curve.layer, curve.points);
    WritePolyline(dxf, dw, curve.layer, Mirrored(curve.points));
  }
  dw.sectionEnd();
  dxf.writeObjects(dw);
  dxf.writeObjectsEnd(dw);
  dw.dxfEOF();
}

}  // namespace

void WriteProfileDxf(const report::HornProfile& profile, output::ByteSink& sink) {
  WriteDxf(sink, [&profile](DL_Dxf& dxf, DL_WriterA& dw) { WriteDrawing(dw, dxf, profile); });
}

}  // namespace vortalis::exports
