#include "cli/report_tool.h"

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "cli/design_options.h"
#include "cli/drawing_tool.h"
#include "cli/impedance_tool.h"
#include "cli/response_tool.h"
#include "cli/kit_tool.h"
#include "cli/options.h"
#include "cli/spooled_document.h"
#include "cli/terminal_progress.h"
#include "output/output_file.h"
#include "output/stop_signals.h"
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

// To standard output, or through the writer to the --output file. False
// after an error message.
bool Deliver(const ToolOptions& options, ToolEnvironment& env,
             const std::function<void(output::ByteSink&)>& write) {
  try {
    if (options.outputPath) {
      output::OutputFile file(*options.outputPath);
      write(file);
      file.Commit();
      for (const std::string& note : file.Notes())
        std::fprintf(env.err, "vortalis-report: %s\n", note.c_str());
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

// The design of the options, through the writer. False after an error message.
bool SaveDesign(const std::string& path, const std::vector<std::string_view>& args,
                const design::Design& started, ToolEnvironment& env) {
  try {
    const std::string text = design::DesignText(DesignOfCommandLine(args, started));
    output::OutputFile file(path);
    file.Write(text);
    file.Commit();
    return true;
  } catch (const std::exception& error) {  // the writer's, or a --driver file refused
    std::fprintf(env.err, "vortalis-report: %s\n", error.what());
    return false;
  }
}

bool AsksForMoreThanTheDesign(const ToolOptions& options) {
  return options.outputPath || options.quick || options.drawings.Requested() ||
         options.impedance || options.response || options.kit;
}

int Run(const std::vector<std::string_view>& givenArgs, ToolEnvironment& env) {
  // A design's settings stand where --design stood.
  std::optional<ExpandedCommand> expanded;
  std::vector<std::string_view> args = givenArgs;
  if (NamesDesign(givenArgs)) {
    auto result = ExpandDesign(givenArgs);
    if (const auto* refusal = std::get_if<DesignRefusal>(&result)) {
      std::fprintf(env.err, "vortalis-report: %s\n", refusal->message.c_str());
      return kExitRefused;
    }
    if (const auto* usage = std::get_if<DesignUsageError>(&result)) {
      std::fprintf(env.err, "vortalis-report: %s\n", usage->message.c_str());
      const std::string_view text = UsageText();
      std::fwrite(text.data(), 1, text.size(), env.err);
      return kExitUsage;
    }
    expanded = std::get<ExpandedCommand>(std::move(result));
    args.assign(expanded->args.begin(), expanded->args.end());
  }
  const ParsedCommand command =
      ParseCommandLine(args, expanded ? expanded->driver : std::nullopt);
  if (std::holds_alternative<HelpRequest>(command) ||
      std::holds_alternative<VersionRequest>(command)) {
    const std::string text = std::holds_alternative<HelpRequest>(command)
                                 ? std::string(HelpText())
                                 : "vortalis-report " VORTALIS_VERSION "\n";
    std::fwrite(text.data(), 1, text.size(), env.out);
    return kExitDone;
  }
  if (const auto* usage = std::get_if<UsageError>(&command)) {
    const std::string_view text = UsageText();
    std::fprintf(env.err, "vortalis-report: %s\n", usage->message.c_str());
    std::fwrite(text.data(), 1, text.size(), env.err);
    return kExitUsage;
  }
  const ToolOptions& options = std::get<ToolOptions>(command);

  if (const auto problem = report::FindInputProblem(options.horn, options.separators)) {
    if (expanded && ProblemFromDesign(*expanded, *problem))
      std::fprintf(env.err, "%s: ", Printable(expanded->designPath).c_str());
    std::fprintf(env.err, "%s\n", problem->message.c_str());
    return kExitRefused;
  }
  if (options.saveDesignPath) {
    if (!SaveDesign(*options.saveDesignPath, args, expanded ? expanded->design : design::Design{},
                    env))
      return kExitRefused;
    if (!AsksForMoreThanTheDesign(options)) return kExitDone;
  }

  if (options.kit) return WriteKit(options.horn, options.separators, *options.kit, env);
  if (options.drawings.Requested() || options.impedance || options.response) {
    // Every file named on the command line is written, or none is.
    output::OutputSet files;
    std::string said;
    int status = kExitDone;
    if (options.drawings.Requested()) status = WriteDrawings(options, env, files, said);
    if (status == kExitDone && options.impedance)
      status = WriteImpedance(options.horn, options.separators, *options.impedance, env, &files);
    if (status == kExitDone && options.response)
      status = WriteResponse(options.horn, options.separators, *options.response, env, files);
    return status == kExitDone ? CommitOutputs(files, said, env) : status;
  }

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
  report::GenerateReport(options.horn, reportEnv);
  output::SetInterruptFlag(nullptr);
  // Taken right after the generator's last look, so that the status tells
  // whether the report carries the abort note.
  const bool aborted = progress.AbortRequested();

  if (!Deliver(options, env, [&document](output::ByteSink& out) { document.WriteTo(out); }))
    return kExitRefused;
  return aborted ? kExitInterrupted : kExitDone;
}

}  // namespace

int CommitOutputs(output::OutputSet& files, const std::string& said, ToolEnvironment& env) {
  try {
    files.Commit();
  } catch (const output::OutputError& error) {
    std::fprintf(env.err, "vortalis-report: %s\n", error.what());
    return kExitRefused;
  }
  std::fwrite(said.data(), 1, said.size(), env.out);
  for (const std::string& note : files.Notes())
    std::fprintf(env.err, "vortalis-report: %s\n", note.c_str());
  return kExitDone;
}

int RunReportTool(const std::vector<std::string_view>& args, ToolEnvironment& env) {
  int status = kExitRefused;
  try {
    status = Run(args, env);
  } catch (const std::exception& e) {
    // Out of memory, or input that slipped past the checks: a message, never a crash.
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
  }
  // Whatever was written to files, a standard output that took nothing is
  // an error, said in words.
  if (status != kExitDone) return status;
  try {
    output::StreamSink(env.out, "standard output").Flush();
  } catch (const output::OutputError& error) {
    std::fprintf(env.err, "vortalis-report: %s\n", error.what());
    status = kExitRefused;
  }
  return status;
}

}  // namespace vortalis::cli
