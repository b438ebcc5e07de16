#include "report/input_check.h"

#include "geometry/constants.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/number_format.h"

namespace vortalis::report {

namespace {

using geometry::LengthUnit;
using geometry::ParseNumber;
using geometry::SizeMode;

std::optional<InputProblem> Problem(const char* message, InputField field) {
  return InputProblem{message, field};
}

// Shared by both dialogs: the cut-off frequency limits.
std::optional<InputProblem> FrequencyProblem(long double fc) {
  if (fc < geometry::MinFrequency)
    return Problem("Frequency value too small!  (Fc >= 1 Hz)", InputField::Freq);
  if (fc > geometry::MaxFrequency)
    return Problem("Frequency value too large!  (Fc <= 25000 Hz)", InputField::Freq);
  return std::nullopt;
}

struct ThroatLimit {
  long double minimum;
  const char* message;
};

ThroatLimit CircularThroatLimit(LengthUnit unit, SizeMode size) {
  const bool radius = size == SizeMode::Radius;
  if (unit == LengthUnit::Millimetre) {
    return radius
               ? ThroatLimit{geometry::MinThroatRadiusMm, "Throat to small!  (radius >= 0.5 mm)"}
               : ThroatLimit{geometry::MinThroatDiameterMm, "Throat to small!  (diameter >= 1 mm)"};
  }
  return radius ? ThroatLimit{geometry::MinThroatRadiusInch,
                              "Throat to small!  (radius >= 0.0197 inch)"}
                : ThroatLimit{geometry::MinThroatDiameterInch,
                              "Throat to small!  (diameter >= 0.0394 inch)"};
}

// A throat distance between two opposite sides has the limit of a circular throat diameter.
long double MinimumSideDistance(LengthUnit unit) {
  return unit == LengthUnit::Millimetre ? geometry::MinThroatDiameterMm
                                        : geometry::MinThroatDiameterInch;
}

}  // namespace

std::optional<InputProblem> FindCircularInputProblem(const CircularReportInput& input,
                                                     const geometry::Separators& separators) {
  const auto fc = ParseNumber(input.frequencyText, separators);
  if (!fc) return Problem("Error in Frequency value!", InputField::Freq);
  const auto throat = ParseNumber(input.throatText, separators);
  if (!throat) return Problem("Error in Throat size value!", InputField::Throat);
  if (auto problem = FrequencyProblem(*fc)) return problem;
  const ThroatLimit limit = CircularThroatLimit(input.unit, input.size);
  if (*throat < limit.minimum) return Problem(limit.message, InputField::Throat);
  if (RadiusOfSize(*throat, input.size) >= MouthRadiusIn(*fc, input.unit)) {
    return Problem("Frequency and Throat don\u00b4t match!  (Freq too large or Throat too big)",
                   InputField::None);
  }
  return std::nullopt;
}

std::optional<InputProblem> FindRectangularInputProblem(const RectangularReportInput& input,
                                                        const geometry::Separators& separators) {
  const bool millimetres = input.unit == LengthUnit::Millimetre;
  const auto fc = ParseNumber(input.frequencyText, separators);
  if (!fc) return Problem("Error in Frequency value", InputField::Freq);
  const auto s1 = ParseNumber(input.side1Text, separators);
  if (!s1) return Problem("Error in Side 1A - 1B value!", InputField::Side1);
  const auto s2 = ParseNumber(input.side2Text, separators);
  if (!s2) return Problem("Error in Side 2A - 2B value!", InputField::Side2);
  std::optional<long double> mouth;
  if (input.flatSides) {
    mouth = ParseNumber(input.mouthText, separators);
    if (!mouth) return Problem("Error in Side 1A - 1B value! (Mouth) ", InputField::MouthS1);
  }
  if (auto problem = FrequencyProblem(*fc)) return problem;
  const long double minimumSide = MinimumSideDistance(input.unit);
  if (*s1 < minimumSide) {
    return Problem(millimetres ? "Side 1A - 1B to small!  (Throat opening distance >= 1 mm)"
                               : "Side 1A - 1B to small!  (Throat opening distance >= 0.0394 inch)",
                   InputField::Side1);
  }
  if (*s2 < minimumSide) {
    return Problem(millimetres ? "Side 2A - 2B to small!  (Throat opening distance >= 1 mm)"
                               : "Side 2A - 2B to small!  (Throat opening distance >= 0.0394 inch)",
                   InputField::Side2);
  }
  if (input.flatSides && *mouth < *s1) {
    return Problem(
        millimetres ? "Mouth distance Side 1A - 1B to small! (Mouth distance >= Throat distance)"
                    : "Mouth distance Side 1A - 1B too small! (Mouth distance >= Throat distance)",
        InputField::MouthS1);
  }
  const long double k = geometry::LocationFactor(input.location);
  const long double a = MouthRadiusIn(*fc, input.unit);
  // The full horn's throat must be smaller than its mouth: by area, and by the
  // equivalent radius itself, which rounding can put at or past the mouth
  // radius when the areas differ in their last digit.
  if (*s1 * *s2 * k >= geometry::FullMouthArea(a) ||
      !(geometry::EquivalentThroatRadius(*s1, *s2, k) < a)) {
    return Problem(
        "Frequency and Throat don\u00b4t match!  (Freq too large or Throat area too big)",
        InputField::None);
  }
  return std::nullopt;
}

CircularQuickResult CircularQuickTest(const CircularReportInput& input,
                                      const geometry::Separators& separators) {
  const CircularHorn horn = MakeCircularHorn(input, separators);
  const std::string unit = std::string(" ") + geometry::UnitName(input.unit);
  return {
      FormatNumber(horn.length, LengthFormat(input.unit), separators) + unit,
      FormatNumber(SizeOfRadius(horn.mouthRadius, input.size), SizeFormat(input.unit), separators) +
          unit};
}

RectangularQuickResult RectangularQuickTest(const RectangularReportInput& input,
                                            const geometry::Separators& separators) {
  const RectangularHorn horn = MakeRectangularHorn(input, separators);
  const std::string unit = std::string(" ") + geometry::UnitName(input.unit);
  const NumberFormat side = SizeFormat(input.unit);
  return {FormatNumber(horn.length, LengthFormat(input.unit), separators) + unit,
          FormatNumber(horn.mouth.side1, side, separators) + unit,
          FormatNumber(horn.mouth.side2, side, separators) + unit};
}

std::optional<InputProblem> FindInputProblem(const HornInput& input,
                                             const geometry::Separators& separators) {
  if (const auto* circular = std::get_if<CircularReportInput>(&input))
    return FindCircularInputProblem(*circular, separators);
  return FindRectangularInputProblem(std::get<RectangularReportInput>(input), separators);
}

}  // namespace vortalis::report
