#pragma once

#include <string>
#include <variant>

#include "cli/design_options.h"
#include "design/design_file.h"
#include "geometry/number_text.h"
#include "report/report_input.h"

// A design's horn as the settings dialogs hold it, read and written with the
// tool's own options, so that the program and vortalis-report --design agree
// on every key.
namespace vortalis::cli {

struct DesignedHorn {
  report::HornInput horn;
  geometry::Separators separators;  // the design's decimal separator, the other for thousands
  design::Design design;            // the whole file, drawing, kit and acoustic settings included
};

// The design in the file at `path`; a refusal names the file and the first problem.
std::variant<DesignedHorn, DesignRefusal> ReadDesignedHorn(const std::string& path);

// `kept` with its horn replaced by `horn`: every field as typed, the unit,
// size mode, increment, location, flat sides and decimal separator; the
// other sections stay as they were.
design::Design DesignOfHorn(const report::HornInput& horn, const geometry::Separators& separators,
                            const design::Design& kept);

}  // namespace vortalis::cli
