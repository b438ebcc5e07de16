// The settings dialogs' validation with any field texts and any choices. When
// it accepts, the quick test and the report of that input must hold up too: no
// crash or hang, numbers where numbers belong, the dialog's labels equal to the
// report's calculated values, the table ending at the mouth.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "geometry/units.h"
#include "report/horn_model.h"
#include "report/input_check.h"
#include "report/number_format.h"
#include "report/report_generator.h"
#include "report_test_support.h"

namespace {

using namespace vortalis;
using fuzz::Visible;
using geometry::LengthUnit;
using geometry::MouthLocation;
using geometry::Separators;
using geometry::SizeMode;
using geometry::TableIncrement;
using report::CircularReportInput;
using report::RectangularReportInput;

// A fuzz iteration must stay fast: larger tables are left to the property tests.
constexpr long double kMostRows = 5000.0L;
// Beyond this, squares of the entered sizes leave the long double range; the
// report then shows INF and NAN, which is checked apart.
constexpr long double kPhysicalLimit = 1e100L;

constexpr TableIncrement kIncrements[] = {TableIncrement::T1, TableIncrement::T10,
                                          TableIncrement::T100};
constexpr MouthLocation kLocations[] = {MouthLocation::FreeAir, MouthLocation::OneWall,
                                        MouthLocation::TwoWalls, MouthLocation::ThreeWalls};

bool HasNonNumber(const std::string& text) {
  return text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos;
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == line) return i;
  return lines.size();
}

// What every accepted report shares: its frame, the labels of the quick test
// among its calculated values, a table that ends with the mouth row, and no
// INF or NAN among the computed lines while the input is physical.
void CheckReport(const testing::ProducedReport& report, const std::string& lengthText,
                 const std::vector<std::string>& calculatedLines, bool physical,
                 const std::string& why) {
  const auto& lines = report.lines;
  FUZZ_CHECK(lines.size() > 12 && lines[0] == "Tractrix horn calculation." && lines[2].empty(),
             "report frame: " + why);
  FUZZ_CHECK(report.progress.shows == 1 && report.progress.hides == 1 && !report.progress.visible,
             "progress window: " + why);
  for (const std::string& line : calculatedLines)
    FUZZ_CHECK(IndexOf(lines, line) < lines.size(), "missing \"" + Visible(line) + "\": " + why);
  FUZZ_CHECK(lines.back().starts_with(lengthText + "\t\t"), "last row is not the mouth: " + why);
  const std::size_t calculated = IndexOf(lines, "Calculated values.");
  FUZZ_CHECK(calculated < lines.size(), "no calculated values: " + why);
  if (!physical) return;
  for (std::size_t i = calculated; i < lines.size(); ++i)
    FUZZ_CHECK(!HasNonNumber(lines[i]), "INF or NAN in \"" + Visible(lines[i]) + "\": " + why);
}

void FuzzCircular(fuzz::ByteReader& in, std::uint8_t choices, const Separators& separators) {
  CircularReportInput input;
  input.unit = choices & 2 ? LengthUnit::Inch : LengthUnit::Millimetre;
  input.size = choices & 4 ? SizeMode::Diameter : SizeMode::Radius;
  input.increment = kIncrements[(choices >> 3) % 3];
  input.frequencyText = in.Text();
  input.throatText = in.Text();
  const std::string why = "circular freq=\"" + Visible(input.frequencyText) + "\" throat=\"" +
                          Visible(input.throatText) + "\" choices=" + std::to_string(choices);

  const auto problem = report::FindCircularInputProblem(input, separators);
  if (problem) {
    FUZZ_CHECK(!problem->message.empty(), "empty message: " + why);
    return;
  }
  const report::CircularQuickResult quick = report::CircularQuickTest(input, separators);
  FUZZ_CHECK(!HasNonNumber(quick.length) && !HasNonNumber(quick.mouth) &&
                 !quick.length.starts_with('-'),
             "quick test \"" + quick.length + "\", \"" + quick.mouth + "\": " + why);

  const report::CircularHorn horn = report::MakeCircularHorn(input, separators);
  if (!(horn.length / geometry::IncrementValue(input.increment, input.unit) < kMostRows)) return;
  const auto produced = testing::Produce(&report::GenerateCircularReport, input, 0, separators);
  const std::string size = input.size == SizeMode::Radius ? "radius" : "diameter";
  const std::string unit = geometry::UnitName(input.unit);
  const std::string lengthText = quick.length.substr(0, quick.length.rfind(' '));
  CheckReport(produced, lengthText,
              {"Horn cut off frequency fc: \t" + input.frequencyText + " Hz",
               "Throat   (" + size + "):\t\t" + input.throatText + " " + unit,
               "Horn length: \t\t" + quick.length, "Mouth   (" + size + "):\t\t" + quick.mouth},
              true, why);
}

