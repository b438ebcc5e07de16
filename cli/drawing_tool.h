#pragma once

#include "cli/options.h"
#include "cli/report_tool.h"

// vortalis-report --export / --template: the profile files and the full-size
// template instead of the report. A build without Qt writes the CSV and DXF
// files and refuses the painted SVG and template with a sentence saying why.
namespace vortalis::cli {

// For input the validation accepted: the files added to `files` for the
// caller to commit, the page counts to `said`. Returns the exit status.
int WriteDrawings(const ToolOptions& options, ToolEnvironment& env, output::OutputSet& files,
                  std::string& said);

}  // namespace vortalis::cli
