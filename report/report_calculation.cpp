#include "report/report_calculation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <exception>
#include <utility>
#include <vector>

#include "app/forms.h"
#include "app/locale_separators.h"
#include "report/locale_stamp_provider.h"
#include "report/report_generator.h"
#include "report/waitform.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"

namespace {

using vortalis::report::ProgressPort;

class WaitformProgress final : public ProgressPort {
 public:
  void SetPosition(int percent) override { waitform->SetPosition(percent); }
  void Show() override {
    waitform->show();
    waitform->raise();
  }
  void Hide() override { waitform->hide(); }
  bool AbortRequested() const override { return waitform->AbortRequested(); }
};

// Marks the calculation as running for its whole length, also when the
// generator throws.
class CalculationScope {
 public:
  CalculationScope() {
    waitform->SetCalculating(true);
    Disable(SettCircForm ? SettCircForm->Calculate : nullptr);
    Disable(SettRecForm ? SettRecForm->Calculate : nullptr);
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
  void Disable(QPushButton* button) {
    if (!button) return;
    buttons_.push_back({button, button->isEnabled()});
    button->setEnabled(false);
  }

  std::vector<std::pair<QPointer<QPushButton>, bool>> buttons_;
};

}  // namespace

QString RunReportGenerator(vortalis::report::ReportLineSink& document) {
  if (!waitform) return {};
  CalculationScope scope;
  WaitformProgress progress;
  const LocaleStampProvider stamp;
  vortalis::report::ReportEnvironment env{
      document, progress, [] { QCoreApplication::processEvents(); }, stamp, CurrentSeparators()};
  try {
    if (waitform->HornKind() == QStringLiteral("Circ") && SettCircForm) {
      vortalis::report::GenerateCircularReport(SettCircForm->ReadInput(), env);
    }
    if (waitform->HornKind() == QStringLiteral("Rec") && SettRecForm) {
      vortalis::report::GenerateRectangularReport(SettRecForm->ReadInput(), env);
    }
  } catch (const std::exception& error) {
    // A generator that stopped half-way must not leave an Abort button behind
    // that nothing listens to.
    waitform->hide();
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}
