#pragma once

#include <string>

#include "geometry/number_text.h"
#include "geometry/units.h"

namespace vortalis::report {

// The precision P and the decimals D of a FixedText number.
struct NumberFormat {
  int precision;
  int decimals;
};

// Horn length and mouth size (radius, diameter or distance between sides), as
// the quick tests and the reports' calculated values show them.
inline constexpr NumberFormat LengthFormat(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Millimetre ? NumberFormat{8, 3} : NumberFormat{8, 5};
}
inline constexpr NumberFormat SizeFormat(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Millimetre ? NumberFormat{8, 2} : NumberFormat{8, 4};
}

inline std::string FormatNumber(long double value, NumberFormat format,
                                const geometry::Separators& separators) {
  return geometry::FixedText(value, format.precision, format.decimals, separators);
}

}  // namespace vortalis::report
