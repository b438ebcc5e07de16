#include "geometry/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

#include "geometry/decimal_digits.h"

namespace vortalis::geometry {
namespace {

constexpr int kMaxDigits = 18;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A locale that gives no decimal separator reads and writes ".".
std::string_view DecimalSeparator(const Separators& separators) {
  return separators.decimal.empty() ? std::string_view(".") : std::string_view(separators.decimal);
}

// strtold in the "C" locale, whatever locale the process runs in (Qt sets the user's).
long double StrToLongDoubleC(const char* text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtold_l(text, nullptr, c);
}

constexpr std::array<std::uint64_t, kMaxDigits + 1> kPowersOfTen{
    1ULL,           10ULL,           100ULL,           1000ULL,           10000ULL,
    100000ULL,      1000000ULL,      10000000ULL,      100000000ULL,      1000000000ULL,
    10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL, 100000000000000ULL,
    1000000000000000ULL,  10000000000000000ULL,  100000000000000000ULL,
    1000000000000000000ULL};

// A value rounded to at most 18 significant digits: `significand` has exactly
// `count` digits, the first of them at 10^exponent.
struct RoundedDecimal {
  std::uint64_t significand = 0;
  int count = 0;  // 0 for zero
  int exponent = 0;
};

// The 18 correctly rounded digits first, then at most P significant digits and
// at most D decimals, halves away from zero: 28.575 with D 2 gives 28.58
// although its binary neighbour lies just below the half.
RoundedDecimal Round(long double magnitude, int P, int D) {
  const Decimal18 exact = ToDecimal18(magnitude);
  if (exact.digits == 0) return {};
  const int keep = std::min(P, exact.exponent + 1 + D);
  if (keep < 0) return {};
  if (keep >= kMaxDigits) return {exact.digits, kMaxDigits, exact.exponent};
  // Integer division of the 18 digits: a table has millions of numbers, and
  // taking them apart digit by digit was the dearest step of a report.
  const std::uint64_t dropped = kPowersOfTen[kMaxDigits - keep];
  std::uint64_t kept = exact.digits / dropped;
  // The first dropped digit decides: 5 or more rounds up.
  if (exact.digits % dropped >= dropped / 2) ++kept;
  if (kept == 0) return {};
  // 9...9 became 10...0 (or 0.5 at keep 0 became 1): one place more before the point.
  if (kept == kPowersOfTen[keep]) return {1, 1, exact.exponent + 1};
  return {kept, keep, exact.exponent};
}

// The `count` digits of value, leading zeros included, two at a time.
void WriteDigits(char* out, std::uint64_t value, int count) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* p = out + count;
  while (p - out >= 2) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    p -= 2;
    p[0] = kPairs[pair];
    p[1] = kPairs[pair + 1];
  }
  if (p != out) *--p = static_cast<char>('0' + value % 10);
}

void AppendExponentForm(std::string& out, const char* digits, int count, int exponent,
                        std::string_view decimal) {
  while (count > 1 && digits[count - 1] == '0') --count;
  out += digits[0];
  if (count > 1) {
    out += decimal;
    out.append(digits + 1, static_cast<std::size_t>(count - 1));
  }
  out += 'E';
  out += std::to_string(exponent);
}

// Digits beyond the significant ones are zeros, on both sides of the point.
void AppendFixedForm(std::string& out, const char* digits, int count, int exponent, int D,
                     std::string_view decimal) {
  const auto digitAt = [&](int index) {
    return index >= 0 && index < count ? digits[index] : '0';
  };
  // Whole part and decimals are assembled here and appended in one piece each.
  char text[kMaxDigits];
  int length = 0;
  if (count == 0 || exponent < 0)
    text[length++] = '0';
  else
    for (int i = 0; i <= exponent; ++i) text[length++] = digitAt(i);
  out.append(text, static_cast<std::size_t>(length));
  if (D == 0) return;
  out += decimal;
  for (int place = 1; place <= D; ++place) text[place - 1] = digitAt(exponent + place);
  out.append(text, static_cast<std::size_t>(D));
}

}  // namespace

std::optional<long double> ParseNumber(std::string_view text, const Separators& separators) {
  const std::string_view decimal = DecimalSeparator(separators);
  std::size_t i = 0;
  std::size_t end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;

  // An ASCII copy in the "C" locale's notation for strtold.
  std::string ascii;
  ascii.reserve(end - i + 1);
  if (i < end && (text[i] == '+' || text[i] == '-')) ascii += text[i++];
  bool anyDigit = false;
  bool separatorSeen = false;
  while (i < end) {
    if (IsDigit(text[i])) {
      ascii += text[i++];
      anyDigit = true;
    } else if (!separatorSeen && text.substr(i, decimal.size()) == decimal) {
      ascii += '.';
      i += decimal.size();
      separatorSeen = true;
    } else {
      break;
    }
  }
  // A lone separator or sign holds no value.
  if (!anyDigit) return std::nullopt;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    ascii += 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ascii += text[i++];
    const std::size_t exponentStart = i;
    while (i < end && IsDigit(text[i])) ascii += text[i++];
    if (i == exponentStart) return std::nullopt;
  }
  if (i != end) return std::nullopt;

  const long double value = StrToLongDoubleC(ascii.c_str());
  if (std::isinf(value)) return std::nullopt;
  return value;
}

void AppendFixedText(std::string& out, long double v, int P, int D,
                     const Separators& separators) {
  if (std::isnan(v)) {
    out += "NAN";
    return;
  }
  if (std::isinf(v)) {
    out += v < 0 ? "-INF" : "INF";
    return;
  }
  P = std::clamp(P, 1, kMaxDigits);
  D = std::clamp(D, 0, kMaxDigits);
  const std::string_view decimal = DecimalSeparator(separators);
  const RoundedDecimal value = Round(std::fabs(v), P, D);
  char digits[kMaxDigits];
  WriteDigits(digits, value.significand, value.count);

  // A value that rounds to zero is written without a sign.
  if (v < 0 && value.count > 0) out += '-';
  if (value.count > 0 && value.exponent + 1 > P)
    AppendExponentForm(out, digits, value.count, value.exponent, decimal);
  else
    AppendFixedForm(out, digits, value.count, value.exponent, D, decimal);
}

std::string FixedText(long double v, int P, int D, const Separators& separators) {
  std::string out;
  AppendFixedText(out, v, P, D, separators);
  return out;
}

std::string GroupedInteger(unsigned long long value, const Separators& separators) {
  const std::string digits = std::to_string(value);
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 * separators.thousands.size());
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separators.thousands;
    out += digits[i];
  }
  return out;
}

}  // namespace vortalis::geometry
