#include "settings/field_memory.h"

#include <QLineEdit>
#include <QWidget>

#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "geometry/number_text.h"
#include "geometry/tractrix.h"

namespace {

// The remembered text lives in a property of the field itself, so it has the
// field's lifetime and needs no bookkeeping in the dialogs.
constexpr const char* kRememberedProperty = "vortalisRememberedText";

constexpr int kEnteredLengthPrecision = 8;
constexpr int kMillimetreDecimals = 2;
constexpr int kInchDecimals = 4;

}  // namespace

void RememberText(QLineEdit* field) { field->setProperty(kRememberedProperty, field->text()); }

QString RememberedText(const QLineEdit* field) {
  return field->property(kRememberedProperty).toString();
}

void RestoreRememberedText(QLineEdit* field) { field->setText(RememberedText(field)); }

QString EnteredLengthText(long double value, vortalis::geometry::LengthUnit unit) {
  using vortalis::geometry::LengthUnit;
  const int decimals = unit == LengthUnit::Millimetre ? kMillimetreDecimals : kInchDecimals;
  return QString::fromStdString(
      vortalis::geometry::FixedText(value, kEnteredLengthPrecision, decimals, CurrentSeparators()));
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
