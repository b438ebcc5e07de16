#pragma once

#include <string_view>

#include "geometry/number_text.h"
#include "geometry/tractrix.h"
#include "geometry/units.h"
#include "report/report_input.h"

// The horn that an accepted input describes, in the unit of its dialog. The
// quick tests, the validation and the reports all derive it here, so a label,
// a message and a report never disagree about a horn.
namespace vortalis::report {

// A number text that the validation has accepted; throws std::invalid_argument
// for anything else, since computing on it would print nonsense.
long double AcceptedNumber(std::string_view text, const geometry::Separators& separators);

// Mouth radius of the full tractrix for fc, in the display unit.
long double MouthRadiusIn(long double fc, geometry::LengthUnit unit);

// The radius of an entered throat size, and the size shown for a radius.
long double RadiusOfSize(long double size, geometry::SizeMode mode);
long double SizeOfRadius(long double radius, geometry::SizeMode mode);

struct CircularHorn {
  long double frequency;     // fc in hertz
  long double throatRadius;  // t
  long double mouthRadius;   // a
  long double length;        // L
};

CircularHorn MakeCircularHorn(const CircularReportInput& input,
                              const geometry::Separators& separators);

struct RectangularHorn {
  bool flatSides;
  long double frequency;       // fc in hertz
  long double side1;           // S1, throat distance between sides 1A and 1B
  long double side2;           // S2, throat distance between sides 2A and 2B
  long double locationFactor;  // k
  long double mouthRadius;     // a of the full tractrix
  long double throatRadius;    // r0, equivalent throat radius of the full horn
  long double length;          // L
  geometry::MouthSides mouth;  // M1, M2
  long double flatOffset;  // H: how much further out each flat side lies at the mouth; 0 without
};

RectangularHorn MakeRectangularHorn(const RectangularReportInput& input,
                                    const geometry::Separators& separators);

// L of either kind of horn.
long double HornLength(const HornInput& input, const geometry::Separators& separators);

}  // namespace vortalis::report
