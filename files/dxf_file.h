#pragma once

#include <dl_dxf.h>

#include <functional>
#include <string>
#include <vector>

#include "output/output_file.h"

// What the profile's and the kits' DXF files share: dxflib writes only to a
// named file, with sprintf's numbers.
namespace vortalis::files {

// What `write` gives an AutoCAD 2000 writer ("." decimals whatever the
// locale), into `sink`. dxflib writes only to a named file: a scratch file in
// $TMPDIR, removed on every failure and stop signal. Throws output::OutputError.
void WriteDxf(output::ByteSink& sink, const std::function<void(DL_Dxf&, DL_WriterA&)>& write);
// The same as bytes.
std::string DxfBytes(const std::function<void(DL_Dxf&, DL_WriterA&)>& write);

// $INSUNITS and $MEASUREMENT of the unit, and the drawing's extent.
void WriteDxfHeader(DL_Dxf& dxf, DL_WriterA& dw, bool millimetres, double minX, double minY,
                    double maxX, double maxY);

// The tables (line types, `layers` with their colours, text style) and the blocks.
struct DxfLayer {
  std::string name;
  int colour;
};
void WriteDxfTables(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<DxfLayer>& layers);

// The objects section (dictionaries, layouts) and its end, every object with its owner.
void WriteDxfObjects(DL_Dxf& dxf, DL_WriterA& dw);

inline DL_Attributes OnLayer(const std::string& layer) {
  return DL_Attributes(layer, 256 /* BYLAYER */, -1, "BYLAYER", 1.0);
}

}  // namespace vortalis::files
