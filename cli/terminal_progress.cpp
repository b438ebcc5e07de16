#include "cli/terminal_progress.h"

#include <algorithm>

namespace vortalis::cli {

namespace {
constexpr int kBarWidth = 40;
}

TerminalProgress::TerminalProgress(std::FILE* err, bool drawBar,
                                   const volatile std::sig_atomic_t* interrupted)
    : err_(err), drawBar_(drawBar), interrupted_(interrupted) {}

void TerminalProgress::SetPosition(int percent) {
  // Like the window's bar, whose range is 0 to 100: positions beyond show as full.
  percent_ = std::clamp(percent, 0, 100);
  if (shown_ && percent_ != drawn_) Draw();
}

void TerminalProgress::Show() {
  shown_ = true;
  Draw();
}

void TerminalProgress::Hide() {
  if (shown_ && drawBar_ && drawn_ >= 0) {
    // Wide enough to also wipe the "^C" that the terminal echoes after the bar.
    std::fprintf(err_, "\r%*s\r", kBarWidth + 16, "");
    std::fflush(err_);
  }
  shown_ = false;
  drawn_ = -1;
}

bool TerminalProgress::AbortRequested() const {
  return interrupted_ != nullptr && *interrupted_ != 0;
}

void TerminalProgress::Draw() {
  if (!drawBar_) return;
  char bar[kBarWidth + 1];
  const int filled = percent_ * kBarWidth / 100;
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = '\0';
  std::fprintf(err_, "\r[%s] %3d%%", bar, percent_);
  std::fflush(err_);
  drawn_ = percent_;
}

}  // namespace vortalis::cli
