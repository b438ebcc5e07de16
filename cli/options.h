#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// The command line of vortalis-report. Every option defaults to the initial
// state of the matching settings dialog.
namespace vortalis::cli {

enum class HornKind { Circular, Rectangular };

enum class DrawingFormat { Csv, Dxf, Svg };
enum class Paper { A4, A3, Letter };

// --export, --template and their settings: drawings written instead of the report.
struct DrawingOptions {
  std::optional<DrawingFormat> format;       // --export FORMAT FILE
  std::string exportPath;
  std::optional<std::string> templatePath;  // --template FILE
  std::optional<long double> step;          // default: the report's increment
  report::MouthLimit mouthLimit;
  Paper paper = Paper::A4;

  bool Requested() const { return format.has_value() || templatePath.has_value(); }
};

struct ToolOptions {
  HornKind kind = HornKind::Circular;
  report::CircularReportInput circular;
  report::RectangularReportInput rectangular;
  geometry::Separators separators;
  bool quick = false;
  std::optional<std::string> outputPath;
  DrawingOptions drawings;
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
