#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "geometry/number_text.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/horn_profile.h"
#include "report/radius_solver.h"
#include "report/report_generator.h"
#include "report/table_formats.h"
#include "report_table.h"
#include "report_test_support.h"

namespace {

using vortalis::geometry::FixedText;
using vortalis::geometry::IncrementValue;
using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;
using namespace vortalis::report;
using vortalis::testing::ReportTable;
using Row = vortalis::testing::TableRowTexts;

std::string Text(long double value, NumberFormat format) {
  return FixedText(value, format.precision, format.decimals);
}

std::vector<Row> CircularTable(const CircularReportInput& input) {
  return ReportTable(vortalis::testing::Produce(&GenerateCircularReport, input).lines);
}

std::vector<Row> RectangularTable(const RectangularReportInput& input) {
  return ReportTable(vortalis::testing::Produce(&GenerateRectangularReport, input).lines);
}

// A profile point as the report would print it in row `index` of `count`.
Row CircularRow(const HornProfile& profile, std::size_t index) {
  const CircularFormats f = CircularTableFormats(profile.unit);
  const ProfilePoint& p = profile.points[index];
  const bool mouth = index + 1 == profile.points.size();
  return {Text(p.distance, mouth ? f.mouthDistance : f.distance),
          Text(SizeOfRadius(p.radius, profile.size), f.size), Text(p.area, f.area),
          Text(p.flareAngle, f.flare)};
}

Row RectangularRow(const HornProfile& profile, std::size_t index) {
  const RectangularFormats f = RectangularTableFormats(profile.unit);
  const ProfilePoint& p = profile.points[index];
  const bool end = index == 0 || index + 1 == profile.points.size();
  Row row{Text(p.distance, end && index > 0 ? f.mouthDistance : f.distance), Text(p.side1, f.side),
          Text(p.side2, f.side), Text(p.area, end ? f.endArea : f.stationArea)};
  if (profile.flatSides) row.push_back(Text(p.flatSideDistance, f.flatDistance));
  return row;
}

CircularReportInput Circular(LengthUnit unit, SizeMode size, TableIncrement increment,
                             std::string fc, std::string throat) {
  CircularReportInput input;
  input.unit = unit;
  input.size = size;
  input.increment = increment;
  input.frequencyText = fc;
  input.throatText = throat;
  return input;
}

RectangularReportInput Rectangular(LengthUnit unit, TableIncrement increment,
                                   MouthLocation location, std::string fc, std::string side1,
                                   std::string side2, std::string flatMouth) {
  RectangularReportInput input;
  input.unit = unit;
  input.increment = increment;
  input.location = location;
  input.frequencyText = fc;
  input.side1Text = side1;
  input.side2Text = side2;
  input.flatSides = !flatMouth.empty();
  input.mouthText = flatMouth;
  return input;
}

const std::vector<CircularReportInput> kCircularHorns{
    Circular(LengthUnit::Millimetre, SizeMode::Radius, TableIncrement::T1, "300", "10"),
    Circular(LengthUnit::Millimetre, SizeMode::Diameter, TableIncrement::T10, "40", "50"),
    Circular(LengthUnit::Inch, SizeMode::Diameter, TableIncrement::T1, "60", "1.5"),
    Circular(LengthUnit::Inch, SizeMode::Radius, TableIncrement::T1, "5000", "0.1"),
};

const std::vector<RectangularReportInput> kRectangularHorns{
    Rectangular(LengthUnit::Millimetre, TableIncrement::T10, MouthLocation::FreeAir, "32", "40",
                "50", ""),
    Rectangular(LengthUnit::Millimetre, TableIncrement::T100, MouthLocation::ThreeWalls, "32",
                "40", "50", "3000"),
    Rectangular(LengthUnit::Millimetre, TableIncrement::T1, MouthLocation::OneWall, "100", "40",
                "60", "400"),
    Rectangular(LengthUnit::Inch, TableIncrement::T10, MouthLocation::TwoWalls, "50", "2", "3",
                "30"),
};

TEST(HornProfile, CircularPointsAtTheIncrementAreTheReportRows) {
  for (const CircularReportInput& input : kCircularHorns) {
    const std::vector<Row> table = CircularTable(input);
    const HornProfile profile =
        MakeCircularProfile(input, IncrementValue(input.increment, input.unit), {}, {});
    ASSERT_EQ(profile.points.size(), table.size()) << input.frequencyText;
    for (std::size_t i = 0; i < table.size(); ++i)
      ASSERT_EQ(CircularRow(profile, i), table[i]) << input.frequencyText << " row " << i;
  }
}

TEST(HornProfile, RectangularPointsAtTheIncrementAreTheReportRows) {
  for (const RectangularReportInput& input : kRectangularHorns) {
    const std::vector<Row> table = RectangularTable(input);
    const HornProfile profile =
        MakeRectangularProfile(input, IncrementValue(input.increment, input.unit), {}, {});
    ASSERT_EQ(profile.points.size(), table.size()) << input.frequencyText;
    for (std::size_t i = 0; i < table.size(); ++i)
      ASSERT_EQ(RectangularRow(profile, i), table[i]) << input.frequencyText << " row " << i;
  }
}

// A section asked for by its distance lies on the tractrix there; with the
// report's stations at hand it prints as the report's row, throat and mouth
// included.
TEST(HornProfile, PointAtADistanceIsOnTheTractrixAndPrintsAsTheRow) {
  const auto check = [](const auto& input, const auto& horn, const std::vector<Row>& table,
                        auto row) {
    const long double step = IncrementValue(input.increment, input.unit);
    const HornProfile stations = MakeProfile(input, step, {}, {});
    HornProfile looked = stations;
    for (ProfilePoint& point : looked.points) {
      point = ProfilePointAt(input, stations, point.distance, {});
      const long double between = point.distance + step / 3.0L;
      if (!(between < horn.length)) continue;
      const ProfilePoint off = ProfilePointAt(input, stations, between, {});
      ASSERT_NEAR(TractrixDistance(horn.mouthRadius, off.radius), horn.length - between,
                  SearchTolerance(input.unit))
          << input.frequencyText << " at " << static_cast<double>(between);
    }
    for (std::size_t i = 0; i < table.size(); ++i)
      ASSERT_EQ(row(looked, i), table[i]) << input.frequencyText << " row " << i;
  };
  for (const CircularReportInput& input : kCircularHorns)
    check(input, MakeCircularHorn(input, {}), CircularTable(input), CircularRow);
  for (const RectangularReportInput& input : kRectangularHorns)
    check(input, MakeRectangularHorn(input, {}), RectangularTable(input), RectangularRow);
}

// A free step (a board thickness) meets the report's stations at its multiples;
// every point's radius lies where the solver puts it.
TEST(HornProfile, FreeStepPointsAgreeWithTheReportAndTheTractrix) {
  const CircularReportInput circular =
      Circular(LengthUnit::Millimetre, SizeMode::Radius, TableIncrement::T1, "300", "10");
  const RectangularReportInput rectangular =
      Rectangular(LengthUnit::Millimetre, TableIncrement::T1, MouthLocation::OneWall, "100", "40",
                  "60", "400");
  const std::vector<Row> circularTable = CircularTable(circular);
  const std::vector<Row> rectangularTable = RectangularTable(rectangular);
  const HornProfile circles = MakeCircularProfile(circular, 18.0L, {}, {});
  const HornProfile sides = MakeRectangularProfile(rectangular, 25.0L, {}, {});
  ASSERT_EQ(circles.points.size(), 27u);  // 0, 18, ..., 450 and the mouth at 466.518
  for (std::size_t i = 1; i + 1 < circles.points.size(); ++i) {
    EXPECT_EQ(circles.points[i].distance, 18.0L * i);
    EXPECT_EQ(CircularRow(circles, i), circularTable[18 * i]) << i;
  }
  for (std::size_t i = 1; i + 1 < sides.points.size(); ++i)
    EXPECT_EQ(RectangularRow(sides, i), rectangularTable[25 * i]) << i;

  const CircularHorn horn = MakeCircularHorn(circular, {});
  for (const ProfilePoint& point : circles.points) {
    const long double fromMouth = TractrixDistance(horn.mouthRadius, point.radius);
    if (point.radius < horn.mouthRadius) {
      EXPECT_NEAR(fromMouth, horn.length - point.distance, SearchTolerance(circles.unit));
    }
  }
}

struct LimitCase {
  const char* name;
  std::function<HornProfile(const MouthLimit&)> make;
  MouthLimit limit;
  long double ProfilePoint::*limited;
};

const auto kDefaultCircle = [](const MouthLimit& limit) {
  return MakeCircularProfile(CircularReportInput{}, 1.0L, limit, {});
};
const auto kInchCircle = [](const MouthLimit& limit) {
  return MakeCircularProfile(
      Circular(LengthUnit::Inch, SizeMode::Diameter, TableIncrement::T1, "60", "1.5"), 0.75L, limit,
      {});
};
const auto kFreeRectangle = [](const MouthLimit& limit) {
  return MakeRectangularProfile(RectangularReportInput{}, 18.0L, limit, {});
};
const auto kFlatRectangle = [](const MouthLimit& limit) {
  return MakeRectangularProfile(
      Rectangular(LengthUnit::Millimetre, TableIncrement::T100, MouthLocation::ThreeWalls, "32",
                  "40", "50", "3000"),
      18.0L, limit, {});
};

const std::vector<LimitCase> kLimits{
    {"circular radius", kDefaultCircle, {MouthLimitKind::Radius, 100.0L}, &ProfilePoint::radius},
    {"circular length", kDefaultCircle, {MouthLimitKind::Length, 200.5L}, &ProfilePoint::distance},
    {"inch radius", kInchCircle, {MouthLimitKind::Radius, 12.0L}, &ProfilePoint::radius},
    {"rectangular side1", kFreeRectangle, {MouthLimitKind::Side1, 600.0L}, &ProfilePoint::side1},
    {"rectangular length", kFreeRectangle, {MouthLimitKind::Length, 3000.0L},
     &ProfilePoint::distance},
    {"flat side1", kFlatRectangle, {MouthLimitKind::Side1, 1800.0L}, &ProfilePoint::side1},
    {"flat length", kFlatRectangle, {MouthLimitKind::Length, 4000.0L}, &ProfilePoint::distance},
};

TEST(HornProfile, MouthLimitsEndTheDrawingExactlyThere) {
  for (const LimitCase& c : kLimits) {
    const HornProfile whole = c.make({});
    const HornProfile cut = c.make(c.limit);
    const ProfilePoint& end = cut.points.back();
    // To twelve digits: a side 1 comes back through the tractrix and a square root.
    EXPECT_EQ(FixedText(end.*c.limited, 12, 9), FixedText(c.limit.value, 12, 9)) << c.name;
    EXPECT_LT(end.distance, whole.points.back().distance) << c.name;
    // The points before the end are the whole horn's, bit for bit.
    ASSERT_GE(cut.points.size(), 2u) << c.name;
    for (std::size_t i = 0; i + 1 < cut.points.size(); ++i) {
      EXPECT_EQ(cut.points[i].distance, whole.points[i].distance) << c.name << " " << i;
      EXPECT_EQ(cut.points[i].side1, whole.points[i].side1) << c.name << " " << i;
      EXPECT_EQ(cut.points[i].side2, whole.points[i].side2) << c.name << " " << i;
    }
    EXPECT_LT(cut.points[cut.points.size() - 2].distance, end.distance) << c.name;
    EXPECT_EQ(cut.limit.kind, c.limit.kind) << c.name;
  }
}

TEST(HornProfile, MouthLimitsAtTheMouthDrawTheWholeHorn) {
  for (const LimitCase& c : kLimits) {
    const HornProfile whole = c.make({});
    const long double atMouth = whole.points.back().*c.limited;
    // The mouth as read to a tenth of a millimetre or a hundredth of an inch.
    const long double shown = whole.unit == LengthUnit::Inch ? 100.0L : 10.0L;
    for (long double value : {atMouth, std::max(atMouth, std::round(atMouth * shown) / shown)}) {
      const HornProfile limited = c.make({c.limit.kind, value});
      ASSERT_EQ(limited.points.size(), whole.points.size()) << c.name;
      EXPECT_EQ(limited.points.back().distance, whole.points.back().distance) << c.name;
      EXPECT_EQ(limited.points.back().area, whole.points.back().area) << c.name;
    }
  }
}

TEST(HornProfile, MouthLimitsBeyondTheMouthAreRefusedNamingIt) {
  for (const LimitCase& c : kLimits) {
    const HornProfile whole = c.make({});
    const long double atMouth = whole.points.back().*c.limited;
    const long double shown = whole.unit == LengthUnit::Inch ? 100.0L : 10.0L;
    char mouth[32];
    std::snprintf(mouth, sizeof mouth, "%.*Lf", whole.unit == LengthUnit::Inch ? 2 : 1, atMouth);
    std::string expected(mouth);
    while (expected.back() == '0') expected.pop_back();
    if (expected.back() == '.') expected.pop_back();
    for (long double value : {atMouth + 1.0L / shown, atMouth * 10.0L}) {
      try {
        c.make({c.limit.kind, value});
        ADD_FAILURE() << c.name << " accepted " << static_cast<double>(value);
      } catch (const ProfileError& error) {
        EXPECT_NE(std::string(error.what()).find(" is " + expected + " "), std::string::npos)
            << c.name << ": " << error.what();
      }
    }
  }
}

TEST(HornProfile, RefusesStepsAndLimitsThatGiveNoDrawing) {
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  const long double inf = std::numeric_limits<long double>::infinity();
  const std::vector<std::pair<const char*, std::function<HornProfile()>>> refused{
      {"zero step", [] { return MakeCircularProfile({}, 0.0L, {}, {}); }},
      {"negative step", [] { return MakeRectangularProfile({}, -18.0L, {}, {}); }},
      {"NaN step", [nan] { return MakeCircularProfile({}, nan, {}, {}); }},
      {"infinite step", [inf] { return MakeCircularProfile({}, inf, {}, {}); }},
      {"a million points", [] { return MakeCircularProfile({}, 0.0004L, {}, {}); }},
      {"radius at the throat",
       [] { return MakeCircularProfile({}, 1.0L, {MouthLimitKind::Radius, 10.0L}, {}); }},
      {"diameter of the throat's radius",
       [] { return MakeCircularProfile({}, 1.0L, {MouthLimitKind::Diameter, 20.0L}, {}); }},
      {"radius NaN",
       [nan] { return MakeCircularProfile({}, 1.0L, {MouthLimitKind::Radius, nan}, {}); }},
      {"length zero",
       [] { return MakeRectangularProfile({}, 1.0L, {MouthLimitKind::Length, 0.0L}, {}); }},
      {"side1 at the throat",
       [] { return MakeRectangularProfile({}, 1.0L, {MouthLimitKind::Side1, 40.0L}, {}); }},
      {"side1 of a circle",
       [] { return MakeCircularProfile({}, 1.0L, {MouthLimitKind::Side1, 100.0L}, {}); }},
      {"radius of a rectangle",
       [] { return MakeRectangularProfile({}, 1.0L, {MouthLimitKind::Radius, 100.0L}, {}); }},
  };
  for (const auto& [name, make] : refused) EXPECT_THROW(make(), ProfileError) << name;
}

}  // namespace
