#include "geometry/tractrix.h"

#include <cmath>

#include "geometry/constants.h"

namespace vortalis::geometry {

long double CutoffMouthRadius(long double fc) { return SpeedOfSound / ((fc * 2.0L) * Pi); }

long double UnitScale(LengthUnit unit) {
  return unit == LengthUnit::Millimetre ? MetresToMillimetres : MetresToInches;
}

long double EquivalentThroatRadius(long double s1, long double s2, long double k) {
  const long double throatArea = s1 * s2 * k;
  return std::sqrt(throatArea * InversePi);
}

long double FullMouthArea(long double a) { return Pi * a * a; }

MouthSides RectMouthSides(long double a, long double k, long double s1, long double s2) {
  const long double builtArea = FullMouthArea(a) / k;
  const long double ratio = s1 / s2;
  const long double d1 = std::sqrt(builtArea * ratio);
  return {d1, builtArea / d1};
}

long double RectMouthSecondSide(long double a, long double k, long double d1) {
  return FullMouthArea(a) / k / d1;
}

long double QuarterWavelength(long double fc) { return SpeedOfSound / fc * Quarter; }

long double ConvertLength(long double value, LengthUnit target) {
  return value * (target == LengthUnit::Millimetre ? InchToMillimetre : MillimetreToInch);
}

}  // namespace vortalis::geometry
