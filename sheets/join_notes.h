#pragma once

#include <string>
#include <vector>

#include "sheets/sheet_layout.h"

// What a sheet's edges say about the sheets they join: a sheet's left and top
// edges are trimmed and glued over its neighbours, its right and bottom
// edges lie under theirs.
namespace vortalis::sheets {

// "page 3", "pages 3, 4 and 5" (Spoken) or "pages 3, 4, 5" (Listed).
enum class ListStyle { Spoken, Listed };
std::string PageList(const std::vector<int>& numbers, ListStyle style);

// One note per edge that has neighbours (empty for an edge that has none);
// the side notes are two lines.
struct JoinNotes {
  std::string left;
  std::string right;
  std::string above;
  std::string below;
};
// `numbers` gives the printed page number of each sheet in `neighbours`.
JoinNotes JoinNotesOf(const Neighbours& neighbours, const std::vector<int>& numbers,
                      ListStyle style);

}  // namespace vortalis::sheets
