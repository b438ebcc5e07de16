#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "geometry/constants.h"
#include "geometry/number_text.h"
#include "geometry/tractrix.h"

namespace {

using namespace vortalis::geometry;

// Six decimals: the precision the reference figures below are quoted in.
std::string Six(long double v) { return FixedText(v, 18, 6); }

struct ConstantRow {
  const char* name;
  long double value;
  const char* decimal;
};

// An L suffix forgotten anywhere would round the constant through double first.
TEST(Constants, EachIsTheExtendedValueNearestItsDecimal) {
  const ConstantRow rows[] = {
      {"SpeedOfSound", SpeedOfSound, "340"},
      {"Pi", Pi, "3.1415926535897932385"},
      {"InversePi", InversePi, "0.31830988618379067154"},
      {"MetresToMillimetres", MetresToMillimetres, "1000"},
      {"MetresToInches", MetresToInches, "39.37007874016"},
      {"MetresToInchesExact", MetresToInchesExact, "39.370078740157480317"},
      {"InchToMillimetre", InchToMillimetre, "25.4"},
      {"MillimetreToInch", MillimetreToInch, "0.039370078740157480314"},
      {"RadiusFromDiameter", RadiusFromDiameter, "0.5"},
      {"Quarter", Quarter, "0.25"},
      {"MinFrequency", MinFrequency, "1"},
      {"MaxFrequency", MaxFrequency, "25000"},
      {"MinThroatDiameterMm", MinThroatDiameterMm, "1"},
      {"MinThroatRadiusMm", MinThroatRadiusMm, "0.5"},
      {"MinThroatDiameterInch", MinThroatDiameterInch, "0.0394"},
      {"MinThroatRadiusInch", MinThroatRadiusInch, "0.0197"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.value, std::strtold(row.decimal, nullptr)) << row.name;
  // The two inch scales must stay distinct: reports depend on which one is used.
  EXPECT_NE(MetresToInches, MetresToInchesExact);
}

struct CircularHorn {
  long double mouthRadius;
  long double length;
};

CircularHorn Circular(long double fc, long double throatRadius, LengthUnit unit) {
  const long double a = CutoffMouthRadius(fc) * UnitScale(unit);
  return {a, TractrixLength(a, throatRadius)};
}

TEST(CircularHorn, ThreeHundredHertzWithTenMillimetreThroat) {
  // The default horn: mouth radius 180.375602 mm, length 466.518431 mm.
  const CircularHorn mm = Circular(300.0L, 10.0L, LengthUnit::Millimetre);
  EXPECT_EQ(Six(mm.mouthRadius), "180.375602");
  EXPECT_EQ(Six(mm.length), "466.518431");
  EXPECT_EQ(FixedText(mm.length, 8, 3), "466.518");
  EXPECT_EQ(FixedText(mm.mouthRadius, 8, 2), "180.38");
  const Separators comma{",", "."};
  EXPECT_EQ(FixedText(mm.length, 8, 3, comma), "466,518");
  EXPECT_EQ(FixedText(mm.mouthRadius, 8, 2, comma), "180,38");

  // Diameter mode: a 20 mm throat is the same horn; only the displayed mouth doubles.
  const CircularHorn diameter =
      Circular(300.0L, 20.0L * RadiusFromDiameter, LengthUnit::Millimetre);
  EXPECT_EQ(FixedText(diameter.length, 8, 3), "466.518");
  EXPECT_EQ(FixedText(diameter.mouthRadius * 2.0L, 8, 2), "360.75");

  // In inches the throat is the converted 10 mm and the mouth uses 39.37007874016.
  const long double throatInch = ConvertLength(10.0L, LengthUnit::Inch);
  EXPECT_EQ(Six(throatInch), "0.393701");
  const CircularHorn inch = Circular(300.0L, throatInch, LengthUnit::Inch);
  EXPECT_EQ(Six(inch.mouthRadius), "7.101402");
  EXPECT_EQ(Six(inch.length), "18.366867");

  EXPECT_EQ(FixedText(QuarterWavelength(300.0L), 8, 4), "0.2833");
}

TEST(CircularHorn, LargestHornKeepsEightSignificantDigits) {
  // 1 Hz with a 0.5 mm throat radius: 610667.997 mm, printed with three decimals
  // it is rounded to eight digits first.
  const CircularHorn horn = Circular(MinFrequency, MinThroatRadiusMm, LengthUnit::Millimetre);
  EXPECT_EQ(FixedText(horn.mouthRadius, 8, 3), "54112.681");
  EXPECT_EQ(FixedText(horn.length, 9, 3), "610667.997");
  EXPECT_EQ(FixedText(horn.length, 8, 3), "610668.000");
}

TEST(CircularHorn, LengthShrinksTowardZeroAsTheThroatReachesTheMouth) {
  // A 10 mm throat meets the mouth at about 5411.2681 Hz.
  const long double a = CutoffMouthRadius(5411.2680L) * UnitScale(LengthUnit::Millimetre);
  ASSERT_GT(a, 10.0L);
  const long double length = TractrixLength(a, 10.0L);
  EXPECT_GT(length, 0.0L);
  EXPECT_EQ(FixedText(length, 8, 6), "0.000000");
  EXPECT_LT(CutoffMouthRadius(5411.2682L) * UnitScale(LengthUnit::Millimetre), 10.0L);
}

struct RectangularRow {
  MouthLocation location;
  const char* length;
  const char* side1;
  const char* side2;
};

TEST(RectangularHorn, ThirtyTwoHertzFortyByFiftyAtEachLocation) {
  // The default rectangular horn; more walls enlarge the equivalent throat and
  // divide the mouth area.
  const RectangularRow rows[] = {
      {MouthLocation::FreeAir, "6591.9467", "2680.8283", "3351.0354"},
      {MouthLocation::OneWall, "6005.9775", "1895.6319", "2369.5398"},
      {MouthLocation::TwoWalls, "5420.1025", "1340.4142", "1675.5177"},
      {MouthLocation::ThreeWalls, "4834.4157", "947.8159", "1184.7699"},
  };
  const long double a = CutoffMouthRadius(32.0L) * UnitScale(LengthUnit::Millimetre);
  EXPECT_EQ(FixedText(a, 8, 4), "1691.0213");
  EXPECT_EQ(FixedText(EquivalentThroatRadius(40.0L, 50.0L, 1.0L), 8, 4), "25.2313");
  for (const auto& row : rows) {
    const long double k = LocationFactor(row.location);
    SCOPED_TRACE(testing::Message() << "k = " << static_cast<double>(k));
    const long double r0 = EquivalentThroatRadius(40.0L, 50.0L, k);
    EXPECT_EQ(FixedText(TractrixLength(a, r0), 8, 4), row.length);
    const MouthSides sides = RectMouthSides(a, k, 40.0L, 50.0L);
    EXPECT_EQ(FixedText(sides.side1, 8, 4), row.side1);
    EXPECT_EQ(FixedText(sides.side2, 8, 4), row.side2);
    // With the first side entered as flat, the second follows from the same area.
    EXPECT_EQ(FixedText(RectMouthSecondSide(a, k, sides.side1), 8, 4), row.side2);
  }
}

TEST(Units, SwitchingAnEnteredLengthBetweenUnits) {
  EXPECT_EQ(FixedText(ConvertLength(10.0L, LengthUnit::Inch), 8, 4), "0.3937");
  EXPECT_EQ(FixedText(ConvertLength(0.3937L, LengthUnit::Millimetre), 8, 2), "10.00");
  EXPECT_EQ(FixedText(ConvertLength(1.0L, LengthUnit::Millimetre), 8, 2), "25.40");
}

}  // namespace
