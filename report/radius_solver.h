#pragma once

#include "geometry/tractrix.h"
#include "geometry/units.h"

// What both table generators compute in the same way.
namespace vortalis::report {

// Distance of the section of radius r from the mouth plane, or exactly -1.0
// for a radius at or beyond the mouth (r >= a).
inline long double TractrixDistance(long double a, long double r) {
  if (a > r) return geometry::TractrixLength(a, r);
  return -1.0L;
}

// The radius whose distance from the mouth plane lies within eps of x: a
// decimal walk from rStart toward the mouth, settling one digit per overshoot.
// Needs x > 0 and TractrixDistance(a, rStart) >= x. Evaluates the distance of
// every radius it visits.
long double SolveRadiusLiteral(long double a, long double x, long double rStart, long double eps);

// The same walk with the same result to the last bit, but most of its
// comparisons are settled by bounds found with a few cheaper evaluations; the
// distance is computed exactly only where a comparison is in doubt.
long double SolveRadius(long double a, long double x, long double rStart, long double eps);

// Flare angle in degrees for t = r / a: arcsin t, and exactly 90 near the mouth.
long double FlareAngle(long double t);

// Whole-number progress-bar position of station d for a horn of rounded length lr.
int ProgressPercent(long double d, long double lr);

// The horn length rounded for ProgressPercent: nearest whole number, ties to even.
long double RoundedLength(long double length);

// Search tolerance: 1e-6 mm or 1e-8 inch.
long double SearchTolerance(geometry::LengthUnit unit);

}  // namespace vortalis::report
