#include "geometry/units.h"

#include "geometry/constants.h"

namespace vortalis::geometry {

long double IncrementValue(TableIncrement increment, LengthUnit unit) {
  const bool mm = unit == LengthUnit::Millimetre;
  switch (increment) {
    case TableIncrement::T1: return mm ? 1.0L : 0.01L;
    case TableIncrement::T10: return mm ? 10.0L : 0.1L;
    case TableIncrement::T100: return mm ? 100.0L : 1.0L;
  }
  return mm ? 1.0L : 0.01L;
}

const char* IncrementCaption(TableIncrement increment, LengthUnit unit) {
  const bool mm = unit == LengthUnit::Millimetre;
  switch (increment) {
    case TableIncrement::T1: return mm ? "1" : "0.01";
    case TableIncrement::T10: return mm ? "10" : "0.1";
    case TableIncrement::T100: return mm ? "100" : "1";
  }
  return mm ? "1" : "0.01";
}

long double MillimetresPer(LengthUnit unit) {
  return unit == LengthUnit::Millimetre ? 1.0L : InchToMillimetre;
}

const char* UnitName(LengthUnit unit) { return unit == LengthUnit::Millimetre ? "mm" : "inch"; }

}  // namespace vortalis::geometry
