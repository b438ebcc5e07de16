#include "settings/sett_rec_form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "report_window/report_calculation.h"
#include "report_window/waitform.h"
#include "settings/field_memory.h"
#include "settings/sett_circ_form.h"
#include "ui/locale_separators.h"
#include "ui/settings_look.h"
#include "ui/show_in_front.h"
#include "ui/widgets.h"

namespace vortalis::settings {

using namespace ui;
using namespace report_window;

TSettRecForm* SettRecForm = nullptr;

using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::TableIncrement;
using vortalis::report::InputField;
using vortalis::report::RectangularReportInput;

TSettRecForm::TSettRecForm(QWidget* parent) : QDialog(parent) {
  SetUpSettingsWindow(this, QStringLiteral("Rectangular horn settings"), 458, 361);
  BuildControls();
  SetTabOrder();
  RememberInputs();
  ConnectHandlers();
}

void TSettRecForm::ConnectHandlers() {
  connect(button3, &QPushButton::clicked, this, &TSettRecForm::button3Click);
  connect(Calculate, &QPushButton::clicked, this, &TSettRecForm::CalculateClick);
  RegisterCalculateButton(Calculate);
  connect(CancelBtn, &QPushButton::clicked, this, &TSettRecForm::CancelBtnClick);
  connect(Button1, &QPushButton::clicked, this, &TSettRecForm::Button1Click);
  // The unit handlers run only when the selection changes.
  connect(mm, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) mmClick();
  });
  connect(inch, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) inchClick();
  });
  connect(OneSide, &QCheckBox::toggled, this, &TSettRecForm::OneSideClick);
}

void TSettRecForm::FormCreate() {
  // The initial texts always pass, so no message is shown during creation.
  if (ValidateRectangularInput()) ShowQuickTestResult();
}

void TSettRecForm::FormShow() {
  for (QLineEdit* field : {Freq, Side1, Side2, MouthS1}) RestoreRememberedText(field);
  button3->setFocus(Qt::OtherFocusReason);
}

void TSettRecForm::button3Click() {
  if (!ValidateRectangularInput()) return;
  ShowQuickTestResult();
  RememberInputs();
}

void TSettRecForm::CalculateClick() {
  if (!ValidateRectangularInput()) return;
  // An Abort pressed during an earlier calculation must not stop this one.
  waitform->ClearAbort();
  waitform->SetHornKind(QStringLiteral("Rec"));
  RememberInputs();
  hide();
  OpenReport(this, SettCircForm, ReadInput());
}

void TSettRecForm::CancelBtnClick() { close(); }

void TSettRecForm::Button1Click() {
  hide();
  ShowInFront(SettCircForm);
}

void TSettRecForm::mmClick() {
  SetUnitCaptions(LengthUnit::Millimetre);
  for (QLineEdit* field : {Side1, Side2, MouthS1})
    ConvertEnteredLength(field, LengthUnit::Millimetre);
}

void TSettRecForm::inchClick() {
  SetUnitCaptions(LengthUnit::Inch);
  for (QLineEdit* field : {Side1, Side2, MouthS1}) ConvertEnteredLength(field, LengthUnit::Inch);
}

void TSettRecForm::OneSideClick() {
  const bool flat = OneSide->isChecked();
  Label18->setEnabled(flat);
  Label15->setEnabled(flat);
  Label10->setEnabled(flat);
  MouthS1->setEnabled(flat);
}

bool TSettRecForm::ValidateRectangularInput() {
  const auto problem =
      vortalis::report::FindRectangularInputProblem(ReadInput(), CurrentSeparators());
  if (!problem) return true;
  ReportInputProblem(*problem, FieldWidget(problem->field));
  return false;
}

RectangularReportInput TSettRecForm::ReadInput() const {
  RectangularReportInput input;
  input.unit = mm->isChecked() ? LengthUnit::Millimetre : LengthUnit::Inch;
  input.increment = T1->isChecked()    ? TableIncrement::T1
                    : T10->isChecked() ? TableIncrement::T10
                                       : TableIncrement::T100;
  // Read in this order, the last checked button wins; exactly one is checked.
  const std::pair<const QRadioButton*, MouthLocation> locations[] = {
      {Location1, MouthLocation::FreeAir},
      {Location2, MouthLocation::OneWall},
      {Location4, MouthLocation::TwoWalls},
      {Location8, MouthLocation::ThreeWalls}};
  for (const auto& [button, location] : locations) {
    if (button->isChecked()) input.location = location;
  }
  input.flatSides = OneSide->isChecked();
  input.frequencyText = Freq->text().toStdString();
  input.side1Text = Side1->text().toStdString();
  input.side2Text = Side2->text().toStdString();
  input.mouthText = MouthS1->text().toStdString();
  return input;
}

void TSettRecForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A spontaneous show is the window system restoring the window, not the
  // program showing it; only the latter puts the remembered values back.
  if (!event->spontaneous()) FormShow();
}

void TSettRecForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    CancelBtnClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSettRecForm::ShowQuickTestResult() {
  const auto result = vortalis::report::RectangularQuickTest(ReadInput(), CurrentSeparators());
  SetAutoSizeText(Label4, QString::fromStdString(result.length));
  SetAutoSizeText(Label7, QString::fromStdString(result.side1));
  SetAutoSizeText(Label9, QString::fromStdString(result.side2));
}

void TSettRecForm::RememberInputs() {
  for (QLineEdit* field : {Freq, Side1, Side2, MouthS1}) RememberText(field);
}

void TSettRecForm::SetUnitCaptions(LengthUnit unit) {
  const bool millimetres = unit == LengthUnit::Millimetre;
  for (const TableIncrement increment :
       {TableIncrement::T1, TableIncrement::T10, TableIncrement::T100}) {
    IncrementButton(increment)->setText(IncrementText(increment, unit));
  }
  const QString suffix = millimetres ? QStringLiteral("  (mm)") : QStringLiteral("  (inch)");
  SetAutoSizeText(Label1, QStringLiteral("Side 1A - 1B") + suffix);
  SetAutoSizeText(Label2, QStringLiteral("Side 2A - 2B") + suffix);
  SetAutoSizeText(Label10, QStringLiteral("Side 1A - 1B") + suffix);
}

QWidget* TSettRecForm::FieldWidget(InputField field) const {
  switch (field) {
    case InputField::Freq:
      return Freq;
    case InputField::Side1:
      return Side1;
    case InputField::Side2:
      return Side2;
    case InputField::MouthS1:
      return MouthS1;
    case InputField::Throat:
    case InputField::None:
      return nullptr;
  }
  return nullptr;
}

QRadioButton* TSettRecForm::IncrementButton(TableIncrement increment) const {
  return IncrementButtonOf(increment, T1, T10, T100);
}

QRadioButton* TSettRecForm::LocationButton(MouthLocation location) const {
  switch (location) {
    case MouthLocation::FreeAir:
      return Location1;
    case MouthLocation::OneWall:
      return Location2;
    case MouthLocation::TwoWalls:
      return Location4;
    case MouthLocation::ThreeWalls:
      return Location8;
  }
  return Location1;
}

}  // namespace vortalis::settings
