#pragma once

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>

#include "app/main_form.h"
#include "report_window/text_form.h"
#include "settings/sett_circ_form.h"

// The windows under test.
using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

// The report windows inside the main window, as the tests reach them.

inline QList<QMdiSubWindow*> Reports() { return Mainform->mdiArea->subWindowList(); }

// The report that the last action added, or nullptr when none was added.
inline TTextForm* NewestReport(qsizetype before) {
  const QList<QMdiSubWindow*> reports = Reports();
  if (reports.size() != before + 1) return nullptr;
  return qobject_cast<TTextForm*>(reports.constLast()->widget());
}

// Calculate in the circular dialog as the user presses it; the new report, or
// nullptr when the dialog refused the input.
inline TTextForm* CalculateCircular(const QString& frequency, const QString& throat,
                                    QRadioButton* increment) {
  SettCircForm->Freq->setText(frequency);
  SettCircForm->Throat->setText(throat);
  increment->setChecked(true);
  const qsizetype before = Reports().size();
  SettCircForm->Calculate->click();
  return NewestReport(before);
}

// Closes every report without its save question: the changes are dropped first.
inline void DiscardReports() {
  for (QMdiSubWindow* window : Reports()) {
    if (auto* form = qobject_cast<TTextForm*>(window->widget()))
      form->reportText->document()->setModified(false);
    window->close();
  }
}
