#include "cli/options.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace vortalis::cli {

namespace {

using geometry::LengthUnit;
using geometry::MouthLocation;
using geometry::SizeMode;
using geometry::TableIncrement;

constexpr std::string_view kUsage =
    "Usage: vortalis-report circular [--freq TEXT] [--throat TEXT] [--unit mm|inch]\n"
    "                                [--size radius|diameter] [--increment VALUE]\n"
    "                                [--decimal-separator .|,] [--quick] [--output FILE]\n"
    "       vortalis-report rectangular [--freq TEXT] [--side1 TEXT] [--side2 TEXT]\n"
    "                                [--flat-mouth TEXT] [--location 1|2|4|8] [--unit mm|inch]\n"
    "                                [--increment VALUE] [--decimal-separator .|,] [--quick]\n"
    "                                [--output FILE]\n"
    "       vortalis-report circular|rectangular [horn options]\n"
    "                                [--export csv|dxf|svg FILE] [--template FILE]\n"
    "                                [--step VALUE] [--mouth-limit KIND=VALUE]\n"
    "                                [--paper a4|a3|letter]\n"
    "       vortalis-report --help\n";

constexpr std::string_view kHelpBody =
    "\n"
    "Writes the report of a tractrix horn, as the report window of Vortalis would\n"
    "save it (lines ended by CR LF), to standard output or to FILE. Every option\n"
    "starts at the initial state of the matching settings dialog, so\n"
    "'vortalis-report circular' gives the report of the default circular horn.\n"
    "Number texts are checked by the dialogs' rules and echoed in the report as typed.\n"
    "\n"
    "Options of both subcommands:\n"
    "  --freq TEXT        cut-off frequency in Hz, 1 to 25000 (circular 300, rectangular 32)\n"
    "                       vortalis-report circular --freq 150\n"
    "  --unit mm|inch     unit of every length, entered and reported (mm)\n"
    "                       vortalis-report circular --unit inch --throat 0.5\n"
    "  --increment VALUE  table step, the value on the dialog's increment button:\n"
    "                     1, 10 or 100 in mm; 0.01, 0.1 or 1 in inch\n"
    "                     (circular 1 or 0.01, rectangular 10 or 0.1)\n"
    "                       vortalis-report circular --increment 100\n"
    "  --decimal-separator .|,\n"
    "                     the separator read in number texts and written in the report (.)\n"
    "                       vortalis-report circular --decimal-separator , --throat 12,5\n"
    "  --quick            print only the quick-test result (horn length and mouth size)\n"
    "                       vortalis-report rectangular --quick --location 4\n"
    "  --output FILE      write to FILE (short form: -o FILE) instead of standard\n"
    "                     output; FILE is replaced only when the whole report was written\n"
    "                       vortalis-report circular --freq 60 --output horn60.txt\n"
    "  --help             show this text\n"
    "\n"
    "Circular horn:\n"
    "  --throat TEXT      throat radius or diameter in the chosen unit (10)\n"
    "                       vortalis-report circular --throat 25.4\n"
    "  --size radius|diameter\n"
    "                     whether the throat and the size column are radii or diameters (radius)\n"
    "                       vortalis-report circular --size diameter --throat 20\n"
    "\n"
    "Rectangular horn:\n"
    "  --side1 TEXT       throat distance between sides 1A and 1B (40)\n"
    "  --side2 TEXT       throat distance between sides 2A and 2B (50)\n"
    "                       vortalis-report rectangular --side1 60 --side2 80\n"
    "  --flat-mouth TEXT  make sides 1A and 1B flat, with TEXT as their mouth distance\n"
    "                       vortalis-report rectangular --flat-mouth 3000 --location 8\n"
    "  --location 1|2|4|8 where the mouth stands: 1 free air, 2 against one wall,\n"
    "                     4 against two walls (floor and one wall), 8 against three\n"
    "                     walls (floor and two walls) (1)\n"
    "                       vortalis-report rectangular --location 2\n"
    "\n"
    "Drawings, written instead of the report (one --export and one --template may\n"
    "be given together; --output and --quick may not be given with them):\n"
    "  --export csv|dxf|svg FILE\n"
    "                     write the horn's profile to FILE: a CSV table (the report's\n"
    "                     columns, '.' decimals, comma separated), a DXF drawing in\n"
    "                     the chosen unit, or an SVG drawing at full size in millimetres\n"
    "                       vortalis-report circular --freq 60 --export dxf horn60.dxf\n"
    "  --template FILE    a PDF of the wall's curve at full size, tiled over as many\n"
    "                     pages as it needs, with overlap marks, the page's place\n"
    "                     (\"row 2, column 3\") and a check ruler on every page;\n"
    "                     prints the number of pages\n"
    "                       vortalis-report rectangular --flat-mouth 900 --template horn.pdf\n"
    "  --step VALUE       distance between the profile's points in the chosen unit,\n"
    "                     any length above 0, for example a board thickness\n"
    "                     (the table increment)\n"
    "                       vortalis-report circular --export csv horn.csv --step 18\n"
    "  --mouth-limit radius=VALUE|side1=VALUE|length=VALUE\n"
    "                     end the drawing where the radius (circular), the distance\n"
    "                     between sides 1A and 1B (rectangular) or the distance from\n"
    "                     the throat reaches VALUE (the whole horn)\n"
    "                       vortalis-report circular --freq 40 --throat 25 \\\n"
    "                         --template bass.pdf --mouth-limit radius=300\n"
    "  --paper a4|a3|letter\n"
    "                     the template's paper, 10 mm margins, turned to need fewer\n"
    "                     pages (a4)\n"
    "                       vortalis-report circular --template horn.pdf --paper letter\n"
    "\n"
    "Files are replaced only when complete. No display is needed: SVG and PDF\n"
    "are drawn off screen.\n"
    "\n"
    "While a long table is computed and standard error is a terminal, a progress bar\n"
    "is shown there. Ctrl+C stops the table: the mouth row and the abort note still\n"
    "follow, and the report is written.\n"
    "\n"
    "Exit status: 0 done; 1 input refused (the dialog's message on standard error),\n"
    "a drawing refused, or the output could not be written; 2 usage error; 130\n"
    "stopped by Ctrl+C.\n";

enum class OptionId {
  Freq,
  Throat,
  Unit,
  Size,
  Increment,
  Separator,
  Quick,
  Output,
  Side1,
  Side2,
  FlatMouth,
  Location,
  Export,
  Template,
  Step,
  MouthLimit,
  Paper
};

struct OptionSpec {
  std::string_view name;
  OptionId id;
  bool takesValue;
  bool circular;
  bool rectangular;
};

constexpr std::array<OptionSpec, 17> kOptions{{
    {"--freq", OptionId::Freq, true, true, true},
    {"--throat", OptionId::Throat, true, true, false},
    {"--unit", OptionId::Unit, true, true, true},
    {"--size", OptionId::Size, true, true, false},
    {"--increment", OptionId::Increment, true, true, true},
    {"--decimal-separator", OptionId::Separator, true, true, true},
    {"--quick", OptionId::Quick, false, true, true},
    {"--output", OptionId::Output, true, true, true},
    {"--side1", OptionId::Side1, true, false, true},
    {"--side2", OptionId::Side2, true, false, true},
    {"--flat-mouth", OptionId::FlatMouth, true, false, true},
    {"--location", OptionId::Location, true, false, true},
    {"--export", OptionId::Export, true, true, true},
    {"--template", OptionId::Template, true, true, true},
    {"--step", OptionId::Step, true, true, true},
    {"--mouth-limit", OptionId::MouthLimit, true, true, true},
    {"--paper", OptionId::Paper, true, true, true},
}};

const OptionSpec* FindOption(std::string_view name, HornKind kind) {
  for (const OptionSpec& spec : kOptions) {
    if (spec.name != name) continue;
    const bool allowed = kind == HornKind::Circular ? spec.circular : spec.rectangular;
    return allowed ? &spec : nullptr;
  }
  return nullptr;
}

std::string_view KindName(HornKind kind) {
  return kind == HornKind::Circular ? "circular" : "rectangular";
}

UsageError BadChoice(std::string_view option, std::string_view value, std::string_view choices) {
  return {"invalid value '" + Printable(value) + "' for " + std::string(option) + " (choose " +
          std::string(choices) + ")"};
}

// The increment button whose caption is `value` in `unit`; the captions are
// also accepted with the chosen decimal separator.
std::optional<TableIncrement> IncrementButton(std::string_view value, LengthUnit unit,
                                              const geometry::Separators& separators) {
  constexpr std::array<std::string_view, 3> kMillimetre{"1", "10", "100"};
  constexpr std::array<std::string_view, 3> kInch{"0.01", "0.1", "1"};
  constexpr std::array<TableIncrement, 3> kButtons{TableIncrement::T1, TableIncrement::T10,
                                                   TableIncrement::T100};
  const auto& captions = unit == LengthUnit::Millimetre ? kMillimetre : kInch;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    std::string caption(captions[i]);
    if (value == caption) return kButtons[i];
    const std::size_t dot = caption.find('.');
    if (dot != std::string::npos) caption.replace(dot, 1, separators.decimal);
    if (value == caption) return kButtons[i];
  }
  return std::nullopt;
}

