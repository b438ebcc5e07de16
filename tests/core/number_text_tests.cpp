#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "geometry/decimal_digits.h"
#include "geometry/number_text.h"

namespace {

using namespace vortalis::geometry;

const Separators kPoint{".", ","};
const Separators kComma{",", "."};
const Separators kArabic{"\u066b", "\u066c"};  // a two-byte decimal separator

struct ParseRow {
  const char* text;
  const Separators* separators;
  std::optional<long double> expected;
};

TEST(ParseNumber, ReadsOnlyTheLocaleNotation) {
  const std::optional<long double> nan;
  const ParseRow rows[] = {
      {"1.5", &kPoint, 1.5L},
      {"+1.5", &kPoint, 1.5L},
      {"-1.5", &kPoint, -1.5L},
      {"1.5E2", &kPoint, 150.0L},
      {"15e-1", &kPoint, 1.5L},
      {"1e+2", &kPoint, 100.0L},
      {" 1.5 ", &kPoint, 1.5L},
      {"   1.5", &kPoint, 1.5L},
      {"1.", &kPoint, 1.0L},
      {".5", &kPoint, 0.5L},
      {"-.5e1", &kPoint, -5.0L},
      {"007", &kPoint, 7.0L},
      {"1,5", &kPoint, nan},
      {"1.5 mm", &kPoint, nan},
      {"", &kPoint, nan},
      {"   ", &kPoint, nan},
      {"-", &kPoint, nan},
      {"+", &kPoint, nan},
      {".", &kPoint, nan},
      {"-.", &kPoint, nan},
      {"1e", &kPoint, nan},
      {"1e+", &kPoint, nan},
      {"+.e5", &kPoint, nan},
      {"e5", &kPoint, nan},
      {"1.5.2", &kPoint, nan},
      {"1,000", &kPoint, nan},
      {"--1", &kPoint, nan},
      {"+-1", &kPoint, nan},
      {"1 5", &kPoint, nan},
      {"1e2.5", &kPoint, nan},
      {"\t1", &kPoint, nan},  // only the space is blank
      {"1\n", &kPoint, nan},
      {"0x10", &kPoint, nan},
      {"inf", &kPoint, nan},
      {"nan", &kPoint, nan},
      {"1,5", &kComma, 1.5L},
      {"1,5E2", &kComma, 150.0L},
      {",5", &kComma, 0.5L},
      {"1.5", &kComma, nan},
      {"1.000,5", &kComma, nan},
      {"1\u066b5", &kArabic, 1.5L},
      {"1.5", &kArabic, nan},
      {"1\xd9", &kArabic, nan},  // half a separator
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "\"" << row.text << "\" with \"" << row.separators->decimal
                                    << "\"");
    const auto value = ParseNumber(row.text, *row.separators);
    ASSERT_EQ(value.has_value(), row.expected.has_value());
    if (value) {
      EXPECT_EQ(*value, *row.expected);
    }
  }
}

TEST(ParseNumber, LocaleWithoutSeparatorReadsAPoint) {
  EXPECT_EQ(ParseNumber("2.5", Separators{"", ""}), 2.5L);
}

TEST(ParseNumber, IsCorrectlyRoundedToTheNearestExtendedValue) {
  for (const char* text : {"0.1", "39.37007874016", "0.039370078740157480314",
                           "3.1415926535897932385", "1e-4000", "1.18973149535723176502e4932"})
    EXPECT_EQ(ParseNumber(text), std::strtold(text, nullptr)) << text;
}

TEST(ParseNumber, OverflowIsNotANumberButUnderflowIsZero) {
  EXPECT_FALSE(ParseNumber("1e5000"));
  EXPECT_FALSE(ParseNumber("-1e5000"));
  EXPECT_FALSE(ParseNumber("1.2e4932"));
  EXPECT_EQ(ParseNumber("1e-5000"), 0.0L);
  EXPECT_EQ(ParseNumber("0e99999999999999999999"), 0.0L);
}

struct FixedRow {
  long double value;
  int P;
  int D;
  const char* expected;
};

