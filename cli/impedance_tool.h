#pragma once

#include <optional>
#include <string>

#include "acoustics/throat_impedance.h"
#include "cli/report_tool.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// vortalis-report --impedance: the throat impedance of the horn as a CSV file
// (frequency_hz,resistance,reactance), normalised to rho c / S_throat.
namespace vortalis::cli {

struct ImpedanceOptions {
  std::string path;  // the CSV file
  acoustics::MouthLoad load = acoustics::MouthLoad::Baffle;
  // Hertz; unset ends are those of the default sweep, fc / 4 and 16 fc.
  std::optional<long double> from, to;
  int pointsPerOctave = 24;
  report::MouthLimit mouthLimit;  // --mouth-limit: the horn as built ends there
  acoustics::WallLosses losses = acoustics::WallLosses::Off;
};

// For input the validation accepted. The file is added to `files` for the
// caller to commit with the run's other files; without them it is committed
// at once. Returns the exit status.
int WriteImpedance(const report::HornInput& horn, const geometry::Separators& separators,
                   const ImpedanceOptions& options, ToolEnvironment& env,
                   output::OutputSet* files = nullptr);

}  // namespace vortalis::cli
