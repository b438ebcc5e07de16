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

// Rigid rectangular piston of sides side1 x side2 (metres) in an infinite
// baffle, normalised to rho c / S, at the wavenumber k: the baffle's Green
// function integrated over the piston twice, by quadrature.
std::complex<long double> RectangularPistonImpedance(long double wavenumber, long double side1,
                                                     long double side2);

// The open end of an unflanged thin-walled circular pipe of radius a, for ka
// below kFirstPipeMode (Levine and Schwinger, 1948): the plane wave's
// reflection R = -|R| e^(-2jkl), |R| and the end correction l / a, and the
// impedance (1 + R) / (1 - R) it puts on the pipe, normalised to rho c / S.
inline constexpr long double kFirstPipeMode = 3.8317059702075123156L;  // first zero of J1
struct UnflangedReflection {
  long double magnitude;      // |R|
  long double endCorrection;  // l / a
};
UnflangedReflection UnflangedPipeReflection(long double ka);
std::complex<long double> UnflangedPipeImpedance(long double ka);

// Pulsating sphere of radius R, for kR: jkR / (1 + jkR). A sector of it filling
// the solid angle 4 pi / k with the mouth's area S has R = sqrt(k S / (4 pi)).
std::complex<long double> SphereImpedance(long double kR);

}  // namespace vortalis::acoustics