TEST(FixedText, RoundsToTheFewerOfPDigitsAndDDecimals) {
  const FixedRow rows[] = {
      {466.518431245L, 8, 3, "466.518"},
      {180.375602L, 8, 2, "180.38"},
      {610667.997L, 8, 3, "610668.000"},  // eight digits first, then padded
      {610667.997L, 9, 3, "610667.997"},
      {12345678.4L, 8, 1, "12345678.0"},
      {1234.5L, 8, 0, "1235"},
      {2.5L, 8, 0, "3"},
      {-2.5L, 8, 0, "-3"},
      {0.125L, 8, 2, "0.13"},
      {9.9999L, 8, 3, "10.000"},
      {0.0L, 8, 3, "0.000"},
      {-0.0L, 8, 3, "0.000"},
      {0.0005L, 8, 3, "0.001"},
      {0.0004999L, 8, 3, "0.000"},
      {-0.0004L, 8, 3, "0.000"},  // rounds to zero: no sign
      {-1.5L, 8, 3, "-1.500"},
      {0.000123456789L, 8, 12, "0.000123456790"},
      {0.000123456789L, 4, 12, "0.000123500000"},
      {1e-30L, 8, 3, "0.000"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FixedText(row.value, row.P, row.D), row.expected)
        << static_cast<double>(row.value) << " P " << row.P << " D " << row.D;
}

TEST(FixedText, RoundsTheEighteenDigitDecimalNotTheBinaryValue) {
  // 1.005, 2.675 and 0.285 lie just below their halves in binary (printf's %.2Lf
  // gives 1.00, 2.67, 0.28); as 18-digit decimals they are halves. 28.575 lies above.
  EXPECT_EQ(FixedText(1.005L, 8, 2), "1.01");
  EXPECT_EQ(FixedText(2.675L, 8, 2), "2.68");
  EXPECT_EQ(FixedText(0.285L, 8, 2), "0.29");
  EXPECT_EQ(FixedText(28.575L, 8, 2), "28.58");
  EXPECT_EQ(FixedText(-28.575L, 8, 2), "-28.58");
  // Exact binary halves at the 19th digit go to the even 18-digit neighbour first.
  EXPECT_EQ(FixedText(100000000000000000.5L, 18, 1), "100000000000000000.0");
  EXPECT_EQ(FixedText(100000000000000001.5L, 18, 1), "100000000000000002.0");
  EXPECT_EQ(FixedText(2.0L / 3.0L, 18, 18), "0.666666666666666667");
  EXPECT_EQ(FixedText(0.1L, 8, 18), "0.100000000000000000");
}

TEST(FixedText, ExponentFormBeyondPDigitsBeforeTheSeparator) {
  const FixedRow rows[] = {
      {100306790.0L, 8, 1, "1.0030679E8"},
      {-100306790.0L, 8, 1, "-1.0030679E8"},
      {99999999.96L, 8, 1, "1E8"},  // rounding adds the ninth digit
      {99999999.4L, 8, 1, "99999999.0"},  // eight digits leave no decimal
      {123456789.0L, 8, 0, "1.2345679E8"},
      {100000000.0L, 8, 3, "1E8"},
      {1.5e20L, 8, 3, "1.5E20"},
      {1e4000L, 8, 3, "1E4000"},
      {466.5L, 2, 1, "4.7E2"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FixedText(row.value, row.P, row.D), row.expected)
        << static_cast<double>(row.value) << " P " << row.P << " D " << row.D;
}

TEST(FixedText, WritesTheLocaleSeparator) {
  EXPECT_EQ(FixedText(466.518431L, 8, 3, kComma), "466,518");
  EXPECT_EQ(FixedText(100306790.0L, 8, 1, kComma), "1,0030679E8");
  EXPECT_EQ(FixedText(1.25L, 8, 2, kArabic), "1\u066b25");
  EXPECT_EQ(FixedText(1.25L, 8, 2, Separators{"", ""}), "1.25");
  EXPECT_EQ(FixedText(1234567.0L, 8, 0, kPoint), "1234567");  // never grouped
}

TEST(FixedText, OutOfRangeArgumentsAreClampedAndNonFiniteValuesNamed) {
  EXPECT_EQ(FixedText(466.5L, 0, 1), "5E2");              // P below 1 acts as 1
  EXPECT_EQ(FixedText(1.0L / 3.0L, 40, 40), "0.333333333333333333");  // both capped at 18
  EXPECT_EQ(FixedText(2.5L, 8, -3), "3");                 // D below 0 acts as 0
  EXPECT_EQ(FixedText(std::numeric_limits<long double>::quiet_NaN(), 8, 3), "NAN");
  EXPECT_EQ(FixedText(std::numeric_limits<long double>::infinity(), 8, 3), "INF");
  EXPECT_EQ(FixedText(-std::numeric_limits<long double>::infinity(), 8, 3), "-INF");
  EXPECT_EQ(FixedText(std::numeric_limits<long double>::max(), 8, 3), "1.1897315E4932");
  EXPECT_EQ(FixedText(std::numeric_limits<long double>::denorm_min(), 8, 3), "0.000");
}

TEST(FixedText, ReadsBackWhatItWrites) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> magnitude(-6.0, 7.0);
  for (int i = 0; i < 20000; ++i) {
    const long double v = std::pow(10.0L, static_cast<long double>(magnitude(random)));
    const std::string text = FixedText(v, 18, 18, kComma);
    const auto back = ParseNumber(text, kComma);
    ASSERT_TRUE(back) << text;
    EXPECT_EQ(FixedText(*back, 18, 18, kComma), text);
  }
}

// The fast integer route must give exactly what glibc's printf gives.
class DecimalRoutes : public testing::Test {
 protected:
  void Compare(long double v) {
    ++compared_;
    const auto fast = FastDecimal18(v);
    if (!fast) return;
    ++fast_;
    const Decimal18 reference = PrintfDecimal18(v);
    if (*fast == reference) return;
    if (mismatches_++ == 0) {
      char text[64];
      std::snprintf(text, sizeof text, "%La", v);
      first_ = std::string(text) + ": fast " + std::to_string(fast->digits) + "e" +
               std::to_string(fast->exponent) + ", printf " + std::to_string(reference.digits) +
               "e" + std::to_string(reference.exponent);
    }
  }
  void TearDown() override {
    EXPECT_EQ(mismatches_, 0) << first_;
    EXPECT_GT(fast_, compared_ / 2) << "the fast route should take most values";
  }
  long compared_ = 0;
  long fast_ = 0;
  long mismatches_ = 0;
  std::string first_;
};

TEST_F(DecimalRoutes, AgreeOnRandomSignificandsAndExponents) {
  std::mt19937_64 random(20260207);
  std::uniform_int_distribution<int> power(-45, 160);  // reaches past both ends of the fast range
  for (int i = 0; i < 300000; ++i) {
    const std::uint64_t m = random() | (std::uint64_t{1} << 63);
    Compare(std::ldexp(static_cast<long double>(m), power(random) - 63));
  }
}

TEST_F(DecimalRoutes, AgreeOnExactTiesAtTheNineteenthDigit) {
  // m / 2^j with m * 5^j of 19 digits has a decimal expansion ending in a single 5
  // at the 19th place: an exact tie, resolved to even.
  std::mt19937_64 random(11);
  std::uint64_t fivePower = 1;
  for (int j = 1; j <= 27; ++j) {
    fivePower *= 5;
    const std::uint64_t low = (1000000000000000000ULL + fivePower - 1) / fivePower;
    const std::uint64_t high = 9999999999999999999ULL / fivePower;
    std::uniform_int_distribution<std::uint64_t> pick(low, high);
    for (int i = 0; i < 2000; ++i) Compare(std::ldexp(static_cast<long double>(pick(random) | 1), -j));
  }
  // Whole numbers of 19 digits ending in 5, and the neighbours of powers of ten.
  for (std::uint64_t n = 1000000000000000005ULL; n < 1000000000000100000ULL; n += 10)
    Compare(static_cast<long double>(n));
  for (int e = -12; e <= 45; ++e) {
    const long double p = std::pow(10.0L, static_cast<long double>(e));
    long double below = p;
    long double above = p;
    for (int step = 0; step < 50; ++step) {
      below = std::nextafter(below, 0.0L);
      above = std::nextafter(above, std::numeric_limits<long double>::infinity());
      Compare(below);
      Compare(above);
    }
    Compare(p);
  }
}

TEST(GroupedInteger, GroupsDigitsByThree) {
  EXPECT_EQ(GroupedInteger(0), "0");
  EXPECT_EQ(GroupedInteger(999), "999");
  EXPECT_EQ(GroupedInteger(1000), "1,000");
  EXPECT_EQ(GroupedInteger(17179869184ULL), "17,179,869,184");
  EXPECT_EQ(GroupedInteger(17179869184ULL, Separators{",", " "}), "17 179 869 184");
  EXPECT_EQ(GroupedInteger(1234567, Separators{",", "\u202f"}), "1\u202f234\u202f567");
  EXPECT_EQ(GroupedInteger(1234567, Separators{".", ""}), "1234567");
  EXPECT_EQ(GroupedInteger(std::numeric_limits<unsigned long long>::max()),
            "18,446,744,073,709,551,615");
}

}  // namespace
