#pragma once

#include <complex>

#include "acoustics/webster.h"

// Visco-thermal losses in the boundary layer along the horn's walls, by
// Keefe's wide-tube approximation (J. Acoust. Soc. Am. 75, 58, 1984), taken
// section by section.
namespace vortalis::acoustics {

// Air at 20 degrees C besides its density and the speed of sound of
// geometry/constants.h: the shear viscosity. Keefe's coefficients hold
// gamma = 1.40 and a Prandtl number of 0.71.
inline constexpr long double kAirViscosity = 1.81e-5L;  // Pa s

// A tube of radius r at the wavenumber k, relative to the lossless tube:
// propagation = Gamma / (j k) and impedance = Zc / (rho c / S), with
// rv = r sqrt(rho omega / eta):
//   Gamma / (j k) = 1 + 1.045 / rv - j (1.045 / rv + 1.080 / rv^2 + 0.750 / rv^3)
//   Zc / (rho c / S) = 1 + 0.369 / rv - j (0.369 / rv + 1.149 / rv^2 + 0.303 / rv^3)
// Good while rv is above about 2; below kNarrowestWideTube, where the series
// diverges, the losses of rv = kNarrowestWideTube are taken: too small.
inline constexpr long double kNarrowestWideTube = 2.0L;
// The frequency in hertz above which a tube of this radius has rv >= kNarrowestWideTube.
long double WideTubeFrom(long double radius);
struct WideTube {
  std::complex<long double> propagation;
  std::complex<long double> impedance;
};
WideTube KeefeWideTube(long double wavenumber, long double radius);

// The horn's grid for the lossy equation: per step the flare and the wall's
// radius at the two Gauss points, which do not depend on the frequency.
struct LossyGrid {
  struct Point {
    long double g, mu, radius;
  };
  long double h = 0.0L;
  std::vector<Point> points;  // two a step, throat first
};
LossyGrid MakeLossyGrid(const HornShape& shape, int steps);

// ThroatWaveOnGrid with the walls' losses: the same variables P and Q, with
//   d/dtau (P, Q) = [[mu, -j k g Gamma' Z'], [-j k g Gamma' / Z', -mu]] (P, Q)
// (Gamma' and Z' of KeefeWideTube), by the same fourth-order Magnus method.
ThroatWave LossyThroatWave(const LossyGrid& grid, std::complex<long double> zMouth,
                           long double wavenumber);

}  // namespace vortalis::acoustics
