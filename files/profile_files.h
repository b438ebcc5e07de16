#pragma once

#include <string>

#include "output/output_file.h"
#include "report/horn_profile.h"

// The profile's files that need no painting. Failures throw output::OutputError.
namespace vortalis::files {

// One row per point with a header; the report's columns and decimals, "." as
// the decimal separator whatever the locale, "," between columns, CR LF lines.
std::string ProfileCsv(const report::HornProfile& profile);

// ASCII DXF (AutoCAD 2000) in the report's unit with $INSUNITS (4 mm, 1
// inch): layer AXIS holds the axis line, every ProfileCurve a layer of its own
// with the curve and its mirror image on the other side of the axis. dxflib
// writes to a named scratch file in $TMPDIR, whose bytes then go to sink.
void WriteProfileDxf(const report::HornProfile& profile, output::ByteSink& sink);

}  // namespace vortalis::files
