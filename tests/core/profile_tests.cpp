#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include "geometry/number_text.h"
#include "geometry/tractrix.h"
#include "report/creation_stamp.h"
#include "report/radius_solver.h"
#include "report/table_row.h"

namespace {

using vortalis::geometry::CutoffMouthRadius;
using vortalis::geometry::FixedText;
using vortalis::geometry::LengthUnit;
using vortalis::geometry::TractrixLength;
using vortalis::geometry::UnitScale;
using namespace vortalis::report;

long double MouthRadius(long double fc, LengthUnit unit) {
  return CutoffMouthRadius(fc) * UnitScale(unit);
}

TEST(TractrixDistance, IsTheSentinelAtAndBeyondTheMouth) {
  const long double a = MouthRadius(300.0L, LengthUnit::Millimetre);
  EXPECT_EQ(TractrixDistance(a, a), -1.0L);
  EXPECT_EQ(TractrixDistance(a, a * 2.0L), -1.0L);
  const long double justInside = std::nextafter(a, 0.0L);
  EXPECT_GT(TractrixDistance(a, justInside), 0.0L);
  EXPECT_LT(TractrixDistance(a, justInside), 1e-6L);
  EXPECT_EQ(TractrixDistance(a, 10.0L), TractrixLength(a, 10.0L));
}

struct Walk {
  const char* name;
  long double fc;
  long double throat;
  LengthUnit unit;
  long double increment;
};

// Every station of a report: the radius lies within eps of its target, below
// the mouth, and grows from station to station.
TEST(SolveRadius, SettlesEveryStationOfAReport) {
  const Walk walks[] = {
      {"300 Hz, 10 mm, 1 mm steps", 300.0L, 10.0L, LengthUnit::Millimetre, 1.0L},
      {"300 Hz, 0.3937 inch, 0.01 inch steps", 300.0L, 0.3937L, LengthUnit::Inch, 0.01L},
      {"1 Hz, 0.5 mm, 100 mm steps", 1.0L, 0.5L, LengthUnit::Millimetre, 100.0L},
      {"25 kHz, 0.0197 inch, 0.01 inch steps", 25000.0L, 0.0197L, LengthUnit::Inch, 0.01L},
  };
  for (const auto& walk : walks) {
    SCOPED_TRACE(walk.name);
    const long double a = MouthRadius(walk.fc, walk.unit);
    const long double length = TractrixLength(a, walk.throat);
    const long double eps = SearchTolerance(walk.unit);
    long double r = walk.throat;
    int station = 1;
    for (; station * walk.increment < length; ++station) {
      const long double x = length - station * walk.increment;
      const long double next = SolveRadius(a, x, r, eps);
      ASSERT_LE(std::fabs(TractrixDistance(a, next) - x), eps) << "station " << station;
      ASSERT_GT(next, r);
      ASSERT_LT(next, a);
      r = next;
    }
    EXPECT_GT(station, 1);
  }
}

TEST(SolveRadius, StartingOnItsTargetReturnsTheStartWithoutStepping) {
  const long double a = MouthRadius(300.0L, LengthUnit::Millimetre);
  const long double rStart = 12.345678901234L;
  EXPECT_EQ(SolveRadius(a, TractrixDistance(a, rStart), rStart, 1e-6L), rStart);
}

TEST(SolveRadius, TargetCloserToTheMouthThanEpsStaysBelowTheMouth) {
  struct Row {
    LengthUnit unit;
    long double x;
  };
  for (const Row row : {Row{LengthUnit::Millimetre, 4e-7L}, Row{LengthUnit::Inch, 5e-9L}}) {
    const long double a = MouthRadius(300.0L, row.unit);
    const long double eps = SearchTolerance(row.unit);
    const long double r = SolveRadius(a, row.x, a / 2.0L, eps);
    EXPECT_LT(r, a);
    EXPECT_LE(std::fabs(TractrixDistance(a, r) - row.x), eps);
  }
}

TEST(SolveRadius, EndsEvenWhenTheToleranceIsBeyondTheArithmetic) {
  // With eps 0 the walk shrinks its step until a step no longer moves the radius.
  const long double a = MouthRadius(300.0L, LengthUnit::Millimetre);
  const long double x = 200.0L;
  const long double r = SolveRadius(a, x, 10.0L, 0.0L);
  EXPECT_EQ(FixedText(TractrixDistance(a, r), 18, 12), "200.000000000000");
  // A radius that is not a number can never reach a target; the walk still ends.
  EXPECT_TRUE(std::isnan(SolveRadius(a, x, std::numeric_limits<long double>::quiet_NaN(), 1e-6L)));
}

TEST(FlareAngle, ArcsineInDegreesAndNinetyAtTheMouth) {
  struct Row {
    long double t;
    const char* degrees;
  };
  const Row rows[] = {
      {0.5L, "30.000000"},
      {0.9999999L, "89.974377"},          // about 89.97, not 90
      {0.999999991L, "89.992313"},        // the threshold itself is computed
      {0.999999992L, "90.000000"},        // just above it: the mouth
      {1.0L, "90.000000"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FixedText(FlareAngle(row.t), 8, 6), row.degrees) << static_cast<double>(row.t);
  EXPECT_EQ(FixedText(FlareAngle(0.9999999L), 8, 2), "89.97");
  EXPECT_EQ(FixedText(FlareAngle(1.0L), 8, 2), "90.00");
}

TEST(ProgressPercent, RoundsHalvesToEvenAndShowsAFullBarForAZeroLength) {
  struct Row {
    long double d;
    long double lr;
    int percent;
  };
  const Row rows[] = {
      {1.39L, 1.0L, 139},  // Lr can be below the true length
      {1.0L, 8.0L, 12},    // 12.5
      {3.0L, 8.0L, 38},    // 37.5
      {5.0L, 8.0L, 62},    // 62.5
      {4.0L, 8.0L, 50},
      {0.0L, 466.0L, 0},
      {0.01L, 0.0L, 100},  // a horn of at most half a unit
      {0.3L, 0.0L, 100},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ProgressPercent(row.d, row.lr), row.percent)
        << static_cast<double>(row.d) << " / " << static_cast<double>(row.lr);
}

TEST(RoundedLength, HalvesGoToTheEvenNeighbour) {
  struct Row {
    long double length;
    long double rounded;
  };
  for (const Row row : {Row{2.5L, 2.0L}, Row{3.5L, 4.0L}, Row{0.5L, 0.0L}, Row{0.4999L, 0.0L},
                        Row{466.518431L, 467.0L}, Row{610667.997L, 610668.0L}})
    EXPECT_EQ(RoundedLength(row.length), row.rounded) << static_cast<double>(row.length);
}

TEST(AreaSeparator, OneTabFromAMillionSquareMillimetresOrTenThousandSquareInches) {
  EXPECT_EQ(AreaSeparator(999999.9999L, LengthUnit::Millimetre), "\t\t");
  EXPECT_EQ(AreaSeparator(1000000.0L, LengthUnit::Millimetre), "\t");
  EXPECT_EQ(AreaSeparator(9999.9999L, LengthUnit::Inch), "\t\t");
  EXPECT_EQ(AreaSeparator(10000.0L, LengthUnit::Inch), "\t");
  EXPECT_EQ(kColumnSeparator, "\t\t");
}

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  return local;
}

TEST(PlainStampProvider, IsoDateAndTwentyFourHourTime) {
  struct Row {
    std::tm local;
    const char* date;
    const char* time;
  };
  const Row rows[] = {
      {LocalTime(2026, 12, 7, 0, 0, 0), "2026-12-07", "00:00"},  // midnight keeps its time
      {LocalTime(2026, 1, 5, 4, 7, 59), "2026-01-05", "04:07"},
      {LocalTime(1999, 12, 31, 23, 59, 59), "1999-12-31", "23:59"},
  };
  for (const auto& row : rows) {
    const CreationStampPieces pieces = PlainStampProvider::Format(row.local);
    EXPECT_EQ(pieces.date, row.date);
    EXPECT_EQ(pieces.time, row.time);
  }
}

TEST(PlainStampProvider, ReadsTheClockIntoBothPieces) {
  const PlainStampProvider provider;
  const StampProvider& stamps = provider;
  const CreationStampPieces pieces = stamps.CreationStamp();
  ASSERT_EQ(pieces.date.size(), 10u);
  ASSERT_EQ(pieces.time.size(), 5u);
  EXPECT_EQ(pieces.date[4], '-');
  EXPECT_EQ(pieces.time[2], ':');
}

}  // namespace
