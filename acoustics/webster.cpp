#include "acoustics/webster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vortalis::acoustics {

namespace {

// 48 MiB of grid; k a would have to exceed 1e7 to need more.
constexpr long double kMaxSteps = 1048576.0L;

// sqrt(3) / 6: the Gauss points' offset from a step's middle in steps, and the
// factor of the commutator term, (sqrt 3 / 12) h^2 [A2, A1] = (sqrt 3 / 6) h^2 k (...) sigma_y.
constexpr long double kSqrt3Over6 = 0.28867513459481288225L;

}  // namespace

MagnusGrid MakeMagnusGrid(const HornShape& shape, int steps) {
  if (!shape.flare || !(shape.mouth > shape.throat) || steps < 1)
    throw std::invalid_argument("A horn needs a flare, a mouth beyond the throat and a step");
  MagnusGrid grid;
  grid.steps.reserve(static_cast<std::size_t>(steps));
  const long double h = (shape.mouth - shape.throat) / static_cast<long double>(steps);
  for (int i = 0; i < steps; ++i) {
    const long double middle = shape.throat + (static_cast<long double>(i) + 0.5L) * h;
    const Flare first = shape.flare(middle - kSqrt3Over6 * h);
    const Flare second = shape.flare(middle + kSqrt3Over6 * h);
    grid.steps.push_back(
        {0.5L * h * (first.halfLogSlope + second.halfLogSlope),
         0.5L * h * (first.dxdtau + second.dxdtau),
         kSqrt3Over6 * h * h *
             (second.halfLogSlope * first.dxdtau - first.halfLogSlope * second.dxdtau)});
  }
  return grid;
}

ThroatWave ThroatWaveOnGrid(const MagnusGrid& grid, std::complex<long double> zMouth,
                            long double wavenumber) {
  // From the mouth, (P, Q) = (zMouth, 1), to the throat by exp(-Omega) per step:
  //   exp(-Omega) = c I - s Omega, Omega^2 = q^2 I, q^2 = D^2 + k^2 (E^2 - B^2),
  //   c = cosh q, s = sinh(q) / q (cos and sin / theta for q = j theta).
  const long double k = wavenumber;
  long double pr = zMouth.real();
  long double pi = zMouth.imag();
  long double qr = 1.0L;
  long double qi = 0.0L;
  for (auto step = grid.steps.rbegin(); step != grid.steps.rend(); ++step) {
    const long double kb = k * step->b;
    const long double ke = k * step->e;
    const long double q2 = step->d * step->d + ke * ke - kb * kb;
    long double c;
    long double s;
    if (std::fabs(q2) < 1e-8L) {
      c = 1.0L + q2 * (0.5L + q2 * (1.0L / 24.0L + q2 * (1.0L / 720.0L)));
      s = 1.0L + q2 * (1.0L / 6.0L + q2 * (1.0L / 120.0L + q2 * (1.0L / 5040.0L)));
    } else if (q2 < 0.0L) {
      const long double theta = std::sqrt(-q2);
      c = std::cos(theta);
      s = std::sin(theta) / theta;
    } else {
      const long double q = std::sqrt(q2);
      c = std::cosh(q);
      s = std::sinh(q) / q;
    }
    //   [P]   [c - s D         j s k (B + E)] [P]
    //   [Q] = [j s k (B - E)   c + s D      ] [Q]
    const long double a11 = c - s * step->d;
    const long double a22 = c + s * step->d;
    const long double a12 = s * (kb + ke);
    const long double a21 = s * (kb - ke);
    const long double npr = a11 * pr - a12 * qi;
    const long double npi = a11 * pi + a12 * qr;
    const long double nqr = a22 * qr - a21 * pi;
    const long double nqi = a22 * qi + a21 * pr;
    pr = npr;
    pi = npi;
    qr = nqr;
    qi = nqi;
  }
  return {{pr, pi}, {qr, qi}};
}

std::complex<long double> ThroatImpedanceOnGrid(const MagnusGrid& grid,
                                                std::complex<long double> zMouth,
                                                long double wavenumber) {
  const ThroatWave wave = ThroatWaveOnGrid(grid, zMouth, wavenumber);
  // P / Q, by parts: std::complex's division of long doubles rescales needlessly.
  const long double norm = std::norm(wave.q);
  return {(wave.p.real() * wave.q.real() + wave.p.imag() * wave.q.imag()) / norm,
          (wave.p.imag() * wave.q.real() - wave.p.real() * wave.q.imag()) / norm};
}

int StepsFor(const HornShape& shape, long double wavenumber) {
  // The error goes as h^4 and grows with k a, most near a tractrix's mouth:
  // h^2 proportional to 1 / (k a) kept it near 1e-8 in measurements, as long as
  // a step's phase k g h stays below about 3, where the Magnus series diverges.
  const long double ka = wavenumber * shape.lengthScale;
  const long double wanted =
      std::max(static_cast<long double>(shape.baseSteps) * std::sqrt(std::max(1.0L, ka)),
               (shape.mouth - shape.throat) * ka * 0.5L);
  long double steps = static_cast<long double>(shape.baseSteps);
  while (steps < wanted && steps * 2.0L <= kMaxSteps) steps *= 2.0L;
  return static_cast<int>(steps);
}

std::complex<long double> InputImpedance(const HornShape& shape, std::complex<long double> zMouth,
                                         long double wavenumber) {
  return ThroatImpedanceOnGrid(MakeMagnusGrid(shape, StepsFor(shape, wavenumber)), zMouth,
                               wavenumber);
}

}  // namespace vortalis::acoustics
