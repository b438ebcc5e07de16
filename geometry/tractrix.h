#pragma once

#include <cmath>

#include "geometry/units.h"

// The tractrix: the curve whose tangent to the axis has the same length, the
// mouth radius a, everywhere. A section of radius r lies
//   x = a ln((a + sqrt(a^2 - r^2)) / r) - sqrt(a^2 - r^2)
// from the mouth plane. The mouth circumference equals the cut-off wavelength:
// fc = c / (2 pi a).
namespace vortalis::geometry {

struct MouthSides {
  long double side1;  // between sides 1A and 1B
  long double side2;  // between sides 2A and 2B
};

// Mouth radius of the full tractrix, in metres, for fc in hertz.
long double CutoffMouthRadius(long double fc);

// 1000 for millimetres, 39.37007874016 for inches: metres to the display unit.
long double UnitScale(LengthUnit unit);

// Distance from the mouth plane to the section of radius r; 0 < r < a. Inline:
// the radius search evaluates it tens of millions of times for a large table,
// and a call passes each long double through memory.
inline long double TractrixLength(long double a, long double r) {
  const long double s = std::sqrt(a * a - r * r);
  const long double t = std::log((s + a) / r) * a;
  return t - s;
}

// Radius of the circle whose area is the full horn's throat area s1 * s2 * k.
long double EquivalentThroatRadius(long double s1, long double s2, long double k);

// Area of the full horn's mouth, pi a^2.
long double FullMouthArea(long double a);

// Mouth distances when the mouth keeps the throat's side ratio s1 / s2.
MouthSides RectMouthSides(long double a, long double k, long double s1, long double s2);

// Mouth distance between sides 2A and 2B when d1 (sides 1A - 1B) is given.
long double RectMouthSecondSide(long double a, long double k, long double d1);

// A quarter of the cut-off wavelength, in metres.
long double QuarterWavelength(long double fc);

// An entered length after the dialog switched to `target`.
long double ConvertLength(long double value, LengthUnit target);

}  // namespace vortalis::geometry
