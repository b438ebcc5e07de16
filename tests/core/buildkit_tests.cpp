#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "buildkit/horn_solid.h"
#include "buildkit/kit_horn.h"
#include "buildkit/kit_parameters.h"
#include "buildkit/rect_solid.h"
#include "buildkit/rings.h"
#include "buildkit/sectors.h"
#include "buildkit/solid_kit.h"
#include "buildkit/staves.h"
#include "geometry/number_text.h"
#include "report/horn_model.h"
#include "report/horn_profile.h"
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

CircularReportInput Horn(const char* fc, const char* throat,
                         LengthUnit unit = LengthUnit::Millimetre, SizeMode size = SizeMode::Radius,
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
                      RingCase{"Hz2000Throat5mmAt1mm", Horn("2000", "5", LengthUnit::Millimetre,
                                                            SizeMode::Radius, TableIncrement::T1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rings, CsvHasTheHeaderAndOneLinePerBoardEndingAtTheMouth) {
  const CircularReportInput input = Horn("300", "10");
  const std::string csv = RingsCsv(StackedRings(input, {}, {}, 18.0L, 3.0L), input.unit);
  const std::string header =
      "board,from,to,inner_radius_from,inner_radius_to,bevel_degrees,outer_radius,largest_gap\r\n";
  ASSERT_EQ(csv.substr(0, header.size()), header);
  // 466.518431 mm long: 25 boards of 18 mm and a last one of 16.518 mm.
  EXPECT_NE(csv.find("\r\n26,450.000,466.518,"), std::string::npos) << csv;
  EXPECT_EQ(csv.find("\r\n27,"), std::string::npos);
}

// Each board's bevel and outer radius against the tractrix solved here: the
// radius at a distance x from the throat is the r with
// MouthDistance(a, t) - MouthDistance(a, r) = x, a = c / (2 pi fc), c = 340 m/s.
struct RingGeometryCase {
  const char* fc;
  const char* throat;
  long double board;
  long double wall;
};

long double RadiusAt(long double a, long double t, long double x) {
  long double lo = t, hi = a;
  for (int i = 0; i < 200; ++i) {
    const long double mid = 0.5L * (lo + hi);
    (MouthDistance(a, t) - MouthDistance(a, mid) < x ? lo : hi) = mid;
  }
  return 0.5L * (lo + hi);
}

// The largest distance from the chord between radii r0 and r1 to the
// tractrix between them, sampled densely.
long double ChordToCurve(long double a, long double r0, long double r1) {
  const long double x0 = -MouthDistance(a, r0), x1 = -MouthDistance(a, r1);
  const long double length = std::hypot(x1 - x0, r1 - r0);
  long double largest = 0.0L;
  for (int k = 1; k < 4000; ++k) {
    const long double r = r0 + (r1 - r0) * k / 4000.0L;
    const long double x = -MouthDistance(a, r);
    largest = std::max(largest, std::fabs((x1 - x0) * (r - r0) - (r1 - r0) * (x - x0)) / length);
  }
  return largest;
}

TEST(Rings, BevelOuterRadiusAndGapFollowTheTractrix) {
  for (const RingGeometryCase& c : {RingGeometryCase{"300", "10", 18.0L, 3.0L},
                                    RingGeometryCase{"100", "25", 12.0L, 20.0L},
                                    RingGeometryCase{"1000", "5", 6.0L, 0.5L}}) {
    SCOPED_TRACE(c.fc);
    const CircularReportInput input = Horn(c.fc, c.throat);
    const long double a = 340000.0L / (2.0L * kPi * std::stold(c.fc));
    const long double t = std::stold(c.throat);
    const std::vector<Ring> rings = StackedRings(input, {}, {}, c.board, c.wall);
    ASSERT_GT(rings.size(), 3u);
    for (const Ring& ring : rings) {
      SCOPED_TRACE(ring.board);
      const long double rFrom = RadiusAt(a, t, ring.from);
      const long double rTo = RadiusAt(a, t, ring.to);
      EXPECT_NEAR(ring.bevel, std::atan2(rTo - rFrom, ring.to - ring.from) * 180.0L / kPi, 0.02L);
      EXPECT_NEAR(ring.outerRadius, rTo + c.wall, 0.002L);
      EXPECT_NEAR(ring.gap, ChordToCurve(a, rFrom, rTo), 1e-4L + 1e-4L * ring.gap);
    }
  }
}

// The boards named are those whose gap or bevel, from the tractrix solved here,
// pass 0.5 mm or 45 degrees: the 100 Hz horn with a 10 mm throat at 18 mm.
TEST(Rings, WarningsNameTheBoardsPastTheToleranceOrTheSawsTilt) {
  const CircularReportInput input = Horn("100", "10");
  const long double a = 340000.0L / (2.0L * kPi * 100.0L);
  const std::vector<Ring> rings = StackedRings(input, {}, {}, 18.0L, 20.0L);
  std::vector<int> strays, steep;
  for (const Ring& ring : rings) {
    const long double rFrom = RadiusAt(a, 10.0L, ring.from), rTo = RadiusAt(a, 10.0L, ring.to);
    if (ChordToCurve(a, rFrom, rTo) > 0.5L) strays.push_back(ring.board);
    if (std::atan2(rTo - rFrom, ring.to - ring.from) > kPi / 4.0L) steep.push_back(ring.board);
  }
  // Both sets run to the mouth, where the wall turns out fastest.
  ASSERT_FALSE(strays.empty());
  ASSERT_FALSE(steep.empty());
  ASSERT_EQ(strays.back(), rings.back().board);
  ASSERT_EQ(steep.back() - steep.front() + 1, static_cast<int>(steep.size()));
  ASSERT_EQ(strays.back() - strays.front() + 1, static_cast<int>(strays.size()));
  const auto range = [](const std::vector<int>& boards) {
    return "Boards " + std::to_string(boards.front()) + " to " + std::to_string(boards.back()) +
           ": ";
  };
  const std::vector<std::string> warnings = Warnings(RingsKit{LengthUnit::Millimetre, rings});
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0].rfind(range(strays) + "the straight cut strays up to ", 0), 0u)
      << warnings[0];
  EXPECT_EQ(warnings[1], range(steep) + "the bevel is more than 45 degrees from the axis, past a "
                                        "saw's tilt.");
  // A looser tolerance names no gap.
  EXPECT_EQ(Warnings(RingsKit{LengthUnit::Millimetre, rings, 100.0L}).size(), 1u);
}

