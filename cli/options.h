#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/impedance_tool.h"
#include "cli/kit_tool.h"
#include "cli/option_table.h"
#include "cli/response_tool.h"
#include "driver/driver.h"
#include "geometry/number_text.h"
#include "report/export_format.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// The command line of vortalis-report. Every option defaults to the initial
// state of the matching settings dialog.
namespace vortalis::cli {

// --export, --template and their settings: drawings written instead of the report.
struct DrawingOptions {
  std::optional<report::ExportFormat> format;  // --export FORMAT FILE
  std::string exportPath;
  std::optional<std::string> templatePath;  // --template FILE
  std::optional<long double> step;          // default: the report's increment
  report::MouthLimit mouthLimit;
  Paper paper = Paper::A4;

  bool Requested() const { return format.has_value() || templatePath.has_value(); }
};

struct ToolOptions {
  report::HornInput horn;  // the subcommand chooses the alternative
  geometry::Separators separators;
  bool quick = false;
  std::optional<std::string> outputPath;
  std::optional<std::string> saveDesignPath;  // --save-design FILE
  DrawingOptions drawings;
  std::optional<ImpedanceOptions> impedance;  // --impedance FILE and its settings
  std::optional<ResponseOptions> response;    // --response FILE and its settings
  std::optional<KitOptions> kit;              // --rings, --sectors, --staves, --panels or --stl
};

struct HelpRequest {};
struct VersionRequest {};

struct UsageError {
  std::string message;  // one line, without the usage that follows it
};

using ParsedCommand = std::variant<ToolOptions, HelpRequest, VersionRequest, UsageError>;

// The arguments after the program name; `designDriver` is the driver of the
// design they came from, for --response without --driver FILE.
ParsedCommand ParseCommandLine(const std::vector<std::string_view>& args,
                               const std::optional<driver::DriverInput>& designDriver = {});

// The synopsis printed after a usage error (cli/help_text.cpp).
std::string_view UsageText();
// The synopsis with every option explained and examples.
std::string_view HelpText();

// A text from the command line made safe to print in a message: control and
// non-ASCII bytes as \xNN, and cut short when it is long.
std::string Printable(std::string_view text);

// For std::visit over the horn input where the kinds really differ.
template <typename... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

}  // namespace vortalis::cli
