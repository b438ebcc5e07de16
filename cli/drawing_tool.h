#pragma once

#include "cli/options.h"
#include "cli/report_tool.h"

// vortalis-report --export / --template: the profile files and the full-size
// template instead of the report. Built with the export library when the
// window program is built; otherwise the options are refused with a message.
namespace vortalis::cli {

// For input the validation accepted. Returns the exit status.
int WriteDrawings(const ToolOptions& options, ToolEnvironment& env);

}  // namespace vortalis::cli
