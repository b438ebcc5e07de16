#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "geometry/number_text.h"
#include "report/report_input.h"

// The command line of vortalis-report. Every option defaults to the initial
// state of the matching settings dialog.
namespace vortalis::cli {

enum class HornKind { Circular, Rectangular };

struct ToolOptions {
  HornKind kind = HornKind::Circular;
  report::CircularReportInput circular;
  report::RectangularReportInput rectangular;
  geometry::Separators separators;
  bool quick = false;
  std::optional<std::string> outputPath;
};

struct HelpRequest {};

struct UsageError {
  std::string message;  // one line, without the usage that follows it
};

using ParsedCommand = std::variant<ToolOptions, HelpRequest, UsageError>;

// The arguments after the program name.
ParsedCommand ParseCommandLine(const std::vector<std::string_view>& args);

// The synopsis printed after a usage error.
std::string_view UsageText();
// The synopsis with every option explained and examples.
std::string_view HelpText();

// A text from the command line made safe to print in a message: control and
// non-ASCII bytes as \xNN, and cut short when it is long.
std::string Printable(std::string_view text);

}  // namespace vortalis::cli
