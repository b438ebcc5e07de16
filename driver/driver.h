#pragma once

#include <optional>
#include <string>

// A loudspeaker driver as its maker describes it, and the lumped model the
// system solve uses.
namespace vortalis::driver {

// The values as the driver file and the window hold them, in the units people
// read from data sheets; unset values are absent.
struct DriverInput {
  std::string name;
  std::optional<long double> re;   // ohms
  std::optional<long double> le;   // millihenries
  std::optional<long double> bl;   // tesla metres
  std::optional<long double> mms;  // grams
  std::optional<long double> cms;  // millimetres per newton
  std::optional<long double> rms;  // kilograms per second
  std::optional<long double> sd;   // square centimetres
  std::optional<long double> fs;   // hertz
  std::optional<long double> qes;
  std::optional<long double> qms;
  std::optional<long double> vas;   // litres
  std::optional<long double> xmax;  // millimetres, one way, peak
  std::optional<long double> pe;    // watts
};

// The lumped model in SI units.
struct Driver {
  std::string name;
  long double re = 0.0L;            // ohms
  long double le = 0.0L;            // henries
  long double bl = 0.0L;            // T m
  long double mms = 0.0L;           // kg
  long double cms = 0.0L;           // m / N
  long double rms = 0.0L;           // kg / s
  long double sd = 0.0L;            // m^2
  std::optional<long double> xmax;  // metres
  std::optional<long double> pe;    // watts

  long double ResonanceHz() const;
  long double Qes() const;
  long double Qms() const;
  long double Qts() const;
  long double VasCubicMetres() const;
};

// Two given values may differ by this share before they are refused as disagreeing.
inline constexpr long double kParameterTolerance = 0.02L;

// The model of `input`: Re and Sd, and either Bl, Mms, Cms and Rms or fs, Qes,
// Qms and Vas (Cms = Vas / (rho c^2 Sd^2), Mms = 1 / ((2 pi fs)^2 Cms),
// Rms = 2 pi fs Mms / Qms, Bl = sqrt(2 pi fs Mms Re / Qes)). When both sets are
// given, or parts of the other, each value must agree within 2 %. Throws
// std::invalid_argument with a message that names the parameter.
Driver ResolveDriver(const DriverInput& input);

}  // namespace vortalis::driver
