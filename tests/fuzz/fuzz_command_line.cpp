// The command-line parser of vortalis-report with any arguments (NUL-separated
// in the input). Properties: a usage error is one printable line of bounded
// length, whatever bytes were typed; accepted texts are taken verbatim from the
// arguments; and options written back as arguments parse to the same options.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/options.h"
#include "fuzz_support.h"

namespace {

using namespace vortalis;
using cli::ToolOptions;
using geometry::LengthUnit;

std::string Describe(const std::vector<std::string>& args) {
  std::string out;
  for (const auto& arg : args) out += " [" + fuzz::Visible(arg) + "]";
  return out;
}

// Whether `text` is an argument or the value after "=" in one.
bool FromArguments(const std::string& text, const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg == text) return true;
    const std::size_t equals = arg.find('=');
    if (equals != std::string::npos && arg.substr(equals + 1) == text) return true;
  }
  return false;
}

// Texts are written as --option=TEXT: a text that starts with "--" is refused
// as the next argument.
std::vector<std::string> AsArguments(const ToolOptions& options) {
  const LengthUnit unit = report::UnitOf(options.horn);
  std::vector<std::string> args{report::IsRectangular(options.horn) ? "rectangular" : "circular",
                                "--unit",
                                cli::ChoiceName(unit),
                                "--decimal-separator",
                                options.separators.decimal,
                                "--increment",
                                geometry::IncrementCaption(report::IncrementOf(options.horn), unit)};
  std::visit(cli::Overloaded{[&](const report::CircularReportInput& c) {
                               args.insert(args.end(), {"--freq=" + c.frequencyText,
                                                        "--throat=" + c.throatText, "--size",
                                                        cli::ChoiceName(c.size)});
                             },
                             [&](const report::RectangularReportInput& r) {
                               args.insert(args.end(),
                                           {"--freq=" + r.frequencyText, "--side1=" + r.side1Text,
                                            "--side2=" + r.side2Text, "--location",
                                            cli::ChoiceName(r.location)});
                               if (r.flatSides) args.push_back("--flat-mouth=" + r.mouthText);
                             }},
             options.horn);
  if (options.quick) args.push_back("--quick");
  if (options.outputPath) args.push_back("--output=" + *options.outputPath);
  return args;
}

cli::ParsedCommand Parse(const std::vector<std::string>& args) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  return cli::ParseCommandLine(views);
}

bool SameOptions(const ToolOptions& a, const ToolOptions& b) {
  const bool common = a.horn.index() == b.horn.index() &&
                      a.separators.decimal == b.separators.decimal &&
                      a.separators.thousands == b.separators.thousands && a.quick == b.quick &&
                      a.outputPath == b.outputPath;
  if (!common) return false;
  if (const auto* ac = std::get_if<report::CircularReportInput>(&a.horn)) {
    const auto& bc = std::get<report::CircularReportInput>(b.horn);
    return ac->unit == bc.unit && ac->size == bc.size && ac->increment == bc.increment &&
           ac->frequencyText == bc.frequencyText && ac->throatText == bc.throatText;
  }
  const auto& ar = std::get<report::RectangularReportInput>(a.horn);
  const auto& br = std::get<report::RectangularReportInput>(b.horn);
  return ar.frequencyText == br.frequencyText && ar.unit == br.unit &&
         ar.increment == br.increment && ar.location == br.location &&
         ar.flatSides == br.flatSides && ar.side1Text == br.side1Text &&
         ar.side2Text == br.side2Text && (!ar.flatSides || ar.mouthText == br.mouthText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader in(data, size);
  std::vector<std::string> args;
  while (!in.AtEnd() && args.size() < 64) args.push_back(in.Text());
  const std::string why = Describe(args);
  const cli::ParsedCommand parsed = Parse(args);

  if (const auto* error = std::get_if<cli::UsageError>(&parsed)) {
    // Every typed text reaches the message through Printable, cut at 60 characters.
    FUZZ_CHECK(!error->message.empty() && error->message.size() < 400, "message length:" + why);
    for (const char c : error->message)
      FUZZ_CHECK(c >= 0x20 && c < 0x7f, "unprintable message \"" + fuzz::Visible(error->message) +
                                            "\":" + why);
    return 0;
  }
  const auto* options = std::get_if<ToolOptions>(&parsed);
  if (options == nullptr) return 0;  // --help

  const auto verbatim = [&](const std::string& text, const std::string& initial) {
    return text == initial || FromArguments(text, args);
  };
  const bool textsFromArguments = std::visit(
      cli::Overloaded{[&](const report::CircularReportInput& c) {
                        const report::CircularReportInput initial;
                        return verbatim(c.frequencyText, initial.frequencyText) &&
                               verbatim(c.throatText, initial.throatText);
                      },
                      [&](const report::RectangularReportInput& r) {
                        const report::RectangularReportInput initial;
                        return verbatim(r.frequencyText, initial.frequencyText) &&
                               verbatim(r.side1Text, initial.side1Text) &&
                               verbatim(r.side2Text, initial.side2Text) &&
                               verbatim(r.mouthText, initial.mouthText);
                      }},
      options->horn);
  FUZZ_CHECK(textsFromArguments && (!options->outputPath || FromArguments(*options->outputPath, args)),
             "a text that no argument holds:" + why);
  FUZZ_CHECK(options->separators.decimal != options->separators.thousands &&
                 (options->separators.decimal == "." || options->separators.decimal == ","),
             "separators:" + why);

  const auto again = Parse(AsArguments(*options));
  const auto* same = std::get_if<ToolOptions>(&again);
  FUZZ_CHECK(same != nullptr && SameOptions(*options, *same),
             "the options written back parse differently:" + why);
  return 0;
}
