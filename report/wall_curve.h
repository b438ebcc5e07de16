#pragma once

#include <functional>
#include <vector>

#include "geometry/units.h"
#include "report/horn_profile.h"

// The wall of a circular horn's tractrix as drawings and kits trace it: points
// on it from the reports' own radius solver, polylines that stay within a
// tolerance of the true curve, and the curve moved along its normal.
namespace vortalis::report {

// Every curve drawn lies within this of the true shape at full size.
inline constexpr long double kCurveToleranceMm = 0.05L;

// kCurveToleranceMm in the unit.
long double CurveTolerance(geometry::LengthUnit unit);

// The tractrix a wall follows and where the built horn ends.
struct HornWall {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  long double mouthRadius = 0.0L;   // a of the full tractrix
  long double length = 0.0L;        // L, throat to the full mouth
  long double throatRadius = 0.0L;  // t
  long double end = 0.0L;           // where the built horn ends: L, or the mouth limit
  long double endRadius = 0.0L;     // the wall's radius there
};

// The wall of a profile: its tractrix, its first and its last point.
HornWall HornWallOf(const HornProfile& profile);

// A point of a curve in a plane through the axis: along it and away from it.
struct CurvePoint {
  long double along;
  long double across;
};

// The distance of the point (ex, ey) from the line through the origin along
// (dx, dy), which must not be zero.
long double DistanceFromLine(long double dx, long double dy, long double ex, long double ey);

// A tractrix of mouth radius a placed so that its section of radius u lies at
// base - TractrixLength(a, u), moved `offset` along its normal away from the
// axis. The horn's wall is {a, L, 0}; its outer face {a, L, W}.
struct TractrixCurve {
  long double a;
  long double base;
  long double offset = 0.0L;

  // The point whose foot on the unmoved tractrix has radius u (0 < u <= a).
  CurvePoint At(long double u) const;
  // The largest distance between the arc from foot u0 to foot u1 and its chord.
  // Exact while the moved curve has not turned back (offset below the radius
  // of curvature), since the farthest point is where the tangent is parallel to
  // the chord.
  long double ChordGap(long double u0, long double u1) const;
  // The foot radius at which the curve turns back: the radius of curvature of
  // the tractrix, a sqrt(a^2 - u^2) / u, equals the offset (a for no offset).
  long double TurningFoot() const;
  // The foot in [u0, u1] whose point lies `along`, for a curve rising in that range.
  long double FootAt(long double along, long double u0, long double u1) const;
};

// A point of the wall: distance from the throat and radius.
struct WallPoint {
  long double distance;
  long double radius;
};

// The wall's radius at `distance` by the reports' solver, searched from a
// radius on the throat side; the throat and mouth radius at the ends.
long double WallRadius(const HornWall& horn, long double distance, long double throatSide);

// Points of the wall from `from` to `to` (both included, radii from the
// solver), dense enough that every chord lies within `tolerance` of the wall.
// `gap` measures a chord instead when the polyline drawn is another picture of
// the same points (a stave's outline); empty for the wall itself.
using ChordGapFunction = std::function<long double(const WallPoint&, const WallPoint&)>;
std::vector<WallPoint> WallPoints(const HornWall& horn, WallPoint from, WallPoint to,
                                  long double tolerance, const ChordGapFunction& gap = {});

// Foot radii from u0 to u1 (both included) such that every chord of `curve`
// lies within `tolerance` of it; the curve must not turn back in between.
std::vector<long double> CurveFeet(const TractrixCurve& curve, long double u0, long double u1,
                                   long double tolerance);

}  // namespace vortalis::report
