// ParseNumber on any bytes with either locale separator. Besides not crashing:
// it accepts exactly the texts of its grammar whose value is in range, agrees
// with a double-precision reading, and gives the same answer for the same text
// written with the other separator or with blanks around it.
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "geometry/number_text.h"

namespace {

using vortalis::fuzz::Visible;
using vortalis::geometry::ParseNumber;
using vortalis::geometry::Separators;

bool SameOutcome(const std::optional<long double>& a, const std::optional<long double>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (*a == *b && std::signbit(*a) == std::signbit(*b));
}

std::string SwapSeparators(std::string text) {
  for (char& c : text) {
    if (c == '.')
      c = ',';
    else if (c == ',')
      c = '.';
  }
  return text;
}

// The grammar as a table-free automaton, written apart from the parser's own
// scanner: blanks, sign, digits with at most one separator (and at least one
// digit), an exponent, blanks.
bool MatchesGrammar(const std::string& text, char decimal) {
  enum State { Lead, Sign, Whole, LoneSeparator, Fraction, E, ESign, EDigits, Trail, Reject };
  State state = Lead;
  for (const char c : text) {
    const bool digit = c >= '0' && c <= '9';
    const bool sign = c == '+' || c == '-';
    const bool blank = c == ' ';
    const bool separator = c == decimal;
    const bool e = c == 'e' || c == 'E';
    switch (state) {
      case Lead:
        state = blank ? Lead : sign ? Sign : digit ? Whole : separator ? LoneSeparator : Reject;
        break;
      case Sign:
        state = digit ? Whole : separator ? LoneSeparator : Reject;
        break;
      case Whole:
        state = digit ? Whole : separator ? Fraction : e ? E : blank ? Trail : Reject;
        break;
      case LoneSeparator:
        state = digit ? Fraction : Reject;
        break;
      case Fraction:
        state = digit ? Fraction : e ? E : blank ? Trail : Reject;
        break;
      case E:
        state = sign ? ESign : digit ? EDigits : Reject;
        break;
      case ESign:
        state = digit ? EDigits : Reject;
        break;
      case EDigits:
        state = digit ? EDigits : blank ? Trail : Reject;
        break;
      case Trail:
        state = blank ? Trail : Reject;
        break;
      case Reject:
        return false;
    }
  }
  return state == Whole || state == Fraction || state == EDigits || state == Trail;
}

// The power of ten of the leading non-zero digit of a grammatical text, clamped
// to +-100000; nothing when every digit is zero.
std::optional<long> DecimalMagnitude(const std::string& text, char decimal) {
  long position = 0;  // digits seen before the separator, minus leading zeros
  std::optional<long> leading;
  bool afterSeparator = false;
  long fraction = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    const char c = text[i];
    if (c == decimal) {
      afterSeparator = true;
    } else if (c >= '0' && c <= '9') {
      if (afterSeparator) ++fraction;
      if (!leading && c != '0') leading = afterSeparator ? -fraction : position;
      if (!afterSeparator && leading) ++position;
    }
  }
  if (!leading) return std::nullopt;
  long magnitude = *leading >= 0 ? position - 1 : *leading;
  if (i < text.size()) {
    long exponent = 0;
    bool negative = false;
    for (++i; i < text.size(); ++i) {
      if (text[i] == '-') negative = true;
      if (text[i] >= '0' && text[i] <= '9' && exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
    }
    magnitude += negative ? -exponent : exponent;
  }
  return std::max(-100000L, std::min(100000L, magnitude));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Separators separators = vortalis::fuzz::SeparatorsFromBit(data[0]);
  const char decimal = separators.decimal[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const auto value = ParseNumber(text, separators);

  FUZZ_CHECK(!value || std::isfinite(*value), "a number that is not finite: " + Visible(text));

  const Separators swapped = vortalis::fuzz::SeparatorsFromBit(data[0] ^ 1);
  FUZZ_CHECK(SameOutcome(value, ParseNumber(SwapSeparators(text), swapped)),
             "the other separator changes the outcome: " + Visible(text));
  FUZZ_CHECK(SameOutcome(value, ParseNumber(" " + text + "  ", separators)),
             "blanks around the text change the outcome: " + Visible(text));

  const bool grammatical = MatchesGrammar(text, decimal);
  FUZZ_CHECK(!value || grammatical, "accepted outside the grammar: " + Visible(text));
  if (!grammatical) return 0;

  const auto magnitude = DecimalMagnitude(text, decimal);
  // The largest long double is 1.19e4932: a leading digit at 10^4932 may or may not fit.
  if (!magnitude || *magnitude < 4932)
    FUZZ_CHECK(value.has_value(), "refused a grammatical number in range: " + Visible(text));
  if (magnitude && *magnitude > 4932)
    FUZZ_CHECK(!value, "accepted a number beyond the range: " + Visible(text));
  if (!value) return 0;

  const bool negative = text.find('-') < text.find_first_of("eE");
  FUZZ_CHECK(std::signbit(*value) == negative, "wrong sign: " + Visible(text));
  if (!magnitude) {
    FUZZ_CHECK(*value == 0.0L, "digits all zero but not zero: " + Visible(text));
  } else if (*magnitude > -300 && *magnitude < 300) {
    // A double reading of the same text, well inside double's range, agrees to double precision.
    std::string ascii = text;
    if (decimal == ',') ascii = SwapSeparators(ascii);
    const long double reference = std::strtod(ascii.c_str(), nullptr);
    FUZZ_CHECK(std::fabs(*value - reference) <= std::fabs(reference) * 0x1p-52L,
               "value disagrees with strtod: " + Visible(text));
  }
  return 0;
}
