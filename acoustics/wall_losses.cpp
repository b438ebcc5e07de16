#include "acoustics/wall_losses.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "geometry/constants.h"

namespace vortalis::acoustics {

namespace {

using Complex = std::complex<long double>;
using Matrix = std::array<Complex, 4>;  // a11, a12, a21, a22
constexpr Complex kJ{0.0L, 1.0L};
constexpr long double kSqrt3Over6 = 0.28867513459481288225L;

Matrix Coefficients(const LossyGrid::Point& point, long double k) {
  const WideTube tube = KeefeWideTube(k, point.radius);
  const Complex series = -kJ * k * point.g * tube.propagation;
  return {point.mu, series * tube.impedance, series / tube.impedance, -point.mu};
}

}  // namespace

WideTube KeefeWideTube(long double wavenumber, long double radius) {
  const long double omega = wavenumber * geometry::SpeedOfSound;
  // Held at rv = kNarrowestWideTube below it, where the expansion diverges.
  const long double x =
      std::min(1.0L / kNarrowestWideTube,
               1.0L / (radius * std::sqrt(geometry::AirDensity * omega / kAirViscosity)));
  return {{1.0L + 1.045L * x, -x * (1.045L + x * (1.080L + 0.750L * x))},
          {1.0L + 0.369L * x, -x * (0.369L + x * (1.149L + 0.303L * x))}};
}

long double WideTubeFrom(long double radius) {
  // rv = kNarrowestWideTube: omega = rv^2 eta / (rho r^2).
  return kNarrowestWideTube * kNarrowestWideTube * kAirViscosity /
         (geometry::AirDensity * radius * radius * 2.0L * geometry::Pi);
}

LossyGrid MakeLossyGrid(const HornShape& shape, int steps) {
  if (!shape.flare || !shape.wallRadius || !(shape.mouth > shape.throat) || steps < 1)
    throw std::invalid_argument("A lossy horn needs a flare, a wall radius and a step");
  LossyGrid grid;
  grid.h = (shape.mouth - shape.throat) / static_cast<long double>(steps);
  grid.points.reserve(2 * static_cast<std::size_t>(steps));
  for (int i = 0; i < steps; ++i) {
    const long double middle = shape.throat + (static_cast<long double>(i) + 0.5L) * grid.h;
    for (const long double offset : {-kSqrt3Over6, kSqrt3Over6}) {
      const long double tau = middle + offset * grid.h;
      const Flare flare = shape.flare(tau);
      grid.points.push_back({flare.dxdtau, flare.halfLogSlope, shape.wallRadius(tau)});
    }
  }
  return grid;
}

ThroatWave LossyThroatWave(const LossyGrid& grid, Complex zMouth, long double wavenumber) {
  const long double h = grid.h;
  Complex p = zMouth;
  Complex q = 1.0L;
  for (std::size_t i = grid.points.size(); i >= 2; i -= 2) {
    const Matrix a1 = Coefficients(grid.points[i - 2], wavenumber);
    const Matrix a2 = Coefficients(grid.points[i - 1], wavenumber);
    // Omega = (h / 2)(A1 + A2) + (sqrt 3 / 12) h^2 [A2, A1], traceless.
    const Complex c12 = a2[0] * a1[1] + a2[1] * a1[3] - a1[0] * a2[1] - a1[1] * a2[3];
    const Complex c21 = a2[2] * a1[0] + a2[3] * a1[2] - a1[2] * a2[0] - a1[3] * a2[2];
    const Complex c11 = a2[1] * a1[2] - a1[1] * a2[2];
    const long double half = 0.5L * h;
    const long double twist = 0.5L * kSqrt3Over6 * h * h;
    const Complex o11 = half * (a1[0] + a2[0]) + twist * c11;
    const Complex o12 = half * (a1[1] + a2[1]) + twist * c12;
    const Complex o21 = half * (a1[2] + a2[2]) + twist * c21;
    // exp(-Omega) = cosh(s) I - sinh(s) / s Omega, s^2 = o11^2 + o12 o21.
    const Complex s2 = o11 * o11 + o12 * o21;
    const Complex s = std::sqrt(s2);
    const Complex c = std::cosh(s);
    const Complex sinc = std::abs(s) < 1e-6L ? 1.0L + s2 / 6.0L : std::sinh(s) / s;
    const Complex np = (c - sinc * o11) * p - sinc * o12 * q;
    const Complex nq = -sinc * o21 * p + (c + sinc * o11) * q;
    p = np;
    q = nq;
  }
  return {p, q};
}

}  // namespace vortalis::acoustics