void FuzzRectangular(fuzz::ByteReader& in, std::uint8_t choices, const Separators& separators) {
  RectangularReportInput input;
  input.unit = choices & 2 ? LengthUnit::Inch : LengthUnit::Millimetre;
  input.flatSides = (choices & 4) != 0;
  input.increment = kIncrements[(choices >> 3) % 3];
  input.location = kLocations[(choices >> 5) % 4];
  input.frequencyText = in.Text();
  input.side1Text = in.Text();
  input.side2Text = in.Text();
  input.mouthText = in.Text();
  const std::string why = "rectangular freq=\"" + Visible(input.frequencyText) + "\" side1=\"" +
                          Visible(input.side1Text) + "\" side2=\"" + Visible(input.side2Text) +
                          "\" mouth=\"" + Visible(input.mouthText) +
                          "\" choices=" + std::to_string(choices);

  const auto problem = report::FindRectangularInputProblem(input, separators);
  if (!input.flatSides) {
    // Without flat sides the mouth field is neither read nor checked.
    RectangularReportInput other = input;
    other.mouthText = input.mouthText.empty() ? "x" : "";
    const auto otherProblem = report::FindRectangularInputProblem(other, separators);
    FUZZ_CHECK(problem.has_value() == otherProblem.has_value() &&
                   (!problem || problem->message == otherProblem->message),
               "the unused mouth field changed the outcome: " + why);
  }
  if (problem) {
    FUZZ_CHECK(!problem->message.empty(), "empty message: " + why);
    return;
  }
  const report::RectangularQuickResult quick = report::RectangularQuickTest(input, separators);
  FUZZ_CHECK(!HasNonNumber(quick.length) && !HasNonNumber(quick.side1) &&
                 !HasNonNumber(quick.side2) && !quick.length.starts_with('-'),
             "quick test \"" + quick.length + "\", \"" + quick.side1 + "\", \"" + quick.side2 +
                 "\": " + why);

  const report::RectangularHorn horn = report::MakeRectangularHorn(input, separators);
  if (!(horn.length / geometry::IncrementValue(input.increment, input.unit) < kMostRows)) return;
  const auto produced = testing::Produce(&report::GenerateRectangularReport, input, 0, separators);
  const std::string unit = geometry::UnitName(input.unit);
  const std::string lengthText = quick.length.substr(0, quick.length.rfind(' '));
  std::vector<std::string> calculated{
      "Horn cut off frequency fc: \t" + input.frequencyText + " Hz",
      "Side 1A - 1B: \t\t" + input.side1Text + " " + unit,
      "Side 2A - 2B: \t\t" + input.side2Text + " " + unit, "Horn length: \t\t" + quick.length,
      "Side 1A - 1B: \t\t" + quick.side1, "Side 2A - 2B: \t\t" + quick.side2};
  if (input.flatSides) calculated.push_back("Side 1A - 1B: \t\t" + input.mouthText + " " + unit);
  const bool physical = !input.flatSides || horn.mouth.side1 <= kPhysicalLimit;
  CheckReport(produced, lengthText, calculated, physical, why);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader in(data, size);
  const std::uint8_t choices = in.Byte();
  const Separators separators = fuzz::SeparatorsFromBit(in.Byte());
  if (choices & 1)
    FuzzRectangular(in, choices, separators);
  else
    FuzzCircular(in, choices, separators);
  return 0;
}
