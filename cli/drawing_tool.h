#pragma once

#include "cli/options.h"
#include "cli/report_tool.h"

// vortalis-report --export / --template: the profile files and the full-size
// template instead of the report. A build without Qt writes the CSV and DXF
// files and refuses the painted SVG and template with a sentence saying why.
namespace vortalis::cli {

// For input the validation accepted. Returns the exit status.
int WriteDrawings(const ToolOptions& options, ToolEnvironment& env);

}  // namespace vortalis::cli
