#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/report_tool.h"
#include "output/stop_signals.h"
#include "report/creation_stamp.h"

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

// A standard stream the caller closed (`>&-`) keeps its number taken, so that
// no file the tool opens gets it; writing to it fails as it would have.
void HoldClosedStandardStreams() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    const int held = ::open("/dev/null", O_RDONLY);
    if (held >= 0 && held != fd) ::close(held);  // fd was taken meanwhile
  }
}

}  // namespace

int main(int argc, char** argv) {
  HoldClosedStandardStreams();
  // SIGINT, SIGTERM and SIGHUP end the tool with 130, 143 or 129 and no
  // temporary file left, as does every other signal that ends it; SIGPIPE is
  // ignored. While a table runs, Ctrl+C stops only the table.
  vortalis::output::InstallStopHandlers();
  static char outputBuffer[1u << 20];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const vortalis::report::PlainStampProvider stamp;
  vortalis::cli::ToolEnvironment env{stdout,        stderr,  ::isatty(STDERR_FILENO) == 1,
                                     &gInterrupted, nullptr, stamp};
  return vortalis::cli::RunReportTool(args, env);
}
