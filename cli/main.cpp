#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/report_tool.h"
#include "report/creation_stamp.h"

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

// Ctrl+C presses the progress window's Abort: the table stops at the next
// station and the report is still written.
void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  CatchInterrupt();
  static char outputBuffer[1u << 20];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const vortalis::report::PlainStampProvider stamp;
  vortalis::cli::ToolEnvironment env{stdout,        stderr,  ::isatty(STDERR_FILENO) == 1,
                                     &gInterrupted, nullptr, stamp};
  return vortalis::cli::RunReportTool(args, env);
}
