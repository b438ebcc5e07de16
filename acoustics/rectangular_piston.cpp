#include <cmath>
#include <complex>

#include "acoustics/radiation.h"
#include "geometry/constants.h"
#include "geometry/gauss_legendre.h"

namespace vortalis::acoustics {

namespace {

using Complex = std::complex<long double>;
constexpr Complex kJ{0.0L, 1.0L};

// M_n(x) = integral_0^1 t^n e^(-j x t) dt for n = 0, 1, 2: by its power series
// for small x, where the recurrence below loses digits, else by parts.
struct Moments {
  Complex m0, m1, m2;
};

Moments MomentsOf(long double x) {
  if (std::fabs(x) < 2.0L) {
    Moments m{};
    Complex power = 1.0L;  // (-j x)^i / i!
    for (int i = 0; i < 40; ++i) {
      const long double n = static_cast<long double>(i);
      m.m0 += power / (n + 1.0L);
      m.m1 += power / (n + 2.0L);
      m.m2 += power / (n + 3.0L);
      power *= -kJ * x / (n + 1.0L);
    }
    return m;
  }
  const Complex end = std::exp(-kJ * x);
  const Complex m0 = (1.0L - end) / (kJ * x);
  const Complex m1 = (end - m0) / (-kJ * x);
  const Complex m2 = (end - 2.0L * m1) / (-kJ * x);
  return {m0, m1, m2};
}

}  // namespace

// z = (2 j k / (pi S)) integral over [0, w] x [0, h] of (w - u)(h - v) e^(-jkr) / r,
// the separations' overlap weighted by the baffle's Green function, in polar
// coordinates over the two triangles either side of the diagonal; the radial
// integral of a quadratic times e^(-jkr) is closed, the angle's is Gauss-Legendre.
std::complex<long double> RectangularPistonImpedance(long double wavenumber, long double side1,
                                                     long double side2) {
  const long double k = wavenumber;
  const long double w = side1;
  const long double h = side2;
  if (!(k > 0.0L)) return {0.0L, 0.0L};
  static const geometry::GaussLegendre<12> rule;
  const long double diagonal = std::atan2(h, w);
  const int panels = 4 + static_cast<int>(std::ceil(k * std::hypot(w, h) / geometry::Pi));
  Complex sum = 0.0L;
  const auto triangle = [&](long double from, long double to, bool alongSide1) {
    const long double width = (to - from) / panels;
    for (int panel = 0; panel < panels; ++panel) {
      for (int i = 0; i < 12; ++i) {
        const long double theta = from + width * (panel + 0.5L + 0.5L * rule.node[i]);
        const long double c = std::cos(theta);
        const long double s = std::sin(theta);
        const long double r = alongSide1 ? w / c : h / s;
        const Moments m = MomentsOf(k * r);
        // integral_0^r (w - t c)(h - t s) e^(-jkt) dt
        const Complex radial =
            r * (w * h * m.m0 - r * (w * s + h * c) * m.m1 + r * r * c * s * m.m2);
        sum += 0.5L * width * rule.weight[i] * radial;
      }
    }
  };
  triangle(0.0L, diagonal, true);
  triangle(diagonal, 0.5L * geometry::Pi, false);
  return 2.0L * kJ * k * sum / (geometry::Pi * w * h);
}

}  // namespace vortalis::acoustics
