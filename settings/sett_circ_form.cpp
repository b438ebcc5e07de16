#include "settings/sett_circ_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "geometry/number_text.h"
#include "report/horn_model.h"
#include "report_window/report_calculation.h"
#include "report_window/waitform.h"
#include "settings/field_memory.h"
#include "settings/sett_rec_form.h"
#include "ui/locale_separators.h"
#include "ui/settings_look.h"
#include "ui/show_in_front.h"
#include "ui/widgets.h"

namespace vortalis::settings {

using namespace ui;
using namespace report_window;

TSettCircForm* SettCircForm = nullptr;

using vortalis::geometry::LengthUnit;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;
using vortalis::report::CircularReportInput;
using vortalis::report::InputField;

TSettCircForm::TSettCircForm(QWidget* parent) : QDialog(parent) {
  SetUpSettingsWindow(this, QStringLiteral("Circular horn settings"), 292, 342);
  // The fixed places were laid out for narrow sans-serif captions; Arial, or
  // the metric twin that the system puts in its place, keeps them apart.
  QFont narrow = font();
  narrow.setFamily(QStringLiteral("Arial"));
  setFont(narrow);
  BuildControls();
  SetTabOrder();
  RememberInputs();
  ConnectHandlers();
}

void TSettCircForm::ConnectHandlers() {
  connect(button3, &QPushButton::clicked, this, &TSettCircForm::button3Click);
  connect(Calculate, &QPushButton::clicked, this, &TSettCircForm::CalculateClick);
  RegisterCalculateButton(Calculate);
  connect(Cancel, &QPushButton::clicked, this, &TSettCircForm::CancelClick);
  connect(Button1, &QPushButton::clicked, this, &TSettCircForm::Button1Click);
  // The unit and size handlers run only when the selection changes.
  const auto onCheck = [this](QRadioButton* button, void (TSettCircForm::*handler)()) {
    connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
      if (checked) (this->*handler)();
    });
  };
  onCheck(mm, &TSettCircForm::mmClick);
  onCheck(inch, &TSettCircForm::inchClick);
  onCheck(radius, &TSettCircForm::radiusClick);
  onCheck(diameter, &TSettCircForm::diameterClick);
}

void TSettCircForm::FormCreate() {
  // The initial texts always pass, so no message is shown during creation.
  if (ValidateCircularInput()) ShowQuickTestResult();
}

void TSettCircForm::FormShow() {
  RestoreRememberedText(Throat);
  RestoreRememberedText(Freq);
  button3->setFocus(Qt::OtherFocusReason);
}

void TSettCircForm::button3Click() {
  if (!ValidateCircularInput()) return;
  ShowQuickTestResult();
  RememberInputs();
}

void TSettCircForm::CalculateClick() {
  if (!ValidateCircularInput()) return;
  // An Abort pressed during an earlier calculation must not stop this one.
  waitform->ClearAbort();
  waitform->SetHornKind(QStringLiteral("Circ"));
  RememberInputs();
  hide();
  OpenReport(this, SettRecForm, ReadInput());
}

void TSettCircForm::CancelClick() { close(); }

void TSettCircForm::Button1Click() {
  hide();
  ShowInFront(SettRecForm);
}

void TSettCircForm::mmClick() {
  SetUnitCaptions(LengthUnit::Millimetre);
  ConvertEnteredLength(Throat, LengthUnit::Millimetre);
}

void TSettCircForm::inchClick() {
  SetUnitCaptions(LengthUnit::Inch);
  ConvertEnteredLength(Throat, LengthUnit::Inch);
}

void TSettCircForm::radiusClick() { ConvertThroatSize(SizeMode::Radius); }

void TSettCircForm::diameterClick() { ConvertThroatSize(SizeMode::Diameter); }

bool TSettCircForm::ValidateCircularInput() {
  const auto problem = vortalis::report::FindCircularInputProblem(ReadInput(), CurrentSeparators());
  if (!problem) return true;
  ReportInputProblem(*problem, FieldWidget(problem->field));
  return false;
}

CircularReportInput TSettCircForm::ReadInput() const {
  CircularReportInput input;
  input.unit = mm->isChecked() ? LengthUnit::Millimetre : LengthUnit::Inch;
  input.size = radius->isChecked() ? SizeMode::Radius : SizeMode::Diameter;
  input.increment = T1->isChecked()    ? TableIncrement::T1
                    : T10->isChecked() ? TableIncrement::T10
                                       : TableIncrement::T100;
  input.frequencyText = Freq->text().toStdString();
  input.throatText = Throat->text().toStdString();
  return input;
}

void TSettCircForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A spontaneous show is the window system restoring the window, not the
  // program showing it; only the latter puts the remembered values back.
  if (!event->spontaneous()) FormShow();
}

void TSettCircForm::keyPressEvent(QKeyEvent* event) {
  // This dialog has no cancel button: Escape does not close it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return;
  QDialog::keyPressEvent(event);
}

void TSettCircForm::ShowQuickTestResult() {
  const auto result = vortalis::report::CircularQuickTest(ReadInput(), CurrentSeparators());
  SetAutoSizeText(Label4, QString::fromStdString(result.length));
  SetAutoSizeText(Label6, QString::fromStdString(result.mouth));
}

void TSettCircForm::RememberInputs() {
  RememberText(Freq);
  RememberText(Throat);
}

void TSettCircForm::SetUnitCaptions(LengthUnit unit) {
  const bool millimetres = unit == LengthUnit::Millimetre;
  for (const TableIncrement increment :
       {TableIncrement::T1, TableIncrement::T10, TableIncrement::T100}) {
    IncrementButton(increment)->setText(IncrementText(increment, unit));
  }
  SetAutoSizeText(Label2, millimetres ? QStringLiteral("Throat size (mm)")
                                      : QStringLiteral("Throat size (inch)"));
}

void TSettCircForm::ConvertThroatSize(SizeMode target) {
  using vortalis::report::RadiusOfSize;
  using vortalis::report::SizeOfRadius;
  const auto value =
      vortalis::geometry::ParseNumber(Throat->text().toStdString(), CurrentSeparators());
  if (!value) return;
  // The entered size was a diameter when switching to radius, and a radius
  // when switching to diameter.
  const long double converted = target == SizeMode::Radius
                                    ? RadiusOfSize(*value, SizeMode::Diameter)
                                    : SizeOfRadius(*value, SizeMode::Diameter);
  Throat->setText(EnteredLengthText(converted, ReadInput().unit));
  RememberText(Throat);
}

QWidget* TSettCircForm::FieldWidget(InputField field) const {
  switch (field) {
    case InputField::Freq:
      return Freq;
    case InputField::Throat:
      return Throat;
    case InputField::None:
    case InputField::Side1:
    case InputField::Side2:
    case InputField::MouthS1:
      return nullptr;
  }
  return nullptr;
}

QRadioButton* TSettCircForm::IncrementButton(TableIncrement increment) const {
  return IncrementButtonOf(increment, T1, T10, T100);
}

}  // namespace vortalis::settings
