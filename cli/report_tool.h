#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_set.h"
#include "report/creation_stamp.h"
#include "report/report_ports.h"

// vortalis-report without its process: main() supplies the streams, the
// terminal test and the Ctrl+C flag, tests supply their own.
namespace vortalis::cli {

enum ExitStatus : int {
  kExitDone = 0,
  kExitRefused = 1,  // input refused, or the output could not be written
  kExitUsage = 2,
  kExitInterrupted = 130,  // the shell's status for a Ctrl+C
};

struct ToolEnvironment {
  std::FILE* out;
  std::FILE* err;
  bool progressBar;                               // standard error is a terminal
  volatile std::sig_atomic_t* interrupted;  // set when Ctrl+C was pressed
  report::EventPump pumpEvents;  // once per station, as the window program processes events
  const report::StampProvider& stamp;
};

// Commits the files of one run together, then prints `said` on standard
// output and what the files' notes tell on standard error. Returns kExitDone,
// or kExitRefused after a message (no file of the set replaced).
int CommitOutputs(output::OutputSet& files, const std::string& said, ToolEnvironment& env);

// args: the arguments after the program name. Returns the exit status.
int RunReportTool(const std::vector<std::string_view>& args, ToolEnvironment& env);

}  // namespace vortalis::cli
