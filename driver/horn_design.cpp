#include "driver/horn_design.h"

#include "geometry/constants.h"

namespace vortalis::driver {

HornDesign SuggestHornDesign(const Driver& driver, const acoustics::HornAcoustics& horn) {
  using geometry::AirDensity;
  using geometry::Pi;
  using geometry::SpeedOfSound;
  const long double rhoC = AirDensity * SpeedOfSound;
  const long double sd2 = driver.sd * driver.sd;
  HornDesign design;
  design.throatArea =
      2.0L * Pi * driver.ResonanceHz() * driver.Qes() * driver.VasCubicMetres() / SpeedOfSound;
  const long double throatArea = horn.shape.throatArea;
  const long double damping =
      driver.rms + driver.bl * driver.bl / driver.re + rhoC * sd2 / throatArea;
  // 1 / C = 2 pi fc R with C the series compliance of Cms and the chamber's
  // Vrc / (rho c^2 Sd^2).
  const long double chamberStiffness = 2.0L * Pi * horn.cutoff * damping - 1.0L / driver.cms;
  if (chamberStiffness > 0.0L) {
    design.rearChamber = rhoC * SpeedOfSound * sd2 / chamberStiffness;
    design.lowCorner = horn.cutoff;
  } else {
    design.lowCorner = 1.0L / (2.0L * Pi * driver.cms * damping);
  }
  design.highCorner = damping / (2.0L * Pi * driver.mms);
  // The corner of Ctc = Vtc / (rho c^2) against rho c / S_T is c S_T / (2 pi Vtc).
  design.throatChamber = SpeedOfSound * throatArea / (2.0L * Pi * design.highCorner);
  return design;
}

}  // namespace vortalis::driver
