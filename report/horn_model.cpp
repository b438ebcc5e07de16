#include "report/horn_model.h"

#include <stdexcept>
#include <string>

#include "geometry/constants.h"

namespace vortalis::report {

using geometry::LengthUnit;
using geometry::SizeMode;

long double AcceptedNumber(std::string_view text, const geometry::Separators& separators) {
  const auto value = geometry::ParseNumber(text, separators);
  if (!value) throw std::invalid_argument("Not a number: \"" + std::string(text) + "\"");
  return *value;
}

long double MouthRadiusIn(long double fc, LengthUnit unit) {
  return geometry::CutoffMouthRadius(fc) * geometry::UnitScale(unit);
}

long double RadiusOfSize(long double size, SizeMode mode) {
  return mode == SizeMode::Radius ? size : size * geometry::RadiusFromDiameter;
}

long double SizeOfRadius(long double radius, SizeMode mode) {
  return mode == SizeMode::Radius ? radius : radius * 2.0L;
}

CircularHorn MakeCircularHorn(const CircularReportInput& input,
                              const geometry::Separators& separators) {
  CircularHorn horn{};
  horn.frequency = AcceptedNumber(input.frequencyText, separators);
  horn.throatRadius = RadiusOfSize(AcceptedNumber(input.throatText, separators), input.size);
  horn.mouthRadius = MouthRadiusIn(horn.frequency, input.unit);
  horn.length = geometry::TractrixLength(horn.mouthRadius, horn.throatRadius);
  return horn;
}

RectangularHorn MakeRectangularHorn(const RectangularReportInput& input,
                                    const geometry::Separators& separators) {
  RectangularHorn horn{};
  horn.flatSides = input.flatSides;
  horn.frequency = AcceptedNumber(input.frequencyText, separators);
  horn.side1 = AcceptedNumber(input.side1Text, separators);
  horn.side2 = AcceptedNumber(input.side2Text, separators);
  horn.locationFactor = geometry::LocationFactor(input.location);
  horn.mouthRadius = MouthRadiusIn(horn.frequency, input.unit);
  horn.throatRadius = geometry::EquivalentThroatRadius(horn.side1, horn.side2, horn.locationFactor);
  horn.length = geometry::TractrixLength(horn.mouthRadius, horn.throatRadius);
  if (input.flatSides) {
    const long double mouth1 = AcceptedNumber(input.mouthText, separators);
    horn.mouth = {mouth1,
                  geometry::RectMouthSecondSide(horn.mouthRadius, horn.locationFactor, mouth1)};
    horn.flatOffset = (mouth1 - horn.side1) * 0.5L;
  } else {
    horn.mouth =
        geometry::RectMouthSides(horn.mouthRadius, horn.locationFactor, horn.side1, horn.side2);
    horn.flatOffset = 0.0L;
  }
  return horn;
}

long double HornLength(const HornInput& input, const geometry::Separators& separators) {
  if (const auto* circular = std::get_if<CircularReportInput>(&input))
    return MakeCircularHorn(*circular, separators).length;
  return MakeRectangularHorn(std::get<RectangularReportInput>(input), separators).length;
}

}  // namespace vortalis::report
