#include "driver/driver.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "geometry/constants.h"

namespace vortalis::driver {

namespace {

using geometry::AirDensity;
using geometry::Pi;
using geometry::SpeedOfSound;

constexpr long double kRhoCSquared = AirDensity * SpeedOfSound * SpeedOfSound;

std::string Text(long double value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 4);
  return std::string(buffer, result.ptr);
}

struct Given {
  const char* name;
  const char* unit;
  const std::optional<long double>& value;
};

void CheckPositive(const Given& given, bool zeroAllowed = false) {
  if (!given.value) return;
  const long double v = *given.value;
  if (!std::isfinite(v) || v < 0.0L || (!zeroAllowed && v == 0.0L))
    throw std::invalid_argument(std::string(given.name) + " must be " +
                                (zeroAllowed ? "0 or more" : "above 0") + " (it is " + Text(v) +
                                ")");
}

std::string Missing(const std::vector<Given>& set) {
  std::string names;
  for (const Given& given : set) {
    if (given.value) continue;
    if (!names.empty()) names += ", ";
    names += given.name;
  }
  return names;
}

// A value the user gave against the same value from the other set.
void CheckAgreement(const Given& given, long double derived, const char* from) {
  if (!given.value) return;
  const long double apart = std::fabs(*given.value / derived - 1.0L);
  if (apart > kParameterTolerance)
    throw std::invalid_argument(std::string(given.name) + " = " + Text(*given.value) + " " +
                                given.unit + " disagrees with " + Text(derived) + " " + given.unit +
                                " from " + from + " (" + Text(apart * 100.0L) +
                                " % apart, at most 2 % allowed)");
}

}  // namespace

long double Driver::ResonanceHz() const { return 1.0L / (2.0L * Pi * std::sqrt(mms * cms)); }
long double Driver::Qes() const { return 2.0L * Pi * ResonanceHz() * mms * re / (bl * bl); }
long double Driver::Qms() const { return 2.0L * Pi * ResonanceHz() * mms / rms; }
long double Driver::Qts() const { return Qes() * Qms() / (Qes() + Qms()); }
long double Driver::VasCubicMetres() const { return kRhoCSquared * sd * sd * cms; }

Driver ResolveDriver(const DriverInput& input) {
  const Given re{"Re", "ohm", input.re}, le{"Le", "mH", input.le}, bl{"Bl", "T m", input.bl},
      mms{"Mms", "g", input.mms}, cms{"Cms", "mm/N", input.cms}, rms{"Rms", "kg/s", input.rms},
      sd{"Sd", "cm2", input.sd}, fs{"fs", "Hz", input.fs}, qes{"Qes", "", input.qes},
      qms{"Qms", "", input.qms}, vas{"Vas", "l", input.vas}, xmax{"Xmax", "mm", input.xmax},
      pe{"Pe", "W", input.pe};
  for (const Given* given : {&re, &bl, &mms, &cms, &rms, &sd, &fs, &qes, &qms, &vas, &xmax, &pe})
    CheckPositive(*given);
  CheckPositive(le, true);
  if (!input.re) throw std::invalid_argument("the driver needs Re");
  if (!input.sd) throw std::invalid_argument("the driver needs Sd");

  Driver driver;
  driver.name = input.name;
  driver.re = *input.re;
  driver.le = input.le.value_or(0.0L) * 1e-3L;
  driver.sd = *input.sd * 1e-4L;
  if (input.xmax) driver.xmax = *input.xmax * 1e-3L;
  driver.pe = input.pe;

  const std::vector<Given> motor{bl, mms, cms, rms}, smallSignal{fs, qes, qms, vas};
  const std::string motorMissing = Missing(motor), smallMissing = Missing(smallSignal);
  if (motorMissing.empty()) {
    driver.bl = *input.bl;
    driver.mms = *input.mms * 1e-3L;
    driver.cms = *input.cms * 1e-3L;
    driver.rms = *input.rms;
    const char* from = "Bl, Mms, Cms, Rms, Re and Sd";
    CheckAgreement(fs, driver.ResonanceHz(), from);
    CheckAgreement(qes, driver.Qes(), from);
    CheckAgreement(qms, driver.Qms(), from);
    CheckAgreement(vas, driver.VasCubicMetres() * 1e3L, from);
  } else if (smallMissing.empty()) {
    const long double omega = 2.0L * Pi * *input.fs;
    driver.cms = *input.vas * 1e-3L / (kRhoCSquared * driver.sd * driver.sd);
    driver.mms = 1.0L / (omega * omega * driver.cms);
    driver.rms = omega * driver.mms / *input.qms;
    driver.bl = std::sqrt(omega * driver.mms * driver.re / *input.qes);
    const char* from = "fs, Qes, Qms, Vas, Re and Sd";
    CheckAgreement(bl, driver.bl, from);
    CheckAgreement(mms, driver.mms * 1e3L, from);
    CheckAgreement(cms, driver.cms * 1e3L, from);
    CheckAgreement(rms, driver.rms, from);
  } else {
    throw std::invalid_argument("the driver needs Bl, Mms, Cms and Rms (missing " + motorMissing +
                                ") or fs, Qes, Qms and Vas (missing " + smallMissing + ")");
  }
  // Values far outside any driver can make the conversion overflow.
  for (const auto& [name, value] :
       {std::pair{"Bl", driver.bl}, std::pair{"Mms", driver.mms}, std::pair{"Cms", driver.cms},
        std::pair{"Rms", driver.rms}, std::pair{"Sd", driver.sd}}) {
    if (!std::isfinite(value) || !(value > 0.0L))
      throw std::invalid_argument(std::string("the parameters give ") + name +
                                  " out of range; check their units");
  }
  return driver;
}

}  // namespace vortalis::driver
