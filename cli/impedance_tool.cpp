#include "cli/impedance_tool.h"

#include <cmath>
#include <cstdio>
#include <exception>

#include "acoustics/wall_losses.h"
#include "geometry/constants.h"
#include "output/output_set.h"

namespace vortalis::cli {

namespace {

// What the file cannot tell: where the plane-wave model ends, and how much the
// walls' losses change the curve when that is more than a few per cent.
void NoteLimits(const acoustics::HornAcoustics& horn, const ImpedanceOptions& options,
                const acoustics::FrequencySweep& sweep, std::FILE* err) {
  const acoustics::CrossModes modes = acoustics::FirstCrossModes(horn);
  if (sweep.to > modes.Lowest()) {
    std::fprintf(err,
                 "vortalis-report: note: above %.4Lg Hz (the first cross-mode: %.4Lg Hz at the "
                 "throat, %.4Lg Hz at the mouth) the plane-wave model does not hold\n",
                 modes.Lowest(), modes.throat, modes.mouth);
  }
  const acoustics::LossEffect effect = acoustics::LossEffectOver(horn, options.load, sweep);
  if (effect.change > acoustics::kNotableLossEffect) {
    std::fprintf(err,
                 options.losses == acoustics::WallLosses::On
                     ? "vortalis-report: note: wall losses change the impedance by up to %.0Lf %% "
                       "(at %.4Lg Hz)\n"
                     : "vortalis-report: note: wall losses would change the impedance by up to "
                       "%.0Lf %% (at %.4Lg Hz); --losses on includes them\n",
                 100.0L * effect.change, effect.frequency);
  }
  const long double wideTube =
      acoustics::WideTubeFrom(std::sqrt(horn.shape.throatArea / geometry::Pi));
  if (options.losses == acoustics::WallLosses::On && sweep.from < wideTube) {
    std::fprintf(err,
                 "vortalis-report: note: below %.4Lg Hz the throat is too narrow for the "
                 "wide-tube loss model, whose losses there are too small\n",
                 wideTube);
  }
}

}  // namespace

int WriteImpedance(const report::HornInput& horn, const geometry::Separators& separators,
                   const ImpedanceOptions& options, ToolEnvironment& env,
                   output::OutputSet* files) {
  output::OutputSet own;
  try {
    const acoustics::HornAcoustics acoustics =
        acoustics::HornAcousticsOf(horn, separators, options.mouthLimit);
    acoustics::FrequencySweep sweep = acoustics::DefaultSweep(acoustics.cutoff);
    sweep.from = options.from.value_or(sweep.from);
    sweep.to = options.to.value_or(sweep.to);
    sweep.pointsPerOctave = options.pointsPerOctave;
    acoustics::CheckSweep(sweep, acoustics.cutoff);
    (files != nullptr ? *files : own)
        .Add(options.path)
        .Write(acoustics::ImpedanceCsv(acoustics::ThroatImpedanceWithPeaks(
            acoustics, options.load, sweep, options.losses)));
    NoteLimits(acoustics, options, sweep, env.err);
  } catch (const std::exception& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return files != nullptr ? kExitDone : CommitOutputs(own, {}, env);
}

}  // namespace vortalis::cli
