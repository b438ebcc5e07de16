#include "cli/design_horn.h"

#include <vector>

#include "cli/options.h"

namespace vortalis::cli {

std::variant<DesignedHorn, DesignRefusal> ReadDesignedHorn(const std::string& path) {
  const std::vector<std::string_view> designOnly = {"--design", path};
  auto expanded = ExpandDesign(designOnly);
  if (auto* refusal = std::get_if<DesignRefusal>(&expanded)) return *refusal;
  const auto refuse = [&path](const std::string& why) {
    return DesignRefusal{"\"" + Printable(path) + "\" could not be opened as a design: " + why +
                         "."};
  };
  if (auto* usage = std::get_if<DesignUsageError>(&expanded)) return refuse(usage->message);
  ExpandedCommand& command = std::get<ExpandedCommand>(expanded);
  const std::vector<std::string_view> args(command.args.begin(), command.args.end());
  const ParsedCommand parsed = ParseCommandLine(args);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) return refuse(usage->message);
  const auto* options = std::get_if<ToolOptions>(&parsed);
  if (options == nullptr) return refuse("it asks for help or the version");
  return DesignedHorn{options->horn, options->separators, std::move(command.design)};
}

design::Design DesignOfHorn(const report::HornInput& horn, const geometry::Separators& separators,
                            const design::Design& kept) {
  design::Design start = kept;
  // A horn of the other kind leaves none of its fields behind.
  std::erase_if(start.settings,
                [](const design::Setting& setting) { return setting.section == "horn"; });
  std::vector<std::string> args;
  const auto add = [&args](std::string_view option, std::string value) {
    args.push_back("--" + std::string(option) + "=" + value);
  };
  std::visit(Overloaded{[&](const report::CircularReportInput& circular) {
                          args.push_back("circular");
                          add("size", ChoiceName(circular.size));
                          add("throat", circular.throatText);
                        },
                        [&](const report::RectangularReportInput& rectangular) {
                          args.push_back("rectangular");
                          add("side1", rectangular.side1Text);
                          add("side2", rectangular.side2Text);
                          add("location", ChoiceName(rectangular.location));
                          if (rectangular.flatSides) add("flat-mouth", rectangular.mouthText);
                        }},
             horn);
  const geometry::LengthUnit unit = report::UnitOf(horn);
  add("unit", ChoiceName(unit));
  add("increment", geometry::IncrementCaption(report::IncrementOf(horn), unit));
  add("decimal-separator", separators.decimal);
  std::visit([&](const auto& record) { add("freq", record.frequencyText); }, horn);
  const std::vector<std::string_view> views(args.begin(), args.end());
  return DesignOfCommandLine(views, start);
}

}  // namespace vortalis::cli
