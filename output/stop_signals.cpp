#include "output/stop_signals.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

namespace vortalis::output {

namespace {

constexpr int kSlots = 16;
enum SlotState : int { kFree = 0, kFilling = 1, kHeld = 2 };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

Slot gSlots[kSlots];
std::atomic<volatile std::sig_atomic_t*> gInterruptFlag{nullptr};

static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<volatile std::sig_atomic_t*>::is_always_lock_free);

void RemoveTemporaries() {
  for (Slot& slot : gSlots) {
    if (slot.state.load() == kHeld) ::unlink(slot.path);
  }
}

extern "C" void OnStopSignal(int signal) {
  if (signal == SIGINT) {
    volatile std::sig_atomic_t* flag = gInterruptFlag.load();
    if (flag != nullptr && *flag == 0) {
      *flag = 1;
      return;
    }
  }
  RemoveTemporaries();
  ::_exit(128 + signal);
}

// Installed with SA_RESETHAND: the signal, raised again, now takes its default
// action once the handler returns and unblocks it.
extern "C" void OnDefaultStopSignal(int signal) {
  RemoveTemporaries();
  ::raise(signal);
}

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  action.sa_mask = StopSignals();  // one handler at a time
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);
}

void RemoveTemporariesOnDefaultStop() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_handler = OnDefaultStopSignal;
    action.sa_mask = StopSignals();
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction current {};
      if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
          (current.sa_flags & SA_SIGINFO) == 0)
        sigaction(signal, &action, nullptr);
    }
  });
}

void SetInterruptFlag(volatile std::sig_atomic_t* flag) { gInterruptFlag.store(flag); }

int RegisterTemporary(const char* path) {
  if (std::strlen(path) >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!gSlots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::strcpy(gSlots[i].path, path);
    gSlots[i].state.store(kHeld);
    return i;
  }
  return -1;
}

void ReleaseTemporary(int slot) {
  if (slot >= 0 && slot < kSlots) gSlots[slot].state.store(kFree);
}

StopSignalsHeld::StopSignalsHeld() {
  const sigset_t held = StopSignals();
  pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

StopSignalsHeld::~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

}  // namespace vortalis::output
