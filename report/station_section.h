#pragma once

#include "geometry/tractrix.h"
#include "geometry/units.h"
#include "report/horn_model.h"

// One cross-section of a horn at a table station. The reports' rows and the
// profile drawings both compute their sections here, so that a drawing and a
// report agree to the last bit at a common distance.
namespace vortalis::report {

// The full tractrix's radius at `distance` from the throat, searched from the
// previous station's radius (which must lie on the throat side).
long double StationRadius(long double a, long double length, long double distance,
                          long double previousRadius, geometry::LengthUnit unit);

// The minimum recommended length (a quarter of the cut-off wavelength) in the unit.
long double QuarterWavelengthIn(long double fc, geometry::LengthUnit unit);

struct CircularSection {
  long double area;        // pi r^2
  long double flareAngle;  // degrees
};

// The section of radius r of a horn with mouth radius a (the throat, a station or the mouth).
CircularSection CircularSectionAt(long double a, long double r);

struct RectangularSection {
  geometry::MouthSides sides;
  long double area;
  long double flatSideDistance;  // 0 without flat sides
};

RectangularSection RectangularThroat(const RectangularHorn& horn);
RectangularSection RectangularMouth(const RectangularHorn& horn);

// The section at `distance` = station * increment, where the full tractrix
// has `radius`. A flat side's offset is taken as station * H * increment / L;
// for a distance that is not on the station grid pass station 1 and the
// distance as the increment.
RectangularSection RectangularSectionAt(const RectangularHorn& horn, long double radius,
                                        long double station, long double increment,
                                        long double distance);

// The distance from the throat at which a flat side 1A - 1B reaches `side1`.
long double FlatSide1Distance(const RectangularHorn& horn, long double side1);

}  // namespace vortalis::report
