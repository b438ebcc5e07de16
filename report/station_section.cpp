#include "report/station_section.h"

#include <cmath>

#include "report/radius_solver.h"

namespace vortalis::report {

namespace {

// Length measured on a flat side plane: `along` the axis while the side moves `offset` outward.
long double FlatSideLength(long double along, long double offset) {
  const long double length = std::sqrt(along * along + offset * offset);
  // A mouth distance near the top of the number range squares to infinity;
  // hypot gives the finite length then, and is not used otherwise because it
  // may differ from the plain sum of squares in the last bit.
  if (std::isinf(length) && std::isfinite(along) && std::isfinite(offset))
    return std::hypot(along, offset);
  return length;
}

}  // namespace

long double StationRadius(long double a, long double length, long double distance,
                          long double previousRadius, geometry::LengthUnit unit) {
  return SolveRadius(a, length - distance, previousRadius, SearchTolerance(unit));
}

long double QuarterWavelengthIn(long double fc, geometry::LengthUnit unit) {
  // The wavelength in the unit, then a quarter of it: the same bits as scaling
  // the quarter wavelength, since a quarter is a power of two.
  return geometry::QuarterWavelength(fc) * geometry::UnitScale(unit);
}

CircularSection CircularSectionAt(long double a, long double r) {
  return {geometry::FullMouthArea(r), FlareAngle(r / a)};
}

RectangularSection RectangularThroat(const RectangularHorn& horn) {
  return {{horn.side1, horn.side2}, horn.side1 * horn.side2, 0.0L};
}

RectangularSection RectangularMouth(const RectangularHorn& horn) {
  return {horn.mouth, geometry::FullMouthArea(horn.mouthRadius) / horn.locationFactor,
          horn.flatSides ? FlatSideLength(horn.length, horn.flatOffset) : 0.0L};
}

RectangularSection RectangularSectionAt(const RectangularHorn& horn, long double radius,
                                        long double station, long double increment,
                                        long double distance) {
  // The built section has 1/k of the full circular section's area. Dividing by
  // k, a power of two, is exact, so the mouth-side functions give the same bits
  // whether the area is divided by k before or after the side ratio is applied.
  RectangularSection section{};
  if (horn.flatSides) {
    const long double sideOffset = station * horn.flatOffset * increment / horn.length;
    section.sides.side1 = 2.0L * sideOffset + horn.side1;
    section.sides.side2 =
        geometry::RectMouthSecondSide(radius, horn.locationFactor, section.sides.side1);
    section.flatSideDistance = FlatSideLength(distance, sideOffset);
  } else {
    section.sides = geometry::RectMouthSides(radius, horn.locationFactor, horn.side1, horn.side2);
  }
  section.area = section.sides.side1 * section.sides.side2;
  return section;
}

long double FlatSide1Distance(const RectangularHorn& horn, long double side1) {
  return (side1 - horn.side1) * 0.5L * horn.length / horn.flatOffset;
}

}  // namespace vortalis::report
