#pragma once

#include <signal.h>

#include <csignal>

// SIGINT, SIGTERM and SIGHUP end a writing process at once with status 128 +
// the signal (130, 143, 129), after removing every temporary file a writer
// holds: the files being replaced keep their old contents. Every other signal
// that ends a process by default (SIGQUIT, SIGALRM, SIGUSR1, the real-time
// signals, a crash, ...) removes them too and then ends the process as it
// would have. SIGPIPE is ignored: a reader that went away is a write error
// with a message. The handlers only unlink, raise and _exit, all
// async-signal-safe.
namespace vortalis::output {

// Installs the handlers, and ignores SIGPIPE and SIGXFSZ so that a closed pipe
// or a file over the size limit is a write error with a message instead of a
// silent end.
void InstallStopHandlers();

// For a process that leaves the signals at their default (the window
// program): they still end it as by default, after the temporary files are
// removed, and SIGPIPE left at its default is ignored. The writers call it;
// handlers the process installed itself stay.
void RemoveTemporariesOnDefaultStop();

// While `flag` is given, the first SIGINT only sets *flag (a table stops at its
// next station and the shortened report is still written); a second one stops
// at once. nullptr: every SIGINT stops at once.
void SetInterruptFlag(volatile std::sig_atomic_t* flag);

// A temporary file the handlers remove. Returns a slot for ReleaseTemporary,
// or -1 when the path is too long or no memory is left for a slot (the file
// is then removed only normally). There is no fixed limit on slots.
int RegisterTemporary(const char* path);
void ReleaseTemporary(int slot);

// Holds back the stop signals while it lives, so that a temporary file is
// never on disk unregistered, or registered under a name already renamed.
class StopSignalsHeld {
 public:
  StopSignalsHeld();
  ~StopSignalsHeld();
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
  sigset_t saved_;
};

}  // namespace vortalis::output
