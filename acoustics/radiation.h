#pragma once

#include <complex>

// The mouth's radiation loads, normalised to rho c / S of the radiating area,
// and the special functions of the baffled piston.
namespace vortalis::acoustics {

// Bessel function of the first kind of order 1.
long double BesselJ1(long double x);

// Struve function of order 1.
long double StruveH1(long double x);

// Rigid circular piston of radius a in an infinite baffle, for ka = wavenumber * a:
// 1 - 2 J1(2ka) / (2ka) + j 2 H1(2ka) / (2ka).
std::complex<long double> PistonImpedance(long double ka);

// Pulsating sphere of radius R, for kR: jkR / (1 + jkR). A sector of it filling
// the solid angle 4 pi / k with the mouth's area S has R = sqrt(k S / (4 pi)).
std::complex<long double> SphereImpedance(long double kR);

}  // namespace vortalis::acoustics
