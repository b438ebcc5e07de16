#include "cli/report_tool.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "cli/drawing_tool.h"
#include "cli/impedance_tool.h"
#include "cli/kit_tool.h"
#include "cli/options.h"
#include "cli/safe_output.h"
#include "cli/spooled_document.h"
#include "cli/terminal_progress.h"
#include "report/input_check.h"
#include "report/report_generator.h"

namespace vortalis::cli {

namespace {

// The labels of the dialog's quick test, one a line.
std::string QuickTestText(const ToolOptions& options) {
  return std::visit(
      Overloaded{[&](const report::CircularReportInput& circular) {
                   const auto result = report::CircularQuickTest(circular, options.separators);
                   return "Horn length: " + result.length + "\nMouth size: " + result.mouth +
                          "\n";
                 },
                 [&](const report::RectangularReportInput& rectangular) {
                   const auto result =
                       report::RectangularQuickTest(rectangular, options.separators);
                   return "Horn length: " + result.length + "\nSide 1A - 1B: " + result.side1 +
                          "\nSide 2A - 2B: " + result.side2 + "\n";
                 }},
      options.horn);
}

// To standard output, or safely to the --output file. False after an error message.
bool Deliver(const ToolOptions& options, ToolEnvironment& env,
             const std::function<bool(std::FILE*)>& write) {
  std::string error;
  if (options.outputPath) {
    if (WriteFileSafely(*options.outputPath, write, error)) return true;
  } else {
    errno = 0;
    if (write(env.out) && std::fflush(env.out) == 0) return true;
    error = std::string("standard output: ") + std::strerror(errno != 0 ? errno : EIO);
  }
  std::fprintf(env.err, "vortalis-report: cannot write %s\n", error.c_str());
  return false;
}

int Run(const std::vector<std::string_view>& args, ToolEnvironment& env) {
  const ParsedCommand command = ParseCommandLine(args);
  if (std::holds_alternative<HelpRequest>(command) ||
      std::holds_alternative<VersionRequest>(command)) {
    const std::string text = std::holds_alternative<HelpRequest>(command)
                                 ? std::string(HelpText())
                                 : "vortalis-report " VORTALIS_VERSION "\n";
    std::fwrite(text.data(), 1, text.size(), env.out);
    return std::fflush(env.out) == 0 ? kExitDone : kExitRefused;
  }
  if (const auto* usage = std::get_if<UsageError>(&command)) {
    const std::string_view text = UsageText();
    std::fprintf(env.err, "vortalis-report: %s\n", usage->message.c_str());
    std::fwrite(text.data(), 1, text.size(), env.err);
    return kExitUsage;
  }
  const ToolOptions& options = std::get<ToolOptions>(command);

  if (const auto problem = report::FindInputProblem(options.horn, options.separators)) {
    std::fprintf(env.err, "%s\n", problem->message.c_str());
    return kExitRefused;
  }

  if (options.kit) return WriteKit(options.horn, options.separators, *options.kit, env);
  if (options.drawings.Requested() || options.impedance) {
    int status = kExitDone;
    if (options.drawings.Requested()) status = WriteDrawings(options, env);
    if (status == kExitDone && options.impedance)
      status = WriteImpedance(options.horn, options.separators, *options.impedance, env);
    return status;
  }

  if (options.quick) {
    const std::string text = QuickTestText(options);
    const bool written = Deliver(options, env, [&text](std::FILE* file) {
      return std::fwrite(text.data(), 1, text.size(), file) == text.size();
    });
    return written ? kExitDone : kExitRefused;
  }

  SpooledDocument document;
  TerminalProgress progress(env.err, env.progressBar, env.interrupted);
  report::ReportEnvironment reportEnv{document, progress, env.pumpEvents, env.stamp,
                                      options.separators};
  report::GenerateReport(options.horn, reportEnv);
  // Taken right after the generator's last look, so that the status tells
  // whether the report carries the abort note; a Ctrl+C while the finished
  // report is written does not cut the file short.
  const bool aborted = progress.AbortRequested();

  if (!Deliver(options, env, [&document](std::FILE* file) { return document.WriteTo(file); }))
    return kExitRefused;
  return aborted ? kExitInterrupted : kExitDone;
}

}  // namespace

int RunReportTool(const std::vector<std::string_view>& args, ToolEnvironment& env) {
  try {
    return Run(args, env);
  } catch (const std::exception& e) {
    // Out of memory, or input that slipped past the checks: a message, never a crash.
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
}

}  // namespace vortalis::cli
