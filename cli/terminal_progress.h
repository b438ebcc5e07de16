#pragma once

#include <csignal>
#include <cstdio>

#include "report/report_ports.h"

namespace vortalis::cli {

// The progress window of the command line: a bar on standard error when that
// is a terminal, and Ctrl+C as its Abort button.
class TerminalProgress final : public report::ProgressPort {
 public:
  // `interrupted` is set by the SIGINT handler.
  TerminalProgress(std::FILE* err, bool drawBar, const volatile std::sig_atomic_t* interrupted);

  void SetPosition(int percent) override;
  void Show() override;
  void Hide() override;
  bool AbortRequested() const override;

 private:
  void Draw();

  std::FILE* err_;
  bool drawBar_;
  const volatile std::sig_atomic_t* interrupted_;
  bool shown_ = false;
  int percent_ = 0;
  int drawn_ = -1;
};

}  // namespace vortalis::cli
