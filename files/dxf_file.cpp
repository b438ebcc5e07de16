#include "files/dxf_file.h"

#include <locale.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>

#include "output/finite_number.h"
#include "output/scratch_file.h"

namespace vortalis::files {

namespace {

constexpr int kForeground = 7;  // black on white, white on black

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

// dxflib's writer flushes its file after every value, a system call each, and
// writes the objects without their owners (group 330), which a reader then has
// to mend. This one formats every value as dxflib does into a buffered stream
// of its own, and adds each object's owner: the dictionary that lists it (group
// 350), or none (0) for the root dictionary written first.
class BufferedDxfWriter final : public DL_WriterA {
 public:
  explicit BufferedDxfWriter(const std::string& path)
      : DL_WriterA("/dev/null", DL_Codes::AC1015),
        file_(path, std::ios::binary | std::ios::trunc) {}

  bool Failed() const { return !file_; }
  void Close() { file_.close(); }
  void BeginObjects() { objects_ = true; }

  void dxfReal(int gc, double value) const override {
    // sixteen decimals, less the trailing zeros but one
    char text[400];
    std::snprintf(text, sizeof text, "%.16f", output::FiniteNumber(value));
    std::string number(text);
    const std::size_t dot = number.find('.');
    if (dot != std::string::npos) {
      const std::size_t last = number.find_last_not_of('0');
      number.erase(std::max(last + 1, dot + 2));
    }
    dxfString(gc, number);
  }
  void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
  void dxfHex(int gc, int value) const override {
    char text[2 * sizeof(int) + 1];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    dxfString(gc, text);
  }
  void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
  void dxfString(int gc, const std::string& value) const override {
    char code[16];
    std::snprintf(code, sizeof code, "%3d\n", gc);
    file_ << code << value << '\n';
    if (!objects_) return;
    if (gc == 5) {
      const auto owner = owners_.find(value);
      file_ << "330\n" << (owner == owners_.end() ? std::string("0") : owner->second) << '\n';
      current_ = value;
    } else if (gc == 350) {
      owners_.emplace(value, current_);
    }
  }

 private:
  mutable std::ofstream file_;
  bool objects_ = false;
  mutable std::string current_;
  mutable std::map<std::string, std::string> owners_;
};

}  // namespace

void WriteDxfObjects(DL_Dxf& dxf, DL_WriterA& dw) {
  if (auto* buffered = dynamic_cast<BufferedDxfWriter*>(&dw)) buffered->BeginObjects();
  dxf.writeObjects(dw);
  dxf.writeObjectsEnd(dw);
}

void WriteDxf(output::ByteSink& sink, const std::function<void(DL_Dxf&, DL_WriterA&)>& write) {
  // dxflib's stream hides why a write failed, so errno is the best account of
  // a scratch file that came out short.
  output::ScratchFile scratch(output::ScratchFile::Kind::Named);
  {
    const ClassicNumbers classic;
    DL_Dxf dxf;
    errno = 0;
    BufferedDxfWriter writer(scratch.Path());
    if (writer.Failed()) throw scratch.Failure(errno);
    write(dxf, writer);
    writer.Close();
    if (writer.Failed()) throw scratch.Failure(errno != 0 ? errno : EIO);
  }
  scratch.CopyTo(sink);
}

std::string DxfBytes(const std::function<void(DL_Dxf&, DL_WriterA&)>& write) {
  struct Bytes final : output::ByteSink {
    std::string bytes;
    void Write(std::string_view part) override { bytes.append(part); }
  } sink;
  WriteDxf(sink, write);
  return sink.bytes;
}

void WriteDxfHeader(DL_Dxf& dxf, DL_WriterA& dw, bool millimetres, double minX, double minY,
                    double maxX, double maxY) {
  dxf.writeHeader(dw);
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, millimetres ? 4 : 1);
  dw.dxfString(9, "$MEASUREMENT");
  dw.dxfInt(70, millimetres ? 1 : 0);
  dw.dxfString(9, "$EXTMIN");
  dw.coord(10, minX, minY);
  dw.dxfString(9, "$EXTMAX");
  dw.coord(10, maxX, maxY);
  dw.sectionEnd();
}

void WriteDxfTables(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<DxfLayer>& layers) {
  dw.sectionTables();
  dxf.writeVPort(dw);

  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();

  dw.tableLayers(static_cast<int>(layers.size()) + 1);
  dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", kForeground, 100, "CONTINUOUS", 1.0));
  for (const DxfLayer& layer : layers) {
    dxf.writeLayer(dw, DL_LayerData(layer.name, 0),
                   DL_Attributes("", layer.colour, 100, "CONTINUOUS", 1.0));
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

}  // namespace vortalis::files
