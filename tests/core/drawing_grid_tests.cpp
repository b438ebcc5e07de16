#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/number_text.h"
#include "report/drawing_grid.h"

namespace {

using vortalis::report::DrawingStep;
using vortalis::report::GridValues;
using vortalis::report::NiceGridStep;
using vortalis::report::ShortNumberText;

const vortalis::geometry::Separators kDot{".", ","};

TEST(DrawingStep, KeepsTheDrawingBetween200And2000Points) {
  const struct {
    long double length, increment;
    const char* step;
  } cases[] = {
      {466.5L, 1.0L, "1"},          // the report's own stations
      {18.0L, 10.0L, "0.01"},       // a tweeter at 10 mm is refined
      {6607.0L, 1.0L, "10"},        // a bass horn is thinned
      {610000.0L, 1.0L, "1000"},    // the longest horn
      {1.2L, 0.01L, "0.001"},       // inches
  };
  for (const auto& c : cases) {
    const long double step = DrawingStep(c.length, c.increment);
    EXPECT_EQ(ShortNumberText(step, kDot), c.step) << static_cast<double>(c.length);
    EXPECT_GE(c.length / step, 200.0L);
    EXPECT_LE(c.length / step, 2000.0L);
  }
}

TEST(NiceGridStep, IsOneTwoOrFiveTimesAPowerOfTen) {
  const struct {
    long double minStep;
    const char* step;
    int decimals;
  } cases[] = {{0.06L, "0.1", 1}, {0.1L, "0.1", 1}, {0.11L, "0.2", 1}, {3.0L, "5", 0},
               {120.0L, "200", 0}, {0.00049L, "0.0005", 4}, {7.0L, "10", 0}};
  for (const auto& c : cases) {
    const auto grid = NiceGridStep(c.minStep);
    EXPECT_EQ(ShortNumberText(grid.step, kDot), c.step) << static_cast<double>(c.minStep);
    EXPECT_EQ(grid.decimals, c.decimals) << static_cast<double>(c.minStep);
  }
}

TEST(GridValues, AreWholeMultiplesIncludingEndsOnTheGrid) {
  std::vector<std::string> texts;
  for (long double value : GridValues(-0.3L, 0.7L, 0.1L)) texts.push_back(ShortNumberText(value, kDot));
  EXPECT_EQ(texts, (std::vector<std::string>{"-0.3", "-0.2", "-0.1", "0", "0.1", "0.2", "0.3",
                                             "0.4", "0.5", "0.6", "0.7"}));
  EXPECT_TRUE(GridValues(1.0L, 0.0L, 0.1L).empty());      // reversed range
  EXPECT_TRUE(GridValues(0.0L, 1.0L, 0.0L).empty());      // no step
  EXPECT_TRUE(GridValues(0.0L, 1e9L, 1e-3L).empty());     // far too many lines
}

TEST(ShortNumberText, DropsTrailingZerosAndWritesTheSeparator) {
  EXPECT_EQ(ShortNumberText(18.0L, kDot), "18");
  EXPECT_EQ(ShortNumberText(0.5L, {",", "."}), "0,5");
  EXPECT_EQ(ShortNumberText(31.125L, kDot), "31.125");
  EXPECT_EQ(ShortNumberText(0.0000004L, kDot), "0");
}

}  // namespace