// A last board under a quarter of the board is glued to the one before; at
// 0.3 of a board it stays. The horn's length L is the tractrix's, solved here.
TEST(Rings, AThinLastBoardIsMergedIntoTheOneBefore) {
  const CircularReportInput input = Horn("300", "10");
  const long double a = 340000.0L / (2.0L * kPi * 300.0L);
  const long double length = MouthDistance(a, 10.0L);
  for (const long double left : {0.1L, 0.3L}) {
    SCOPED_TRACE(static_cast<double>(left));
    const long double board = length / (20.0L + left);
    const std::vector<Ring> rings = StackedRings(input, {}, {}, board, 3.0L);
    const bool merged = left < 0.25L;
    ASSERT_EQ(rings.size(), merged ? 20u : 21u);
    EXPECT_NEAR(rings.back().to, length, 1e-6L);
    EXPECT_NEAR(rings.back().to - rings.back().from, merged ? board * (1.0L + left) : board * left,
                1e-6L);
    const std::vector<std::string> warnings = Warnings(RingsKit{LengthUnit::Millimetre, rings});
    EXPECT_EQ(std::count_if(warnings.begin(), warnings.end(),
                            [](const std::string& w) { return w.find("merged") != w.npos; }),
              merged ? 1 : 0);
  }
}

// The CSV resolves a board of 0.01 mm (no two faces print alike); thinner is refused.
TEST(Rings, CsvDigitsResolveTheThinnestBoard) {
  const CircularReportInput input = Horn("300", "10");
  const MouthLimit limit{MouthLimitKind::Length, 0.2L};
  std::istringstream csv(RingsCsv(StackedRings(input, limit, {}, 0.01L, 3.0L), input.unit));
  std::string line;
  std::getline(csv, line);
  int boards = 0;
  while (std::getline(csv, line)) {
    double from = 0, to = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%*d,%lf,%lf", &from, &to), 2) << line;
    EXPECT_NEAR(to - from, 0.01, 1e-9) << line;
    ++boards;
  }
  EXPECT_EQ(boards, 20);
  EXPECT_THROW(StackedRings(input, limit, {}, 0.0099L, 3.0L), KitError);
}

// The polygon's apothem and half side for a circle of radius 1, from its
// definition: corners on the circle, flats tangent to it, or its area pi.
struct Polygon {
  long double apothem;
  long double half;
};
Polygon PolygonOf(StaveFit fit, int n) {
  const long double t = std::tan(kPi / n);
  if (fit == StaveFit::Inscribed) return {std::cos(kPi / n), std::sin(kPi / n)};
  if (fit == StaveFit::Circumscribed) return {1.0L, t};
  const long double h = std::sqrt(kPi / (n * t));  // n h^2 tan(pi/n) = pi
  return {h, h * t};
}

// A stave's length is the arc length of its mid-line, the apothem h r from the
// axis: the integral of sqrt(x'(r)^2 + h^2) dr over the wall's radii, taken
// here between every two points of the pattern and up to every tick, whose
// radius is solved here; the outline (length, r half) between two points
// stays within the tolerance of its chord.
struct StaveCase {
  const char* name;
  CircularReportInput input;
  MouthLimit limit;
  int count;
  StaveFit fit;
};

class StaveLength : public ::testing::TestWithParam<StaveCase> {};

TEST_P(StaveLength, IsTheArcLengthOfTheMidLine) {
  const StaveCase& c = GetParam();
  const StavePattern pattern = Staves(c.input, c.limit, {}, c.count, c.fit);
  const KitHorn horn = MakeKitHorn(c.input, c.limit, {});
  const long double a = horn.mouthRadius;
  const Polygon polygon = PolygonOf(c.fit, c.count);
  const auto element = [&](long double r) {
    return std::sqrt(Slope(a, r) * Slope(a, r) + polygon.apothem * polygon.apothem);
  };
  const long double tolerance = CurveTolerance(c.input.unit);
  long double along = 0.0L;
  for (std::size_t i = 1; i < pattern.points.size(); ++i) {
    const StavePoint& p = pattern.points[i - 1];
    const StavePoint& q = pattern.points[i];
    along += Integral(element, p.radius, q.radius, 2048);
    ASSERT_NEAR(q.along, along, along * 1e-9L) << i;
    ASSERT_NEAR(q.halfWidth, q.radius * polygon.half, 1e-12L * q.radius);
    const long double dx = q.along - p.along;
    const long double dy = q.halfWidth - p.halfWidth;
    for (int k = 1; k < 16; ++k) {
      const long double r = p.radius + (q.radius - p.radius) * k / 16.0L;
      const long double x = Integral(element, p.radius, r, 64);
      const long double y = r * polygon.half - p.halfWidth;
      EXPECT_LE(std::fabs(dx * y - dy * x) / std::hypot(dx, dy), tolerance * 1.000001L) << i;
    }
  }
  const long double t = horn.throatRadius;
  ASSERT_FALSE(pattern.ticks.empty());
  for (const StavePoint& tick : pattern.ticks) {
    const long double r = RadiusAt(a, t, tick.distance);
    EXPECT_NEAR(tick.along, Integral(element, t, r), 1e-6L * (1.0L + tick.along)) << tick.distance;
  }
  EXPECT_EQ(pattern.length, pattern.points.back().along);
  EXPECT_EQ(pattern.points.back().distance, horn.end);
}

