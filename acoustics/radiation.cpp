#include "acoustics/radiation.h"

#include <array>
#include <cmath>

#include "geometry/constants.h"
#include "geometry/gauss_legendre.h"

namespace vortalis::acoustics {

namespace {

using geometry::Pi;

// Below this the power series lose at most a few units in 1e-13 to cancellation
// (their largest term is about e^x / x); above it libstdc++'s Bessel functions
// and the Laplace integral of H1 - Y1 are used.
constexpr long double kSeriesLimit = 12.0L;

// Terms of a convergent alternating series are added until they no longer
// change the sum.
template <typename NextTerm>
long double SumSeries(long double first, NextTerm next) {
  long double sum = first;
  long double term = first;
  for (int m = 0; m < 200; ++m) {
    term = next(term, m);
    const long double before = sum;
    sum += term;
    if (sum == before) break;
  }
  return sum;
}

// J1(x) = sum (-1)^m (x/2)^(2m+1) / (m! (m+1)!)
long double BesselJ1Series(long double x) {
  const long double h2 = x * x * 0.25L;
  return SumSeries(x * 0.5L, [h2](long double term, int m) {
    return -term * h2 / (static_cast<long double>(m + 1) * static_cast<long double>(m + 2));
  });
}

// 1 - 2 J1(x) / x = sum_{m>=1} (-1)^(m+1) (x/2)^(2m) / (m! (m+1)!), without the
// cancellation of the difference at small x.
long double PistonResistanceSeries(long double x) {
  const long double h2 = x * x * 0.25L;
  return SumSeries(h2 * 0.5L, [h2](long double term, int m) {
    return -term * h2 / (static_cast<long double>(m + 2) * static_cast<long double>(m + 3));
  });
}

// H1(x) = sum (-1)^m (x/2)^(2m+2) / (Gamma(m + 3/2) Gamma(m + 5/2)); the first
// term is 2 x^2 / (3 pi).
long double StruveH1Series(long double x) {
  const long double h2 = x * x * 0.25L;
  return SumSeries(2.0L * x * x / (3.0L * Pi), [h2](long double term, int m) {
    const long double k = static_cast<long double>(m);
    return -term * h2 / ((k + 1.5L) * (k + 2.5L));
  });
}

// Nodes u and weights w e^(-u) of a composite Gauss-Legendre rule for
// integral_0^inf e^(-u) f(u) du, cut at u = 64 where e^(-u) < 2e-28.
struct LaplaceRule {
  static constexpr int kOrder = 10;
  static constexpr int kPanels = 32;
  static constexpr long double kPanelWidth = 2.0L;
  std::array<long double, kOrder * kPanels> node{};
  std::array<long double, kOrder * kPanels> weight{};
  LaplaceRule() {
    const geometry::GaussLegendre<kOrder> rule;
    for (int panel = 0; panel < kPanels; ++panel) {
      for (int i = 0; i < kOrder; ++i) {
        const long double u = kPanelWidth * (static_cast<long double>(panel) + 0.5L) +
                              0.5L * kPanelWidth * rule.node[i];
        node[panel * kOrder + i] = u;
        weight[panel * kOrder + i] = 0.5L * kPanelWidth * rule.weight[i] * std::exp(-u);
      }
    }
  }
};

// H1(x) - Y1(x) = (2 / pi) integral_0^inf e^(-u) sqrt(1 + (u / x)^2) du for x > 0.
long double StruveMinusNeumann(long double x) {
  static const LaplaceRule rule;
  long double sum = 0.0L;
  for (std::size_t i = 0; i < rule.node.size(); ++i) {
    const long double v = rule.node[i] / x;
    sum += rule.weight[i] * std::sqrt(1.0L + v * v);
  }
  return 2.0L * geometry::InversePi * sum;
}

}  // namespace

long double BesselJ1(long double x) {
  if (std::fabs(x) < kSeriesLimit) return BesselJ1Series(x);
  return x < 0.0L ? -std::cyl_bessel_j(1.0L, -x) : std::cyl_bessel_j(1.0L, x);
}

long double StruveH1(long double x) {
  const long double ax = std::fabs(x);
  if (ax < kSeriesLimit) return StruveH1Series(ax);
  return std::cyl_neumann(1.0L, ax) + StruveMinusNeumann(ax);
}

std::complex<long double> PistonImpedance(long double ka) {
  const long double x = 2.0L * ka;
  if (x == 0.0L) return {0.0L, 0.0L};
  const long double resistance =
      std::fabs(x) < kSeriesLimit ? PistonResistanceSeries(x) : 1.0L - 2.0L * BesselJ1(x) / x;
  return {resistance, 2.0L * StruveH1(x) / x};
}

std::complex<long double> SphereImpedance(long double kR) {
  const long double square = kR * kR;
  return {square / (1.0L + square), kR / (1.0L + square)};
}

}  // namespace vortalis::acoustics
