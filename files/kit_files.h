#pragma once

#include <string>
#include <vector>

#include "buildkit/flat_kits.h"
#include "buildkit/horn_solid.h"

// The build kits' files that need no painting: a kit's drawing as DXF, its
// cutting list as CSV, and the printable solids as STL. Every file goes
// through the one writer (output/output_file.h); failures throw
// output::OutputError naming the file.
namespace vortalis::files {

// The pieces one under the other for a cutter, in the horn's unit with
// $INSUNITS; each piece on the layers its drawing names (RING_<n>,
// SECTOR_<n>, STAVE, PANEL_1A ...), the title and notes on NOTES.
std::string KitDxf(const buildkit::FlatKit& kit);

// The extension of `path` in lower case, one the kit is saved as; throws
// output::OutputError naming the file and the kit's extensions for another.
std::string KitFileExtension(const buildkit::FlatKit& kit, const std::string& path);

// The kit's DXF or CSV file at `path` (by its extension); false, writing
// nothing, for a painted one (SVG, PDF). Throws output::OutputError.
bool WriteUnpaintedKitFile(const buildkit::FlatKit& kit, const std::string& path);

// Writes `bytes` to the file at `path` (a name in the file system's encoding).
void WriteFile(const std::string& path, std::string_view bytes);

// The STL files of solids: one file at `path`, or with several segments
// `horn.stl` gives horn-1.stl, horn-2.stl, ... from the throat, beside it.
// Returns the names written.
std::vector<std::string> StlFileNames(const std::string& path, std::size_t pieces);
std::vector<std::string> WriteStlFiles(const buildkit::HornSolids& solids,
                                       const std::string& path);

}  // namespace vortalis::files
