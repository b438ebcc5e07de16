#pragma once

#include <complex>
#include <functional>
#include <vector>

// Lossless plane waves in a horn (Webster's equation), solved along a
// parameter tau in which the horn is smooth. With P = p sqrt(S / rho c) and
// Q = U sqrt(rho c / S) the equation reads
//   d/dtau (P, Q) = [[mu, -j k g], [-j k g, -mu]] (P, Q),
//   g = dx/dtau, mu = (1/2) d ln S / dtau,
// and P / Q is the impedance normalised to rho c / S where it is taken.
namespace vortalis::acoustics {

struct Flare {
  long double dxdtau;        // g, metres per unit of tau; > 0
  long double halfLogSlope;  // mu = (1/2) d ln S / dtau
};

struct HornShape {
  long double throat = 0.0L;  // tau at the throat
  long double mouth = 0.0L;   // tau at the mouth; > throat
  std::function<Flare(long double tau)> flare;
  long double mouthArea = 0.0L;   // square metres
  long double throatArea = 0.0L;  // square metres
  // Steps of the coarsest grid, used up to k * lengthScale = 1.
  int baseSteps = 64;
  // Metres: the largest g (a tractrix's mouth radius). Above k * lengthScale = 1
  // the grid has at least baseSteps * sqrt(k * lengthScale) steps, and never a
  // phase k g h above 2 in a step.
  long double lengthScale = 1.0L;
  // Metres: the radius of the wall's boundary layer at tau (2 S / perimeter),
  // for the wall losses only.
  std::function<long double(long double tau)> wallRadius;
};

// The horn's grid at one refinement: per step, the fourth-order Magnus
// exponent Omega = D sigma_z - j k B sigma_x + k E sigma_y, whose parts do not
// depend on the frequency. For a constant flare (a tube, an exponential horn)
// a step is exact.
struct MagnusGrid {
  struct Step {
    long double d;  // (h / 2) (mu1 + mu2)
    long double b;  // (h / 2) (g1 + g2)
    long double e;  // (sqrt 3 / 6) h^2 (mu2 g1 - mu1 g2)
  };
  std::vector<Step> steps;  // throat first
};

MagnusGrid MakeMagnusGrid(const HornShape& shape, int steps);

// The wave at the throat of the horn ending in zMouth (normalised to
// rho c / S_mouth) with Q = 1 at the mouth, for the wavenumber k = omega / c:
// P / Q is the throat impedance normalised to rho c / S_throat, and
// U_mouth / U_throat = sqrt(S_mouth / S_throat) / Q.
struct ThroatWave {
  std::complex<long double> p;
  std::complex<long double> q;
};
ThroatWave ThroatWaveOnGrid(const MagnusGrid& grid, std::complex<long double> zMouth,
                            long double wavenumber);
// Impedance at the throat, normalised to rho c / S_throat: P / Q of the above.
std::complex<long double> ThroatImpedanceOnGrid(const MagnusGrid& grid,
                                                std::complex<long double> zMouth,
                                                long double wavenumber);

// Steps the solver uses for the wavenumber k: baseSteps times the smallest
// power of two that meets the two bounds of lengthScale (at most 2^20 steps).
int StepsFor(const HornShape& shape, long double wavenumber);

// Convenience over the two above: one frequency, the grid of StepsFor.
std::complex<long double> InputImpedance(const HornShape& shape, std::complex<long double> zMouth,
                                         long double wavenumber);

}  // namespace vortalis::acoustics
