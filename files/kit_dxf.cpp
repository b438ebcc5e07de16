#include <algorithm>

#include "files/dxf_file.h"
#include "files/kit_files.h"

namespace vortalis::files {

namespace {

using buildkit::KitDrawing;
using buildkit::KitPiece;
using buildkit::KitText;

constexpr int kForeground = 7;
constexpr int kMarks = 8;  // grey

void WriteText(DL_Dxf& dxf, DL_WriterA& dw, const KitText& text,
               const buildkit::DrawPoint& offset) {
  const double x = text.at.x + offset.x;
  const double y = text.at.y + offset.y;
  dxf.writeText(dw,
                DL_TextData(x, y, 0.0, x, y, 0.0, text.height, 1.0, 0, 0, 0,
                            text.text, "Standard", 0.0),
                OnLayer(text.layer));
}

void WriteKit(DL_Dxf& dxf, DL_WriterA& dw, const KitDrawing& drawing) {
  const buildkit::KitSheet sheet = buildkit::LayOut(drawing);
  WriteDxfHeader(dxf, dw, drawing.unit == geometry::LengthUnit::Millimetre, sheet.extent.Left(),
                 sheet.extent.Top(), sheet.extent.Right(), sheet.extent.Bottom());
  std::vector<DxfLayer> layers{{"NOTES", kForeground}};
  for (const std::string& layer : drawing.layers)
    layers.push_back({layer, layer == "TICKS" || layer == "MIDLINE" ||
                                     layer == buildkit::drawing::kLabelLayer
                                 ? kMarks
                                 : kForeground});
  WriteDxfTables(dxf, dw, layers);
  dw.sectionEntities();
  for (const KitText& note : sheet.notes) WriteText(dxf, dw, note, {});
  for (std::size_t i = 0; i < drawing.pieces.size(); ++i) {
    const KitPiece& piece = drawing.pieces[i];
    const buildkit::DrawPoint offset = sheet.offsets[i];
    for (const buildkit::KitCircle& circle : piece.circles) {
      dxf.writeCircle(dw,
                      DL_CircleData(circle.centre.x + offset.x, circle.centre.y + offset.y,
                                    0.0, circle.radius),
                      OnLayer(circle.layer));
    }
    for (const buildkit::KitPath& path : piece.paths) {
      if (path.points.size() == 2 && !path.closed) {
        const buildkit::DrawPoint a = path.points[0] + offset;
        const buildkit::DrawPoint b = path.points[1] + offset;
        dxf.writeLine(dw, DL_LineData(a.x, a.y, 0.0, b.x, b.y, 0.0), OnLayer(path.layer));
        continue;
      }
      dxf.writePolyline(
          dw, DL_PolylineData(static_cast<int>(path.points.size()), 0, 0, path.closed ? 1 : 0),
          OnLayer(path.layer));
      for (const buildkit::DrawPoint& p : path.points)
        dxf.writeVertex(dw, DL_VertexData(p.x + offset.x, p.y + offset.y));
      dxf.writePolylineEnd(dw);
    }
    for (const KitText& text : piece.texts) WriteText(dxf, dw, text, offset);
  }
  dw.sectionEnd();
  WriteDxfObjects(dxf, dw);
  dw.dxfEOF();
}

}  // namespace

std::string KitDxf(const buildkit::FlatKit& kit) {
  const KitDrawing drawing = buildkit::DrawKit(kit);
  return DxfBytes([&drawing](DL_Dxf& dxf, DL_WriterA& dw) { WriteKit(dxf, dw, drawing); });
}

}  // namespace vortalis::files
