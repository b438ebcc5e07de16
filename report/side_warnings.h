#pragma once

#include <string>
#include <vector>

#include "geometry/units.h"
#include "report/horn_profile.h"

// What a builder of a flat-sided rectangular horn must know before cutting:
// the flat pair's straight growth forces the other pair to take the area, and
// near the throat that pair can close in below its throat size; a low cutoff
// can make a mouth taller than a room.
namespace vortalis::report {

// The two sides at a distance from the throat.
struct SidesAt {
  long double distance;
  long double side1;  // between walls 1A and 1B
  long double side2;  // between 2A and 2B
};

// Mouths wider than this, in millimetres, are named.
inline constexpr long double kLargestMouthMm = 2000.0L;

// One sentence for each pair that narrows below its throat size (at its
// narrowest sample) and one for a mouth (the last sample) over 2 m; sizes
// in `unit`. The first sample is the throat.
std::vector<std::string> SideWarnings(const std::vector<SidesAt>& sides, geometry::LengthUnit unit);

// SideWarnings of the profile's points, for a rectangular horn with flat
// sides; none for any other horn.
std::vector<std::string> FlatSideWarnings(const HornProfile& profile);

}  // namespace vortalis::report
