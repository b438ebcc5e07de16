#include "output/stop_signals.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>
#include <new>

namespace vortalis::output {

namespace {

constexpr int kBlockSlots = 64;
enum SlotState : int { kFree = 0, kFilling = 1, kHeld = 2 };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

// Slots come in blocks chained once made and never freed, so that a handler
// can walk them at any moment without a lock.
struct Block {
  Slot slots[kBlockSlots];
  std::atomic<Block*> next{nullptr};
};

Block gFirstBlock;
std::atomic<volatile std::sig_atomic_t*> gInterruptFlag{nullptr};

static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<Block*>::is_always_lock_free);
static_assert(std::atomic<volatile std::sig_atomic_t*>::is_always_lock_free);

void RemoveTemporaries() {
  for (Block* block = &gFirstBlock; block != nullptr; block = block->next.load()) {
    for (Slot& slot : block->slots) {
      if (slot.state.load() == kHeld) ::unlink(slot.path);
    }
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
// action once the handler returns and unblocks it (a crash signal recurs by
// itself when the faulting instruction runs again).
extern "C" void OnDefaultStopSignal(int signal) {
  RemoveTemporaries();
  ::raise(signal);
}

// The three that end the tool with 128 + the signal.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Every other signal whose default action ends the process (SIGKILL cannot
// be caught; SIGPIPE and SIGXFSZ are ignored instead).
constexpr int kOtherEndingSignals[] = {SIGQUIT, SIGILL,    SIGTRAP,   SIGABRT, SIGBUS,
                                       SIGFPE,  SIGUSR1,   SIGSEGV,   SIGUSR2, SIGALRM,
                                       SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,
                                       SIGPWR,  SIGSYS};

template <typename Each>
void ForEachEndingSignal(Each each) {
  for (const int signal : kStopSignals) each(signal);
  for (const int signal : kOtherEndingSignals) each(signal);
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) each(signal);
}

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  ForEachEndingSignal([&set](int signal) {
    // Crash signals cannot be held back meaningfully.
    if (signal != SIGILL && signal != SIGTRAP && signal != SIGBUS && signal != SIGFPE &&
        signal != SIGSEGV && signal != SIGSYS)
      sigaddset(&set, signal);
  });
  return set;
}

bool IsStopSignal(int signal) {
  for (const int stop : kStopSignals)
    if (signal == stop) return true;
  return false;
}

bool AtDefault(int signal) {
  struct sigaction current {};
  return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
         (current.sa_flags & SA_SIGINFO) == 0;
}

void Ignore(int signal) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(signal, &ignore, nullptr);
}

}  // namespace

void InstallStopHandlers() {
  struct sigaction stop {};
  stop.sa_handler = OnStopSignal;
  stop.sa_mask = StopSignals();  // one handler at a time
  stop.sa_flags = SA_RESTART;
  struct sigaction other = stop;
  other.sa_handler = OnDefaultStopSignal;
  other.sa_flags = SA_RESETHAND | SA_RESTART;
  ForEachEndingSignal([&](int signal) {
    // Any other signal ignored by whoever started the process stays ignored,
    // as it would without these handlers (nohup, a shell's background job).
    struct sigaction current {};
    if (!IsStopSignal(signal) && sigaction(signal, nullptr, &current) == 0 &&
        current.sa_handler == SIG_IGN)
      return;
    sigaction(signal, IsStopSignal(signal) ? &stop : &other, nullptr);
  });
  Ignore(SIGPIPE);
  Ignore(SIGXFSZ);
}

void RemoveTemporariesOnDefaultStop() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_handler = OnDefaultStopSignal;
    action.sa_mask = StopSignals();
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    ForEachEndingSignal([&action](int signal) {
      if (AtDefault(signal)) sigaction(signal, &action, nullptr);
    });
    if (AtDefault(SIGPIPE)) Ignore(SIGPIPE);
  });
}

void SetInterruptFlag(volatile std::sig_atomic_t* flag) { gInterruptFlag.store(flag); }

int RegisterTemporary(const char* path) {
  if (std::strlen(path) >= PATH_MAX) return -1;
  int index = 0;
  for (Block* block = &gFirstBlock;; block = block->next.load()) {
    for (Slot& slot : block->slots) {
      int expected = kFree;
      if (slot.state.compare_exchange_strong(expected, kFilling)) {
        std::strcpy(slot.path, path);
        slot.state.store(kHeld);
        return index;
      }
      ++index;
    }
    if (block->next.load() == nullptr) {
      Block* added = new (std::nothrow) Block;
      if (added == nullptr) return -1;
      Block* none = nullptr;
      if (!block->next.compare_exchange_strong(none, added)) delete added;  // another thread's
    }
  }
}

void ReleaseTemporary(int slot) {
  if (slot < 0) return;
  Block* block = &gFirstBlock;
  for (int skip = slot / kBlockSlots; skip > 0 && block != nullptr; --skip)
    block = block->next.load();
  if (block != nullptr) block->slots[slot % kBlockSlots].state.store(kFree);
}

StopSignalsHeld::StopSignalsHeld() {
  const sigset_t held = StopSignals();
  pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

StopSignalsHeld::~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

}  // namespace vortalis::output
