#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/report_tool.h"
#include "output/stop_signals.h"
#include "report/creation_stamp.h"

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

}  // namespace

int main(int argc, char** argv) {
  // SIGINT, SIGTERM and SIGHUP end the tool with 130, 143 or 129 and no
  // temporary file left; while a table runs, Ctrl+C stops only the table.
  vortalis::output::InstallStopHandlers();
  static char outputBuffer[1u << 20];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const vortalis::report::PlainStampProvider stamp;
  vortalis::cli::ToolEnvironment env{stdout,        stderr,  ::isatty(STDERR_FILENO) == 1,
                                     &gInterrupted, nullptr, stamp};
  return vortalis::cli::RunReportTool(args, env);
}
