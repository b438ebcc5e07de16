#include "report_window/report_calculation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <exception>
#include <utility>
#include <vector>

#include "ui/forms.h"
#include "ui/locale_separators.h"
#include "report_window/locale_stamp_provider.h"
#include "report/report_generator.h"
#include "report_window/waitform.h"
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

ReportSource CurrentReportSource() {
  ReportSource source;
  source.separators = CurrentSeparators();
  if (!waitform) return source;
  source.hornKind = waitform->HornKind();
  if (source.hornKind == QStringLiteral("Circ") && SettCircForm) {
    source.circular = SettCircForm->ReadInput();
  }
  if (source.hornKind == QStringLiteral("Rec") && SettRecForm) {
    source.rectangular = SettRecForm->ReadInput();
  }
  return source;
}

QString RunReportGenerator(const ReportSource& source, vortalis::report::ReportLineSink& document) {
  if (!waitform) return {};
  CalculationScope scope;
  WaitformProgress progress;
  const LocaleStampProvider stamp;
  vortalis::report::ReportEnvironment env{
      document, progress, [] { QCoreApplication::processEvents(); }, stamp, source.separators};
  try {
    if (source.circular) vortalis::report::GenerateCircularReport(*source.circular, env);
    if (source.rectangular) vortalis::report::GenerateRectangularReport(*source.rectangular, env);
  } catch (const std::exception& error) {
    // A generator that stopped half-way must not leave an Abort button behind
    // that nothing listens to.
    waitform->hide();
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}

QString RunReportGenerator(vortalis::report::ReportLineSink& document) {
  return RunReportGenerator(CurrentReportSource(), document);
}
