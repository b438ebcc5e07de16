#include "geometry/decimal_digits.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vortalis::geometry {
namespace {

__extension__ typedef unsigned __int128 u128;  // g++ on x86-64

// The fast route reads the x87 layout directly: 64-bit significand with an
// explicit integer bit, then 15 exponent bits biased by 16383 and the sign.
static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384,
              "FastDecimal18 expects the x87 80-bit format");

constexpr std::uint64_t kTen17 = 100000000000000000ULL;
constexpr std::uint64_t kTen18 = 1000000000000000000ULL;
// 5^27 is the largest power of five below 2^63, so m * 5^q fits 128 bits.
constexpr int kMaxPowerOfFive = 27;

constexpr std::array<std::uint64_t, kMaxPowerOfFive + 1> PowersOfFive() {
  std::array<std::uint64_t, kMaxPowerOfFive + 1> powers{};
  powers[0] = 1;
  for (int i = 1; i <= kMaxPowerOfFive; ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}
constexpr auto kPowersOfFive = PowersOfFive();

// round(m * 2^binary / 10^q), ties to even, for |q| <= 27 and a quotient below 2^64.
std::uint64_t ScaledRound(std::uint64_t m, int binary, int q) {
  if (q <= 0) {
    // m * 2^binary * 5^-q * 2^-q: multiply, then shift by binary - q.
    const u128 product = static_cast<u128>(m) * kPowersOfFive[-q];
    const int shift = binary - q;
    if (shift >= 0) return static_cast<std::uint64_t>(product << shift);
    const int down = -shift;
    if (down >= 128) return 0;
    const u128 quotient = product >> down;
    const u128 remainder = product - (quotient << down);
    const u128 half = static_cast<u128>(1) << (down - 1);
    const bool up = remainder > half || (remainder == half && (quotient & 1) != 0);
    return static_cast<std::uint64_t>(quotient) + (up ? 1 : 0);
  }
  // m * 2^(binary - q) / 5^q, the power of two on whichever side keeps it whole.
  u128 numerator = m;
  u128 denominator = kPowersOfFive[q];
  const int shift = binary - q;
  if (shift >= 0)
    numerator <<= shift;
  else
    denominator <<= -shift;
  const u128 quotient = numerator / denominator;
  const u128 remainder = numerator - quotient * denominator;
  const bool up = 2 * remainder > denominator ||
                  (2 * remainder == denominator && (quotient & 1) != 0);
  return static_cast<std::uint64_t>(quotient) + (up ? 1 : 0);
}

}  // namespace

std::optional<Decimal18> FastDecimal18(long double magnitude) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &magnitude, sizeof magnitude);
  std::uint64_t m;
  std::uint16_t signAndExponent;
  std::memcpy(&m, bytes, sizeof m);
  std::memcpy(&signAndExponent, bytes + 8, sizeof signAndExponent);
  if (m == 0 && (signAndExponent & 0x7fff) == 0) return Decimal18{0, 0};
  // Denormals, unnormals, NaN and infinity take the reference route.
  if ((m >> 63) == 0 || (signAndExponent & 0x7fff) == 0x7fff) return std::nullopt;
  const int power = (signAndExponent & 0x7fff) - 16383;  // magnitude in [2^power, 2^(power+1))
  // floor(power * log10(2)): the leading decimal place, or one below it.
  int exponent = (power * 78913) >> 18;
  if (exponent < -10 || exponent > kMaxPowerOfFive + 17 - 1) return std::nullopt;
  const int binary = power - 63;
  std::uint64_t digits = ScaledRound(m, binary, exponent - 17);
  if (digits >= kTen18) {
    ++exponent;
    digits = ScaledRound(m, binary, exponent - 17);
  }
  // Rounding up to 10^18 (...999.5 and above) leaves one more place before the point.
  if (digits == kTen18) {
    digits = kTen17;
    ++exponent;
  }
  return Decimal18{digits, exponent};
}

Decimal18 PrintfDecimal18(long double magnitude) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17Le", magnitude);
  // The decimal point is the C locale's, whatever it is: read the digits around it.
  std::uint64_t digits = 0;
  const char* p = text;
  for (; *p != '\0' && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
  if (digits == 0) return Decimal18{0, 0};
  const int exponent = *p == 'e' ? static_cast<int>(std::strtol(p + 1, nullptr, 10)) : 0;
  return Decimal18{digits, exponent};
}

Decimal18 ToDecimal18(long double magnitude) {
  if (const auto fast = FastDecimal18(magnitude)) return *fast;
  return PrintfDecimal18(magnitude);
}

}  // namespace vortalis::geometry
