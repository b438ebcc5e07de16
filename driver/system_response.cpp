#include "driver/system_response.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "geometry/constants.h"

namespace vortalis::driver {

namespace {

using Complex = std::complex<long double>;
using geometry::AirDensity;
using geometry::Pi;
using geometry::SpeedOfSound;

constexpr Complex kJ{0.0L, 1.0L};
constexpr long double kReferencePressure = 20e-6L;  // pascals
constexpr long double kListeningDistance = 1.0L;    // metres
// The step of the group delay's difference, relative to the frequency: its
// error, about half the step times the delay's relative slope, is far below 0.1 %.
constexpr long double kDelayStep = 1e-4L;

void AppendNumber(std::string& out, long double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
  out.append(buffer, result.ptr);
}

}  // namespace

long double PhaseDegrees(std::complex<long double> impedance) {
  return std::arg(impedance) * 180.0L / Pi;
}

void CheckSetup(const SystemSetup& setup) {
  const auto positive = [](const std::optional<long double>& value) {
    return !value || (*value > 0.0L && std::isfinite(*value));
  };
  if (!positive(setup.rearChamber))
    throw std::invalid_argument("the rear chamber must be above 0 litres");
  if (!positive(setup.throatChamber))
    throw std::invalid_argument("the throat chamber must be above 0 litres");
  if (!(setup.voltage > 0.0L) || !std::isfinite(setup.voltage))
    throw std::invalid_argument("the voltage must be above 0");
}

long double SolidAngle(const acoustics::HornAcoustics& horn, acoustics::MouthLoad load) {
  // No default: a new mouth load must say what it radiates into.
  switch (load) {
    case acoustics::MouthLoad::Baffle:
      return 2.0L * Pi;
    case acoustics::MouthLoad::Location:
      return 4.0L * Pi / horn.locationFactor;
    case acoustics::MouthLoad::Unflanged:
      return 4.0L * Pi;
  }
  throw std::invalid_argument("unknown mouth load");
}

SystemPoint SolveAt(const SystemSetup& setup, const acoustics::HornPort& port,
                    long double solidAngle, long double frequency) {
  const Driver& d = setup.driver;
  const long double omega = 2.0L * Pi * frequency;
  const long double rhoCSquared = AirDensity * SpeedOfSound * SpeedOfSound;
  const Complex zThroat = port.throatImpedance;
  // The throat chamber's compliance in parallel with the horn.
  Complex throatShare = 1.0L;  // U_throat / U_diaphragm
  if (setup.throatChamber)
    throatShare = 1.0L / (1.0L + kJ * omega * (*setup.throatChamber / rhoCSquared) * zThroat);
  const Complex zFront = zThroat * throatShare;
  const Complex zRear =
      setup.rearChamber ? 1.0L / (kJ * omega * (*setup.rearChamber / rhoCSquared)) : Complex{};
  const Complex zMechanical =
      kJ * omega * d.mms + d.rms + 1.0L / (kJ * omega * d.cms) + d.sd * d.sd * (zFront + zRear);
  const Complex zElectrical = d.re + kJ * omega * d.le + d.bl * d.bl / zMechanical;
  // Per volt: the cone's velocity, then the flows and the pressure at 1 m.
  const Complex velocity = d.bl / (zElectrical * zMechanical);
  const Complex mouthFlow = d.sd * velocity * throatShare * port.mouthPerThroatFlow;
  SystemPoint point;
  point.frequency = frequency;
  point.electricalImpedance = zElectrical;
  point.pressurePerVolt = kJ * omega * AirDensity * mouthFlow / (solidAngle * kListeningDistance);
  point.diaphragmFlow = d.sd * velocity * setup.voltage;
  point.spl =
      20.0L * std::log10(std::abs(point.pressurePerVolt) * setup.voltage / kReferencePressure);
  point.excursion = std::sqrt(2.0L) * std::abs(velocity) * setup.voltage / omega;
  // The voltage at which the first limit is met; SPL grows 20 log10 of it.
  std::optional<long double> limit;
  if (d.xmax) limit = setup.voltage * *d.xmax / point.excursion;
  if (d.pe) {
    const long double power = std::norm(setup.voltage / zElectrical) * d.re;
    const long double atPe = setup.voltage * std::sqrt(*d.pe / power);
    limit = limit ? std::min(*limit, atPe) : atPe;
  }
  if (limit) point.maxSpl = point.spl + 20.0L * std::log10(*limit / setup.voltage);
  return point;
}

std::vector<SystemPoint> SystemResponse(const acoustics::HornAcoustics& horn,
                                        acoustics::MouthLoad load, const SystemSetup& setup,
                                        const acoustics::FrequencySweep& sweep,
                                        acoustics::WallLosses losses) {
  CheckSetup(setup);
  const long double solidAngle = SolidAngle(horn, load);
  // Each frequency and one a hair above it for the group delay, on grids built once.
  const std::vector<long double> frequencies = acoustics::SweepFrequencies(sweep);
  std::vector<long double> asked;
  asked.reserve(2 * frequencies.size());
  for (const long double frequency : frequencies) {
    asked.push_back(frequency);
    asked.push_back(frequency * (1.0L + kDelayStep));
  }
  const std::vector<acoustics::HornPort> ports = acoustics::HornPortsAt(horn, load, asked, losses);
  std::vector<SystemPoint> points;
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    const long double frequency = asked[2 * i];
    const long double above = asked[2 * i + 1];
    SystemPoint point = SolveAt(setup, ports[2 * i], solidAngle, frequency);
    const Complex ratio =
        SolveAt(setup, ports[2 * i + 1], solidAngle, above).pressurePerVolt / point.pressurePerVolt;
    point.groupDelay = -std::arg(ratio) / (2.0L * Pi * (above - frequency));
    points.push_back(point);
  }
  return points;
}

std::string ResponseCsv(const std::vector<SystemPoint>& points) {
  const bool withLimit = !points.empty() && points.front().maxSpl.has_value();
  std::string text =
      "frequency_hz,spl_db,impedance_ohm,impedance_phase_degrees,excursion_mm,group_delay_ms";
  text += withLimit ? ",max_spl_db\n" : "\n";
  for (const SystemPoint& point : points) {
    for (const long double value : {point.frequency, point.spl, std::abs(point.electricalImpedance),
                                    PhaseDegrees(point.electricalImpedance), point.excursion * 1e3L,
                                    point.groupDelay * 1e3L}) {
      AppendNumber(text, value);
      text += ',';
    }
    if (withLimit) {
      AppendNumber(text, *point.maxSpl);
      text += '\n';
    } else {
      text.back() = '\n';
    }
  }
  return text;
}

}  // namespace vortalis::driver
