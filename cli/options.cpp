#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "output/output_file.h"

#include "buildkit/flat_kits.h"
#include "files/profile_formats.h"

namespace vortalis::cli {

namespace {

using geometry::LengthUnit;
using report::CircularReportInput;
using report::RectangularReportInput;

// The value texts as typed; choices are read once every option is known, since
// the increment depends on the unit and the separator.
// Indexed by OptionId: one for each row of the table.
using OptionTexts = std::vector<std::optional<std::string_view>>;

const OptionSpec& Spec(OptionId id) {
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.id == id) return spec;
  }
  return OptionTable().front();
}

UsageError BadValue(OptionId id, std::string_view value, std::string choices = {}) {
  const OptionSpec& spec = Spec(id);
  if (choices.empty()) choices = JoinChoices(spec.choices);
  return {"invalid value '" + Printable(value) + "' for " + std::string(spec.name) + " (choose " +
          choices + ")"};
}

template <typename Values>
std::optional<typename Values::value_type> Choose(const Values& values, std::string_view text) {
  for (const auto& value : values) {
    if (ChoiceName(value) == text) return value;
  }
  return std::nullopt;
}

// A value taken from the next argument that is an option was most likely
// forgotten: "--export csv --quick" must not write a file named --quick.
std::optional<UsageError> ForgottenValue(const OptionSpec& spec, std::string_view arg,
                                         std::string_view what) {
  if (!arg.starts_with("--") && FindOption(arg) == nullptr) return std::nullopt;
  std::string message = "option " + std::string(spec.name) + " needs " + std::string(what) +
                        ", but '" + Printable(arg) + "' looks like an option";
  if (what.ends_with("file name")) message += " (write ./" + Printable(arg) + " for such a file)";
  return UsageError{message};
}

// The increment button whose caption is `value` in `unit`; the captions are
// also accepted with the chosen decimal separator.
std::optional<geometry::TableIncrement> IncrementButton(std::string_view value, LengthUnit unit,
                                                        const geometry::Separators& separators) {
  for (const geometry::TableIncrement increment : kIncrements) {
    std::string caption = geometry::IncrementCaption(increment, unit);
    if (value == caption) return increment;
    const std::size_t dot = caption.find('.');
    if (dot != std::string::npos) caption.replace(dot, 1, separators.decimal);
    if (value == caption) return increment;
  }
  return std::nullopt;
}

