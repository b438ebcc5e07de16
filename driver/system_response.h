#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "driver/driver.h"

// The driver on the horn: a lumped driver between an optional sealed rear
// chamber and an optional throat chamber in parallel with the horn's throat,
// driven by a constant voltage, heard at 1 m from the mouth.
namespace vortalis::driver {

inline constexpr long double kDefaultVoltage = 2.83L;  // volts RMS: 1 W into 8 ohms

struct SystemSetup {
  Driver driver;
  std::optional<long double> rearChamber;    // cubic metres behind the diaphragm
  std::optional<long double> throatChamber;  // cubic metres between diaphragm and throat
  long double voltage = kDefaultVoltage;     // volts RMS
};

// Throws std::invalid_argument for a chamber or voltage that is not above 0.
void CheckSetup(const SystemSetup& setup);

struct SystemPoint {
  long double frequency = 0.0L;                   // hertz
  std::complex<long double> electricalImpedance;  // ohms
  std::complex<long double> pressurePerVolt;      // Pa / V at 1 m, the path's delay left out
  std::complex<long double> diaphragmFlow;        // m^3 / s at the setup's voltage
  long double spl = 0.0L;                         // dB re 20 uPa at 1 m
  long double excursion = 0.0L;                   // metres, peak
  long double groupDelay = 0.0L;                  // seconds
  std::optional<long double> maxSpl;  // where Xmax or Pe is first reached; with either given
};

// The solid angle the mouth radiates into: 2 pi for the baffle, 4 pi / k for
// the location, 4 pi for the unflanged open end.
long double SolidAngle(const acoustics::HornAcoustics& horn, acoustics::MouthLoad load);

// One frequency, for the horn's port at it (acoustic ohms and Umouth / Uthroat);
// the group delay is left at 0.
SystemPoint SolveAt(const SystemSetup& setup, const acoustics::HornPort& port,
                    long double solidAngle, long double frequency);

// The sweep's frequencies, each with its group delay -d(arg p/V)/d omega taken
// from a second solve a hair above it.
std::vector<SystemPoint> SystemResponse(const acoustics::HornAcoustics& horn,
                                        acoustics::MouthLoad load, const SystemSetup& setup,
                                        const acoustics::FrequencySweep& sweep,
                                        acoustics::WallLosses losses = acoustics::WallLosses::Off);

// The phase of an impedance in degrees, -180 to 180.
long double PhaseDegrees(std::complex<long double> impedance);

// "frequency_hz,spl_db,impedance_ohm,impedance_phase_degrees,excursion_mm,group_delay_ms"
// and ",max_spl_db" when the driver has Xmax or Pe; one line per point, '.'
// decimals, 10 significant digits.
std::string ResponseCsv(const std::vector<SystemPoint>& points);

}  // namespace vortalis::driver
