#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "buildkit/horn_solid.h"
#include "buildkit/kit_horn.h"
#include "buildkit/rings.h"
#include "buildkit/sectors.h"
#include "buildkit/staves.h"
#include "geometry/number_text.h"
#include "report/horn_model.h"
#include "report/report_generator.h"
#include "report/table_formats.h"
#include "report_table.h"
#include "report_test_support.h"

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;
using namespace vortalis::buildkit;
using vortalis::report::CircularReportInput;
using vortalis::report::MouthLimit;
using vortalis::report::MouthLimitKind;

constexpr long double kPi = 3.14159265358979323846264L;

// The tractrix written out here, apart from the code under test: distance from
// the mouth plane of the section of radius r, and its slope dx/dr.
long double MouthDistance(long double a, long double r) {
  const long double s = std::sqrt(a * a - r * r);
  return a * std::log((a + s) / r) - s;
}
long double Slope(long double a, long double r) { return -std::sqrt(a * a - r * r) / r; }

// Simpson's rule with n (even) intervals.
template <typename F>
long double Integral(F f, long double lo, long double hi, int n = 20000) {
  const long double h = (hi - lo) / n;
  long double sum = f(lo) + f(hi);
  for (int i = 1; i < n; ++i) sum += f(lo + i * h) * (i % 2 ? 4.0L : 2.0L);
  return sum * h / 3.0L;
}

CircularReportInput Horn(const char* fc, const char* throat, LengthUnit unit = LengthUnit::Millimetre,
                         SizeMode size = SizeMode::Radius,
                         TableIncrement increment = TableIncrement::T10) {
  CircularReportInput input;
  input.frequencyText = fc;
  input.throatText = throat;
  input.unit = unit;
  input.size = size;
  input.increment = increment;
  return input;
}

// Ring faces lie at the report's stations for a board equal to the increment:
// the 300 Hz horn with a 10 mm throat at 10 mm (rows of the report), an inch
// horn given by its throat diameter at 0.1 inch, and a 1 mm step.
struct RingCase {
  const char* name;
  CircularReportInput input;
};

class RingsMatchReport : public ::testing::TestWithParam<RingCase> {};

