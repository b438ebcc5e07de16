#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "report/input_check.h"

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::Separators;
using vortalis::geometry::SizeMode;
using vortalis::report::CircularQuickTest;
using vortalis::report::CircularReportInput;
using vortalis::report::FindCircularInputProblem;
using vortalis::report::FindRectangularInputProblem;
using vortalis::report::InputField;
using vortalis::report::RectangularQuickTest;
using vortalis::report::RectangularReportInput;

const Separators kDot{".", ","};
const Separators kComma{",", "."};

// The acute accent U+00B4 between "don" and "t", as UTF-8.
const std::string kCircularMismatch =
    "Frequency and Throat don\xC2\xB4t match!  (Freq too large or Throat too big)";
const std::string kRectangularMismatch =
    "Frequency and Throat don\xC2\xB4t match!  (Freq too large or Throat area too big)";

// message nullptr: the input is accepted.
void ExpectVerdict(const std::optional<vortalis::report::InputProblem>& problem, const char* name,
                   const char* message, InputField field) {
  if (message == nullptr) {
    EXPECT_FALSE(problem.has_value()) << name << ": " << problem->message;
    return;
  }
  ASSERT_TRUE(problem.has_value()) << name;
  EXPECT_EQ(problem->message, message) << name;
  EXPECT_EQ(problem->field, field) << name;
}

struct CircularCase {
  const char* name;
  LengthUnit unit;
  SizeMode size;
  const char* freq;
  const char* throat;
  const char* message;  // nullptr: accepted
  InputField field;
};

constexpr LengthUnit kMm = LengthUnit::Millimetre;
constexpr LengthUnit kInch = LengthUnit::Inch;
constexpr SizeMode kRadius = SizeMode::Radius;
constexpr SizeMode kDiameter = SizeMode::Diameter;

const CircularCase kCircularCases[] = {
    {"Defaults", kMm, kRadius, "300", "10", nullptr, InputField::None},
    {"FrequencyFirstEvenIfBothAreText", kMm, kRadius, "abc", "xyz", "Error in Frequency value!",
     InputField::Freq},
    {"EmptyFrequency", kMm, kRadius, "", "10", "Error in Frequency value!", InputField::Freq},
    {"OverflowIsNotANumber", kMm, kRadius, "1e99999", "10", "Error in Frequency value!",
     InputField::Freq},
    {"NanIsNotANumber", kMm, kRadius, "nan", "10", "Error in Frequency value!", InputField::Freq},
    {"ThroatText", kMm, kRadius, "300", "10 mm", "Error in Throat size value!", InputField::Throat},
    {"ThroatTextBeforeFrequencyRange", kMm, kRadius, "0.5", "x", "Error in Throat size value!",
     InputField::Throat},
    {"FrequencyTooSmall", kMm, kRadius, "0.5", "10", "Frequency value too small!  (Fc >= 1 Hz)",
     InputField::Freq},
    {"FrequencyTooLarge", kMm, kRadius, "25000.01", "2",
     "Frequency value too large!  (Fc <= 25000 Hz)", InputField::Freq},
    {"FrequencyLimitThenMismatch", kMm, kRadius, "25000", "10", kCircularMismatch.c_str(),
     InputField::None},
    {"FrequencyLimitSmallThroat", kMm, kRadius, "25000", "2", nullptr, InputField::None},
    {"RangeBeforeThroatLimit", kMm, kRadius, "0.5", "0.1",
     "Frequency value too small!  (Fc >= 1 Hz)", InputField::Freq},
    {"MillimetreDiameter", kMm, kDiameter, "300", "0.99", "Throat to small!  (diameter >= 1 mm)",
     InputField::Throat},
    {"MillimetreDiameterAtLimit", kMm, kDiameter, "300", "1", nullptr, InputField::None},
    {"MillimetreRadius", kMm, kRadius, "300", "0.49", "Throat to small!  (radius >= 0.5 mm)",
     InputField::Throat},
    {"InchDiameter", kInch, kDiameter, "300", "0.0393",
     "Throat to small!  (diameter >= 0.0394 inch)", InputField::Throat},
    {"InchRadius", kInch, kRadius, "300", "0.0196", "Throat to small!  (radius >= 0.0197 inch)",
     InputField::Throat},
    {"InchRadiusAtLimit", kInch, kRadius, "300", "0.0197", nullptr, InputField::None},
    {"MismatchAtTheMouthRadius", kMm, kRadius, "5411.2681", "10", kCircularMismatch.c_str(),
     InputField::None},
    {"JustBelowTheMouthRadius", kMm, kRadius, "5411.268", "10", nullptr, InputField::None},
    {"DiameterIsHalvedForTheMismatch", kMm, kDiameter, "5411.268", "20", nullptr, InputField::None},
    {"InchThroatOfTenIsTooBigAt300Hz", kInch, kRadius, "300", "10", kCircularMismatch.c_str(),
     InputField::None},
    {"LargestHorn", kMm, kRadius, "1", "0.5", nullptr, InputField::None},
};

