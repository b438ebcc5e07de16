#pragma once

#include <optional>
#include <string>

#include "cli/impedance_tool.h"
#include "cli/report_tool.h"
#include "driver/driver.h"
#include "geometry/number_text.h"
#include "output/output_set.h"
#include "report/report_input.h"

// vortalis-report --response: the driver on the horn, as a CSV file of its
// SPL at 1 m, electrical impedance, excursion and group delay.
namespace vortalis::cli {

struct ResponseOptions {
  std::string path;                                       // the CSV file
  std::string driverPath;                                 // --driver FILE
  std::optional<driver::DriverInput> driver;              // a design's, without --driver
  std::optional<long double> rearChamber, throatChamber;  // litres
  std::optional<long double> voltage;                     // volts RMS
  ImpedanceOptions sweep;  // the mouth load and the sweep; its path is unused
};

// For input the validation accepted: the CSV joins `files`, the run's file set.
// Returns the exit status.
int WriteResponse(const report::HornInput& horn, const geometry::Separators& separators,
                  const ResponseOptions& options, ToolEnvironment& env,
                  output::OutputSet& files);

}  // namespace vortalis::cli
