#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "buildkit/flat_kits.h"
#include "buildkit/horn_solid.h"
#include "output/output_set.h"

// The build kits' files that need no painting: a kit's drawing as DXF, its
// cutting list as CSV, and the printable solids as STL. Every file is a
// member of the run's output::OutputSet; failures throw output::OutputError
// naming the file.
namespace vortalis::files {

// The pieces one under the other for a cutter, in the horn's unit with
// $INSUNITS; each piece on the layers its drawing names (RING_<n>,
// SECTOR_<n>, STAVE, PANEL_1A ...), the title and notes on NOTES.
std::string KitDxf(const buildkit::FlatKit& kit);

// The extension of `path` in lower case, one the kit is saved as; throws
// output::OutputError naming the file and the kit's extensions for another.
std::string KitFileExtension(const buildkit::FlatKit& kit, const std::string& path);

// Adds the kit's DXF or CSV file at `path` (by its extension) to `set`;
// false, adding nothing, for a painted one (SVG, PDF). Throws
// output::OutputError.
bool AddUnpaintedKitFile(output::OutputSet& set, const buildkit::FlatKit& kit,
                         const std::string& path);

// Adds `bytes` as the file at `path` (a name in the file system's encoding)
// to `set`, its descriptor freed while the set grows.
void AddFile(output::OutputSet& set, const std::string& path, std::string_view bytes);

// The STL files of solids: one file at `path`, or with several pieces
// `horn.stl` gives horn-1.stl, horn-2.stl, ... from the throat, beside it, and
// the petals of a segment split to the bed horn-3-1.stl, horn-3-2.stl, ...,
// added to `set` (all or nothing). Pieces of an older, longer set beside them
// (horn-46.stl ... when 45 are written; horn-1.stl ... for a single file) are
// removed with the commit when their headers show them to be this program's
// pieces under those numbers; any other file there refuses the set with the
// names in the way. A folder's name is refused. Returns the names written.
std::vector<std::string> StlPieceNames(const std::string& path, std::size_t pieces);
std::vector<std::string> AddStlFiles(output::OutputSet& set, const buildkit::HornSolids& solids,
                                     const std::string& path);

}  // namespace vortalis::files
