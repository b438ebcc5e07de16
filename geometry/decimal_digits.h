#pragma once

#include <cstdint>
#include <optional>

// The first step of every number text: a binary long double as the decimal of
// 18 significant digits nearest to it, as a decimal calculator would hold it.
namespace vortalis::geometry {

// magnitude = digits * 10^(exponent - 17) with 10^17 <= digits < 10^18 (the
// leading digit stands at 10^exponent); zero is digits 0, exponent 0.
struct Decimal18 {
  std::uint64_t digits;
  int exponent;
  friend bool operator==(const Decimal18&, const Decimal18&) = default;
};

// Correctly rounded, exact ties to even (glibc's printf rule). magnitude must
// be finite and not negative.
Decimal18 ToDecimal18(long double magnitude);

// The fast route: exact integer arithmetic on the 64-bit significand for
// magnitudes from about 1e-10 to 1e43; nullopt outside that range.
std::optional<Decimal18> FastDecimal18(long double magnitude);

// The reference route through snprintf("%.17Le"), for any finite magnitude.
Decimal18 PrintfDecimal18(long double magnitude);

}  // namespace vortalis::geometry
