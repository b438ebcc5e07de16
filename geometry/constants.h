#pragma once

#include <limits>

namespace vortalis::geometry {

// Every horn number is carried in the x87 80-bit format; results printed to
// eight digits depend on the 64-bit significand.
static_assert(std::numeric_limits<long double>::digits == 64,
              "Vortalis needs long double with a 64-bit significand (x87 extended)");

inline constexpr long double SpeedOfSound = 340.0L;  // m/s
inline constexpr long double AirDensity = 1.205L;    // kg/m^3, air at 20 degrees C
inline constexpr long double Pi = 3.1415926535897932385L;
inline constexpr long double InversePi = 0.31830988618379067154L;
inline constexpr long double MetresToMillimetres = 1000.0L;
// Deliberately this short decimal, not 1000/25.4: the mouth radius in inches uses it.
inline constexpr long double MetresToInches = 39.37007874016L;
// The exact inverse of 0.0254; only the inch minimum-length line of the circular report uses it.
inline constexpr long double MetresToInchesExact = 39.370078740157480317L;
inline constexpr long double InchToMillimetre = 25.4L;
inline constexpr long double MillimetreToInch = 0.039370078740157480314L;
inline constexpr long double RadiusFromDiameter = 0.5L;
inline constexpr long double Quarter = 0.25L;

// Input limits shared by both settings dialogs.
inline constexpr long double MinFrequency = 1.0L;
inline constexpr long double MaxFrequency = 25000.0L;
inline constexpr long double MinThroatDiameterMm = 1.0L;
inline constexpr long double MinThroatRadiusMm = 0.5L;
inline constexpr long double MinThroatDiameterInch = 0.0394L;
inline constexpr long double MinThroatRadiusInch = 0.0197L;

}  // namespace vortalis::geometry
