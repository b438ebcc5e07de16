#include "report_window/report_calculation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <exception>
#include <utility>
#include <vector>

#include "report/report_generator.h"
#include "report_window/locale_stamp_provider.h"
#include "report_window/waitform.h"
#include "ui/forms.h"
#include "ui/show_in_front.h"

namespace {

using vortalis::report::ProgressPort;

std::vector<QPointer<QPushButton>>& CalculateButtons() {
  static std::vector<QPointer<QPushButton>> buttons;
  return buttons;
}

class WaitformProgress final : public ProgressPort {
 public:
  void SetPosition(int percent) override { waitform->SetPosition(percent); }
  void Show() override { BringBack(waitform); }
  void Hide() override { waitform->hide(); }
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
  vortalis::report::ReportEnvironment env{
      document, progress, [] { QCoreApplication::processEvents(); }, stamp, source.separators};
  try {
    if (source.horn) vortalis::report::GenerateReport(*source.horn, env);
  } catch (const std::exception& error) {
    // A generator that stopped half-way must not leave an Abort button behind
    // that nothing listens to.
    waitform->hide();
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}
