#include "report_window/report_calculation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

#include "report/report_generator.h"
#include "report_window/locale_stamp_provider.h"
#include "report_window/waitform.h"
#include "ui/show_in_front.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

using vortalis::report::ProgressPort;

// The generator offers the event processing once per station; a pass costs
// about a microsecond, more than a station's own work, so only every 32nd
// offer is taken: still thousands of passes a second.
constexpr std::uint32_t kStationsPerPass = 32;

// Set when a generator that ended normally asked to hide the progress window.
bool progressHidePending = false;

std::vector<QPointer<QPushButton>>& CalculateButtons() {
  static std::vector<QPointer<QPushButton>> buttons;
  return buttons;
}

class WaitformProgress final : public ProgressPort {
 public:
  void SetPosition(int percent) override { waitform->SetPosition(percent); }
  void Show() override { BringBack(waitform); }
  // The window stays up until the report is on screen (HideFinishedProgress).
  void Hide() override { progressHidePending = true; }
  bool AbortRequested() const override { return waitform->AbortRequested(); }
};

// Marks the calculation as running for its whole length, also when the
// generator throws.
class CalculationScope {
 public:
  CalculationScope() {
    waitform->SetCalculating(true);
    for (const QPointer<QPushButton>& button : CalculateButtons()) {
      if (!button) continue;
      buttons_.push_back({button, button->isEnabled()});
      button->setEnabled(false);
    }
  }
  ~CalculationScope() {
    for (const auto& [button, wasEnabled] : buttons_) {
      if (button) button->setEnabled(wasEnabled);
    }
    waitform->SetCalculating(false);
  }
  CalculationScope(const CalculationScope&) = delete;
  CalculationScope& operator=(const CalculationScope&) = delete;

 private:
  std::vector<std::pair<QPointer<QPushButton>, bool>> buttons_;
};

}  // namespace

void RegisterCalculateButton(QPushButton* button) { CalculateButtons().emplace_back(button); }

QString RunReportGenerator(const ReportSource& source, vortalis::report::ReportLineSink& document) {
  if (!waitform) return {};
  CalculationScope scope;
  WaitformProgress progress;
  const LocaleStampProvider stamp;
  std::uint32_t offers = 0;
  const auto pump = [&offers] {
    if (offers++ % kStationsPerPass == 0) QCoreApplication::processEvents();
  };
  vortalis::report::ReportEnvironment env{document, progress, pump, stamp, source.separators};
  try {
    if (source.horn) vortalis::report::GenerateReport(*source.horn, env);
  } catch (const std::exception& error) {
    // A generator that stopped half-way must not leave an Abort button behind
    // that nothing listens to.
    progressHidePending = false;
    waitform->hide();
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}

void HideFinishedProgress() {
  if (!progressHidePending) return;
  progressHidePending = false;
  if (waitform) waitform->hide();
}

}  // namespace vortalis::report_window
