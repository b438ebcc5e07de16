#include <cstdio>

#include "cli/kit_tool.h"

namespace vortalis::cli {

int WriteKit(const report::HornInput&, const geometry::Separators&, const KitOptions&,
             ToolEnvironment& env) {
  std::fprintf(env.err,
               "vortalis-report: build kits need the drawing support of the window program, "
               "which this build of vortalis-report was made without\n");
  return kExitRefused;
}

}  // namespace vortalis::cli
