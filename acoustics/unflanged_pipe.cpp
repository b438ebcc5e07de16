#include <cmath>
#include <complex>

#include "acoustics/radiation.h"
#include "geometry/constants.h"
#include "geometry/gauss_legendre.h"

namespace vortalis::acoustics {

namespace {

using geometry::Pi;

// integral_0^(pi/2) f(phi) dphi by composite Gauss-Legendre.
template <typename F>
long double QuarterTurn(F f) {
  static const geometry::GaussLegendre<16> rule;
  constexpr int kPanels = 4;
  const long double width = 0.5L * Pi / kPanels;
  long double sum = 0.0L;
  for (int panel = 0; panel < kPanels; ++panel)
    for (int i = 0; i < 16; ++i)
      sum += 0.5L * width * rule.weight[i] * f(width * (panel + 0.5L + 0.5L * rule.node[i]));
  return sum;
}

// -ln(2 I1(x) K1(x)); above 25 its expansion ln x + 3 / (8 x^2), good to 1e-8.
long double LogInverseI1K1(long double x) {
  if (x > 25.0L) return std::log(x) + 3.0L / (8.0L * x * x);
  return -std::log(2.0L * std::cyl_bessel_i(1.0L, x) * std::cyl_bessel_k(1.0L, x));
}

}  // namespace

// Levine and Schwinger (Phys. Rev. 73, 383, 1948), with x = ka sin(phi) in the
// finite integrals and x = e^s in the infinite one:
//   ln|R| = -(2 ka / pi) integral_0^ka atan2(J1, -Y1) / (x sqrt(ka^2 - x^2)) dx,
//   l / a = (1 / pi) integral_0^ka ln(pi J1 sqrt(J1^2 + Y1^2)) / (x sqrt(ka^2 - x^2)) dx
//         + (1 / pi) integral_0^inf -ln(2 I1 K1) / (x sqrt(x^2 + ka^2)) dx.
UnflangedReflection UnflangedPipeReflection(long double ka) {
  long double phase = 0.0L;
  long double inner = 0.0L;
  if (ka > 0.0L) {
    phase = QuarterTurn([ka](long double phi) {
      const long double sine = std::sin(phi);
      const long double x = ka * sine;
      return std::atan2(std::cyl_bessel_j(1.0L, x), -std::cyl_neumann(1.0L, x)) / sine;
    });
    inner = QuarterTurn([ka](long double phi) {
      const long double x = ka * std::sin(phi);
      const long double j1 = std::cyl_bessel_j(1.0L, x);
      const long double y1 = std::cyl_neumann(1.0L, x);
      return std::log(Pi * j1 * std::sqrt(j1 * j1 + y1 * y1)) / x;
    });
  }
  // s from ln 1e-7 to ln 1e4, then the tail of ln x / x^2 beyond.
  static const geometry::GaussLegendre<10> rule;
  constexpr long double kFrom = -16.118095651L;  // ln 1e-7
  constexpr long double kTo = 9.2103403720L;     // ln 1e4
  constexpr int kPanels = 40;
  const long double width = (kTo - kFrom) / kPanels;
  long double outer = 0.0L;
  for (int panel = 0; panel < kPanels; ++panel) {
    for (int i = 0; i < 10; ++i) {
      const long double x = std::exp(kFrom + width * (panel + 0.5L + 0.5L * rule.node[i]));
      outer += 0.5L * width * rule.weight[i] * LogInverseI1K1(x) / std::sqrt(x * x + ka * ka);
    }
  }
  const long double top = std::exp(kTo);
  outer += (std::log(top) + 1.0L) / top;
  return {std::exp(-2.0L / Pi * phase), (inner + outer) / Pi};
}

std::complex<long double> UnflangedPipeImpedance(long double ka) {
  if (!(ka > 0.0L)) return {0.0L, 0.0L};
  const UnflangedReflection reflection = UnflangedPipeReflection(ka);
  // R = -|R| e^(-2 j k l) at the pipe's end; z = (1 + R) / (1 - R).
  const std::complex<long double> r =
      -reflection.magnitude *
      std::exp(std::complex<long double>(0.0L, -2.0L * ka * reflection.endCorrection));
  return (1.0L + r) / (1.0L - r);
}

}  // namespace vortalis::acoustics
