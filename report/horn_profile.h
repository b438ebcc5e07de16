#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/horn_model.h"
#include "report/report_input.h"

// The horn's wall as points from the throat toward the mouth, for drawings,
// exports and full-size templates. A point is computed with exactly the
// arithmetic of the report's table rows, so a drawing never disagrees with the
// report at a common distance.
namespace vortalis::report {

// Where a drawing stops short of the full tractrix mouth (a full bass horn is
// often cut short). Radius and Diameter are for circular horns, Side1 for
// rectangular ones, Length for both.
enum class MouthLimitKind { None, Radius, Diameter, Side1, Length };

struct MouthLimit {
  MouthLimitKind kind = MouthLimitKind::None;
  long double value = 0.0L;  // in the report's unit
};

struct ProfilePoint {
  long double distance;          // from the throat
  long double radius;            // radius of the full circular tractrix at this distance
  long double side1;             // circular: the built radius again; rectangular: sides 1A - 1B
  long double side2;             // circular: the built radius again; rectangular: sides 2A - 2B
  long double area;              // built cross-section area
  long double flatSideDistance;  // rectangular with flat sides: length along a flat side; else 0
  long double flareAngle;        // circular: the report's flare angle in degrees; else 0
};

struct HornProfile {
  bool rectangular = false;
  bool flatSides = false;
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  geometry::SizeMode size = geometry::SizeMode::Radius;  // circular: the report's size column
  long double frequency = 0.0L;          // fc in hertz
  std::string frequencyText;             // fc as typed, without the blanks around it
  long double length = 0.0L;             // L of the whole horn
  long double mouthRadius = 0.0L;        // a of the full tractrix
  RectangularHorn rectangle{};           // rectangular: the horn the sides are computed for
  long double quarterWavelength = 0.0L;  // minimum recommended length, in the unit
  long double step = 0.0L;               // distance between the points (the last may be closer)
  MouthLimit limit;                      // as asked for; the last point lies on it
  std::vector<ProfilePoint> points;      // throat first; last = mouth or the mouth limit
};

// A step or a mouth limit that gives no drawing; what() is a sentence for the user.
class ProfileError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// A drawing of more points than this is refused (a step far too fine for the horn).
inline constexpr std::size_t kMaxProfilePoints = 1000000;

// Points at 0, step, 2 step, ... and the end point (the mouth, or where the
// limit is reached). Only for input the validation accepted. Throws
// ProfileError for a step that is not > 0, a limit that is not inside the horn
// (one at the mouth, to the 0.1 mm or 0.01 inch the user reads, gives the
// whole horn; one beyond it is refused, naming the mouth's value) or of the other
// horn's kind, and for more than kMaxProfilePoints points.
HornProfile MakeCircularProfile(const CircularReportInput& input, long double step,
                                const MouthLimit& limit, const geometry::Separators& separators);
HornProfile MakeRectangularProfile(const RectangularReportInput& input, long double step,
                                   const MouthLimit& limit,
                                   const geometry::Separators& separators);
HornProfile MakeProfile(const HornInput& input, long double step, const MouthLimit& limit,
                        const geometry::Separators& separators);

// The section at `distance` from the throat, computed as the report computes a
// row: the throat at 0 and below, the mouth at the horn's length and beyond,
// and between them off the station grid, as a profile's end point is. The
// radius search starts at the throat, a report row's at the station before, so
// the two radii may differ within the search tolerance.
ProfilePoint ProfilePointAt(const HornInput& input, long double distance,
                            const geometry::Separators& separators);
// The point of `stations` (a profile of the same horn) at exactly `distance`
// when it has one, so that a readout at a report row prints that row; else the
// section computed above.
ProfilePoint ProfilePointAt(const HornInput& input, const HornProfile& stations,
                            long double distance, const geometry::Separators& separators);

}  // namespace vortalis::report
