#include "cli/design_options.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "buildkit/flat_kits.h"
#include "cli/option_table.h"
#include "cli/options.h"
#include "design/design_keys.h"
#include "driver/driver.h"
#include "driver/driver_file.h"

namespace vortalis::cli {

namespace {

constexpr std::string_view kDesignOption = "--design";

// A design's drawing and acoustic settings are put on the command line only
// for the outputs that take them; the kit's only for its own kit.
struct SettingUse {
  std::string_view key;
  std::vector<std::string_view> outputs;  // none: always
};
const std::vector<SettingUse>& SettingUses() {
  static const std::vector<SettingUse> uses = {
      {"step", {"--export", "--template", "--sectors"}},
      {"mouth-limit",
       {"--export", "--template", "--rings", "--sectors", "--staves", "--panels", "--stl",
        "--impedance", "--response"}},
      {"paper", {"--template", "--rings", "--sectors", "--staves", "--panels"}},
      {"mouth-load", {"--impedance", "--response"}},
      {"losses", {"--impedance", "--response"}},
      {"from", {"--impedance", "--response"}},
      {"to", {"--impedance", "--response"}},
      {"points-per-octave", {"--impedance", "--response"}},
      {"rear-chamber", {"--response"}},
      {"throat-chamber", {"--response"}},
      {"voltage", {"--response"}},
  };
  return uses;
}

bool Asks(const std::vector<std::string>& args, std::string_view option) {
  return std::any_of(args.begin(), args.end(), [option](const std::string& arg) {
    return arg == option || (arg.starts_with(option) && arg.size() > option.size() &&
                             arg[option.size()] == '=');
  });
}

bool Applies(const design::Setting& setting, const std::vector<std::string>& rest) {
  if (setting.key == "kind") return false;
  if (setting.section == "horn") return true;
  if (setting.section != "drawing" && setting.section != "acoustics") return false;
  for (const SettingUse& use : SettingUses()) {
    if (use.key != setting.key) continue;
    return std::any_of(use.outputs.begin(), use.outputs.end(),
                       [&rest](std::string_view output) { return Asks(rest, output); });
  }
  return false;
}

bool IsKitOutput(std::string_view key) {
  return std::any_of(buildkit::kKitUnits.begin(), buildkit::kKitUnits.end(),
                     [key](const buildkit::KitUnit* unit) { return unit->option.substr(2) == key; });
}

std::string_view SectionOf(std::string_view key) {
  for (const design::KnownKey& known : design::kKnownKeys)
    if (known.key == key && known.key != "kind") return known.section;
  return {};
}

std::variant<std::string, DesignRefusal> ReadDesignFile(const std::string& path) {
  const auto refuse = [&path](const std::string& why) {
    return DesignRefusal{"\"" + Printable(path) + "\" could not be opened as a design: " + why +
                         "."};
  };
  // Non-blocking, so that a FIFO with no writer is refused rather than waited for.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return refuse("it is not a regular file");
  }
  if (static_cast<unsigned long long>(info.st_size) > design::kMaxDesignBytes) {
    ::close(fd);
    return refuse("it is " + std::to_string(info.st_size) + " bytes long, and a design is at most " +
                  std::to_string(design::kMaxDesignBytes) + " bytes");
  }
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      ::close(fd);
      return refuse(std::strerror(error));
    }
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > design::kMaxDesignBytes) break;  // grew while read: ParseDesign refuses it
  }
  ::close(fd);
  return text;
}

// The design's driver, checked value by value as a driver file is.
std::optional<driver::DriverInput> DriverOf(const design::Design& design, std::string_view text,
                                            std::string_view fileName) {
  if (!design.HasSection("driver")) return std::nullopt;
  driver::DriverInput input;
  for (const design::Setting& setting : design.settings) {
    if (setting.section != "driver") continue;
    try {
      driver::SetDriverValue(input, setting.key, setting.value);
    } catch (const std::invalid_argument& error) {
      throw design::SettingRefused(text, fileName, setting.section, setting.key, error.what());
    }
  }
  return input;
}

// The design's driver section replaced by the driver file's keys and values as typed.
void TakeDriverFile(design::Design& design, const std::string& path) {
  const std::string text = driver::ReadDriverFileText(path);
  std::erase_if(design.settings,
                [](const design::Setting& setting) { return setting.section == "driver"; });
  for (const driver::DriverLine& line : driver::ReadDriverLines(text))
    design.Set("driver", line.key, line.value);
}

// How many values follow the option `arg` (0, 1 or 2), and its long name.
std::pair<const OptionSpec*, int> SpecOf(std::string_view arg) {
  const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
  const OptionSpec* spec = FindOption(arg.substr(0, equals));
  if (spec == nullptr || spec->value == ValueKind::None) return {spec, 0};
  const bool two = spec->value == ValueKind::FormatAndFile || spec->value == ValueKind::TextAndFile;
  return {spec, (equals == std::string_view::npos ? 1 : 0) + (two ? 1 : 0)};
}

}  // namespace

bool NamesDesign(const std::vector<std::string_view>& args) {
  return std::any_of(args.begin(), args.end(), [](std::string_view arg) {
    return arg == kDesignOption || arg.starts_with(std::string(kDesignOption) + "=");
  });
}

