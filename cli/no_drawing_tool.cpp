#include <cstdio>

#include "cli/drawing_tool.h"
#include "cli/impedance_tool.h"

namespace vortalis::cli {

int WriteDrawings(const ToolOptions&, ToolEnvironment& env, output::OutputSet&, std::string&) {
  std::fprintf(env.err,
               "vortalis-report: --export and --template need the drawing support of the window "
               "program, which this build of vortalis-report was made without\n");
  return kExitRefused;
}

int WriteImpedance(const report::HornInput&, const geometry::Separators&, const ImpedanceOptions&,
                   ToolEnvironment& env, output::OutputSet*) {
  std::fprintf(env.err,
               "vortalis-report: --impedance needs the file support of the window program, which "
               "this build of vortalis-report was made without\n");
  return kExitRefused;
}

}  // namespace vortalis::cli
