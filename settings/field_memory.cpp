#include "settings/field_memory.h"

#include <QLineEdit>
#include <QWidget>
#include <utility>

#include "geometry/number_text.h"
#include "geometry/tractrix.h"
#include "report/number_format.h"
#include "report_window/text_form.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/show_in_front.h"

namespace vortalis::settings {

using namespace ui;
using namespace report_window;

namespace {

// The remembered text lives in a property of the field itself, so it has the
// field's lifetime and needs no bookkeeping in the dialogs.
constexpr const char* kRememberedProperty = "vortalisRememberedText";

}  // namespace

void RememberText(QLineEdit* field) { field->setProperty(kRememberedProperty, field->text()); }

QString RememberedText(const QLineEdit* field) {
  return field->property(kRememberedProperty).toString();
}

void RestoreRememberedText(QLineEdit* field) { field->setText(RememberedText(field)); }

QString EnteredLengthText(long double value, vortalis::geometry::LengthUnit unit) {
  return QString::fromStdString(vortalis::report::FormatNumber(
      value, vortalis::report::SizeFormat(unit), CurrentSeparators()));
}

bool ConvertEnteredLength(QLineEdit* field, vortalis::geometry::LengthUnit target) {
  const auto value =
      vortalis::geometry::ParseNumber(field->text().toStdString(), CurrentSeparators());
  if (!value) return false;
  field->setText(EnteredLengthText(vortalis::geometry::ConvertLength(*value, target), target));
  RememberText(field);
  return true;
}

void ReportInputProblem(const vortalis::report::InputProblem& problem, QWidget* field) {
  Prompts().Message(QString::fromStdString(problem.message));
  if (field) field->setFocus(Qt::OtherFocusReason);
}

void OpenReport(QWidget* dialog, QWidget* otherDialog, vortalis::report::HornInput horn) {
  if (!TTextForm::Open(dialog, {std::move(horn), CurrentSeparators()})) return;
  if (otherDialog) otherDialog->hide();
  ShowInFront(dialog);
}

QRadioButton* IncrementButtonOf(vortalis::geometry::TableIncrement increment, QRadioButton* t1,
                                QRadioButton* t10, QRadioButton* t100) {
  using vortalis::geometry::TableIncrement;
  return increment == TableIncrement::T10 ? t10 : increment == TableIncrement::T100 ? t100 : t1;
}

QString IncrementText(vortalis::geometry::TableIncrement increment,
                      vortalis::geometry::LengthUnit unit) {
  return QString::fromLatin1(vortalis::geometry::IncrementCaption(increment, unit));
}

}  // namespace vortalis::settings