std::optional<long double> PositiveLength(std::string_view text,
                                         const geometry::Separators& separators) {
  const auto value = geometry::ParseNumber(text, separators);
  if (!value || !(*value > 0.0L) || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::optional<UsageError> CheckOutputs(const ToolOptions& options) {
  std::vector<std::pair<OptionId, std::string>> outputs;
  if (options.outputPath) outputs.emplace_back(OptionId::Output, *options.outputPath);
  if (options.drawings.format) outputs.emplace_back(OptionId::Export, options.drawings.exportPath);
  if (options.drawings.templatePath)
    outputs.emplace_back(OptionId::Template, *options.drawings.templatePath);
  if (options.impedance) outputs.emplace_back(OptionId::Impedance, options.impedance->path);
  if (options.response) outputs.emplace_back(OptionId::Response, options.response->path);
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (std::size_t j = i + 1; j < outputs.size(); ++j) {
      if (output::SameDestination(outputs[i].second, outputs[j].second)) {
        return UsageError{std::string(Spec(outputs[i].first).name) + " and " +
                          std::string(Spec(outputs[j].first).name) + " name the same file '" +
                          Printable(outputs[j].second) + "'"};
      }
    }
  }
  return std::nullopt;
}

// The drawing options, once the unit and the decimal separator are known.
std::optional<UsageError> ReadDrawingOptions(ToolOptions& options, const OptionTexts& texts,
                                             unsigned kind) {
  DrawingOptions& drawings = options.drawings;
  const auto text = [&texts](OptionId id) { return texts[static_cast<std::size_t>(id)]; };
  if (const auto format = text(OptionId::Export)) {
    drawings.format = files::FormatFromName(*format);
    if (!drawings.format) return BadValue(OptionId::Export, *format);
  }
  const auto stepText = text(OptionId::Step);
  if (stepText) {
    drawings.step = PositiveLength(*stepText, options.separators);
    if (!drawings.step) return BadValue(OptionId::Step, *stepText, "a length above 0");
  }
  const auto limitText = text(OptionId::MouthLimit);
  if (limitText) {
    std::vector<std::string> choices;
    for (const MouthLimitWord& word : kMouthLimitWords) {
      if ((word.kinds & kind) != 0) choices.push_back(std::string(word.word) + "=VALUE");
    }
    const std::size_t equals = limitText->find('=');
    for (const MouthLimitWord& word : kMouthLimitWords) {
      if ((word.kinds & kind) != 0 && limitText->substr(0, equals) == word.word)
        drawings.mouthLimit.kind = word.kind;
    }
    const auto value = equals == std::string_view::npos
                           ? std::nullopt
                           : PositiveLength(limitText->substr(equals + 1), options.separators);
    if (drawings.mouthLimit.kind == report::MouthLimitKind::None || !value)
      return BadValue(OptionId::MouthLimit, *limitText, JoinChoices(choices));
    drawings.mouthLimit.value = *value;
    if (options.impedance) options.impedance->mouthLimit = drawings.mouthLimit;
    if (options.response) options.response->sweep.mouthLimit = drawings.mouthLimit;
  }
  const auto paperText = text(OptionId::Paper);
  if (paperText) {
    const auto paper = Choose(kPapers, *paperText);
    if (!paper) return BadValue(OptionId::Paper, *paperText);
    drawings.paper = *paper;
  }

  if (auto clash = CheckOutputs(options)) return clash;
  if (drawings.Requested()) {
    if (options.outputPath || options.quick) {
      return UsageError{std::string(options.quick ? "--quick" : "--output") +
                        " cannot be given with --export or --template, which write drawings "
                        "instead of the report"};
    }
    if (paperText && !drawings.templatePath) return UsageError{"--paper needs --template"};
  } else if (options.kit) {
    if (paperText && options.kit->unit == &buildkit::SolidKit::kUnit)
      return UsageError{"--paper needs --template or a flat kit (its .pdf file)"};
    options.kit->mouthLimit = drawings.mouthLimit;
    options.kit->paper = drawings.paper;
    if (stepText && std::ranges::none_of(options.kit->unit->parameters,
                                         [](const auto* each) { return each->option == "--step"; }))
      return UsageError{"--step needs --export, --template or --sectors"};
  } else if ((stepText || paperText) && !options.saveDesignPath) {
    return UsageError{std::string(stepText ? "--step" : "--paper") +
                      " needs --export or --template"};
  } else if (limitText && !options.impedance && !options.response && !options.saveDesignPath) {
    return UsageError{"--mouth-limit needs --export, --template, --impedance or --response"};
  }
  return std::nullopt;
}

std::optional<int> WholeNumber(std::string_view text, const geometry::Separators& separators) {
  constexpr long double kLargest = 1000000.0L;
  const auto value = geometry::ParseNumber(text, separators);
  if (!value || !(*value >= 0.0L && *value <= kLargest) || *value != std::floor(*value))
    return std::nullopt;
  return static_cast<int>(*value);
}

// The impedance's settings, once the decimal separator is known.
std::optional<UsageError> ReadImpedanceOptions(ToolOptions& options, const OptionTexts& texts) {
  const auto text = [&texts](OptionId id) { return texts[static_cast<std::size_t>(id)]; };
  if (!options.impedance && !options.response) {
    // A design keeps the settings for later runs that ask for the impedance.
    if (options.saveDesignPath) return std::nullopt;
    for (const OptionId id :
         {OptionId::MouthLoad, OptionId::From, OptionId::To, OptionId::PointsPerOctave,
          OptionId::Losses}) {
      if (text(id))
        return UsageError{std::string(Spec(id).name) + " needs --impedance or --response"};
    }
    return std::nullopt;
  }
  if (options.outputPath || options.quick) {
    const char* file = options.impedance ? "--impedance" : "--response";
    return UsageError{std::string(options.quick ? "--quick" : "--output") +
                      " cannot be given with " + file + ", which writes the " + (file + 2) +
                      " instead of the report"};
  }
  // One sweep for both files.
  ImpedanceOptions& impedance = options.impedance ? *options.impedance : options.response->sweep;
  if (const auto load = text(OptionId::MouthLoad)) {
    const auto chosen = acoustics::MouthLoadNamed(*load);
    if (!chosen) return BadValue(OptionId::MouthLoad, *load);
    impedance.load = *chosen;
  }
  for (const auto& [id, end] : {std::pair{OptionId::From, &impedance.from},
                                std::pair{OptionId::To, &impedance.to}}) {
    if (const auto value = text(id)) {
      *end = PositiveLength(*value, options.separators);
      if (!*end) return BadValue(id, *value, "a frequency above 0");
    }
  }
  if (const auto losses = text(OptionId::Losses)) {
    if (*losses != "on" && *losses != "off") return BadValue(OptionId::Losses, *losses);
    impedance.losses = *losses == "on" ? acoustics::WallLosses::On : acoustics::WallLosses::Off;
  }
  if (const auto points = text(OptionId::PointsPerOctave)) {
    constexpr int kMostPoints = 1000;
    const auto value = WholeNumber(*points, options.separators);
    if (!value || *value < 1 || *value > kMostPoints)
      return BadValue(OptionId::PointsPerOctave, *points, "a whole number from 1 to 1000");
    impedance.pointsPerOctave = *value;
  }
  if (options.impedance && options.response) {
    options.response->sweep = impedance;
    options.response->sweep.path.clear();
  }
  return std::nullopt;
}

// The response's own settings: the driver, the chambers and the voltage.
std::optional<UsageError> ReadResponseOptions(ToolOptions& options, const OptionTexts& texts,
                                              const std::optional<driver::DriverInput>& designed) {
  using enum OptionId;
  const auto text = [&texts](OptionId id) { return texts[static_cast<std::size_t>(id)]; };
  if (!options.response) {
    // A design keeps the driver and the chambers for later runs that ask for the response.
    if (options.saveDesignPath) return std::nullopt;
    for (const OptionId id : {OptionId::Driver, RearChamber, ThroatChamber, Voltage}) {
      if (text(id)) return UsageError{std::string(Spec(id).name) + " needs --response"};
    }
    return std::nullopt;
  }
  ResponseOptions& response = *options.response;
  const auto driverPath = text(OptionId::Driver);
  if (driverPath && !driverPath->empty()) {
    response.driverPath = std::string(*driverPath);
  } else if (designed && !driverPath) {
    response.driver = designed;
  } else {
    return UsageError{"--response needs --driver FILE"};
  }
  for (const auto& [id, value] : {std::pair{RearChamber, &response.rearChamber},
                                  std::pair{ThroatChamber, &response.throatChamber},
                                  std::pair{Voltage, &response.voltage}}) {
    if (const auto typed = text(id)) {
      *value = PositiveLength(*typed, options.separators);
      if (!*value)
        return BadValue(id, *typed, id == Voltage ? "a voltage above 0" : "litres above 0");
    }
  }
  return std::nullopt;
}

// The values of a flag group as typed: OD,THICKNESS[,BOLT_CIRCLE,COUNT,HOLE],
// ';' between them when ',' is the decimal separator; none for another count.
std::vector<std::string_view> GroupValues(const buildkit::KitParameterGroup& group,
                                          std::string_view text,
                                          const geometry::Separators& separators) {
  const char between = separators.decimal == "," ? ';' : ',';
  std::vector<std::string_view> values;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(between, start);
    values.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (values.size() != group.leading && values.size() != group.parameters.size()) return {};
  return values;
}

// "OD,THICKNESS or OD,THICKNESS,BOLT_CIRCLE,COUNT,HOLE", with ';' for a ',' separator.
std::string GroupSyntax(const buildkit::KitParameterGroup& group,
                        const geometry::Separators& separators) {
  std::string all(group.valueName);
  std::erase(all, '[');
  std::erase(all, ']');
  std::size_t end = 0;
  for (std::size_t i = 0; i < group.leading; ++i) end = all.find(',', end + (i > 0 ? 1 : 0));
  std::string text = all.substr(0, end) + " or " + all;
  if (separators.decimal == ",") std::replace(text.begin(), text.end(), ',', ';');
  return text;
}

// One build kit instead of the report, with the settings that belong to it:
// the kits' descriptions say which options each takes, and every value is
// checked by its parameter's own rule.
std::optional<UsageError> ReadKitOptions(ToolOptions& options, const OptionTexts& texts,
                                         const std::string& kitPath) {
  const auto text = [&texts](std::string_view option) -> std::optional<std::string_view> {
    const OptionSpec* spec = FindOption(option);
    return spec ? texts[static_cast<std::size_t>(spec->id)] : std::nullopt;
  };
  const auto name = [](std::string_view option) { return std::string(option); };
  const buildkit::KitUnit* chosen = nullptr;
  for (const buildkit::KitUnit* unit : buildkit::kKitUnits) {
    if (!text(unit->option)) continue;
    if (chosen)
      return UsageError{name(chosen->option) + " and " + name(unit->option) +
                        " cannot be given together"};
    chosen = unit;
  }
  // A kit's own setting (not one the drawings share) given without the kit.
  for (const OptionSpec& setting : OptionTable()) {
    if (setting.id < OptionId::FirstKit || !text(setting.name)) continue;
    std::vector<std::string> kits;
    bool taken = false;
    for (const buildkit::KitUnit* unit : buildkit::kKitUnits) {
      bool takes = (unit->group && unit->group->option == setting.name) ||
                   (unit->choice && unit->choice->option == setting.name);
      for (const buildkit::KitParameter* parameter : unit->parameters)
        takes = takes || parameter->option == setting.name;
      if (!takes) continue;
      kits.push_back(name(unit->option));
      taken = taken || unit == chosen;
    }
    if (!kits.empty() && !taken) return UsageError{name(setting.name) + " needs " + JoinChoices(kits)};
  }
  if (!chosen) return std::nullopt;
  if (options.outputPath || options.quick || text("--export") || options.drawings.templatePath ||
      options.impedance || options.response) {
    return UsageError{name(chosen->option) +
                      " cannot be given with --output, --quick, --export, --template, "
                      "--impedance or --response: a build kit is written instead of them"};
  }
  const auto& seps = options.separators;
  KitOptions kit;
  kit.unit = chosen;
  // "N FILE": the option carries the first parameter, the file follows it.
  kit.path = chosen->valueName == "FILE" ? std::string(*text(chosen->option)) : kitPath;
  for (const buildkit::KitParameter* parameter : chosen->parameters) {
    const std::string_view option = buildkit::OptionOf(*chosen, *parameter);
    const std::vector<const buildkit::KitParameter*> together =
        buildkit::ParametersOf(*chosen, option);
    if (together.front() != parameter) continue;  // read with the first of its option
    const auto typed = text(option);
    if (!typed) {
      if (parameter->unset.empty()) return UsageError{name(chosen->option) + " needs " + name(option)};
      continue;
    }
    try {
      const std::vector<long double> values = buildkit::CheckedList(together, *typed, seps);
      for (std::size_t i = 0; i < together.size(); ++i)
        kit.values.given.emplace_back(together[i], values[i]);
    } catch (const buildkit::KitError& e) {
      return UsageError{"invalid value '" + Printable(*typed) + "' for " + name(option) + ": " +
                        e.what()};
    }
  }
  if (const buildkit::KitParameterGroup* group = chosen->group; group && text(group->option)) {
    const std::string_view typed = *text(group->option);
    const std::vector<std::string_view> given = GroupValues(*group, typed, seps);
    if (given.empty()) return BadValue(FindOption(group->option)->id, typed, GroupSyntax(*group, seps));
    kit.values.group.assign(group->parameters.size(), 0.0L);
    for (std::size_t i = 0; i < given.size(); ++i)
      kit.values.group[i] = geometry::ParseNumber(given[i], seps).value_or(std::nanl(""));
    try {
      group->check(kit.values.group);
    } catch (const buildkit::KitError& e) {
      return UsageError{"invalid value '" + Printable(typed) + "' for " + name(group->option) +
                        ": " + e.what()};
    }
  }
  if (const buildkit::KitChoice* choice = chosen->choice) {
    if (const auto word = text(choice->option)) {
      const auto known = std::ranges::find(choice->words, *word);
      if (known == choice->words.end()) return BadValue(FindOption(choice->option)->id, *word);
      kit.values.choice = *known;
    }
  }
  options.kit = kit;
  return std::nullopt;
}

// The horn options, into the record the subcommand chose.
std::optional<UsageError> ReadHornOptions(ToolOptions& options, const OptionTexts& texts) {
  const auto text = [&texts](OptionId id) { return texts[static_cast<std::size_t>(id)]; };
  LengthUnit unit = report::UnitOf(options.horn);
  if (const auto unitText = text(OptionId::Unit)) {
    const auto chosen = Choose(kUnits, *unitText);
    if (!chosen) return BadValue(OptionId::Unit, *unitText);
    unit = *chosen;
  }
  if (const auto separator = text(OptionId::Separator)) {
    const auto* found = std::find(kDecimalSeparators.begin(), kDecimalSeparators.end(), *separator);
    if (found == kDecimalSeparators.end()) return BadValue(OptionId::Separator, *separator);
    // The other separator groups thousands.
    options.separators = {std::string(*found),
                          std::string(kDecimalSeparators[found == kDecimalSeparators.begin()])};
  }
  std::optional<geometry::SizeMode> size;
  if (const auto sizeText = text(OptionId::Size)) {
    size = Choose(kSizeModes, *sizeText);
    if (!size) return BadValue(OptionId::Size, *sizeText);
  }
  std::optional<geometry::MouthLocation> location;
  if (const auto locationText = text(OptionId::Location)) {
    location = Choose(kLocations, *locationText);
    if (!location) return BadValue(OptionId::Location, *locationText);
  }
  std::optional<geometry::TableIncrement> increment;
  if (const auto incrementText = text(OptionId::Increment)) {
    increment = IncrementButton(*incrementText, unit, options.separators);
    if (!increment) {
      return BadValue(OptionId::Increment, *incrementText,
                      JoinChoices(IncrementChoices(unit)) + " with --unit " + ChoiceName(unit));
    }
  }

  const auto set = [](std::string& field, std::optional<std::string_view> value) {
    if (value) field = *value;
  };
  std::visit(
      [&](auto& record) {
        record.unit = unit;
        set(record.frequencyText, text(OptionId::Freq));
        if (increment) record.increment = *increment;
      },
      options.horn);
  std::visit(Overloaded{[&](CircularReportInput& circular) {
                          set(circular.throatText, text(OptionId::Throat));
                          if (size) circular.size = *size;
                        },
                        [&](RectangularReportInput& rectangular) {
                          set(rectangular.side1Text, text(OptionId::Side1));
                          set(rectangular.side2Text, text(OptionId::Side2));
                          if (const auto mouth = text(OptionId::FlatMouth)) {
                            rectangular.flatSides = true;
                            rectangular.mouthText = *mouth;
                          }
                          if (location) rectangular.location = *location;
                        }},
             options.horn);
  return std::nullopt;
}

}  // namespace

