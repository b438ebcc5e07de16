#include "cli/impedance_tool.h"

#include <cstdio>
#include <exception>

#include "output/output_file.h"

namespace vortalis::cli {

namespace {

// The one place the tool writes the file: the one writer of every output.
void WriteCsvFile(const std::string& path, const std::string& text) {
  output::OutputFile file(path);
  file.Write(text);
  file.Commit();
}

}  // namespace

int WriteImpedance(const report::HornInput& horn, const geometry::Separators& separators,
                   const ImpedanceOptions& options, ToolEnvironment& env) {
  try {
    const acoustics::HornAcoustics acoustics = acoustics::HornAcousticsOf(horn, separators, options.mouthLimit);
    acoustics::FrequencySweep sweep = acoustics::DefaultSweep(acoustics.cutoff);
    sweep.from = options.from.value_or(sweep.from);
    sweep.to = options.to.value_or(sweep.to);
    sweep.pointsPerOctave = options.pointsPerOctave;
    WriteCsvFile(options.path, acoustics::ImpedanceCsv(
                                   acoustics::ThroatImpedanceWithPeaks(acoustics, options.load, sweep)));
  } catch (const std::exception& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return std::fflush(env.out) == 0 ? kExitDone : kExitRefused;
}

}  // namespace vortalis::cli