INSTANTIATE_TEST_SUITE_P(
    Horns, StaveLength,
    ::testing::Values(
        StaveCase{"Hz300SixInscribed", Horn("300", "10"), {}, 6, StaveFit::Inscribed},
        StaveCase{"Hz300SixtyFour", Horn("300", "10"), {}, 64, StaveFit::Circumscribed},
        StaveCase{"Hz100Limit400Twelve", Horn("100", "20"), {MouthLimitKind::Radius, 400.0L}, 12,
                  StaveFit::Circumscribed},
        StaveCase{"Hz500InchEightEqualArea", Horn("500", "0.5", LengthUnit::Inch), {}, 8,
                  StaveFit::EqualArea}),
    [](const auto& info) { return std::string(info.param.name); });

// The throat opening of each fit: circumscribed never narrower than the
// driver's circle, equal-area of the circle's area, inscribed inside it.
TEST(Staves, FitsSetTheThroatOpening) {
  const long double t = 10.0L;
  for (const int n : {6, 12}) {
    const auto area = [n](const StavePattern& p) {
      const long double w = p.points.front().halfWidth;
      return n * w * w / std::tan(kPi / n);  // n triangles of base 2w, height w / tan(pi/n)
    };
    const auto pattern = [n](StaveFit fit) { return Staves(Horn("300", "10"), {}, {}, n, fit); };
    const StavePattern circumscribed = pattern(StaveFit::Circumscribed);
    EXPECT_NEAR(circumscribed.points.front().halfWidth / std::tan(kPi / n), t, 1e-12L);
    EXPECT_GT(area(circumscribed), kPi * t * t);
    EXPECT_NEAR(area(pattern(StaveFit::EqualArea)), kPi * t * t, 1e-9L);
    // 17.3 % (6 staves) and 4.5 % (12) below the circle's area.
    EXPECT_NEAR(1.0L - area(pattern(StaveFit::Inscribed)) / (kPi * t * t), n == 6 ? 0.173L : 0.045L,
                0.001L);
  }
}

// Each long edge's mitre is half the angle between the neighbouring staves'
// normals, built here in 3D from the mid-plane's rise (the wall's radius
// solved here, differentiated numerically) and the two staves' directions;
// the CSV carries it at the throat, every tick and the end. 12 staves stand
// 15 degrees a side at the throat.
TEST(Staves, MitreIsHalfTheAngleBetweenNeighbouringStaves) {
  const int n = 12;
  const CircularReportInput input = Horn("100", "20");
  const long double a = 340000.0L / (2.0L * kPi * 100.0L);
  const long double h = PolygonOf(StaveFit::Circumscribed, n).apothem;
  const StavePattern pattern = Staves(input, {}, {}, n);
  std::istringstream csv(StavesCsv(pattern, input.unit));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "distance,radius,along,width,mitre_degrees\r");
  int rows = 0;
  while (std::getline(csv, line)) {
    double x = 0, mitre = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%*f,%*f,%*f,%lf", &x, &mitre), 2) << line;
    ++rows;
    const long double d = 1e-4L;
    if (x + 0.01L > MouthDistance(a, 20.0L)) {  // the mouth, where the wall stands square
      EXPECT_EQ(mitre, 0.0) << line;
      continue;
    }
    const long double rise =
        h * (RadiusAt(a, 20.0L, x + d) - RadiusAt(a, 20.0L, std::max<long double>(0, x - d))) /
        (x + d - std::max<long double>(0, x - d));
    // Stave k's surface: axis e_z, outward n_k = (cos, sin, 0) at angle 2 pi k / n,
    // across t_k; its normal is n_k - rise e_z.
    const auto normal = [&](int k) {
      const long double phi = 2.0L * kPi * k / n;
      const std::array<long double, 3> v{std::cos(phi), std::sin(phi), -rise};
      const long double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
      return std::array<long double, 3>{v[0] / length, v[1] / length, v[2] / length};
    };
    const auto p = normal(0), q = normal(1);
    const long double angle = std::acos(p[0] * q[0] + p[1] * q[1] + p[2] * q[2]);
    EXPECT_NEAR(mitre, angle * 90.0L / kPi, 2e-3) << line;
    if (rows == 1) {
      EXPECT_NEAR(mitre, 15.0, 0.01);
    }
  }
  EXPECT_EQ(rows, static_cast<int>(pattern.ticks.size()) + 2);
}

TEST(Staves, CountOutsideSixToSixtyFourIsRefused) {
  for (const int count : {5, 65}) EXPECT_THROW(Staves(Horn("300", "10"), {}, {}, count), KitError);
}

