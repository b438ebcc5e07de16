#pragma once

#include <limits>
#include <string_view>

// The numbers the kits are made from, each described once: its name in
// messages, whether it is a length or a count, its limits and the one check
// every caller uses, so a value is refused with the same sentence wherever
// it was typed.
namespace vortalis::buildkit {

struct KitParameter {
  std::string_view name;  // "board thickness": "The board thickness must be ..."
  bool count;             // a whole number, else a length in the horn's unit
  long double low;
  bool lowIncluded;
  long double high = std::numeric_limits<long double>::infinity();
};

inline constexpr KitParameter kBoardThickness{"board thickness", false, 0.0L, false};
inline constexpr KitParameter kRingWall{"wall", false, 0.0L, false};
inline constexpr KitParameter kRingTolerance{"ring tolerance", false, 0.0L, false};
inline constexpr KitParameter kSeamAllowance{"seam allowance", false, 0.0L, true};
inline constexpr KitParameter kStaveCount{"number of staves", true, 6.0L, true, 64.0L};
inline constexpr KitParameter kSolidWall{"wall", false, 0.0L, false};
inline constexpr KitParameter kSegmentHeight{"segment height", false, 0.0L, true};

// `value` when it lies within the parameter's limits (and is whole for a
// count); otherwise throws KitError: "The board thickness must be a number
// greater than 0.", "The number of staves must be a whole number from 6 to 64."
long double Checked(const KitParameter& parameter, long double value);

}  // namespace vortalis::buildkit
