#pragma once

#include <optional>

#include "acoustics/throat_impedance.h"
#include "driver/driver.h"

// Suggestions for a driver on a horn, after Keele (1977, "Low-Frequency Horn
// Design Using Thiele/Small Driver Parameters") and Leach (1979): with the
// horn taken as the resistance rho c / S_T at its throat, the driver's
// compliances and masses set the corners of the mid-band.
namespace vortalis::driver {

struct HornDesign {
  // Keele's throat area of the highest mid-band efficiency, the acoustic load
  // matching the motor's damping (rho c Sd^2 / S_T = Bl^2 / Re):
  // S_T = 2 pi fs Qes Vas / c. Square metres.
  long double throatArea = 0.0L;
  // The sealed rear chamber whose compliance, in series with Cms, puts the
  // low corner 1 / (2 pi C R) at the horn's cut-off, R = Rms + Bl^2 / Re +
  // rho c Sd^2 / S_T of the horn as built; none when Cms alone already puts
  // it there or lower. Cubic metres.
  std::optional<long double> rearChamber;
  // The throat chamber whose compliance against rho c / S_T rolls off at the
  // mass corner R / (2 pi Mms), so that the two make one second-order slope.
  // Cubic metres.
  long double throatChamber = 0.0L;
  long double lowCorner = 0.0L;   // hertz, with the suggested rear chamber
  long double highCorner = 0.0L;  // hertz, the mass corner
};

HornDesign SuggestHornDesign(const Driver& driver, const acoustics::HornAcoustics& horn);

}  // namespace vortalis::driver