// A refused value is named by its field, with one wording wherever it was typed.
TEST(KitParameters, RefusalsNameTheirField) {
  const CircularReportInput horn = Horn("300", "10");
  const auto message = [](const auto& make) {
    try {
      make();
    } catch (const KitError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  SolidOptions noWall;
  const std::pair<std::string, std::string> cases[] = {
      {message([&] { StackedRings(horn, {}, {}, 0.0L, 3.0L); }),
       "The board thickness must be a number greater than 0 and at most 1000."},
      {message([&] { StackedRings(horn, {}, {}, 18.0L, 0.0L); }),
       "The wall must be a number greater than 0 and at most 1000."},
      // 1e309 is a long double, but inf as the double a DXF is written from.
      {message([&] { StackedRings(horn, {}, {}, 18.0L, 1e309L); }),
       "The wall must be a number greater than 0 and at most 1000."},
      {message([&] { SheetDevelopments(horn, {}, {}, 20.0L, -0.5L); }),
       "The seam allowance must be a number of at least 0 and at most 1000."},
      {message([&] { SheetDevelopments(horn, {}, {}, 1e39L, 0.0L); }),
       "The step must be a number greater than 0 and at most 100000."},
      {message([&] { CircularHornSolids(horn, {}, {}, SolidOptions{2.0L, 0.0L, Flange{1e39L, 6.0L}}); }),
       "The flange's outer diameter must be a number greater than 0 and at most 100000."},
      {message([&] { CircularHornSolids(horn, {}, {}, SolidOptions{1e-30L, 0.0L, {}}); }),
       "The wall must be at least 0.1 mm to be printed."},
      {message([&] { CircularHornSolids(horn, {}, {}, SolidOptions{2.0L, 0.0L, Flange{40.0L, 1e-30L}}); }),
       "The flange thickness must be at least 0.1 mm to be printed."},
      {message([&] { Staves(horn, {}, {}, 65); }),
       "The number of staves must be a whole number from 6 to 64."},
      {message([&] { CircularHornSolids(horn, {}, {}, noWall); }),
       "The wall must be a number greater than 0 and at most 1000."},
      {message([&] { Warnings(RingsKit{LengthUnit::Millimetre, {}, 0.0L}); }),
       "The ring tolerance must be a number greater than 0 and at most 1000."},
      {message([] { Checked(kStaveCount, 6.5L); }),
       "The number of staves must be a whole number from 6 to 64."},
      {message([] { Checked(kSegmentHeight, 0.0L); }), "accepted"},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
  EXPECT_EQ(Draw(RingsKit{LengthUnit::Millimetre, {StackedRings(horn, {}, {}, 18.0L, 3.0L)[0]}}).title,
            "Stacked rings: 1 board");
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
    EXPECT_NEAR(s.outerRadius - s.innerRadius, std::hypot(s.to - s.from, s.radiusTo - s.radiusFrom),
                1e-9L * s.outerRadius);
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
  const std::vector<FlatPoint> outline =
      SectorOutline(sector, 6.0L, CurveTolerance(LengthUnit::Millimetre));
  const long double angle = sector.angle * kPi / 180.0L;
  long double farthest = 0.0L;  // beyond the sector's second straight edge
  for (const FlatPoint& p : outline)
    farthest = std::max(farthest, p.y * std::cos(angle) - p.x * std::sin(angle));
  EXPECT_NEAR(farthest, 6.0L, 1e-9L);
}

// Solids are checked as a slicer would read them: admesh finds the file one
// closed solid with nothing to fix, the pieces' volumes add up to the whole,
// and the volume is the wall's, integrated here from the tractrix and its
// normal offset (u + W cos, x - W sin at the foot of radius u), the mouth's rim
// and the flange less its holes. The mesh's circles are M-gons, which hold
// M sin(2 pi / M) / (2 pi) of a circle's area.
struct SolidCase {
  const char* name;
  CircularReportInput input;
  MouthLimit limit;
  SolidOptions options;
};

Flange BoltedFlange(long double od, long double thickness, long double circle, int count,
                    long double hole) {
  return {od, thickness, circle, count, hole};
}

SolidOptions Options(long double wall, long double height, std::optional<Flange> flange = {}) {
  return {wall, height, flange};
}

std::string Admesh(const std::filesystem::path& file) {
#ifdef VORTALIS_ADMESH
  const std::string command = std::string(VORTALIS_ADMESH) + " '" + file.string() + "' 2>&1";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
#else
  (void)file;
  return {};
#endif
}

// The number after "label :" in admesh's report (the first column when it has two).
long double AdmeshFigure(const std::string& report, const std::string& label) {
  const std::size_t at = report.find(label);
  const std::size_t colon = at == std::string::npos ? at : report.find(':', at);
  if (colon == std::string::npos) {
    ADD_FAILURE() << "no \"" << label << "\" in\n" << report;
    return -1.0L;
  }
  return std::strtold(report.c_str() + colon + 1, nullptr);
}

// Writes the whole and its pieces, checks each with admesh, and returns the
// volumes admesh finds for the whole and for all pieces together.
std::pair<long double, long double> CheckedByAdmesh(const HornSolids& solids) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vortalis-stl-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  long double piecesVolume = 0.0L;
  long double wholeVolume = 0.0L;
  for (std::size_t k = 0; k <= solids.segments.size(); ++k) {
    const Mesh& mesh = k == 0 ? solids.whole : solids.segments[k - 1];
    const std::filesystem::path file = folder / (std::to_string(k) + ".stl");
    std::ofstream(file, std::ios::binary) << BinaryStl(mesh, "Vortalis horn");
    const std::string report = Admesh(file);
    SCOPED_TRACE(file.string() + "\n" + report);
    EXPECT_EQ(AdmeshFigure(report, "Number of parts"), 1.0L);
    for (const char* fix :
         {"Total disconnected facets", "Degenerate facets", "Edges fixed", "Facets removed",
          "Facets added", "Facets reversed", "Backwards edges", "Normals fixed"}) {
      EXPECT_EQ(AdmeshFigure(report, fix), 0.0L) << fix;
    }
    (k == 0 ? wholeVolume : piecesVolume) += AdmeshFigure(report, "Volume");
  }
  std::filesystem::remove_all(folder);
  return {wholeVolume, piecesVolume};
}

// The expected volume in the horn's unit, and the angle steps the mesh uses.
long double WallVolume(const KitHorn& horn, const SolidOptions& o) {
  const long double a = horn.mouthRadius;
  // The outer face lies the wall and both faces' chord tolerance out.
  const long double w = o.wall + 2.0L * o.toleranceMm / MillimetresPer(horn.unit);
  const auto along = [&](long double u) { return horn.length - MouthDistance(a, u) - w * u / a; };
  const auto outer = [&](long double u) { return u + w * std::sqrt(1.0L - u * u / (a * a)); };
  const auto foot = [&](long double x) {
    long double lo = horn.throatRadius * 0.5L;
    long double hi = a * a / std::sqrt(a * a + w * w);
    for (int i = 0; i < 200; ++i) (along((lo + hi) * 0.5L) < x ? lo : hi) = (lo + hi) * 0.5L;
    return lo;
  };
  const long double start = o.flange ? o.flange->thickness : 0.0L;
  const long double stop = std::min(horn.end, horn.length - w);
  const auto slice = [&](long double u) {
    return kPi * outer(u) * outer(u) * (-Slope(a, u) - w / a);
  };
  long double volume = Integral(slice, foot(start), foot(stop));
  if (stop < horn.end) {
    const long double rim = std::max(outer(foot(stop)), horn.endRadius + w);
    volume += kPi * rim * rim * (horn.end - stop);
  }
  if (o.flange) {
    const Flange& f = *o.flange;
    volume += kPi * f.thickness *
              (f.outerDiameter * f.outerDiameter - f.boltCount * f.holeDiameter * f.holeDiameter) /
              4.0L;
  }
  const auto cube = [&](long double r) { return std::pow(a * a - r * r, 1.5L); };
  return volume - kPi / 3.0L * (cube(horn.throatRadius) - cube(horn.endRadius));
}

class Solids : public ::testing::TestWithParam<SolidCase> {};

TEST_P(Solids, AreClosedPiecesOfTheWallsVolume) {
#ifndef VORTALIS_ADMESH
  GTEST_SKIP() << "admesh is not installed";
#endif
  const SolidCase& c = GetParam();
  const HornSolids solids = CircularHornSolids(c.input, c.limit, {}, c.options);
  const KitHorn horn = MakeKitHorn(c.input, c.limit, {});
  ASSERT_GE(solids.segments.size(), 2U);
  const long double height = c.options.segmentHeight;
  for (std::size_t k = 0; k < solids.cuts.size(); ++k) {
    const long double from = k == 0 ? 0.0L : solids.cuts[k - 1];
    EXPECT_LE(solids.cuts[k] - from, height);
  }
  EXPECT_LE(horn.end - solids.cuts.back(), height);
  const auto [wholeVolume, piecesVolume] = CheckedByAdmesh(solids);
  // admesh adds up in single precision (8e-5 of a 300 Hz flanged horn).
  EXPECT_NEAR(piecesVolume, wholeVolume, wholeVolume * 2e-4L);
}

// Chords lie within the tolerance of the true faces, so the volume of a mesh
// of the wall's true shape differs by at most the tolerance times its area.
TEST_P(Solids, VolumeIsTheWallsIntegratedVolume) {
  const SolidCase& c = GetParam();
  SolidOptions options = c.options;
  options.toleranceMm = 0.005L;
  const Mesh mesh = CircularHornSolids(c.input, c.limit, {}, options).whole;
  const KitHorn horn = MakeKitHorn(c.input, c.limit, {});
  const long double mm = MillimetresPer(horn.unit);
  long double sides = 0.0L;  // of the throat's circle in the mesh
  long double area = 0.0L;
  for (const Vertex& v : mesh.vertices)
    if (v.z == 0.0L && std::fabs(std::hypot(v.x, v.y) - horn.throatRadius * mm) < 1e-9L) ++sides;
  for (const auto& t : mesh.triangles) {
    const Vertex& a = mesh.vertices[t[0]];
    const Vertex& b = mesh.vertices[t[1]];
    const Vertex& d = mesh.vertices[t[2]];
    const long double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const long double vx = d.x - a.x, vy = d.y - a.y, vz = d.z - a.z;
    area += std::sqrt(std::pow(uy * vz - uz * vy, 2.0L) + std::pow(uz * vx - ux * vz, 2.0L) +
                      std::pow(ux * vy - uy * vx, 2.0L)) *
            0.5L;
  }
  const long double polygonShare = sides * std::sin(2.0L * kPi / sides) / (2.0L * kPi);
  const long double expected = WallVolume(horn, options) * mm * mm * mm;
  const long double volume = MeshVolume(mesh) / polygonShare;
  EXPECT_NEAR(volume, expected, options.toleranceMm * area);
  std::printf("%s: integrated %.3Lf mm3, mesh %.3Lf mm3 (%+.4Lf %%), bound %.3Lf mm3\n", c.name,
              expected, volume, (volume / expected - 1.0L) * 100.0L, options.toleranceMm * area);
}

INSTANTIATE_TEST_SUITE_P(
    Horns, Solids,
    ::testing::Values(SolidCase{"Hz2000WholeMouth", Horn("2000", "5"), {}, Options(2.0L, 12.0L)},
                      SolidCase{"Hz2000BoltedFlange",
                                Horn("2000", "5"),
                                {},
                                Options(2.0L, 20.0L, BoltedFlange(40.0L, 3.0L, 32.0L, 4, 3.5L))},
                      SolidCase{"Hz300Limit120",
                                Horn("300", "10"),
                                {MouthLimitKind::Radius, 120.0L},
                                Options(4.0L, 100.0L)},
                      SolidCase{"Hz1000InchFlangeSixBolts",
                                Horn("1000", "0.25", LengthUnit::Inch),
                                {},
                                Options(0.08L, 1.0L, BoltedFlange(2.0L, 0.15L, 1.5L, 6, 0.15L))},
                      // Holes of many sides in cells of few steps, near the bore and the rim.
                      SolidCase{"Hz300FourBolts",
                                Horn("300", "10"),
                                {MouthLimitKind::Radius, 160.0L},
                                Options(3.0L, 100.0L, BoltedFlange(80.0L, 6.0L, 65.0L, 4, 5.5L))},
                      SolidCase{"Hz2000OneBoltNearTheBore",
                                Horn("2000", "5"),
                                {},
                                Options(2.0L, 20.0L, BoltedFlange(40.0L, 3.0L, 19.54L, 1, 4.0L))},
                      SolidCase{"Hz2000TwelveBoltsNearTheBore",
                                Horn("2000", "5"),
                                {},
                                Options(2.0L, 20.0L, BoltedFlange(40.0L, 3.0L, 19.54L, 12, 4.0L))},
                      SolidCase{"Hz2000FiveBoltsNearTheRim",
                                Horn("2000", "5"),
                                {},
                                Options(2.0L, 20.0L, BoltedFlange(40.0L, 3.0L, 38.06L, 5, 1.5L))},
                      SolidCase{"Hz2000FourBoltsAtTheRim",
                                Horn("2000", "5"),
                                {},
                                Options(2.0L, 20.0L, BoltedFlange(40.0L, 3.0L, 33.99L, 4, 6.0L))}),
    [](const auto& info) { return std::string(info.param.name); });

// The flange's rim and holes refine the flange only: the pieces after the
// first are the same bytes as without a flange, and every hole is where the
// bolt circle and the hole count put it, (2k + 1) pi / n from the x axis,
// with no vertex of either flange face inside it.
TEST(Solids, FlangeHolesRefineOnlyTheFlange) {
  const CircularReportInput input = Horn("300", "25");
  const Flange flange = BoltedFlange(120.0L, 6.0L, 100.0L, 60, 3.0L);
  const HornSolids plain = CircularHornSolids(input, {}, {}, Options(3.0L, 100.0L));
  const HornSolids bolted = CircularHornSolids(input, {}, {}, Options(3.0L, 100.0L, flange));
  ASSERT_EQ(plain.segments.size(), bolted.segments.size());
  ASSERT_GE(plain.segments.size(), 3U);
  for (std::size_t k = 1; k < plain.segments.size(); ++k)
    EXPECT_EQ(BinaryStl(plain.segments[k], ""), BinaryStl(bolted.segments[k], "")) << k;
  const long double circle = flange.boltCircle / 2.0L, hole = flange.holeDiameter / 2.0L;
  for (int k = 0; k < flange.boltCount; ++k) {
    const long double angle = (2.0L * k + 1.0L) * kPi / flange.boltCount;
    const long double cx = circle * std::cos(angle), cy = circle * std::sin(angle);
    int lining = 0;
    for (const Vertex& v : bolted.segments[0].vertices) {
      if (v.z != 0.0L && v.z != flange.thickness) continue;
      const long double d = std::hypot(v.x - cx, v.y - cy);
      EXPECT_GE(d, hole - 1e-9L) << "hole " << k;
      if (d < hole + 1e-9L) ++lining;
    }
    EXPECT_GE(lining, 2 * 16) << "hole " << k;  // a polygon of 16 sides or more on both faces
  }
}

// The printed wall is never thinner than asked: the middle of each outer
// facet (the vertex's radius times cos(pi / M) for M steps around) keeps the
// wall from the tractrix and from the inner face's own chords, also where the
// tractrix bends more sharply than the wall near the mouth, for a steep 2000 Hz
// horn and the 300 Hz one whose mouth piece came out 2.975 mm thin at 3 mm.
// Up to the rim the outer face follows the curve at the wall plus the two
// faces' chord tolerance.
TEST(Solids, PrintedWallIsNeverThinnerThanTheWall) {
  for (const auto& [frequency, throat] : {std::pair{"2000", "5"}, std::pair{"300", "10"}}) {
    const CircularReportInput input = Horn(frequency, throat);
    const long double wall = 3.0L;
    const Mesh mesh = CircularHornSolids(input, {}, {}, Options(wall, 0.0L)).whole;
    const KitHorn horn = MakeKitHorn(input, {}, {});
    std::vector<std::pair<long double, long double>> inner;  // dense points of the tractrix
    for (int i = 0; i <= 20000; ++i) {
      const long double r =
          horn.throatRadius + (horn.mouthRadius - horn.throatRadius) * i / 20000.0L;
      inner.emplace_back(horn.length - MouthDistance(horn.mouthRadius, r), r);
    }
    const auto innerRadius = [&horn](long double x) {
      long double lo = horn.throatRadius;
      long double hi = horn.mouthRadius;
      for (int i = 0; i < 200; ++i)
        (horn.length - MouthDistance(horn.mouthRadius, (lo + hi) * 0.5L) < x ? lo : hi) =
            (lo + hi) * 0.5L;
      return lo;
    };
    long double steps = 0.0L;
    std::vector<std::pair<long double, long double>> outer, chords;  // in the half-plane y = 0
    for (const Vertex& v : mesh.vertices) {
      if (v.z == 0.0L && std::fabs(std::hypot(v.x, v.y) - horn.throatRadius) < 1e-9L) ++steps;
      if (v.y != 0.0L || v.x < 0.0L) continue;
      (v.x > innerRadius(v.z) + wall * 0.5L ? outer : chords).emplace_back(v.z, v.x);
    }
    std::sort(chords.begin(), chords.end());
    ASSERT_GT(outer.size(), 10U);
    const long double sag = std::cos(kPi / steps);
    long double thinnest = INFINITY;
    for (const auto& [x, r] : outer) {
      long double nearest = INFINITY;
      for (const auto& [ix, ir] : inner) nearest = std::min(nearest, std::hypot(x - ix, r - ir));
      if (x < horn.length - wall - 2.0L * kCurveToleranceMm) {
        EXPECT_LE(nearest, wall + 2.0L * kCurveToleranceMm + 1e-3L) << "at " << x;
      }
      const long double mx = x, mr = r * sag;
      for (const auto& [ix, ir] : inner) thinnest = std::min(thinnest, std::hypot(mx - ix, mr - ir));
      for (std::size_t i = 0; i + 1 < chords.size(); ++i) {
        const auto [ax, ar] = chords[i];
        const auto [bx, br] = chords[i + 1];
        const long double t = std::clamp(((mx - ax) * (bx - ax) + (mr - ar) * (br - ar)) /
                                             ((bx - ax) * (bx - ax) + (br - ar) * (br - ar)),
                                         0.0L, 1.0L);
        thinnest =
            std::min(thinnest, std::hypot(mx - ax - t * (bx - ax), mr - ar - t * (br - ar)));
      }
    }
    EXPECT_GE(thinnest, wall) << frequency << " Hz";
    std::printf("%s Hz, wall 3: thinnest printed wall %.4Lf mm\n", frequency, thinnest);
  }
}

// A point's distance from the tractrix, to a dense sampling of it written here.
long double FromTractrix(const KitHorn& horn, long double x, long double r) {
  long double nearest = INFINITY;
  for (int i = 0; i <= 40000; ++i) {
    const long double u = horn.throatRadius * 0.5L + (horn.mouthRadius - horn.throatRadius * 0.5L) * i / 40000.0L;
    nearest = std::min(nearest, std::hypot(x - (horn.length - MouthDistance(horn.mouthRadius, u)), r - u));
  }
  return nearest;
}

// Spigot joints as a builder meets them: every piece and petal one closed part
// that admesh has nothing to fix; in the half-plane y = 0 of the meshes each
// spigot stands 5 mm out of its piece, the socket before it is 5.2 mm deep,
// and their faces lie at offsets from the tractrix (square to the wall) 0.2 mm
// apart on either side; a piece with its spigot is no taller than the segment
// height, and every petal lies within the bed.
TEST(Solids, SpigotsFitTheirSocketsAndPiecesFitTheBed) {
  const struct {
    const char* name;
    CircularReportInput input;
    MouthLimit limit;
    long double wall, height, bedWidth, bedDepth;
  } cases[] = {
      {"Hz300Wall3", Horn("300", "10"), {MouthLimitKind::Radius, 100.0L}, 3.0L, 120.0L, 0.0L, 0.0L},
      {"Hz2000Wall2", Horn("2000", "5"), {}, 2.0L, 20.0L, 0.0L, 0.0L},
      {"Hz300Bed220", Horn("300", "10"), {}, 3.0L, 200.0L, 220.0L, 220.0L},
      {"Hz300Bed150x180", Horn("300", "10"), {}, 3.0L, 120.0L, 150.0L, 180.0L},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SolidOptions options = Options(c.wall, c.height);
    options.joint = Joint::Spigot;
    options.bedWidthMm = c.bedWidth;
    options.bedDepthMm = c.bedDepth;
    const HornSolids solids = CircularHornSolids(c.input, c.limit, {}, options);
    const KitHorn horn = MakeKitHorn(c.input, c.limit, {});
#ifdef VORTALIS_ADMESH
    CheckedByAdmesh(solids);
#endif
    int petals = 0, spigots = 0;
    for (std::size_t i = 0; i < solids.segments.size(); ++i) {
      long double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY, z0 = INFINITY,
                  z1 = -INFINITY;
      for (const Vertex& v : solids.segments[i].vertices) {
        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y);
        y1 = std::max(y1, v.y), z0 = std::min(z0, v.z), z1 = std::max(z1, v.z);
      }
      EXPECT_LE(z1 - z0, c.height + 1e-9L) << i;
      if (solids.prints[i].petals > 1) {
        ++petals;
        EXPECT_LE(x1 - x0, c.bedWidth + 1e-9L) << i;
        EXPECT_LE(y1 - y0, c.bedDepth + 1e-9L) << i;
      }
    }
    if (c.bedWidth > 0.0L) {
      EXPECT_GT(petals, 0);
    }
    // Spigot and socket in whole rings: the band's vertices (off both faces).
    for (std::size_t k = 0; k + 1 < solids.segments.size(); ++k) {
      if (solids.prints[k].petals > 1 || solids.prints[k + 1].petals > 1) continue;
      const long double cut = solids.cuts[k];
      std::vector<long double> spigot, socket;  // offsets from the tractrix
      long double spigotFoot = cut, socketFoot = cut;
      for (int side = 0; side < 2; ++side) {
        for (const Vertex& v : solids.segments[k + side].vertices) {
          if (v.y != 0.0L || v.x <= 0.0L || (side == 0 ? v.z >= cut : v.z > cut)) continue;
          if (side == 0 && v.z < cut - 6.0L) continue;
          const long double offset = FromTractrix(horn, v.z, v.x);
          if (offset < 0.1L || offset > c.wall - 0.1L) continue;
          (side == 0 ? socket : spigot).push_back(offset);
          (side == 0 ? socketFoot : spigotFoot) = std::min(side == 0 ? socketFoot : spigotFoot, v.z);
        }
      }
      ASSERT_FALSE(spigot.empty() || socket.empty()) << k;
      ++spigots;
      const auto [spigotLow, spigotHigh] = std::minmax_element(spigot.begin(), spigot.end());
      const auto [socketLow, socketHigh] = std::minmax_element(socket.begin(), socket.end());
      EXPECT_NEAR(cut - spigotFoot, 5.0L, 1e-9L) << k;
      EXPECT_NEAR(cut - socketFoot, 5.2L, 1e-9L) << k;
      EXPECT_NEAR(*spigotLow - *socketLow, 0.2L, 0.002L) << k;
      EXPECT_NEAR(*socketHigh - *spigotHigh, 0.2L, 0.002L) << k;
      EXPECT_NEAR(*spigotHigh - *spigotLow, c.wall / 3.0L, 0.002L) << k;
    }
    if (c.bedWidth == 0.0L) {
      EXPECT_GT(spigots, 0);
    }
  }
}

// A piece lies mouth down (on its flange when it has one) and leans more
// than 45 degrees where the tractrix's radius exceeds a / sqrt 2: from the bed
// up to end - (L - MouthDistance(a, a / sqrt 2)), solved here.
TEST(Solids, OverhangIsWhereTheTractrixLeansPast45Degrees) {
  const struct {
    CircularReportInput input;
    MouthLimit limit;
    long double height;
  } cases[] = {
      {Horn("300", "10"), {}, 200.0L},
      {Horn("2000", "5"), {}, 20.0L},
      {Horn("300", "10"), {MouthLimitKind::Radius, 150.0L}, 200.0L},
      {Horn("300", "10"), {MouthLimitKind::Radius, 110.0L}, 0.0L},
  };
  for (const auto& c : cases) {
    const HornSolids solids = CircularHornSolids(c.input, c.limit, {}, Options(3.0L, c.height));
    const KitHorn horn = MakeKitHorn(c.input, c.limit, {});
    const long double a = horn.mouthRadius;
    const long double steep = horn.length - MouthDistance(a, a / std::sqrt(2.0L));
    const PiecePrint& last = solids.prints.back();
    EXPECT_TRUE(last.mouthDown);
    EXPECT_NEAR(last.overhangTo - last.overhangFrom, std::max(0.0L, horn.end - steep), 1e-6L)
        << horn.end;
    EXPECT_EQ(last.overhangFrom, 0.0L);
    if (solids.prints.size() > 1) {
      EXPECT_EQ(solids.prints.front().overhangTo, 0.0L);
    }
  }
  const HornSolids flanged = CircularHornSolids(
      Horn("300", "10"), {}, {}, Options(3.0L, 200.0L, BoltedFlange(80.0L, 6.0L, 65.0L, 4, 5.5L)));
  EXPECT_FALSE(flanged.prints.front().mouthDown);
  EXPECT_TRUE(flanged.prints.back().mouthDown);
  EXPECT_NE(PrintAdvice(flanged.prints.back()).find("print with supports"), std::string::npos);
}

// Options that give no printable solid are refused with a sentence, not drawn.
TEST(Solids, OptionsThatGiveNoSolidAreRefused) {
  const struct {
    const char* why;
    SolidOptions options;
  } cases[] = {
      {"no wall", Options(0.0L, 0.0L)},
      {"wall thicker than the horn is long", Options(40.0L, 0.0L)},
      {"over 1,000 pieces", Options(2.0L, 0.01L)},
      {"flange inside the wall", Options(2.0L, 0.0L, BoltedFlange(12.0L, 3.0L, 0.0L, 0, 0.0L))},
      {"flange not in the first piece",
       Options(2.0L, 5.0L, BoltedFlange(40.0L, 6.0L, 0.0L, 0, 0.0L))},
      {"holes through the wall", Options(2.0L, 0.0L, BoltedFlange(40.0L, 3.0L, 16.0L, 4, 3.0L))},
      {"holes past the rim", Options(2.0L, 0.0L, BoltedFlange(40.0L, 3.0L, 38.0L, 4, 3.0L))},
      {"holes overlapping", Options(2.0L, 0.0L, BoltedFlange(40.0L, 3.0L, 32.0L, 40, 3.0L))},
  };
  for (const auto& c : cases)
    EXPECT_THROW(CircularHornSolids(Horn("2000", "5"), {}, {}, c.options), KitError) << c.why;
}

// Rectangular walls: closed solids as above, and every corner of the outer
// frames the wall away from both inner walls (their curves from a profile at a
// fine step) within the curve tolerance, or farther on the mouth's rim.
struct RectCase {
  const char* name;
  vortalis::report::RectangularReportInput input;
  SolidOptions options;
};

vortalis::report::RectangularReportInput Rect(const char* fc, const char* side1, const char* side2,
                                              const char* flatMouth = nullptr,
                                              LengthUnit unit = LengthUnit::Millimetre) {
  vortalis::report::RectangularReportInput input;
  input.frequencyText = fc;
  input.side1Text = side1;
  input.side2Text = side2;
  input.unit = unit;
  if (flatMouth) {
    input.flatSides = true;
    input.mouthText = flatMouth;
  }
  return input;
}

class RectSolids : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectSolids, AreClosedPiecesWithTheWallOnEveryWall) {
  const RectCase& c = GetParam();
  const HornSolids solids = RectangularHornSolids(c.input, {}, {}, c.options);
  ASSERT_GE(solids.segments.size(), 2U);
#ifdef VORTALIS_ADMESH
  const auto [wholeVolume, piecesVolume] = CheckedByAdmesh(solids);
  EXPECT_NEAR(piecesVolume, wholeVolume, wholeVolume * 2e-4L);
#endif
  const long double mm = MillimetresPer(c.input.unit);
  const auto profile = vortalis::report::MakeRectangularProfile(c.input, 0.01L / mm, {}, {});
  const long double wall = c.options.wall * mm;
  const auto innerHalf = [&](long double z, bool first) {
    for (std::size_t i = 1; i < profile.points.size(); ++i) {
      const auto& p = profile.points[i - 1];
      const auto& q = profile.points[i];
      if (q.distance * mm >= z) {
        const long double t = (z - p.distance * mm) / ((q.distance - p.distance) * mm);
        return ((first ? p.side1 : p.side2) * (1 - t) + (first ? q.side1 : q.side2) * t) * mm / 2;
      }
    }
    return (first ? profile.points.back().side1 : profile.points.back().side2) * mm / 2;
  };
  int checked = 0;
  for (const Vertex& v : solids.whole.vertices) {
    if (v.x < 0.0L || v.y < 0.0L || v.x < innerHalf(v.z, true) + wall * 0.5L) continue;
    ++checked;
    for (const bool first : {true, false}) {
      long double nearest = INFINITY;
      for (const auto& p : profile.points) {
        nearest = std::min(nearest,
                           std::hypot(v.z - p.distance * mm,
                                      (first ? v.x - p.side1 * mm / 2 : v.y - p.side2 * mm / 2)));
      }
      EXPECT_GE(nearest, wall - kCurveToleranceMm) << "at " << v.z;
      const auto& mouth = profile.points.back();
      const long double rim = ((first ? mouth.side1 : mouth.side2) / 2 + c.options.wall) * mm;
      if ((first ? v.x : v.y) < rim - 1e-9L) {
        // Moved the wall and both faces' chord tolerance, within a chord's.
        EXPECT_LE(nearest, wall + 3.0L * kCurveToleranceMm) << "at " << v.z;
      }
    }
  }
  EXPECT_GT(checked, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Horns, RectSolids,
    ::testing::Values(RectCase{"Hz500FreeAir", Rect("500", "20", "30"), Options(3.0L, 50.0L)},
                      RectCase{"Hz500FlatSides", Rect("500", "20", "30", "200"),
                               Options(3.0L, 60.0L)},
                      RectCase{"Hz800Inch", Rect("800", "1", "0.5", nullptr, LengthUnit::Inch),
                               Options(0.1L, 2.0L)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
