#pragma once

#include <stdexcept>
#include <vector>

#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/horn_profile.h"
#include "report/report_input.h"
#include "report/wall_curve.h"

// The circular horn a build kit is made for, and what every kit shares.
namespace vortalis::buildkit {

// A kit value that gives no kit; what() is a sentence for the user.
class KitError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The wall's curves and their tolerance live beside the horn's profile.
using report::ChordGapFunction;
using report::CurveFeet;
using report::CurvePoint;
using report::CurveTolerance;
using report::kCurveToleranceMm;
using report::TractrixCurve;
using report::WallPoint;
using report::WallPoints;
using report::WallRadius;

// Millimetres in one unit (1 or 25.4).
using geometry::MillimetresPer;

// The circular horn a kit is made for.
using KitHorn = report::HornWall;

// Only for input the validation accepted; a mouth limit as the profile takes
// it (throws report::ProfileError for one that is not inside the horn).
KitHorn MakeKitHorn(const report::CircularReportInput& input, const report::MouthLimit& limit,
                    const geometry::Separators& separators);

// Planes that cut a horn ending at `end` into equal pieces no taller than
// `height` (none for height 0); KitError for more than 1,000 pieces.
std::vector<long double> PieceCuts(long double end, long double height);

// The distance between the marks along a pattern `length` long: round
// numbers in the unit, about 60 marks at most.
long double MarkStep(long double length, geometry::LengthUnit unit);

// The most boards or sectors a flat kit is cut into, and the most triangles
// a set of STL files holds (about 1 GB), both checked before any work.
inline constexpr long double kMaxKitPieces = 10000.0L;
inline constexpr long double kMaxStlTriangles = 20000000.0L;

// Throws KitError when `count` `pieces` ("boards") exceed kMaxKitPieces:
// "The kit would have 99,355 boards; a kit has at most 10,000: <remedy>."
void RefuseTooManyPieces(long double count, const char* pieces, const char* remedy);

// Throws KitError when a printed solid's `name` ("wall") is thinner than a
// printer prints (0.1 mm), `value` in `unit`.
void RefuseUnprintable(const char* name, long double value, geometry::LengthUnit unit);

// Degrees in a radian.
long double Degrees(long double radians);

}  // namespace vortalis::buildkit
