#include "geometry/number_text.h"

#include <algorithm>
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

// A value rounded to at most 18 significant digits: digits[0] at 10^exponent.
struct RoundedDecimal {
  char digits[kMaxDigits];
  int count = 0;  // 0 for zero
  int exponent = 0;
};

// The 18 correctly rounded digits first, then at most P significant digits and
// at most D decimals, halves away from zero: 28.575 with D 2 gives 28.58
// although its binary neighbour lies just below the half.
RoundedDecimal Round(long double magnitude, int P, int D) {
  RoundedDecimal result;
  const Decimal18 exact = ToDecimal18(magnitude);
  if (exact.digits == 0) return result;
  std::uint64_t rest = exact.digits;
  for (int i = kMaxDigits - 1; i >= 0; --i) {
    result.digits[i] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  result.exponent = exact.exponent;
  const int keep = std::min(P, exact.exponent + 1 + D);
  if (keep < 0) return RoundedDecimal{};
  result.count = std::min(keep, kMaxDigits);
  if (keep >= kMaxDigits || result.digits[keep] < '5') return result;
  int i = keep - 1;
  while (i >= 0 && result.digits[i] == '9') --i;
  if (i < 0) {  // 9...9 becomes 10...0: one place more before the point
    result.digits[0] = '1';
    result.count = 1;
    ++result.exponent;
  } else {
    ++result.digits[i];
    result.count = i + 1;
  }
  return result;
}

void AppendExponentForm(std::string& out, const RoundedDecimal& value, std::string_view decimal) {
  int count = value.count;
  while (count > 1 && value.digits[count - 1] == '0') --count;
  out += value.digits[0];
  if (count > 1) {
    out += decimal;
    out.append(value.digits + 1, static_cast<std::size_t>(count - 1));
  }
  out += 'E';
  out += std::to_string(value.exponent);
}

void AppendFixedForm(std::string& out, const RoundedDecimal& value, int D,
                     std::string_view decimal) {
  const auto digitAt = [&value](int index) {
    return index >= 0 && index < value.count ? value.digits[index] : '0';
  };
  if (value.count == 0 || value.exponent < 0) {
    out += '0';
  } else {
    for (int i = 0; i <= value.exponent; ++i) out += digitAt(i);
  }
  if (D == 0) return;
  out += decimal;
  for (int place = 1; place <= D; ++place) out += digitAt(value.exponent + place);
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

std::string FixedText(long double v, int P, int D, const Separators& separators) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  P = std::clamp(P, 1, kMaxDigits);
  D = std::clamp(D, 0, kMaxDigits);
  const std::string_view decimal = DecimalSeparator(separators);
  const RoundedDecimal value = Round(std::fabs(v), P, D);

  std::string out;
  // A value that rounds to zero is written without a sign.
  if (v < 0 && value.count > 0) out += '-';
  if (value.count > 0 && value.exponent + 1 > P)
    AppendExponentForm(out, value, decimal);
  else
    AppendFixedForm(out, value, D, decimal);
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
