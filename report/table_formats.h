#pragma once

#include "geometry/units.h"
#include "report/number_format.h"

// The number formats of the two reports' texts and tables, per unit. The
// profile files take their columns' decimals from here as well.
namespace vortalis::report {

struct CircularFormats {
  NumberFormat length;  // Calculated values
  NumberFormat mouth;   // Calculated values
  NumberFormat minimumLength;
  NumberFormat distance;       // throat row and stations
  NumberFormat mouthDistance;  // the last row
  NumberFormat size;
  NumberFormat area;
  NumberFormat flare;
};

struct RectangularFormats {
  NumberFormat length;
  NumberFormat flatLength;  // flat side real length
  NumberFormat mouthSide;   // Calculated values
  NumberFormat minimumLength;
  NumberFormat distance;       // throat row and stations
  NumberFormat mouthDistance;  // the last row
  NumberFormat side;
  NumberFormat endArea;  // throat row and mouth row
  NumberFormat stationArea;
  NumberFormat flatDistance;
};

inline constexpr CircularFormats CircularTableFormats(geometry::LengthUnit unit) {
  constexpr geometry::LengthUnit kMm = geometry::LengthUnit::Millimetre;
  constexpr geometry::LengthUnit kInch = geometry::LengthUnit::Inch;
  if (unit == kMm) {
    return {LengthFormat(kMm), SizeFormat(kMm), {8, 0},  {8, 0},
            LengthFormat(kMm), SizeFormat(kMm), {10, 1}, {8, 2}};
  }
  return {LengthFormat(kInch), SizeFormat(kInch), {8, 2},  {8, 2},
          LengthFormat(kInch), SizeFormat(kInch), {10, 3}, {8, 2}};
}

inline constexpr RectangularFormats RectangularTableFormats(geometry::LengthUnit unit) {
  constexpr geometry::LengthUnit kMm = geometry::LengthUnit::Millimetre;
  constexpr geometry::LengthUnit kInch = geometry::LengthUnit::Inch;
  if (unit == kMm) {
    return {LengthFormat(kMm), SizeFormat(kMm), SizeFormat(kMm), {8, 0}, {8, 0},
            LengthFormat(kMm), SizeFormat(kMm), {10, 1},         {8, 1}, SizeFormat(kMm)};
  }
  return {LengthFormat(kInch), SizeFormat(kInch), SizeFormat(kInch), {8, 2}, {8, 2},
          LengthFormat(kInch), SizeFormat(kInch), {10, 3},           {8, 3}, SizeFormat(kInch)};
}

}  // namespace vortalis::report
