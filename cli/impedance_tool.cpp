#include "cli/impedance_tool.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <exception>

#include "export/profile_export.h"

namespace vortalis::cli {

namespace {

// The one place the tool writes the file: the drawing tool's writer.
void WriteCsvFile(const std::string& path, const std::string& text) {
  exports::WriteFileAtomically(
      QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size()))),
      QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

int WriteImpedance(const report::HornInput& horn, const geometry::Separators& separators,
                   const ImpedanceOptions& options, ToolEnvironment& env) {
  try {
    const acoustics::HornAcoustics acoustics = acoustics::HornAcousticsOf(horn, separators);
    acoustics::FrequencySweep sweep = acoustics::DefaultSweep(acoustics.cutoff);
    sweep.from = options.from.value_or(sweep.from);
    sweep.to = options.to.value_or(sweep.to);
    sweep.pointsPerOctave = options.pointsPerOctave;
    WriteCsvFile(options.path, acoustics::ImpedanceCsv(
                                   acoustics::ThroatImpedance(acoustics, options.load, sweep)));
  } catch (const std::exception& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return std::fflush(env.out) == 0 ? kExitDone : kExitRefused;
}

}  // namespace vortalis::cli
