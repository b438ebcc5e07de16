#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading and writing of every number that appears in a field, a label or a report.
namespace vortalis::geometry {

// The locale's separators, passed as a value: the program takes them from the
// system locale, the command-line tool from its options.
struct Separators {
  std::string decimal = ".";
  std::string thousands = ",";
};

// Leading and trailing spaces, one optional sign, digits with at most one
// decimal separator, an optional exponent ("E" or "e", optional sign, digits);
// nothing else. At least one digit is needed ("." and "1e" are not numbers).
// Overflow is not a number; underflow reads as zero. Correctly rounded and
// independent of the process's C locale.
std::optional<long double> ParseNumber(std::string_view text, const Separators& separators = {});

// v as its 18 correctly rounded significant digits, then rounded to at most P
// significant digits and at most D decimals (whichever keeps fewer), halves away
// from zero, written with exactly D decimals; the exponent form ("1.0030679E8",
// "1E8") when more than P digits stand before the separator. P is held to 1..18
// and D to 0..18; a value that rounds to zero has no sign; NaN and infinities
// read "NAN", "INF" and "-INF".
std::string FixedText(long double v, int P, int D, const Separators& separators = {});
// FixedText appended to out, for texts built from many numbers (table rows).
void AppendFixedText(std::string& out, long double v, int P, int D,
                     const Separators& separators = {});

// A whole number with thousands separators: 16777216 -> "16,777,216".
std::string GroupedInteger(unsigned long long value, const Separators& separators = {});

}  // namespace vortalis::geometry
