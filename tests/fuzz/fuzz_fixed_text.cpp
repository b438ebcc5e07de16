// FixedText on any 80-bit pattern (NaN, infinities, denormals and the encodings
// arithmetic never produces included) with any P and D. Properties: the text
// has the fixed form with exactly D decimals or the exponent form, exactly when
// the rounded value needs more than P places before the separator; it never
// holds more than P significant digits; and it reads back, with ParseNumber, as
// a value within half a unit of the place it was rounded at.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "geometry/number_text.h"

namespace {

using vortalis::geometry::FixedText;
using vortalis::geometry::ParseNumber;
using vortalis::geometry::Separators;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Describe(long double v, int P, int D, const std::string& text) {
  unsigned char bytes[10];
  std::memcpy(bytes, &v, sizeof bytes);
  char pattern[32];
  for (int i = 0; i < 10; ++i) std::snprintf(pattern + 2 * i, 3, "%02x", bytes[9 - i]);
  char value[64];
  std::snprintf(value, sizeof value, "%.21Lg", v);
  return std::string("v=") + value + " (bits " + pattern + ") P=" + std::to_string(P) +
         " D=" + std::to_string(D) + " text=\"" + vortalis::fuzz::Visible(text) + "\"";
}

// The pieces of a written number.
struct Shape {
  bool negative = false;
  bool exponentForm = false;
  std::string integerDigits;
  std::string decimals;
  bool hasSeparator = false;
  std::string exponent;  // exponent form: the digits after "E", sign included
};

// Splits `text` or returns false when it is neither form.
bool ReadShape(const std::string& text, const std::string& separator, Shape& shape) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') {
    shape.negative = true;
    ++i;
  }
  while (i < text.size() && IsDigit(text[i])) shape.integerDigits += text[i++];
  if (text.compare(i, separator.size(), separator) == 0) {
    shape.hasSeparator = true;
    i += separator.size();
    while (i < text.size() && IsDigit(text[i])) shape.decimals += text[i++];
  }
  if (i < text.size() && text[i] == 'E') {
    shape.exponentForm = true;
    shape.exponent = text.substr(i + 1);
    i = text.size();
  }
  return i == text.size() && !shape.integerDigits.empty();
}

// The decimal exponent of the 18-digit decimal nearest to |v|, as printf rounds it.
int Exponent18(long double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17Le", std::fabs(v));
  return std::atoi(std::strchr(text, 'e') + 1);
}

void CheckFinite(long double v, int P, int D, const Separators& separators) {
  const std::string text = FixedText(v, P, D, separators);
  const std::string why = Describe(v, P, D, text);
  Shape shape;
  FUZZ_CHECK(ReadShape(text, separators.decimal, shape), "neither form: " + why);

  std::string digits = shape.integerDigits + shape.decimals;
  const bool allZero = digits.find_first_not_of('0') == std::string::npos;
  FUZZ_CHECK(shape.negative == (std::signbit(v) && !allZero), "wrong sign: " + why);

  if (shape.exponentForm) {
    // d[.ddd]E[-]n: one non-zero leading digit, no trailing zeros, no plus sign or leading zeros.
    FUZZ_CHECK(shape.integerDigits.size() == 1 && shape.integerDigits != "0", "mantissa: " + why);
    FUZZ_CHECK(!shape.hasSeparator || (!shape.decimals.empty() && shape.decimals.back() != '0'),
               "mantissa decimals: " + why);
    const std::string magnitude = shape.exponent.substr(shape.exponent.starts_with('-') ? 1 : 0);
    FUZZ_CHECK(!magnitude.empty() && magnitude[0] != '0' &&
                   magnitude.find_first_not_of("0123456789") == std::string::npos,
               "exponent: " + why);
    FUZZ_CHECK(std::atoi(shape.exponent.c_str()) >= P, "exponent form for a short number: " + why);
  } else {
    FUZZ_CHECK(shape.hasSeparator == (D > 0) && shape.decimals.size() == static_cast<std::size_t>(D),
               "not exactly D decimals: " + why);
    FUZZ_CHECK(shape.integerDigits.size() == 1 || shape.integerDigits[0] != '0',
               "leading zero: " + why);
    FUZZ_CHECK(shape.integerDigits.size() <= static_cast<std::size_t>(P),
               "more than P places before the separator: " + why);
  }

  const std::size_t first = digits.find_first_not_of('0');
  if (first != std::string::npos) {
    const std::size_t significant = digits.find_last_not_of('0') - first + 1;
    FUZZ_CHECK(significant <= static_cast<std::size_t>(P), "more than P significant digits: " + why);
  }

  const auto back = ParseNumber(text, separators);
  if (!back) {
    // Rounding away from zero may carry the value past the largest long double.
    std::string ascii = text;
    if (separators.decimal != ".") ascii.replace(ascii.find(separators.decimal), 1, ".");
    FUZZ_CHECK(std::isinf(std::strtold(ascii.c_str(), nullptr)), "does not read back: " + why);
    return;
  }
  // The text is v rounded first to 18 significant digits (an error up to half a
  // unit of the 18th digit), then to the place q of the fewer of P significant
  // digits and D decimals; reading it back rounds once more to 64 bits.
  const int e = Exponent18(v);
  const int q = std::max(e + 1 - P, -D);
  const long double tolerance = 0.5L * std::pow(10.0L, static_cast<long double>(q)) * (1 + 0x1p-60L) +
                                0.5L * std::pow(10.0L, static_cast<long double>(e - 17)) * (1 + 0x1p-60L) +
                                (std::fabs(v) + std::fabs(*back)) * 0x1p-63L;
  FUZZ_CHECK(std::fabs(*back - v) <= tolerance, "reads back too far from v: " + why);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  long double v;
  static_assert(sizeof v >= 10, "80-bit long double");
  std::memset(&v, 0, sizeof v);
  std::memcpy(&v, data, 10);
  vortalis::fuzz::ByteReader choices(data + 10, size - 10);
  // Out-of-range P and D are held to 1..18 and 0..18.
  const int rawP = static_cast<std::int8_t>(choices.Byte());
  const int rawD = static_cast<std::int8_t>(choices.Byte());
  const Separators separators = vortalis::fuzz::SeparatorsFromBit(choices.Byte());
  const int P = std::clamp(rawP, 1, 18);
  const int D = std::clamp(rawD, 0, 18);

  const std::string text = FixedText(v, rawP, rawD, separators);
  FUZZ_CHECK(text == FixedText(v, P, D, separators), "P and D not held: " + Describe(v, rawP, rawD, text));
  if (std::isnan(v)) {
    FUZZ_CHECK(text == "NAN", Describe(v, P, D, text));
  } else if (std::isinf(v)) {
    FUZZ_CHECK(text == (v < 0 ? "-INF" : "INF"), Describe(v, P, D, text));
  } else {
    CheckFinite(v, P, D, separators);
  }
  return 0;
}
