// SolveRadius against SolveRadiusLiteral: the same 80 bits at every station of
// large tables of both kinds and units, and at random stations of random horns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <random>
#include <string>

#include "geometry/constants.h"
#include "report/horn_model.h"
#include "report/radius_solver.h"
#include "report/station_section.h"

namespace {

using vortalis::geometry::IncrementValue;
using vortalis::geometry::LengthUnit;
using vortalis::geometry::TableIncrement;
using namespace vortalis::report;

bool SameBits(long double p, long double q) { return std::memcmp(&p, &q, 10) == 0; }

struct Table {
  const char* name;
  long double mouthRadius;
  long double length;
  long double throatRadius;
  LengthUnit unit;
};

Table Circular(const char* name, const char* fc, const char* throat, LengthUnit unit) {
  CircularReportInput input;
  input.unit = unit;
  input.frequencyText = fc;
  input.throatText = throat;
  const CircularHorn horn = MakeCircularHorn(input, {});
  return {name, horn.mouthRadius, horn.length, horn.throatRadius, unit};
}

Table Rectangular(const char* name, const char* fc, LengthUnit unit) {
  RectangularReportInput input;
  input.unit = unit;
  input.frequencyText = fc;
  if (unit == LengthUnit::Inch) {
    input.side1Text = "1.5";
    input.side2Text = "2";
  }
  const RectangularHorn horn = MakeRectangularHorn(input, {});
  return {name, horn.mouthRadius, horn.length, horn.throatRadius, unit};
}

void PrintTo(const Table& table, std::ostream* out) { *out << table.name; }

class EveryStation : public testing::TestWithParam<Table> {};

// Each station searched from the previous one's radius, as the generators do.
TEST_P(EveryStation, FastSearchGivesTheLiteralRadius) {
  const Table& table = GetParam();
  const long double increment = IncrementValue(TableIncrement::T1, table.unit);
  const long double eps = SearchTolerance(table.unit);
  long double r = table.throatRadius;
  long long stations = 0;
  for (long long i = 1; static_cast<long double>(i) * increment < table.length; ++i) {
    const long double distance = static_cast<long double>(i) * increment;
    const long double fast =
        StationRadius(table.mouthRadius, table.length, distance, r, table.unit);
    const long double literal =
        SolveRadiusLiteral(table.mouthRadius, table.length - distance, r, eps);
    ASSERT_TRUE(SameBits(fast, literal)) << "station " << i;
    r = literal;
    ++stations;
  }
  EXPECT_GT(stations, 40000);
}

INSTANTIATE_TEST_SUITE_P(
    LargeTables, EveryStation,
    testing::Values(Circular("circular_4Hz_0_5mm", "4", "0.5", LengthUnit::Millimetre),
                    Circular("circular_16Hz_0_0197inch", "16", "0.0197", LengthUnit::Inch),
                    Rectangular("rectangular_5Hz_mm", "5", LengthUnit::Millimetre),
                    Rectangular("rectangular_20Hz_inch", "20", LengthUnit::Inch)),
    [](const testing::TestParamInfo<Table>& info) { return std::string(info.param.name); });

// A random horn of either unit, a random radius from the smallest throat up to
// (and very close to) the mouth, and the next station's target one increment on,
// off by up to eps as a previous search leaves it. Targets closer to the mouth
// than an increment are taken as a random part of the remaining distance.
TEST(RandomStations, FastSearchGivesTheLiteralRadius) {
  constexpr int kStations = 300000;
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<long double> unit(0.0L, 1.0L);
  for (int n = 0; n < kStations; ++n) {
    const LengthUnit lengthUnit = random() % 2 == 0 ? LengthUnit::Millimetre : LengthUnit::Inch;
    const long double a = MouthRadiusIn(std::pow(25000.0L, unit(random)), lengthUnit);
    const long double throat = lengthUnit == LengthUnit::Millimetre
                                   ? vortalis::geometry::MinThroatRadiusMm
                                   : vortalis::geometry::MinThroatRadiusInch;
    const long double start = random() % 4 == 0
                                  ? a * (1.0L - std::pow(10.0L, -12.0L * unit(random)))
                                  : throat * std::pow(a / throat, unit(random));
    if (!(start < a)) continue;
    const long double eps = SearchTolerance(lengthUnit);
    const long double increment =
        IncrementValue(static_cast<TableIncrement>(random() % 3), lengthUnit);
    const long double distance = TractrixDistance(a, start);
    long double x = distance - increment + (2.0L * unit(random) - 1.0L) * eps;
    if (!(x > 0.0L)) x = distance * unit(random);
    const long double fast = SolveRadius(a, x, start, eps);
    const long double literal = SolveRadiusLiteral(a, x, start, eps);
    ASSERT_TRUE(SameBits(fast, literal))
        << std::setprecision(21) << "a " << a << ", x " << x << ", start " << start;
  }
}

}  // namespace