std::string Printable(std::string_view text) {
  // At most 60 characters shown, escapes counted as what they take on screen.
  constexpr std::size_t kLongest = 60;
  std::string out;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    char escaped[8];
    if (c >= 0x20 && c < 0x7f) {
      escaped[0] = static_cast<char>(c);
      escaped[1] = '\0';
    } else {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
    }
    if (out.size() + std::strlen(escaped) > kLongest) break;
    out += escaped;
  }
  if (i < text.size()) out += "...";
  return out;
}

ParsedCommand ParseCommandLine(const std::vector<std::string_view>& args,
                               const std::optional<driver::DriverInput>& designDriver) {
  const std::vector<std::string> subcommands(kSubcommands.begin(), kSubcommands.end());
  if (args.empty()) return UsageError{"missing subcommand: " + JoinChoices(subcommands)};
  const std::string_view first = args[0];
  const OptionSpec* firstSpec = FindOption(first);
  if (first == "help" || (firstSpec != nullptr && firstSpec->id == OptionId::Help))
    return HelpRequest{};
  if (firstSpec != nullptr && firstSpec->id == OptionId::Version) return VersionRequest{};
  ToolOptions options;
  unsigned kind = 0;
  if (first == kSubcommands[0]) {
    options.horn = CircularReportInput{};
    kind = kCircular;
  } else if (first == kSubcommands[1]) {
    options.horn = RectangularReportInput{};
    kind = kRectangular;
  } else {
    return UsageError{"unknown subcommand '" + Printable(first) + "' (choose " +
                      JoinChoices(subcommands) + ")"};
  }

  OptionTexts texts(OptionTable().size());
  std::string kitPath;  // FILE of a kit option that carries a value first
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    const OptionSpec* spec = arg.starts_with("-") ? FindOption(name) : nullptr;
    if (spec == nullptr || (spec->kinds & kind) == 0) {
      if (!arg.starts_with("-")) return UsageError{"unexpected argument '" + Printable(arg) + "'"};
      return UsageError{"unknown option '" + Printable(name) + "' for " + std::string(first)};
    }
    if (spec->id == OptionId::Help) return HelpRequest{};
    if (spec->id == OptionId::Version) return VersionRequest{};

    const std::string optionName(spec->name);
    const bool twoValues =
        spec->value == ValueKind::FormatAndFile || spec->value == ValueKind::TextAndFile;
    std::string_view value;
    if (spec->value == ValueKind::None) {
      if (equals != std::string_view::npos)
        return UsageError{"option " + optionName + " takes no value"};
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
      const std::string_view what = twoValues                         ? "a format and a file name"
                                    : spec->value == ValueKind::File ? "a file name"
                                                                     : "a value";
      if (auto forgotten = ForgottenValue(*spec, value, what)) return *forgotten;
    } else {
      return UsageError{"option " + optionName + " needs a value"};
    }

    // A build kit's own option: FILE, or a value then FILE ("--staves N FILE").
    if (std::ranges::any_of(buildkit::kKitUnits,
                            [&](const buildkit::KitUnit* unit) { return unit->option == spec->name; })) {
      if (texts[static_cast<std::size_t>(spec->id)])
        return UsageError{"option " + optionName + " may be given only once"};
      if (spec->value == ValueKind::TextAndFile) {
        if (i + 1 >= args.size() || args[i + 1].empty())
          return UsageError{"option " + optionName + " needs a number and a file name"};
        if (auto forgotten = ForgottenValue(*spec, args[i + 1], "a file name")) return *forgotten;
        kitPath = std::string(args[++i]);
      } else if (value.empty()) {
        return UsageError{"option " + optionName + " needs a file name"};
      }
      texts[static_cast<std::size_t>(spec->id)] = value;
      continue;
    }
    switch (spec->id) {
      case OptionId::Quick:
        options.quick = true;
        break;
      case OptionId::Output:
        if (value.empty()) return UsageError{"option --output needs a file name"};
        options.outputPath = std::string(value);
        break;
      case OptionId::Export:
        // One drawing file per run: a second one would silently replace the first.
        if (texts[static_cast<std::size_t>(OptionId::Export)])
          return UsageError{"option --export may be given only once"};
        // The format, then the file: two values.
        if (i + 1 >= args.size() || args[i + 1].empty())
          return UsageError{"option --export needs a format and a file name"};
        if (auto forgotten = ForgottenValue(*spec, args[i + 1], "a file name")) return *forgotten;
        options.drawings.exportPath = std::string(args[++i]);
        texts[static_cast<std::size_t>(spec->id)] = value;
        break;
      case OptionId::SaveDesign:
        if (options.saveDesignPath) return UsageError{"option --save-design may be given only once"};
        if (value.empty()) return UsageError{"option --save-design needs a file name"};
        options.saveDesignPath = std::string(value);
        break;
      case OptionId::Design:
        // The tool puts a design's settings in its place before the line is read.
        return UsageError{"option --design may be given only once"};
      case OptionId::Template:
        if (options.drawings.templatePath)
          return UsageError{"option --template may be given only once"};
        if (value.empty()) return UsageError{"option --template needs a file name"};
        options.drawings.templatePath = std::string(value);
        break;
      case OptionId::Impedance:
        if (options.impedance) return UsageError{"option --impedance may be given only once"};
        if (value.empty()) return UsageError{"option --impedance needs a file name"};
        options.impedance = ImpedanceOptions{};
        options.impedance->path = std::string(value);
        break;
      case OptionId::Response:
        if (options.response) return UsageError{"option --response may be given only once"};
        if (value.empty()) return UsageError{"option --response needs a file name"};
        options.response = ResponseOptions{};
        options.response->path = std::string(value);
        break;
      default:
        texts[static_cast<std::size_t>(spec->id)] = value;
        break;
    }
  }

  if (auto problem = ReadHornOptions(options, texts)) return *problem;
  if (auto problem = ReadImpedanceOptions(options, texts)) return *problem;
  if (auto problem = ReadResponseOptions(options, texts, designDriver)) return *problem;
  if (auto problem = ReadKitOptions(options, texts, kitPath)) return *problem;
  if (auto problem = ReadDrawingOptions(options, texts, kind)) return *problem;
  return options;
}

}  // namespace vortalis::cli
