#include "cli/response_tool.h"

#include <cstdio>
#include <exception>

#include "driver/driver_file.h"
#include "driver/system_response.h"
#include "output/output_set.h"

namespace vortalis::cli {

int WriteResponse(const report::HornInput& horn, const geometry::Separators& separators,
                  const ResponseOptions& options, ToolEnvironment& env,
                  output::OutputSet& files) {
  try {
    driver::SystemSetup setup;
    setup.driver = driver::ResolveDriver(options.driver ? *options.driver
                                                        : driver::ReadDriverFile(options.driverPath));
    if (options.rearChamber) setup.rearChamber = *options.rearChamber * 1e-3L;
    if (options.throatChamber) setup.throatChamber = *options.throatChamber * 1e-3L;
    setup.voltage = options.voltage.value_or(driver::kDefaultVoltage);
    const acoustics::HornAcoustics acoustics = acoustics::HornAcousticsOf(horn, separators, options.sweep.mouthLimit);
    acoustics::FrequencySweep sweep = acoustics::DefaultSweep(acoustics.cutoff);
    sweep.from = options.sweep.from.value_or(sweep.from);
    sweep.to = options.sweep.to.value_or(sweep.to);
    sweep.pointsPerOctave = options.sweep.pointsPerOctave;
    acoustics::CheckSweep(sweep, acoustics.cutoff);
    const std::string text =
        driver::ResponseCsv(driver::SystemResponse(acoustics, options.sweep.load, setup, sweep, options.sweep.losses));
    files.Add(options.path).Write(text);
  } catch (const std::exception& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace vortalis::cli
