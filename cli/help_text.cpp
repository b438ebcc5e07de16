// The usage and the help of vortalis-report, laid out from the option table.
#include <string>
#include <string_view>

#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/painted_files.h"

namespace vortalis::cli {

namespace {

constexpr std::size_t kWidth = 80;
constexpr std::size_t kUsageIndent = 32;  // under the first option of a subcommand
constexpr std::size_t kHelpColumn = 21;   // where the explanations start
constexpr std::size_t kExampleIndent = 23;

constexpr std::string_view kIntro =
    "Writes the report of a tractrix horn, as the report window of Vortalis would\n"
    "save it (lines ended by CR LF), to standard output or to FILE. Every option\n"
    "starts at the initial state of the matching settings dialog, so\n"
    "'vortalis-report circular' gives the report of the default circular horn.\n"
    "Number texts are checked by the dialogs' rules and echoed in the report as typed.\n";

constexpr std::string_view kDrawingsHeading =
    "Drawings, the throat impedance and the driver's response, written instead of\n"
    "the report (one --export, one --template, one --impedance and one --response\n"
    "may be given together; --output and --quick may not be given with them):\n";

constexpr std::string_view kClosing =
    "Files are replaced only when complete. No display is needed: SVG and PDF\n"
    "are drawn off screen. A value that starts with \"--\" is taken for a\n"
    "forgotten value (write ./--name for a file of that name), and one file\n"
    "may not be named for two outputs.\n"
    "\n"
    "While a long table is computed and standard error is a terminal, a progress bar\n"
    "is shown there. Ctrl+C stops the table: the mouth row and the abort note still\n"
    "follow, and the report is written.\n"
    "\n"
    "Exit status: 0 done; 1 input refused (the dialog's message on standard error),\n"
    "a drawing refused, or the output could not be written; 2 usage error; 130\n"
    "stopped by Ctrl+C.\n";

// A paragraph's words in lines of at most kWidth.
std::string Wrapped(std::string_view words) {
  std::string text, line;
  while (!words.empty()) {
    const std::size_t end = words.find(' ');
    const std::string_view word = words.substr(0, end);
    words = end == std::string_view::npos ? std::string_view() : words.substr(end + 1);
    if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
      text += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + std::string(word);
  }
  return text + line + "\n";
}

// "csv|dxf|svg FILE", "mm|inch", "TEXT".
std::string ValueText(const OptionSpec& spec) {
  std::string choices;
  for (const std::string& choice : spec.choices) choices += (choices.empty() ? "" : "|") + choice;
  switch (spec.value) {
    case ValueKind::None:
      return "";
    case ValueKind::Choice:
      return spec.valueName.empty() ? choices : spec.valueName;
    case ValueKind::FormatAndFile:
      return choices + " " + spec.valueName;
    case ValueKind::Text:
    case ValueKind::File:
    case ValueKind::TextAndFile:
      return spec.valueName;
  }
  return "";
}

std::string WithValue(std::string_view name, const OptionSpec& spec) {
  const std::string value = ValueText(spec);
  return std::string(name) + (value.empty() ? "" : " " + value);
}

bool IsProgramOption(const OptionSpec& spec) {
  return spec.id == OptionId::Help || spec.id == OptionId::Version;
}

// One synopsis line: the words wrapped under the first option.
void AddSynopsis(std::string& text, std::string_view command, bool drawing, unsigned kind) {
  std::string line = std::string(text.empty() ? "Usage: " : "       ") + "vortalis-report " +
                     std::string(command);
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.drawing != drawing || (spec.kinds & kind) == 0 || IsProgramOption(spec)) continue;
    const std::string word = "[" + WithValue(spec.name, spec) + "]";
    if (line.size() + 1 + word.size() > kWidth) {
      text += line + "\n";
      line = std::string(kUsageIndent - 1, ' ');
    }
    line += " " + word;
  }
  text += line + "\n";
}

std::string MakeUsage() {
  std::string text;
  for (const std::string_view subcommand : kSubcommands) {
    const unsigned kind = subcommand == kSubcommands[0] ? kCircular : kRectangular;
    AddSynopsis(text, subcommand, false, kind);
  }
  AddSynopsis(text, std::string(kSubcommands[0]) + "|" + std::string(kSubcommands[1]) +
                        " [horn options]",
              true, kBothKinds);
  for (const OptionSpec& spec : OptionTable()) {
    if (IsProgramOption(spec)) text += "       vortalis-report " + std::string(spec.name) + "\n";
  }
  return text;
}

void AddOption(std::string& text, const OptionSpec& spec) {
  std::string header = "  ";
  if (!spec.shortName.empty()) header += std::string(spec.shortName) + ", ";
  header += WithValue(spec.name, spec);
  const std::string indent(kHelpColumn, ' ');
  std::string line;
  if (header.size() < kHelpColumn) {
    line = header + std::string(kHelpColumn - header.size(), ' ');
  } else {
    text += header + "\n";
    line = indent;
  }
  std::string_view help = spec.help;
  while (!help.empty()) {
    const std::size_t end = help.find('\n');
    line += help.substr(0, end);
    help = end == std::string_view::npos ? std::string_view() : help.substr(end + 1);
    if (!help.empty()) {
      text += line + "\n";
      line = indent;
    }
  }
  if (!spec.initial.empty()) {
    const std::string initial = "(" + spec.initial + ")";
    if (line.size() + 1 + initial.size() > kWidth) {
      text += line + "\n";
      line = indent + initial;
    } else {
      line += " " + initial;
    }
  }
  text += line + "\n";
  std::string_view examples = spec.examples;
  while (!examples.empty()) {
    const std::size_t end = examples.find('\n');
    text += std::string(kExampleIndent, ' ') + std::string(examples.substr(0, end)) + "\n";
    examples = end == std::string_view::npos ? std::string_view() : examples.substr(end + 1);
  }
}

std::string MakeHelp() {
  std::string text = MakeUsage() + "\n" + std::string(kIntro);
  const auto section = [&text](std::string_view heading, auto belongs) {
    text += "\n" + std::string(heading);
    for (const OptionSpec& spec : OptionTable()) {
      if (belongs(spec)) AddOption(text, spec);
    }
  };
  section("Options of both subcommands:\n",
          [](const OptionSpec& spec) { return spec.kinds == kBothKinds && !spec.drawing; });
  section("Circular horn:\n", [](const OptionSpec& spec) { return spec.kinds == kCircular; });
  section("Rectangular horn:\n",
          [](const OptionSpec& spec) { return spec.kinds == kRectangular; });
  section(kDrawingsHeading, [](const OptionSpec& spec) { return spec.drawing; });
  text += "\n" + std::string(kClosing);
  // A build without Qt says which files it does not write.
  if (!NoPaintingReason().empty()) text += "\n" + Wrapped(NoPaintingReason());
  return text;
}

}  // namespace

std::string_view UsageText() {
  static const std::string usage = MakeUsage();
  return usage;
}

std::string_view HelpText() {
  static const std::string help = MakeHelp();
  return help;
}

}  // namespace vortalis::cli
