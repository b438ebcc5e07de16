#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "design/design_file.h"
#include "driver/driver.h"
#include "report/input_check.h"

// --design FILE and --save-design FILE: a design's settings are the options of
// the same names ("horn.freq" is --freq), put where --design stands so that
// the options after it override single values.
namespace vortalis::cli {

struct ExpandedCommand {
  std::vector<std::string> args;  // the subcommand first, --design replaced
  std::string designPath;
  design::Design design;
  // The design's driver, each value checked as a driver file's; --response
  // takes it when no --driver FILE is given.
  std::optional<driver::DriverInput> driver;
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
// acoustic and kit settings given, and the driver of --driver FILE with its
// values as the file has them, over `kept` (a design it started from).
// Throws std::runtime_error, naming the file, for a driver file it refuses.
design::Design DesignOfCommandLine(const std::vector<std::string_view>& args,
                                   const design::Design& kept);

// Whether the problem's field came from the design rather than from an option
// after --design: then the message names the design's file.
bool ProblemFromDesign(const ExpandedCommand& command, const report::InputProblem& problem);

}  // namespace vortalis::cli
