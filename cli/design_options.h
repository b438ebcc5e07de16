#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "design/design_file.h"
#include "report/input_check.h"

// --design FILE and --save-design FILE: a design's settings are the options of
// the same names ("horn.freq" is --freq), put where --design stands so that
// the options after it override single values.
namespace vortalis::cli {

struct ExpandedCommand {
  std::vector<std::string> args;  // the subcommand first, --design replaced
  std::string designPath;
  design::Design design;
};

// A design that could not be read: the message names the file and the problem.
struct DesignRefusal {
  std::string message;
};

struct DesignUsageError {
  std::string message;
};

bool NamesDesign(const std::vector<std::string_view>& args);

std::variant<ExpandedCommand, DesignRefusal, DesignUsageError> ExpandDesign(
    const std::vector<std::string_view>& args);

// The design of a command line (the subcommand first): the horn, the drawing,
// acoustic and kit settings given, over `kept` (a design it started from).
design::Design DesignOfCommandLine(const std::vector<std::string_view>& args,
                                   const design::Design& kept);

// Whether the problem's field came from the design rather than from an option
// after --design: then the message names the design's file.
bool ProblemFromDesign(const ExpandedCommand& command, const report::InputProblem& problem);

}  // namespace vortalis::cli
