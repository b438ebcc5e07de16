#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>
#include <string>

#include "buildkit/kit_horn.h"
#include "buildkit/panels.h"
#include "report/horn_profile.h"

namespace {

using vortalis::buildkit::Panel;
using vortalis::buildkit::PanelSet;
using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::report::MouthLimit;
using vortalis::report::MouthLimitKind;
using vortalis::report::RectangularReportInput;

constexpr long double kPi = 3.14159265358979323846264L;

// The horn written out here, apart from the code under test: the tractrix of
// mouth radius a; the built section is pi r^2 / k, its sides in the throat's
// ratio, or with flat sides 1A - 1B growing linearly to the mouth distance.
struct TestHorn {
  long double a, k, s1, s2, L, H;
  bool flat;

  TestHorn(const RectangularReportInput& in) {
    const long double perMetre = in.unit == LengthUnit::Millimetre ? 1000.0L : 39.37007874016L;
    a = 340.0L / (2.0L * kPi * std::stold(in.frequencyText)) * perMetre;
    k = static_cast<long double>(static_cast<int>(in.location));
    s1 = std::stold(in.side1Text);
    s2 = std::stold(in.side2Text);
    L = FromMouth(std::sqrt(s1 * s2 * k / kPi));
    flat = in.flatSides;
    H = flat ? (std::stold(in.mouthText) - s1) / 2.0L : 0.0L;
  }
  long double FromMouth(long double r) const {
    const long double s = std::sqrt(a * a - r * r);
    return a * std::log((a + s) / r) - s;
  }
  // Wall 1A's (wall 1) or 2A's distance from the axis at flare angle t: half of
  // side 1A - 1B or 2A - 2B; each is half the width of the other's panel.
  long double Half(int wall, long double t) const {
    const long double r = a * std::sin(t);
    const long double area = kPi * r * r / k;
    const long double side1 =
        flat ? s1 + 2.0L * H * (L - FromMouth(r)) / L : std::sqrt(area * s1 / s2);
    return (wall == 1 ? side1 : area / side1) / 2.0L;
  }
  // Length along the wall between flare angles t0 and t1: Simpson's rule on
  // the arc element, the wall's slope by central differences.
  long double Arc(int wall, long double t0, long double t1, int n) const {
    const auto element = [&](long double t) {
      const long double d = 1e-7L;
      const long double lo = std::max(t - d, 1e-9L);
      const long double hi = std::min(t + d, kPi / 2.0L);
      const long double dx = -(FromMouth(a * std::sin(hi)) - FromMouth(a * std::sin(lo))) / (hi - lo);
      const long double dz = (Half(wall, hi) - Half(wall, lo)) / (hi - lo);
      return std::hypot(dx, dz);
    };
    const long double h = (t1 - t0) / n;
    long double sum = element(t0) + element(t1);
    for (int i = 1; i < n; ++i) sum += element(t0 + i * h) * (i % 2 ? 4.0L : 2.0L);
    return sum * h / 3.0L;
  }
};

RectangularReportInput Horn(const char* fc, const char* s1, const char* s2, const char* flatMouth,
                            MouthLocation location, LengthUnit unit = LengthUnit::Millimetre) {
  RectangularReportInput input;
  input.unit = unit;
  input.frequencyText = fc;
  input.side1Text = s1;
  input.side2Text = s2;
  input.flatSides = flatMouth != nullptr;
  if (flatMouth != nullptr) input.mouthText = flatMouth;
  input.location = location;
  return input;
}

struct PanelCase {
  const char* name;
  RectangularReportInput input;
  MouthLimit limit;
  long double flatSideLength;  // the report's "Flat side real length", 0 without flat sides
};

void PrintTo(const PanelCase& c, std::ostream* out) { *out << c.name; }

class WallPanels : public ::testing::TestWithParam<PanelCase> {};

TEST_P(WallPanels, DevelopTheWallsToTheirTrueLengthAndWidths) {
  const PanelCase& c = GetParam();
  const PanelSet set = vortalis::buildkit::WallPanels(c.input, c.limit, {".", ""});
  const auto profile = vortalis::report::MakeRectangularProfile(c.input, 1e9L, c.limit, {".", ""});
  const auto& end = profile.points.back();
  const TestHorn horn(c.input);
  const long double mmPer = c.input.unit == LengthUnit::Millimetre ? 1.0L : 25.4L;

  long double largestOfBoth = 0.0L;
  for (int wall = 1; wall <= 2; ++wall) {
    const Panel& a = set.panels[static_cast<std::size_t>(2 * (wall - 1))];
    const Panel& b = set.panels[static_cast<std::size_t>(2 * (wall - 1) + 1)];
    SCOPED_TRACE(a.name);
    ASSERT_EQ(a.points.size(), b.points.size());
    EXPECT_EQ(a.length, b.length);

    // Widths at the ends are the report's sides of the other pair.
    EXPECT_EQ(a.points.front().width, wall == 1 ? horn.s2 : horn.s1);
    EXPECT_EQ(a.points.back().width, wall == 1 ? end.side2 : end.side1);
    EXPECT_EQ(a.points.back().distance, end.distance);

    const long double t0 = std::asin(std::sqrt(horn.s1 * horn.s2 * horn.k / kPi) / horn.a);
    const long double t1 = std::asin(std::min(1.0L, end.radius / horn.a));
    const auto angle = [&](long double distance) {
      // Flare angle of the section `distance` from the throat, by bisection.
      long double lo = t0, hi = t1;
      for (int j = 0; j < 200; ++j) {
        const long double mid = (lo + hi) / 2.0L;
        (horn.L - horn.FromMouth(horn.a * std::sin(mid)) < distance ? lo : hi) = mid;
      }
      return (lo + hi) / 2.0L;
    };
    if (wall == 1 && c.flatSideLength > 0.0L) {
      EXPECT_NEAR(a.length, c.flatSideLength, 0.005L);
      EXPECT_EQ(a.length, end.flatSideDistance);
    } else {
      EXPECT_NEAR(a.length, horn.Arc(wall, t0, t1, 40000), 1e-6L * a.length);
    }

    // The marks lie where the wall has come that far from the throat.
    ASSERT_GT(a.marks.size(), 5u);
    long double markAlong = 0.0L;
    long double markAngle = t0;
    for (const auto& mark : a.marks) {
      const long double next = angle(mark.distance);
      markAlong += horn.Arc(wall, markAngle, next, 400);
      markAngle = next;
      EXPECT_NEAR(mark.along, markAlong, 1e-6L * a.length);
    }

    // Every chord of the outline lies within the tolerance of the true edge:
    // the edge's point halfway between two vertices, measured from their chord.
    long double largest = 0.0L;
    for (std::size_t i = 1; i < a.points.size(); ++i) {
      const auto& p = a.points[i - 1];
      const auto& q = a.points[i];
      const long double tp0 = angle(p.distance);
      const long double tq = angle(q.distance);
      const long double tm = (tp0 + tq) / 2.0L;
      const long double x = horn.Arc(wall, tp0, tm, 16);
      const long double y = horn.Half(3 - wall, tm) - p.width / 2.0L;
      const long double dx = q.along - p.along;
      const long double dy = (q.width - p.width) / 2.0L;
      largest = std::max(largest, std::fabs(dx * y - dy * x) / std::hypot(dx, dy));
    }
    EXPECT_LE(largest * mmPer, vortalis::buildkit::kCurveToleranceMm * 1.01L);
    largestOfBoth = std::max(largestOfBoth, largest * mmPer);
  }
  // Not drawn needlessly dense either: the walls share their vertices.
  EXPECT_GT(largestOfBoth, vortalis::buildkit::kCurveToleranceMm / 4.0L);
}

INSTANTIATE_TEST_SUITE_P(
    Horns, WallPanels,
    ::testing::Values(
        PanelCase{"FlatSidesThreeWalls", Horn("32", "40", "50", "3000", MouthLocation::ThreeWalls),
                  {}, 5055.89L},
        PanelCase{"FlatSidesCutAtSide1",
                  Horn("50", "60", "80", "1200", MouthLocation::TwoWalls),
                  {MouthLimitKind::Side1, 800.0L}, 0.0L},
        PanelCase{"CurvedFreeAir", Horn("100", "40", "50", nullptr, MouthLocation::FreeAir), {},
                  0.0L},
        PanelCase{"CurvedInchCutAtLength",
                  Horn("60", "2", "3", nullptr, MouthLocation::OneWall, LengthUnit::Inch),
                  {MouthLimitKind::Length, 40.0L}, 0.0L}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A flat-sided horn's warnings against the horn written out here: the
// narrowest side 2A - 2B found by sampling the flare angle finely, and the
// mouth's larger side (pi a^2 / 900 = 9981.7 mm for 900 mm at 32 Hz). The
// same horns without flat sides warn of nothing.
TEST(PanelWarnings, NameThePinchedPairAndAMouthOverTwoMetres) {
  for (const char* flatMouth : {"3000", "900", "300"}) {
    SCOPED_TRACE(flatMouth);
    const RectangularReportInput input = Horn("32", "40", "50", flatMouth, MouthLocation::FreeAir);
    const TestHorn horn(input);
    const long double t0 = std::asin(std::sqrt(horn.s1 * horn.s2 / kPi) / horn.a);
    long double narrowest = horn.s2, at = 0.0L;
    for (int i = 1; i <= 200000; ++i) {
      const long double t = t0 + (kPi / 2.0L - t0) * i / 200000.0L;
      const long double side2 = 2.0L * horn.Half(2, t);
      if (side2 < narrowest) {
        narrowest = side2;
        at = horn.L - horn.FromMouth(horn.a * std::sin(t));
      }
    }
    const long double mouth1 = std::stold(flatMouth);
    const long double mouth2 = kPi * horn.a * horn.a / mouth1;
    const std::vector<std::string> warnings = vortalis::buildkit::Warnings(
        vortalis::buildkit::PanelsKit{LengthUnit::Millimetre,
                                      vortalis::buildkit::WallPanels(input, {}, {".", ""})});
    std::size_t expected = 0;
    if (narrowest < horn.s2) {
      ASSERT_GT(warnings.size(), expected);
      double throat = 0, side = 0, distance = 0;
      ASSERT_EQ(std::sscanf(warnings[expected].c_str(),
                            "Sides 2A - 2B narrow from %lf mm at the throat to %lf mm at %lf mm",
                            &throat, &side, &distance), 3) << warnings[expected];
      EXPECT_NEAR(throat, 50.0, 0.005);
      EXPECT_NEAR(side, narrowest, 0.06L);  // the panel's points lie within the curve tolerance
      // The minimum is flat: the stated place is as narrow, not necessarily the same point.
      EXPECT_NEAR(distance, at, 0.05L * horn.L);
      ++expected;
    }
    if (std::max(mouth1, mouth2) > 2000.0L) {
      ASSERT_GT(warnings.size(), expected);
      double across = 0;
      ASSERT_EQ(std::sscanf(warnings[expected].c_str(), "The mouth is %lf mm", &across), 1);
      EXPECT_NEAR(across, std::max(mouth1, mouth2), 0.01L);
      ++expected;
    }
    EXPECT_EQ(warnings.size(), expected);
    const RectangularReportInput plain = Horn("300", "40", "50", nullptr, MouthLocation::FreeAir);
    EXPECT_TRUE(vortalis::buildkit::Warnings(vortalis::buildkit::PanelsKit{
                    LengthUnit::Millimetre, vortalis::buildkit::WallPanels(plain, {}, {".", ""})})
                    .empty());
  }
}

// With boards, 2A's edge at each of its points reaches the outer face of 1A's
// board as seen in 2A's plane: wall 1A's curve (the flare angle t giving its
// distance and height here) offset by the board along its normal, solved for
// the point's distance by bisection. 1A keeps its inner outline.
TEST(PanelBoards, WidenTwoAToTheOuterFaceOfOneA) {
  struct Case {
    const char* name;
    RectangularReportInput input;
    MouthLimit limit;
    long double board;
  };
  const Case cases[] = {
      {"flat sides", Horn("100", "40", "60", "400", MouthLocation::OneWall), {}, 18.0L},
      {"curved, to the mouth", Horn("100", "40", "50", nullptr, MouthLocation::FreeAir), {}, 18.0L},
      {"curved, inch, cut short",
       Horn("60", "2", "3", nullptr, MouthLocation::OneWall, LengthUnit::Inch),
       {MouthLimitKind::Length, 40.0L}, 0.75L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TestHorn horn(c.input);
    const long double mmPer = c.input.unit == LengthUnit::Millimetre ? 1.0L : 25.4L;
    const PanelSet plain = vortalis::buildkit::WallPanels(c.input, c.limit, {".", ""});
    const PanelSet set = vortalis::buildkit::WallPanels(c.input, c.limit, {".", ""}, c.board);
    EXPECT_EQ(set.panels[0].Outline().size(), plain.panels[0].Outline().size());
    EXPECT_TRUE(set.panels[0].edge.empty());
    const Panel& two = set.panels[2];
    ASSERT_FALSE(two.edge.empty());
    const long double end = two.points.back().distance;
    const auto distance = [&](long double t) {
      return horn.L - horn.FromMouth(horn.a * std::sin(t));
    };
    // The outer face's point of flare angle t: (distance, height).
    const auto outer = [&](long double t) {
      const long double d = 1e-7L;
      const long double dx = distance(t + d) - distance(t - d);
      const long double dz = horn.Half(1, t + d) - horn.Half(1, t - d);
      const long double n = std::hypot(dx, dz);
      return std::pair{distance(t) - c.board * dz / n, horn.Half(1, t) + c.board * dx / n};
    };
    const long double t0 = std::asin(std::sqrt(horn.s1 * horn.s2 * horn.k / kPi) / horn.a);
    int checked = 0;
    for (const auto& p : two.edge) {
      if (p.distance > end - c.board) continue;  // the board's end, square to its face
      long double lo = t0, hi = kPi / 2.0L - 1e-6L;
      for (int j = 0; j < 200; ++j) {
        const long double mid = (lo + hi) / 2.0L;
        (outer(mid).first < p.distance ? lo : hi) = mid;
      }
      EXPECT_NEAR(p.width / 2.0L * mmPer, outer(lo).second * mmPer,
                  vortalis::buildkit::kCurveToleranceMm * 1.01L)
          << p.distance;
      ++checked;
    }
    EXPECT_GT(checked, 5);

    // The saw's tilt that lays 1A's edge on 2A's face: the square cut's face
    // holds the edge and 1A's normal, the bevelled one is 2A's tangent plane.
    // In the mouth plane 2A stands square to the axis: the tilt is then 1A's
    // angle to the axis, 90 degrees for a curved wall.
    const auto tilt = [&](long double t) {
      if (t > kPi / 2.0L - 1e-9L)
        return horn.flat ? std::atan(horn.H / horn.L) * 180.0L / kPi : 90.0L;
      const long double d = 1e-7L;
      const long double dx = distance(t + d) - distance(t - d);
      const long double dy = horn.Half(2, t + d) - horn.Half(2, t - d);
      const long double dz = horn.Half(1, t + d) - horn.Half(1, t - d);
      const long double m[3] = {dy * dx, -(dz * dz + dx * dx), dy * dz};  // edge x 1A's normal
      const long double n[3] = {-dy, dx, 0.0L};                            // 2A's normal
      const long double dot = m[0] * n[0] + m[1] * n[1];
      const long double cross = std::hypot(std::hypot(m[1] * n[2] - m[2] * n[1],
                                                      m[2] * n[0] - m[0] * n[2]),
                                           m[0] * n[1] - m[1] * n[0]);
      return std::copysign(std::atan2(cross, std::fabs(dot)) * 180.0L / kPi, dy * dz);
    };
    // Where the panels end, as the profile ends them.
    const long double endRadius =
        vortalis::report::MakeRectangularProfile(c.input, 1e9L, c.limit, {".", ""})
            .points.back()
            .radius;
    const long double tEnd = std::asin(std::min(1.0L, endRadius / horn.a));
    EXPECT_NEAR(set.panels[0].throatBevel, tilt(t0), 5e-4L);
    EXPECT_NEAR(set.panels[0].endBevel, tilt(tEnd), 5e-4L);
    if (!horn.flat) continue;
    // A flat side's offset is a straight line: the throat is widened by T / cos(angle) exactly.
    EXPECT_NEAR(two.edge.front().width,
                horn.s1 + 2.0L * c.board * std::hypot(1.0L, horn.H / horn.L), 1e-9L);
  }
}

}  // namespace
