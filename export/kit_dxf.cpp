#include <algorithm>

#include "export/dxf_file.h"
#include "export/kit_files.h"
#include "export/kit_layout.h"

namespace vortalis::exports {

namespace {

constexpr int kForeground = 7;
constexpr int kMarks = 8;  // grey

void WriteText(DL_Dxf& dxf, DL_WriterA& dw, const KitText& text, const QPointF& offset) {
  const double x = text.at.x() + offset.x();
  const double y = text.at.y() + offset.y();
  dxf.writeText(dw,
                DL_TextData(x, y, 0.0, x, y, 0.0, text.height, 1.0, 0, 0, 0,
                            text.text.toStdString(), "Standard", 0.0),
                OnLayer(text.layer));
}

void WriteKit(DL_Dxf& dxf, DL_WriterA& dw, const KitDrawing& drawing) {
  const KitSheet sheet = LayOut(drawing);
  WriteDxfHeader(dxf, dw, drawing.unit == geometry::LengthUnit::Millimetre, sheet.extent.left(),
                 sheet.extent.top(), sheet.extent.right(), sheet.extent.bottom());
  std::vector<DxfLayer> layers{{"NOTES", kForeground}};
  for (const std::string& layer : drawing.layers)
    layers.push_back({layer, layer == "TICKS" || layer == "MIDLINE" ? kMarks : kForeground});
  WriteDxfTables(dxf, dw, layers);
  dw.sectionEntities();
  for (const KitText& note : sheet.notes) WriteText(dxf, dw, note, QPointF());
  for (std::size_t i = 0; i < drawing.pieces.size(); ++i) {
    const KitPiece& piece = drawing.pieces[i];
    const QPointF offset = sheet.offsets[i];
    for (const KitCircle& circle : piece.circles) {
      dxf.writeCircle(dw,
                      DL_CircleData(circle.centre.x() + offset.x(), circle.centre.y() + offset.y(),
                                    0.0, circle.radius),
                      OnLayer(circle.layer));
    }
    for (const KitPath& path : piece.paths) {
      if (path.points.size() == 2 && !path.closed) {
        const QPointF a = path.points[0] + offset;
        const QPointF b = path.points[1] + offset;
        dxf.writeLine(dw, DL_LineData(a.x(), a.y(), 0.0, b.x(), b.y(), 0.0), OnLayer(path.layer));
        continue;
      }
      dxf.writePolyline(
          dw, DL_PolylineData(static_cast<int>(path.points.size()), 0, 0, path.closed ? 1 : 0),
          OnLayer(path.layer));
      for (const QPointF& p : path.points)
        dxf.writeVertex(dw, DL_VertexData(p.x() + offset.x(), p.y() + offset.y()));
      dxf.writePolylineEnd(dw);
    }
    for (const KitText& text : piece.texts) WriteText(dxf, dw, text, offset);
  }
  dw.sectionEnd();
  WriteDxfObjects(dxf, dw);
  dw.dxfEOF();
}

}  // namespace

QByteArray KitDxf(const FlatKit& kit) {
  const KitDrawing drawing = DrawKit(kit);
  return DxfBytes([&drawing](DL_Dxf& dxf, DL_WriterA& dw) { WriteKit(dxf, dw, drawing); });
}

}  // namespace vortalis::exports