TEST(CircularInputCheck, FirstProblemAndItsField) {
  for (const CircularCase& c : kCircularCases) {
    CircularReportInput input;
    input.unit = c.unit;
    input.size = c.size;
    input.frequencyText = c.freq;
    input.throatText = c.throat;
    ExpectVerdict(FindCircularInputProblem(input, kDot), c.name, c.message, c.field);
  }
}

TEST(CircularInputCheck, ReadsWithTheGivenDecimalSeparator) {
  CircularReportInput input;
  input.frequencyText = "300,5";
  EXPECT_FALSE(FindCircularInputProblem(input, kComma).has_value());
  ASSERT_TRUE(FindCircularInputProblem(input, kDot).has_value());
  EXPECT_EQ(FindCircularInputProblem(input, kDot)->message, "Error in Frequency value!");
}

struct RectangularCase {
  const char* name;
  LengthUnit unit;
  MouthLocation location;
  bool flat;
  const char* freq;
  const char* side1;
  const char* side2;
  const char* mouth;
  const char* message;  // nullptr: accepted
  InputField field;
};

constexpr MouthLocation kFree = MouthLocation::FreeAir;

const RectangularCase kRectangularCases[] = {
    {"Defaults", kMm, kFree, false, "32", "40", "50", "3000", nullptr, InputField::None},
    {"FrequencyTextHasNoExclamationMark", kMm, kFree, false, "x", "x", "x", "x",
     "Error in Frequency value", InputField::Freq},
    {"Side1Text", kMm, kFree, false, "32", "", "x", "x", "Error in Side 1A - 1B value!",
     InputField::Side1},
    {"Side2Text", kMm, kFree, false, "0", "40", "5O", "x", "Error in Side 2A - 2B value!",
     InputField::Side2},
    {"MouthTextWhenFlat", kMm, kFree, true, "0", "0", "50", "x",
     "Error in Side 1A - 1B value! (Mouth) ", InputField::MouthS1},
    {"MouthTextIgnoredWithoutFlatSides", kMm, kFree, false, "32", "40", "50", "x", nullptr,
     InputField::None},
    {"FrequencyTooSmall", kMm, kFree, false, "0.99", "0", "50", "3000",
     "Frequency value too small!  (Fc >= 1 Hz)", InputField::Freq},
    {"FrequencyTooLarge", kMm, kFree, false, "25001", "1", "1", "3000",
     "Frequency value too large!  (Fc <= 25000 Hz)", InputField::Freq},
    {"Side1Millimetres", kMm, kFree, false, "32", "0.99", "0", "3000",
     "Side 1A - 1B to small!  (Throat opening distance >= 1 mm)", InputField::Side1},
    {"Side1Inches", kInch, kFree, false, "32", "0.0393", "0", "3000",
     "Side 1A - 1B to small!  (Throat opening distance >= 0.0394 inch)", InputField::Side1},
    {"Side2Millimetres", kMm, kFree, true, "32", "1", "0.5", "0",
     "Side 2A - 2B to small!  (Throat opening distance >= 1 mm)", InputField::Side2},
    {"Side2Inches", kInch, kFree, false, "32", "0.0394", "0.0393", "3000",
     "Side 2A - 2B to small!  (Throat opening distance >= 0.0394 inch)", InputField::Side2},
    {"MouthMillimetres", kMm, kFree, true, "32", "40", "50", "39.99",
     "Mouth distance Side 1A - 1B to small! (Mouth distance >= Throat distance)",
     InputField::MouthS1},
    {"MouthInches", kInch, kFree, true, "32", "1.5748", "1.9685", "1.5",
     "Mouth distance Side 1A - 1B too small! (Mouth distance >= Throat distance)",
     InputField::MouthS1},
    {"MouthEqualToThroat", kMm, kFree, true, "32", "40", "50", "40", nullptr, InputField::None},
    {"MouthBeforeMismatch", kMm, kFree, true, "25000", "300", "300", "1",
     "Mouth distance Side 1A - 1B to small! (Mouth distance >= Throat distance)",
     InputField::MouthS1},
    {"Free300By300At300Hz", kMm, kFree, false, "300", "300", "300", "3000", nullptr,
     InputField::None},
    {"OneWall300By300At300Hz", kMm, MouthLocation::OneWall, false, "300", "300", "300", "3000",
     kRectangularMismatch.c_str(), InputField::None},
    // The areas differ in their last digit, yet the equivalent radius rounds onto the mouth's.
    {"EquivalentRadiusRoundsOntoTheMouth", kMm, kFree, false, "269.07", "127062.504859969460654",
     "1", "3000", kRectangularMismatch.c_str(), InputField::None},
    {"JustInsideTheMouth", kMm, kFree, false, "269.07", "127062.50485996946", "1", "3000", nullptr,
     InputField::None},
};