std::optional<long double> PositiveLength(std::string_view text,
                                         const geometry::Separators& separators) {
  const auto value = geometry::ParseNumber(text, separators);
  if (!value || !(*value > 0.0L) || !std::isfinite(*value)) return std::nullopt;
  return value;
}

// The drawing options, once the unit and the decimal separator are known.
std::optional<UsageError> ReadDrawingOptions(ToolOptions& options,
                                             std::optional<std::string_view> exportText,
                                             std::optional<std::string_view> stepText,
                                             std::optional<std::string_view> limitText,
                                             std::optional<std::string_view> paperText) {
  DrawingOptions& drawings = options.drawings;
  if (exportText) {
    constexpr std::array<std::pair<std::string_view, DrawingFormat>, 3> kFormats{{
        {"csv", DrawingFormat::Csv},
        {"dxf", DrawingFormat::Dxf},
        {"svg", DrawingFormat::Svg},
    }};
    for (const auto& [name, format] : kFormats) {
      if (*exportText == name) drawings.format = format;
    }
    if (!drawings.format) return BadChoice("--export", *exportText, "csv, dxf or svg");
  }
  if (stepText) {
    drawings.step = PositiveLength(*stepText, options.separators);
    if (!drawings.step) return BadChoice("--step", *stepText, "a length above 0");
  }
  if (limitText) {
    const bool circular = options.kind == HornKind::Circular;
    const std::string_view choices =
        circular ? "radius=VALUE or length=VALUE" : "side1=VALUE or length=VALUE";
    const std::size_t equals = limitText->find('=');
    const std::string_view kind = limitText->substr(0, equals);
    report::MouthLimit& limit = drawings.mouthLimit;
    if (kind == "length") {
      limit.kind = report::MouthLimitKind::Length;
    } else if (kind == (circular ? "radius" : "side1")) {
      limit.kind = circular ? report::MouthLimitKind::Radius : report::MouthLimitKind::Side1;
    }
    const auto value = equals == std::string_view::npos
                           ? std::nullopt
                           : PositiveLength(limitText->substr(equals + 1), options.separators);
    if (limit.kind == report::MouthLimitKind::None || !value)
      return BadChoice("--mouth-limit", *limitText, choices);
    limit.value = *value;
  }
  if (paperText) {
    if (*paperText == "a4") {
      drawings.paper = Paper::A4;
    } else if (*paperText == "a3") {
      drawings.paper = Paper::A3;
    } else if (*paperText == "letter") {
      drawings.paper = Paper::Letter;
    } else {
      return BadChoice("--paper", *paperText, "a4, a3 or letter");
    }
  }

  if (drawings.Requested()) {
    if (options.outputPath || options.quick) {
      return UsageError{std::string(options.quick ? "--quick" : "--output") +
                        " cannot be given with --export or --template, which write drawings "
                        "instead of the report"};
    }
    if (paperText && !drawings.templatePath) return UsageError{"--paper needs --template"};
  } else if (stepText || limitText || paperText) {
    return UsageError{std::string(stepText ? "--step" : limitText ? "--mouth-limit" : "--paper") +
                      " needs --export or --template"};
  }
  return std::nullopt;
}

}  // namespace

