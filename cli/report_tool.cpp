#include "cli/report_tool.h"

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "cli/drawing_tool.h"
#include "cli/options.h"
#include "cli/spooled_document.h"
#include "cli/terminal_progress.h"
#include "output/output_file.h"
#include "output/stop_signals.h"
#include "report/input_check.h"
#include "report/report_generator.h"

namespace vortalis::cli {

namespace {

std::optional<report::InputProblem> FindProblem(const ToolOptions& options) {
  return options.kind == HornKind::Circular
             ? report::FindCircularInputProblem(options.circular, options.separators)
             : report::FindRectangularInputProblem(options.rectangular, options.separators);
}

// The labels of the dialog's quick test, one a line.
std::string QuickTestText(const ToolOptions& options) {
  if (options.kind == HornKind::Circular) {
    const auto result = report::CircularQuickTest(options.circular, options.separators);
    return "Horn length: " + result.length + "\nMouth size: " + result.mouth + "\n";
  }
  const auto result = report::RectangularQuickTest(options.rectangular, options.separators);
  return "Horn length: " + result.length + "\nSide 1A - 1B: " + result.side1 +
         "\nSide 2A - 2B: " + result.side2 + "\n";
}

// To standard output, or through the writer to the --output file. False
// after an error message.
bool Deliver(const ToolOptions& options, ToolEnvironment& env,
             const std::function<void(output::ByteSink&)>& write) {
  try {
    if (options.outputPath) {
      output::OutputFile file(*options.outputPath);
      write(file);
      file.Commit();
    } else {
      output::StreamSink out(env.out, "standard output");
      write(out);
      out.Flush();
    }
    return true;
  } catch (const output::OutputError& error) {
    std::fprintf(env.err, "vortalis-report: %s\n", error.what());
    return false;
  }
}

int Run(const std::vector<std::string_view>& args, ToolEnvironment& env) {
  const ParsedCommand command = ParseCommandLine(args);
  if (std::holds_alternative<HelpRequest>(command)) {
    const std::string_view help = HelpText();
    std::fwrite(help.data(), 1, help.size(), env.out);
    return std::fflush(env.out) == 0 ? kExitDone : kExitRefused;
  }
  if (const auto* usage = std::get_if<UsageError>(&command)) {
    const std::string_view text = UsageText();
    std::fprintf(env.err, "vortalis-report: %s\n", usage->message.c_str());
    std::fwrite(text.data(), 1, text.size(), env.err);
    return kExitUsage;
  }
  const ToolOptions& options = std::get<ToolOptions>(command);

  if (const auto problem = FindProblem(options)) {
    std::fprintf(env.err, "%s\n", problem->message.c_str());
    return kExitRefused;
  }

  if (options.drawings.Requested()) return WriteDrawings(options, env);

  if (options.quick) {
    const std::string text = QuickTestText(options);
    const bool written =
        Deliver(options, env, [&text](output::ByteSink& out) { out.Write(text); });
    return written ? kExitDone : kExitRefused;
  }

  SpooledDocument document;
  TerminalProgress progress(env.err, env.progressBar, env.interrupted);
  report::ReportEnvironment reportEnv{document, progress, env.pumpEvents, env.stamp,
                                      options.separators};
  // While the table runs, a first Ctrl+C stops it and the shortened report is
  // still written; from then on a Ctrl+C stops the writing too.
  output::SetInterruptFlag(env.interrupted);
  if (options.kind == HornKind::Circular)
    report::GenerateCircularReport(options.circular, reportEnv);
  else
    report::GenerateRectangularReport(options.rectangular, reportEnv);
  output::SetInterruptFlag(nullptr);
  // Taken right after the generator's last look, so that the status tells
  // whether the report carries the abort note.
  const bool aborted = progress.AbortRequested();

  if (!Deliver(options, env, [&document](output::ByteSink& out) { document.WriteTo(out); }))
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
