#include "cli/option_table.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "buildkit/flat_kits.h"
#include "buildkit/staves.h"
#include "cli/impedance_tool.h"
#include "cli/options.h"
#include "files/profile_formats.h"
#include "geometry/number_text.h"
#include "report/report_input.h"

namespace vortalis::cli {

namespace {

using geometry::LengthUnit;
using report::CircularReportInput;
using report::RectangularReportInput;

template <typename Values>
std::vector<std::string> Names(const Values& values) {
  std::vector<std::string> names;
  for (const auto& value : values) names.push_back(ChoiceName(value));
  return names;
}

// One text when both dialogs start alike, else both.
std::string PerKind(const std::string& circular, const std::string& rectangular) {
  if (circular == rectangular) return circular;
  return "circular " + circular + ", rectangular " + rectangular;
}

std::string IncrementInitial(geometry::TableIncrement increment) {
  return std::string(geometry::IncrementCaption(increment, LengthUnit::Millimetre)) + " or " +
         geometry::IncrementCaption(increment, LengthUnit::Inch);
}

std::string IncrementHelp() {
  std::string captions;
  for (const LengthUnit unit : kUnits) {
    if (!captions.empty()) captions += "; ";
    captions += JoinChoices(IncrementChoices(unit)) + " in " + ChoiceName(unit);
  }
  return "table step, the value on the dialog's increment button:\n" + captions;
}

std::string MouthLimitValue() {
  std::string text;
  for (const MouthLimitWord& word : kMouthLimitWords)
    text += (text.empty() ? "" : "|") + std::string(word.word) + "=VALUE";
  return text;
}

// Lines of at most 60 characters, as the table's own help texts are written.
std::string Wrapped(const std::string& words) {
  constexpr std::size_t kLongest = 60;
  std::string text, line;
  std::size_t start = 0;
  while (start <= words.size()) {
    std::size_t end = words.find(' ', start);
    if (end == std::string::npos) end = words.size();
    const std::string word = words.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > kLongest) {
      text += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return text + line;
}

unsigned KindsOf(bool circularOnly) { return circularOnly ? kCircular : kBothKinds; }

// The rows of the build kits from their descriptions, each kit's option then
// its settings; a setting several kits share (--wall) is one row that
// explains each, one the table has already (--step) is not repeated. Their
// ids follow OptionId::FirstKit in the same order.
void AddKitRows(std::vector<OptionSpec>& table) {
  auto next = static_cast<std::size_t>(OptionId::FirstKit);
  const auto add = [&](std::string_view name, ValueKind value, std::string_view valueName,
                       unsigned kinds, std::string help, std::string initial,
                       std::string_view example) {
    table.push_back({static_cast<OptionId>(next++), name, "", value, std::string(valueName),
                     kinds, true, {}, std::move(help), std::move(initial), example});
  };
  const auto row = [&table](std::string_view name) -> OptionSpec* {
    for (OptionSpec& spec : table)
      if (spec.name == name) return &spec;
    return nullptr;
  };
  const auto ownHelp = [](std::string_view help, std::string_view unset, std::string_view kit) {
    return std::pair{std::string(help), unset.empty() ? std::string()
                                                      : std::string(unset) + " for " +
                                                            std::string(kit)};
  };
  for (const buildkit::KitUnit* unit : buildkit::kKitUnits) {
    add(unit->option, unit->valueName.find(' ') != std::string_view::npos ? ValueKind::TextAndFile
                                                                           : ValueKind::File,
        unit->valueName, KindsOf(unit->circularOnly), std::string(unit->help), "",
        unit->example);
    for (const buildkit::KitParameter* parameter : unit->parameters) {
      if (parameter->option.empty()) continue;
      if (buildkit::ParametersOf(*unit, parameter->option).front() != parameter) continue;
      if (OptionSpec* shared = row(parameter->option)) {
        if (shared->id < OptionId::FirstKit) continue;
        // Said once more for this kit, and the initial value named by kit.
        auto [help, initial] = ownHelp(parameter->help, parameter->unset, unit->option);
        shared->help = Wrapped(shared->help + ", or " + help);
        shared->kinds |= KindsOf(unit->circularOnly);
        if (!initial.empty())
          shared->initial += (shared->initial.empty() ? "" : ", ") + initial;
        continue;
      }
      // The initial value is named by kit once another kit shares the option.
      const bool shared = std::count_if(buildkit::kKitUnits.begin(), buildkit::kKitUnits.end(),
                                        [parameter](const buildkit::KitUnit* other) {
                                          return std::any_of(
                                              other->parameters.begin(), other->parameters.end(),
                                              [parameter](const buildkit::KitParameter* p) {
                                                return p->option == parameter->option;
                                              });
                                        }) > 1;
      auto [help, initial] = ownHelp(parameter->help, parameter->unset, unit->option);
      add(parameter->option, ValueKind::Text, parameter->valueName,
          KindsOf(unit->circularOnly), help, shared ? initial : std::string(parameter->unset),
          "");
    }
    if (const buildkit::KitParameterGroup* group = unit->group) {
      add(group->option, ValueKind::Text, group->valueName, KindsOf(group->circularOnly),
          std::string(group->help), std::string(group->unset), group->example);
    }
    if (const buildkit::KitChoice* choice = unit->choice) {
      add(choice->option, ValueKind::Choice, "", KindsOf(unit->circularOnly),
          std::string(choice->help), std::string(choice->unset), "");
      table.back().choices.assign(choice->words.begin(), choice->words.end());
    }
  }
}

std::vector<OptionSpec> MakeTable() {
  const CircularReportInput circular;
  const RectangularReportInput rectangular;
  const DrawingOptions drawings;
  std::vector<std::string> separators(kDecimalSeparators.begin(), kDecimalSeparators.end());
  std::vector<std::string> increments = IncrementChoices(LengthUnit::Millimetre);
  for (const std::string& caption : IncrementChoices(LengthUnit::Inch)) {
    if (std::find(increments.begin(), increments.end(), caption) == increments.end())
      increments.push_back(caption);
  }
  std::vector<std::string> formats;
  for (const report::ExportFormat format : report::kExportFormats)
    formats.push_back(ChoiceName(format));

  const ImpedanceOptions impedance;
  std::vector<std::string> loads;
  for (const acoustics::MouthLoad load : acoustics::kMouthLoads)
    loads.emplace_back(acoustics::MouthLoadName(load));

  using enum OptionId;
  using enum ValueKind;
  std::vector<OptionSpec> table{
      {Freq, "--freq", "", Text, "TEXT", kBothKinds, false, {},
       "cut-off frequency in Hz, 1 to 25000",
       PerKind(circular.frequencyText, rectangular.frequencyText),
       "vortalis-report circular --freq 150"},
      {Unit, "--unit", "", Choice, "", kBothKinds, false, Names(kUnits),
       "unit of every length, entered and reported",
       PerKind(ChoiceName(circular.unit), ChoiceName(rectangular.unit)),
       "vortalis-report circular --unit inch --throat 0.5"},
      {Increment, "--increment", "", Choice, "VALUE", kBothKinds, false, increments,
       IncrementHelp(),
       PerKind(IncrementInitial(circular.increment), IncrementInitial(rectangular.increment)),
       "vortalis-report circular --increment 100"},
      {Separator, "--decimal-separator", "", Choice, "", kBothKinds, false, separators,
       "the separator read in number texts and written in\n"
       "the report",
       geometry::Separators{}.decimal,
       "vortalis-report circular --decimal-separator , --throat 12,5"},
      {Quick, "--quick", "", None, "", kBothKinds, false, {},
       "print only the quick-test result (horn length and mouth\n"
       "size)",
       "",
       "vortalis-report rectangular --quick --location 4"},
      {Output, "--output", "-o", File, "FILE", kBothKinds, false, {},
       "write to FILE instead of standard output; FILE is replaced\n"
       "only when the whole report was written",
       "", "vortalis-report circular --freq 60 --output horn60.txt"},
      {Design, "--design", "", File, "FILE", kBothKinds, false, {},
       "take the horn and its settings from a design file\n"
       "(.vortalis, saved by the program or by --save-design); the\n"
       "subcommand may be left out, and options after --design\n"
       "override single values",
       "", "vortalis-report --design bass.vortalis --template bass.pdf"},
      {SaveDesign, "--save-design", "", File, "FILE", kBothKinds, false, {},
       "write the design of the options given to FILE; alone, the\n"
       "report is not written",
       "", "vortalis-report circular --freq 40 --throat 25 --save-design bass.vortalis"},
      {Help, "--help", "-h", None, "", kBothKinds, false, {}, "show this text and exit", "", ""},
      {Version, "--version", "-V", None, "", kBothKinds, false, {},
       "print the version and exit", "", ""},

      {Throat, "--throat", "", Text, "TEXT", kCircular, false, {},
       "throat radius or diameter in the chosen unit", circular.throatText,
       "vortalis-report circular --throat 25.4"},
      {Size, "--size", "", Choice, "", kCircular, false, Names(kSizeModes),
       "whether the throat and the size column are radii or\n"
       "diameters",
       ChoiceName(circular.size), "vortalis-report circular --size diameter --throat 20"},

      {Side1, "--side1", "", Text, "TEXT", kRectangular, false, {},
       "throat distance between sides 1A and 1B", rectangular.side1Text, ""},
      {Side2, "--side2", "", Text, "TEXT", kRectangular, false, {},
       "throat distance between sides 2A and 2B", rectangular.side2Text,
       "vortalis-report rectangular --side1 60 --side2 80"},
      {FlatMouth, "--flat-mouth", "", Text, "TEXT", kRectangular, false, {},
       "make sides 1A and 1B flat, with TEXT as their mouth\n"
       "distance",
       "",
       "vortalis-report rectangular --flat-mouth 3000 --location 8"},
      {Location, "--location", "", Choice, "", kRectangular, false, Names(kLocations),
       "where the mouth stands: 1 free air, 2 against one wall,\n"
       "4 against two walls (floor and one wall), 8 against three\n"
       "walls (floor and two walls)",
       ChoiceName(rectangular.location), "vortalis-report rectangular --location 2"},

      {Export, "--export", "", FormatAndFile, "FILE", kBothKinds, true, formats,
       "write the horn's profile to FILE: a CSV table (the report's\n"
       "columns, '.' decimals, comma separated), a DXF drawing in\n"
       "the chosen unit, or an SVG drawing at full size in\n"
       "millimetres",
       "", "vortalis-report circular --freq 60 --export dxf horn60.dxf"},
      {Template, "--template", "", File, "FILE", kBothKinds, true, {},
       "a PDF of the wall's curve at full size, tiled over as many\n"
       "pages as it needs, with overlap marks, the page's place\n"
       "(\"row 2, column 3\") and a check ruler on every page;\n"
       "prints the number of pages",
       "", "vortalis-report rectangular --flat-mouth 900 --template horn.pdf"},
      {Step, "--step", "", Text, "VALUE", kBothKinds, true, {},
       "distance between the profile's points in the chosen unit,\n"
       "any length above 0, for example a board thickness",
       "the table increment", "vortalis-report circular --export csv horn.csv --step 18"},
      {MouthLimit, "--mouth-limit", "", Text, MouthLimitValue(), kBothKinds, true, {},
       "end the drawing, the kit and the impedance's horn where\n"
       "the radius or the diameter (circular), the distance\n"
       "between sides 1A and 1B (rectangular) or the distance\n"
       "from the throat reaches VALUE",
       "the whole horn",
       "vortalis-report circular --freq 40 --throat 25 \\\n"
       "  --template bass.pdf --mouth-limit radius=300"},
      {OptionId::Paper, "--paper", "", Choice, "", kBothKinds, true, Names(kPapers),
       "the paper of the template and of a kit's PDF, 10 mm\nmargins, turned to need fewer pages",
       ChoiceName(drawings.paper), "vortalis-report circular --template horn.pdf --paper letter"},
      {Impedance, "--impedance", "", File, "FILE", kBothKinds, true, {},
       "write the throat impedance of the horn to FILE, a CSV table\n"
       "frequency_hz,resistance,reactance normalised to rho c / S\n"
       "at the throat, at frequencies evenly spaced on a log scale",
       "", "vortalis-report circular --freq 100 --impedance horn.csv"},
      {MouthLoad, "--mouth-load", "", Choice, "", kBothKinds, true, loads,
       "what the mouth radiates into: a piston in an infinite\n"
       "baffle, the open end of a free-standing pipe, or a\n"
       "pulsating sphere in the solid angle of the mouth's\n"
       "location (circular horns: free air)",
       acoustics::MouthLoadName(impedance.load),
       "vortalis-report rectangular --location 4 --impedance corner.csv \\\n"
       "  --mouth-load location"},
      {From, "--from", "", Text, "HZ", kBothKinds, true, {},
       "the lowest frequency in Hz of the impedance or response", "fc / 4", ""},
      {To, "--to", "", Text, "HZ", kBothKinds, true, {},
       "the highest frequency in Hz of the impedance or response", "16 fc",
       "vortalis-report circular --impedance horn.csv --from 100 --to 5000"},
      {PointsPerOctave, "--points-per-octave", "", Text, "N", kBothKinds, true, {},
       "frequencies an octave in the impedance or response table",
       std::to_string(impedance.pointsPerOctave), ""},
      {Response, "--response", "", File, "FILE", kBothKinds, true, {},
       "write the response of --driver on the horn to FILE, a CSV\n"
       "table: SPL at 1 m, electrical impedance, excursion, group\n"
       "delay (and the highest SPL by Xmax and Pe when given)",
       "", "vortalis-report circular --freq 60 --throat 150 --response r.csv \\\n"
       "  --driver woofer.txt --rear-chamber 60"},
      {Driver, "--driver", "", File, "FILE", kBothKinds, true, {},
       "the driver: one key = value a line, keys name re le bl mms\n"
       "cms rms sd fs qes qms vas xmax pe (ohm, mH, T m, g, mm/N,\n"
       "kg/s, cm2, Hz, litres, mm, W); without it, the driver of\n"
       "--design; with --save-design, kept in the design", "", ""},
      {RearChamber, "--rear-chamber", "", Text, "LITRES", kBothKinds, true, {},
       "the sealed chamber behind the diaphragm", "none", ""},
      {ThroatChamber, "--throat-chamber", "", Text, "LITRES", kBothKinds, true, {},
       "the chamber between the diaphragm and the throat", "none", ""},
      {Voltage, "--voltage", "", Text, "V", kBothKinds, true, {},
       "the RMS voltage driving the response", "2.83", ""},
      {Losses, "--losses", "", Choice, "", kBothKinds, true, {"on", "off"},
       "visco-thermal losses at the horn's walls in the impedance\n"
       "(a wide-tube model); a note says when they change it by\n"
       "more than 5 %",
       "off", "vortalis-report circular --throat 0.5 --impedance z.csv --losses on"},
  };
  AddKitRows(table);
  // The tool keeps each option's text at its id: one row for each id.
  std::vector<bool> seen(table.size());
  for (const OptionSpec& spec : table) {
    const auto at = static_cast<std::size_t>(spec.id);
    if (at >= seen.size() || seen[at]) throw std::logic_error("OptionId rows are not one each");
    seen[at] = true;
  }
  return table;
}

}  // namespace

const std::vector<OptionSpec>& OptionTable() {
  static const std::vector<OptionSpec> table = MakeTable();
  return table;
}

const OptionSpec* FindOption(std::string_view name) {
  if (name.empty()) return nullptr;
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.name == name || spec.shortName == name) return &spec;
  }
  return nullptr;
}

std::string ChoiceName(geometry::LengthUnit unit) { return geometry::UnitName(unit); }

std::string ChoiceName(geometry::SizeMode size) {
  return size == geometry::SizeMode::Radius ? "radius" : "diameter";
}

std::string ChoiceName(geometry::MouthLocation location) {
  return std::to_string(static_cast<int>(location));
}

std::string ChoiceName(Paper paper) {
  switch (paper) {
    case Paper::A4:
      return "a4";
    case Paper::A3:
      return "a3";
    case Paper::Letter:
      return "letter";
  }
  return "a4";
}

std::string ChoiceName(report::ExportFormat format) {
  return std::string(files::FormatName(format));
}

std::vector<std::string> IncrementChoices(geometry::LengthUnit unit) {
  std::vector<std::string> captions;
  for (const geometry::TableIncrement increment : kIncrements)
    captions.push_back(geometry::IncrementCaption(increment, unit));
  return captions;
}

std::string JoinChoices(const std::vector<std::string>& choices) {
  std::string text;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) text += i + 1 == choices.size() ? " or " : ", ";
    text += choices[i];
  }
  return text;
}

}  // namespace vortalis::cli