std::string Printable(std::string_view text) {
  constexpr std::size_t kLongest = 60;
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    }
  }
  if (text.size() > kLongest) out += "...";
  return out;
}

std::string_view UsageText() { return kUsage; }

std::string_view HelpText() {
  static const std::string help = std::string(kUsage) + std::string(kHelpBody);
  return help;
}

ParsedCommand ParseCommandLine(const std::vector<std::string_view>& args) {
  if (args.empty()) return UsageError{"missing subcommand: circular or rectangular"};
  const std::string_view first = args[0];
  if (first == "--help" || first == "-h" || first == "help") return HelpRequest{};
  ToolOptions options;
  if (first == "circular") {
    options.kind = HornKind::Circular;
  } else if (first == "rectangular") {
    options.kind = HornKind::Rectangular;
  } else {
    return UsageError{"unknown subcommand '" + Printable(first) +
                      "' (choose circular or rectangular)"};
  }

  // Choices are checked after every option was read: the increment depends on the unit.
  std::optional<std::string_view> unitText, sizeText, incrementText, separatorText, locationText;
  std::optional<std::string_view> exportText, stepText, limitText, paperText;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") return HelpRequest{};
    const std::size_t equals = arg.find('=');
    // -o is the usual short form of --output.
    const std::string_view name = arg == "-o" ? std::string_view("--output") : arg.substr(0, equals);
    const OptionSpec* spec = name.starts_with("--") ? FindOption(name, options.kind) : nullptr;
    if (spec == nullptr) {
      if (!arg.starts_with("-")) return UsageError{"unexpected argument '" + Printable(arg) + "'"};
      return UsageError{"unknown option '" + Printable(name) + "' for " +
                        std::string(KindName(options.kind))};
    }
    std::string_view value;
    if (!spec->takesValue) {
      if (equals != std::string_view::npos)
        return UsageError{"option " + std::string(spec->name) + " takes no value"};
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return UsageError{"option " + std::string(spec->name) + " needs a value"};
    }

    switch (spec->id) {
      case OptionId::Freq:
        options.circular.frequencyText = value;
        options.rectangular.frequencyText = value;
        break;
      case OptionId::Throat:
        options.circular.throatText = value;
        break;
      case OptionId::Side1:
        options.rectangular.side1Text = value;
        break;
      case OptionId::Side2:
        options.rectangular.side2Text = value;
        break;
      case OptionId::FlatMouth:
        options.rectangular.flatSides = true;
        options.rectangular.mouthText = value;
        break;
      case OptionId::Quick:
        options.quick = true;
        break;
      case OptionId::Output:
        if (value.empty()) return UsageError{"option --output needs a file name"};
        options.outputPath = std::string(value);
        break;
      case OptionId::Unit:
        unitText = value;
        break;
      case OptionId::Size:
        sizeText = value;
        break;
      case OptionId::Increment:
        incrementText = value;
        break;
      case OptionId::Separator:
        separatorText = value;
        break;
      case OptionId::Location:
        locationText = value;
        break;
      case OptionId::Export:
        // One drawing file per run: a second one would silently replace the first.
        if (exportText) return UsageError{"option --export may be given only once"};
        // The format, then the file: two values.
        if (i + 1 >= args.size() || args[i + 1].empty())
          return UsageError{"option --export needs a format and a file name"};
        exportText = value;
        options.drawings.exportPath = std::string(args[++i]);
        break;
      case OptionId::Template:
        if (options.drawings.templatePath)
          return UsageError{"option --template may be given only once"};
        if (value.empty()) return UsageError{"option --template needs a file name"};
        options.drawings.templatePath = std::string(value);
        break;
      case OptionId::Step:
        stepText = value;
        break;
      case OptionId::MouthLimit:
        limitText = value;
        break;
      case OptionId::Paper:
        paperText = value;
        break;
    }
  }

  LengthUnit unit = LengthUnit::Millimetre;
  if (unitText) {
    if (*unitText == "mm") {
      unit = LengthUnit::Millimetre;
    } else if (*unitText == "inch") {
      unit = LengthUnit::Inch;
    } else {
      return BadChoice("--unit", *unitText, "mm or inch");
    }
  }
  options.circular.unit = unit;
  options.rectangular.unit = unit;

  if (separatorText) {
    if (*separatorText == ".") {
      options.separators = {".", ","};
    } else if (*separatorText == ",") {
      options.separators = {",", "."};
    } else {
      return BadChoice("--decimal-separator", *separatorText, ". or ,");
    }
  }

  if (sizeText) {
    if (*sizeText == "radius") {
      options.circular.size = SizeMode::Radius;
    } else if (*sizeText == "diameter") {
      options.circular.size = SizeMode::Diameter;
    } else {
      return BadChoice("--size", *sizeText, "radius or diameter");
    }
  }

  if (locationText) {
    constexpr std::array<std::pair<std::string_view, MouthLocation>, 4> kLocations{{
        {"1", MouthLocation::FreeAir},
        {"2", MouthLocation::OneWall},
        {"4", MouthLocation::TwoWalls},
        {"8", MouthLocation::ThreeWalls},
    }};
    bool found = false;
    for (const auto& [text, location] : kLocations) {
      if (*locationText == text) {
        options.rectangular.location = location;
        found = true;
      }
    }
    if (!found) return BadChoice("--location", *locationText, "1, 2, 4 or 8");
  }

  if (incrementText) {
    const auto button = IncrementButton(*incrementText, unit, options.separators);
    if (!button) {
      return BadChoice("--increment", *incrementText,
                       unit == LengthUnit::Millimetre ? "1, 10 or 100 with --unit mm"
                                                      : "0.01, 0.1 or 1 with --unit inch");
    }
    options.circular.increment = *button;
    options.rectangular.increment = *button;
  }
  if (auto problem = ReadDrawingOptions(options, exportText, stepText, limitText, paperText))
    return *problem;
  return options;
}

}  // namespace vortalis::cli
