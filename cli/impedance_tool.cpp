#include "cli/impedance_tool.h"

#include <cstdio>
#include <exception>

#include "output/output_set.h"

namespace vortalis::cli {

int WriteImpedance(const report::HornInput& horn, const geometry::Separators& separators,
                   const ImpedanceOptions& options, ToolEnvironment& env,
                   output::OutputSet* files) {
  output::OutputSet own;
  try {
    const acoustics::HornAcoustics acoustics = acoustics::HornAcousticsOf(horn, separators);
    acoustics::FrequencySweep sweep = acoustics::DefaultSweep(acoustics.cutoff);
    sweep.from = options.from.value_or(sweep.from);
    sweep.to = options.to.value_or(sweep.to);
    sweep.pointsPerOctave = options.pointsPerOctave;
    (files != nullptr ? *files : own)
        .Add(options.path)
        .Write(acoustics::ImpedanceCsv(acoustics::ThroatImpedance(acoustics, options.load, sweep)));
  } catch (const std::exception& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return files != nullptr ? kExitDone : CommitOutputs(own, {}, env);
}

}  // namespace vortalis::cli
