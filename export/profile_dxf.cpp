#include <dl_dxf.h>
#include <locale.h>

#include <cerrno>
#include <memory>
#include <string>

#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "output/scratch_file.h"

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

DL_Attributes OnLayer(const std::string& layer) {
  return DL_Attributes(layer, 256 /* BYLAYER */, -1, "BYLAYER", 1.0);
}

void WriteHeader(DL_Dxf& dxf, DL_WriterA& dw, const report::HornProfile& profile,
                 const QRectF& extent) {
  const bool millimetres = profile.unit == geometry::LengthUnit::Millimetre;
  dxf.writeHeader(dw);
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, millimetres ? 4 : 1);
  dw.dxfString(9, "$MEASUREMENT");
  dw.dxfInt(70, millimetres ? 1 : 0);
  dw.dxfString(9, "$EXTMIN");
  dw.coord(10, extent.left(), -extent.bottom());
  dw.dxfString(9, "$EXTMAX");
  dw.coord(10, extent.right(), extent.bottom());
  dw.sectionEnd();
}

void WriteTables(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<ProfileCurve>& curves) {
  dw.sectionTables();
  dxf.writeVPort(dw);

  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();

  dw.tableLayers(static_cast<int>(curves.size()) + 2);
  dxf.writeLayer(dw, DL_LayerData("0", 0),
                 DL_Attributes("", kForeground, 100, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kAxisLayer, 0),
                 DL_Attributes("", kRed, 100, "CONTINUOUS", 1.0));
  for (const ProfileCurve& curve : curves) {
    dxf.writeLayer(dw, DL_LayerData(curve.layer, 0),
                   DL_Attributes("", CurveColour(curve), 100, "CONTINUOUS", 1.0));
  }
  dw.tableEnd();

  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 2.5, 0.625, 0.625, 0.625, 2.5);
  dxf.writeBlockRecord(dw);
  dw.tableEnd();
  dw.sectionEnd();

  dw.sectionBlocks();
  for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf.writeBlock(dw, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, block);
  }
  dw.sectionEnd();
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
  WriteHeader(dxf, dw, profile, extent);
  WriteTables(dxf, dw, curves);
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

// dxflib prints its numbers with sprintf, which follows LC_NUMERIC (a window
// program runs in the user's locale); DXF needs "." on this thread meanwhile.
class ClassicNumbers {
 public:
  ClassicNumbers() : classic_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0))) {
    if (classic_ != static_cast<locale_t>(0)) previous_ = uselocale(classic_);
  }
  ~ClassicNumbers() {
    if (classic_ == static_cast<locale_t>(0)) return;
    uselocale(previous_);
    freelocale(classic_);
  }
  ClassicNumbers(const ClassicNumbers&) = delete;
  ClassicNumbers& operator=(const ClassicNumbers&) = delete;

 private:
  locale_t classic_;
  locale_t previous_ = static_cast<locale_t>(0);
};

}  // namespace

void WriteProfileDxf(const report::HornProfile& profile, output::ByteSink& sink) {
  // dxflib writes only to a named file; its stream hides why a write failed,
  // so errno is the best account of a scratch file that came out short.
  output::ScratchFile scratch(output::ScratchFile::Kind::Named);
  {
    const ClassicNumbers classic;
    DL_Dxf dxf;
    errno = 0;
    const std::unique_ptr<DL_WriterA> writer(dxf.out(scratch.Path().c_str(), DL_Codes::AC1015));
    if (!writer || writer->openFailed()) throw scratch.Failure(errno);
    WriteDrawing(*writer, dxf, profile);
    writer->close();
    if (writer->openFailed()) throw scratch.Failure(errno != 0 ? errno : EIO);
  }
  scratch.CopyTo(sink);
}

}  // namespace vortalis::exports