TEST_P(RingsMatchReport, FacesHaveTheReportRowsRadii) {
  const CircularReportInput& input = GetParam().input;
  const auto table = vortalis::testing::ReportTable(
      vortalis::testing::Produce(&vortalis::report::GenerateCircularReport, input).lines);
  const long double board = vortalis::geometry::IncrementValue(input.increment, input.unit);
  const std::vector<Ring> rings = StackedRings(input, {}, {}, board, 3.0L);
  ASSERT_EQ(rings.size() + 1, table.size());
  const auto formats = vortalis::report::CircularTableFormats(input.unit);
  const auto size = [&](long double radius) {
    return vortalis::geometry::FixedText(vortalis::report::SizeOfRadius(radius, input.size),
                                         formats.size.precision, formats.size.decimals);
  };
  for (std::size_t i = 0; i < rings.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(size(rings[i].innerFrom), table[i][1]);
    EXPECT_EQ(size(rings[i].innerTo), table[i + 1][1]);
    if (i > 0) {
      EXPECT_EQ(rings[i].from, rings[i - 1].to);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Horns, RingsMatchReport,
    ::testing::Values(RingCase{"Hz300Throat10mm", Horn("300", "10")},
                      RingCase{"Hz500ThroatDiameter1Inch",
                               Horn("500", "1", LengthUnit::Inch, SizeMode::Diameter)},
                      RingCase{"Hz2000Throat5mmAt1mm",
                               Horn("2000", "5", LengthUnit::Millimetre, SizeMode::Radius,
                                    TableIncrement::T1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rings, CsvHasTheHeaderAndOneLinePerBoardEndingAtTheMouth) {
  const CircularReportInput input = Horn("300", "10");
  const std::string csv = RingsCsv(StackedRings(input, {}, {}, 18.0L, 3.0L), input.unit);
  const std::string header =
      "board,from,to,inner_radius_from,inner_radius_to,bevel_degrees,outer_radius\r\n";
  ASSERT_EQ(csv.substr(0, header.size()), header);
  // 466.518431 mm long: 25 boards of 18 mm and a last one of 16.518 mm.
  EXPECT_NE(csv.find("\r\n26,450.000,466.518,"), std::string::npos) << csv;
  EXPECT_EQ(csv.find("\r\n27,"), std::string::npos);
}

// A stave's length is the arc length of its mid-line, r cos(pi/N) from the
// axis: the integral of sqrt(x'(r)^2 + cos^2(pi/N)) dr over the wall's radii.
struct StaveCase {
  const char* name;
  CircularReportInput input;
  MouthLimit limit;
  int count;
};

class StaveLength : public ::testing::TestWithParam<StaveCase> {};

TEST_P(StaveLength, IsTheArcLengthOfTheMidLine) {
  const StaveCase& c = GetParam();
  const StavePattern pattern = Staves(c.input, c.limit, {}, c.count);
  const KitHorn horn = MakeKitHorn(c.input, c.limit, {});
  const long double a = horn.mouthRadius;
  const long double cosine = std::cos(kPi / c.count);
  // r = a - v^2 near the mouth takes the square-root end out of the integrand.
  const auto element = [&](long double v) {
    const long double r = a - v * v;
    return std::sqrt(Slope(a, r) * Slope(a, r) + cosine * cosine) * 2.0L * v;
  };
  const long double expected =
      Integral(element, std::sqrt(a - horn.endRadius), std::sqrt(a - horn.throatRadius));
  EXPECT_NEAR(pattern.length, expected, expected * 1e-9L);
  EXPECT_EQ(pattern.points.back().distance, horn.end);
  EXPECT_NEAR(pattern.points.back().halfWidth, horn.endRadius * std::sin(kPi / c.count), 1e-12L);
}

INSTANTIATE_TEST_SUITE_P(
    Horns, StaveLength,
    ::testing::Values(StaveCase{"Hz300Six", Horn("300", "10"), {}, 6},
                      StaveCase{"Hz300SixtyFour", Horn("300", "10"), {}, 64},
                      StaveCase{"Hz100Limit400Twelve", Horn("100", "20"),
                                {MouthLimitKind::Radius, 400.0L}, 12},
                      StaveCase{"Hz500InchEight", Horn("500", "0.5", LengthUnit::Inch), {}, 8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Staves, CountOutsideSixToSixtyFourIsRefused) {
  for (const int count : {5, 65}) EXPECT_THROW(Staves(Horn("300", "10"), {}, {}, count), KitError);
}

// The unrolled sector's arcs are the frustum's two circumferences, its width
// the frustum's slant; the stated gap is the largest distance between frustum
// and tractrix found by sampling the tractrix densely.
struct SectorCase {
  const char* name;
  CircularReportInput input;
  long double step;
};

class Sectors : public ::testing::TestWithParam<SectorCase> {};

TEST_P(Sectors, ArcsAreTheFrustumCircumferencesAndTheGapIsTheLargest) {
  const SectorCase& c = GetParam();
  const SheetDevelopment kit = SheetDevelopments(c.input, {}, {}, c.step, 5.0L);
  const KitHorn horn = MakeKitHorn(c.input, {}, {});
  const long double a = horn.mouthRadius;
  long double largest = 0.0L;
  for (const Sector& s : kit.sectors) {
    const long double angle = s.angle * kPi / 180.0L;
    EXPECT_NEAR(angle * s.innerRadius, 2.0L * kPi * s.radiusFrom, 1e-9L * s.radiusFrom);
    EXPECT_NEAR(angle * s.outerRadius, 2.0L * kPi * s.radiusTo, 1e-9L * s.radiusTo);
    EXPECT_NEAR(s.outerRadius - s.innerRadius,
                std::hypot(s.to - s.from, s.radiusTo - s.radiusFrom), 1e-9L * s.outerRadius);
    const long double dx = s.to - s.from;
    const long double dr = s.radiusTo - s.radiusFrom;
    long double sampled = 0.0L;
    for (int i = 1; i < 2000; ++i) {
      const long double r = s.radiusFrom + dr * i / 2000.0L;
      const long double x = horn.length - MouthDistance(a, r) - s.from;
      sampled = std::max(sampled, std::fabs(dx * (r - s.radiusFrom) - dr * x) / std::hypot(dx, dr));
    }
    EXPECT_LE(sampled, s.gap + 1e-6L);
    EXPECT_GE(sampled, s.gap * (1.0L - 1e-3L));
    largest = std::max(largest, sampled);
  }
  EXPECT_NEAR(kit.largestGap, largest, largest * 1e-3L);
}

INSTANTIATE_TEST_SUITE_P(Horns, Sectors,
                         ::testing::Values(SectorCase{"Hz300Step50mm", Horn("300", "10"), 50.0L},
                                           SectorCase{"Hz2000Step3mm", Horn("2000", "5"), 3.0L},
                                           SectorCase{"Hz400StepHalfInch",
                                                      Horn("400", "0.5", LengthUnit::Inch), 0.5L}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Sectors, OutlineKeepsTheSeamWidthAlongTheEdge) {
  const Sector sector = SheetDevelopments(Horn("300", "10"), {}, {}, 50.0L, 0.0L).sectors[2];
  const std::vector<FlatPoint> outline = SectorOutline(sector, 6.0L, CurveTolerance(LengthUnit::Millimetre));
  const long double angle = sector.angle * kPi / 180.0L;
  long double farthest = 0.0L;  // beyond the sector's second straight edge
  for (const FlatPoint& p : outline)
    farthest = std::max(farthest, p.y * std::cos(angle) - p.x * std::sin(angle));
  EXPECT_NEAR(farthest, 6.0L, 1e-9L);
}

}  // namespace