std::variant<ExpandedCommand, DesignRefusal, DesignUsageError> ExpandDesign(
    const std::vector<std::string_view>& args) {
  ExpandedCommand command;
  std::vector<std::string> rest;
  std::string subcommand;
  bool found = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (i == 0 && std::find(kSubcommands.begin(), kSubcommands.end(), arg) != kSubcommands.end()) {
      subcommand = std::string(arg);
      continue;
    }
    std::string_view path;
    if (arg == kDesignOption) {
      if (i + 1 >= args.size() || args[i + 1].empty())
        return DesignUsageError{"option --design needs a file name"};
      path = args[++i];
    } else if (arg.starts_with(std::string(kDesignOption) + "=")) {
      path = arg.substr(kDesignOption.size() + 1);
    } else {
      rest.emplace_back(arg);
      continue;
    }
    if (found) return DesignUsageError{"option --design may be given only once"};
    found = true;
    command.designPath = std::string(path);
  }
  auto text = ReadDesignFile(command.designPath);
  if (auto* refusal = std::get_if<DesignRefusal>(&text)) return *refusal;
  try {
    const std::string& designText = std::get<std::string>(text);
    command.design = design::ParseDesign(designText, Printable(command.designPath));
    command.driver = DriverOf(command.design, designText, Printable(command.designPath));
    // A response from the design's driver needs the whole driver, not only good values.
    if (command.driver && Asks(rest, "--response") && !Asks(rest, "--driver")) {
      try {
        driver::ResolveDriver(*command.driver);
      } catch (const std::invalid_argument& error) {
        throw design::SectionRefused(designText, Printable(command.designPath), "driver",
                                     error.what());
      }
    }
  } catch (const design::DesignError& error) {
    return DesignRefusal{error.what()};
  }
  const std::string kind = command.design.Value("horn", "kind").value_or("");
  if (std::find(kSubcommands.begin(), kSubcommands.end(), kind) == kSubcommands.end())
    return DesignRefusal{"\"" + Printable(command.designPath) +
                         "\" is not a design Vortalis can open: its \"horn.kind\" is not "
                         "\"circular\" or \"rectangular\"."};
  if (!subcommand.empty() && subcommand != kind)
    return DesignUsageError{"the design is a " + kind + " horn, not a " + subcommand + " one"};

  command.args.push_back(kind);
  for (const design::Setting& setting : command.design.settings)
    if (Applies(setting, rest)) command.args.push_back("--" + setting.key + "=" + setting.value);
  // The kit's settings go with the kit the command line asks for, if it is the design's.
  const std::string kit = command.design.Value("kit", "kind").value_or("");
  if (!kit.empty() && Asks(rest, "--" + kit)) {
    for (const design::Setting& setting : command.design.settings)
      if (setting.section == "kit" && setting.key != "kind" && setting.key != "staves")
        command.args.push_back("--" + setting.key + "=" + setting.value);
  }
  command.args.insert(command.args.end(), rest.begin(), rest.end());
  return command;
}

design::Design DesignOfCommandLine(const std::vector<std::string_view>& args,
                                   const design::Design& kept) {
  design::Design design;
  design.kept = kept.kept;
  design.settings = kept.settings;
  if (args.empty()) return design;
  design.Set("horn", "kind", args[0]);
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto [spec, values] = SpecOf(args[i]);
    if (spec == nullptr) continue;
    const std::string_view arg = args[i];
    const std::size_t equals = arg.find('=');
    std::string_view value =
        equals != std::string_view::npos && arg.starts_with("--") ? arg.substr(equals + 1) : "";
    if (values > 0 && i + 1 < args.size() && equals == std::string_view::npos) value = args[i + 1];
    const std::string_view key = spec->name.substr(2);
    if (key == "driver") {
      TakeDriverFile(design, std::string(value));
    } else if (IsKitOutput(key)) {
      // Another kit than the design's: its settings start afresh.
      if (design.Value("kit", "kind") != std::string(key))
        std::erase_if(design.settings,
                      [](const design::Setting& setting) { return setting.section == "kit"; });
      design.Set("kit", "kind", key);
      if (key == "staves") design.Set("kit", "staves", value);
    } else if (const std::string_view section = SectionOf(key); !section.empty()) {
      design.Set(section, key, value);
    }
    i += static_cast<std::size_t>(values);
  }
  return design;
}

bool ProblemFromDesign(const ExpandedCommand& command, const report::InputProblem& problem) {
  std::string_view key;
  switch (problem.field) {
    case report::InputField::Freq: key = "freq"; break;
    case report::InputField::Throat: key = "throat"; break;
    case report::InputField::Side1: key = "side1"; break;
    case report::InputField::Side2: key = "side2"; break;
    case report::InputField::MouthS1: key = "flat-mouth"; break;
    case report::InputField::None: return false;
  }
  if (!command.design.Value("horn", key)) return false;
  // The design's settings stand first; an option after them overrides.
  const std::string option = "--" + std::string(key);
  int given = 0;
  for (const std::string& arg : command.args)
    if (arg == option || arg.starts_with(option + "=")) ++given;
  return given == 1;
}

}  // namespace vortalis::cli