TEST(RectangularInputCheck, FirstProblemAndItsField) {
  for (const RectangularCase& c : kRectangularCases) {
    RectangularReportInput input;
    input.unit = c.unit;
    input.location = c.location;
    input.flatSides = c.flat;
    input.frequencyText = c.freq;
    input.side1Text = c.side1;
    input.side2Text = c.side2;
    input.mouthText = c.mouth;
    ExpectVerdict(FindRectangularInputProblem(input, kDot), c.name, c.message, c.field);
  }
}

TEST(QuickTest, CircularLabels) {
  CircularReportInput input;
  auto result = CircularQuickTest(input, kDot);
  EXPECT_EQ(result.length, "466.518 mm");
  EXPECT_EQ(result.mouth, "180.38 mm");
  result = CircularQuickTest(input, kComma);
  EXPECT_EQ(result.length, "466,518 mm");
  EXPECT_EQ(result.mouth, "180,38 mm");

  input.size = SizeMode::Diameter;
  input.throatText = "20.00";
  result = CircularQuickTest(input, kDot);
  EXPECT_EQ(result.length, "466.518 mm");
  EXPECT_EQ(result.mouth, "360.75 mm");

  // 10 mm is 10/25.4 inch; the mouth radius 7.101402 inch, the length 18.366867 inch.
  input.unit = LengthUnit::Inch;
  input.size = SizeMode::Radius;
  input.throatText = "0.39370078740157480315";
  result = CircularQuickTest(input, kDot);
  EXPECT_EQ(result.length, "18.36687 inch");
  EXPECT_EQ(result.mouth, "7.1014 inch");
}

TEST(QuickTest, RectangularLabelsForEveryLocation) {
  struct Expected {
    MouthLocation location;
    const char* length;
    const char* side1;
    const char* side2;
  };
  const Expected table[] = {
      {MouthLocation::FreeAir, "6591.947 mm", "2680.83 mm", "3351.04 mm"},
      {MouthLocation::OneWall, "6005.978 mm", "1895.63 mm", "2369.54 mm"},
      {MouthLocation::TwoWalls, "5420.102 mm", "1340.41 mm", "1675.52 mm"},
      {MouthLocation::ThreeWalls, "4834.416 mm", "947.82 mm", "1184.77 mm"},
  };
  for (const Expected& e : table) {
    RectangularReportInput input;
    input.location = e.location;
    const auto result = RectangularQuickTest(input, kDot);
    EXPECT_EQ(result.length, e.length);
    EXPECT_EQ(result.side1, e.side1);
    EXPECT_EQ(result.side2, e.side2);
  }
}

TEST(QuickTest, RectangularFlatSidesAndInches) {
  RectangularReportInput input;
  input.flatSides = true;
  input.mouthText = "3000";
  auto result = RectangularQuickTest(input, kDot);
  EXPECT_EQ(result.side1, "3000.00 mm");
  EXPECT_EQ(result.side2, "2994.52 mm");
  input.mouthText = "40";
  EXPECT_EQ(RectangularQuickTest(input, kDot).side2, "224588.76 mm");

  RectangularReportInput inches;
  inches.unit = LengthUnit::Inch;
  inches.side1Text = "1.5748";
  inches.side2Text = "1.9685";
  result = RectangularQuickTest(inches, kDot);
  EXPECT_EQ(result.length, "259.52559 inch");
  EXPECT_EQ(result.side1, "105.5444 inch");
  EXPECT_EQ(result.side2, "131.9305 inch");
}

}  // namespace
