#include "report_window/report_modal.h"

#include <QDialog>
#include <QPointer>
#include <QVariant>
#include <memory>

#include "ui/show_in_front.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

// How many dialogs block the report now; it answers again at none.
constexpr char kBlockers[] = "vortalisModalDialogs";

void AddBlocker(QWidget* report, int change) {
  const int blockers = report->property(kBlockers).toInt() + change;
  report->setProperty(kBlockers, blockers);
  report->setEnabled(blockers <= 0);
}

}  // namespace

void ShowModalToReport(QDialog* dialog, QWidget* report) {
  if (!dialog->isVisible()) {
    dialog->setWindowModality(Qt::NonModal);
    AddBlocker(report, +1);
    const QPointer<QWidget> blocked(report);
    const auto released = std::make_shared<bool>(false);
    const auto release = [blocked, released] {
      if (*released || !blocked) return;
      *released = true;
      AddBlocker(blocked, -1);
    };
    QObject::connect(dialog, &QDialog::finished, report, release);
    QObject::connect(dialog, &QObject::destroyed, report, release);
  }
  ShowInFront(dialog);
}

}  // namespace vortalis::report_window
