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

// Lengths are in the horn's unit. The upper limits keep every number a file
// holds within a 32-bit float (STL) and the kit within reason: no board,
// wall or seam thicker than 1000, no flange wider than 100,000.
inline constexpr long double kMaxKitThickness = 1000.0L;
inline constexpr long double kMaxKitSpan = 100000.0L;
inline constexpr KitParameter kBoardThickness{"board thickness", false, 0.0L, false,
                                              kMaxKitThickness};
inline constexpr KitParameter kRingWall{"wall", false, 0.0L, true, kMaxKitThickness};
inline constexpr KitParameter kSectorStep{"step", false, 0.0L, false, kMaxKitSpan};
inline constexpr KitParameter kSeamAllowance{"seam allowance", false, 0.0L, true,
                                             kMaxKitThickness};
inline constexpr KitParameter kStaveCount{"number of staves", true, 6.0L, true, 64.0L};
inline constexpr KitParameter kSolidWall{"wall", false, 0.0L, false, kMaxKitThickness};
inline constexpr KitParameter kSegmentHeight{"segment height", false, 0.0L, true, kMaxKitSpan};
inline constexpr KitParameter kFlangeDiameter{"flange's outer diameter", false, 0.0L, false,
                                              kMaxKitSpan};
inline constexpr KitParameter kFlangeThickness{"flange's thickness", false, 0.0L, false,
                                               kMaxKitThickness};
inline constexpr KitParameter kBoltCircle{"bolt circle", false, 0.0L, false, kMaxKitSpan};
inline constexpr KitParameter kBoltCount{"number of bolt holes", true, 0.0L, true, 360.0L};
inline constexpr KitParameter kHoleDiameter{"hole diameter", false, 0.0L, false,
                                            kMaxKitThickness};

// `value` when it lies within the parameter's limits (and is whole for a
// count); otherwise throws KitError: "The board thickness must be a number
// greater than 0 and at most 1000.", "The number of staves must be a whole
// number from 6 to 64."
long double Checked(const KitParameter& parameter, long double value);

}  // namespace vortalis::buildkit
