#include <cstdio>

#include "cli/drawing_tool.h"

namespace vortalis::cli {

int WriteDrawings(const ToolOptions&, ToolEnvironment& env) {
  std::fprintf(env.err,
               "vortalis-report: --export and --template need the drawing support of the window "
               "program, which this build of vortalis-report was made without\n");
  return kExitRefused;
}

}  // namespace vortalis::cli
