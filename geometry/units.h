#pragma once

namespace vortalis::geometry {

enum class LengthUnit { Millimetre, Inch };

// Circular horns only: whether throat and mouth are given as radii or diameters.
enum class SizeMode { Radius, Diameter };

// The three table increment buttons, T1, T10 and T100.
enum class TableIncrement { T1, T10, T100 };

// Where the mouth of a rectangular horn stands; the value is the location factor k.
enum class MouthLocation { FreeAir = 1, OneWall = 2, TwoWalls = 4, ThreeWalls = 8 };

inline constexpr long double LocationFactor(MouthLocation location) {
  return static_cast<long double>(static_cast<int>(location));
}

// 1, 10, 100 mm or 0.01, 0.1, 1 inch.
long double IncrementValue(TableIncrement increment, LengthUnit unit);

// The caption of an increment button: "1", "10", "100" or "0.01", "0.1", "1".
const char* IncrementCaption(TableIncrement increment, LengthUnit unit);

// Millimetres in one `unit`: 1, or 25.4 for the inch.
long double MillimetresPer(LengthUnit unit);

// "mm" or "inch".
const char* UnitName(LengthUnit unit);

}  // namespace vortalis::geometry
