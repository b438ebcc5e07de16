// The controls of the circular horn settings dialog, placed at fixed
// positions in a client area of fixed size, and their tab order.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>

#include "settings/field_memory.h"
#include "settings/sett_circ_form.h"
#include "ui/settings_look.h"
#include "ui/widgets.h"

namespace vortalis::settings {

using namespace ui;

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;

const vortalis::report::CircularReportInput kDefaults;

QString DefaultText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TSettCircForm::BuildControls() {
  // The frame first, so that it lies beneath the results it surrounds.
  Bevel1 = NewBevel(this, "Bevel1", QFrame::Raised, {16, 224, 257, 65});

  HornPara = NewGroup(this, "HornPara", QStringLiteral("Units in"), {16, 16, 105, 73});
  mm = NewRadio(HornPara, "mm", QStringLiteral("&mm"), 8, 24, 41);
  inch = NewRadio(HornPara, "inch", QStringLiteral("&inch"), 8, 48, 49);
  (kDefaults.unit == LengthUnit::Millimetre ? mm : inch)->setChecked(true);

  hornsize =
      NewGroup(this, "hornsize", QStringLiteral("Horn size"), {160, 16, 113, 73});
  radius = NewRadio(hornsize, "radius", QStringLiteral("&radius"), 8, 24, 73);
  diameter = NewRadio(hornsize, "diameter", QStringLiteral("&diameter"), 8, 48, 73);
  (kDefaults.size == SizeMode::Radius ? radius : diameter)->setChecked(true);

  meter =
      NewGroup(this, "meter", QStringLiteral("Table increment"), {16, 104, 105, 97});
  T1 = NewRadio(meter, "T1", IncrementText(TableIncrement::T1, kDefaults.unit), 8, 24, 49);
  T10 = NewRadio(meter, "T10", IncrementText(TableIncrement::T10, kDefaults.unit), 8, 48, 49);
  T100 = NewRadio(meter, "T100", IncrementText(TableIncrement::T100, kDefaults.unit), 8, 72, 57);
  IncrementButton(kDefaults.increment)->setChecked(true);

  Label2 = NewAutoSizeLabel(this, "Label2", QStringLiteral("Throat size (mm)"), 160, 112);
  Throat = NewEditField(this, "Throat", DefaultText(kDefaults.throatText), 160, 128, 113);
  Label5 = NewAutoSizeLabel(this, "Label5", QStringLiteral("Cut off frequency (Hz)"), 160, 160);
  Freq = NewEditField(this, "Freq", DefaultText(kDefaults.frequencyText), 160, 176, 113);

  Label3 = NewAutoSizeLabel(this, "Label3", QStringLiteral("Horn length:"), 24, 236);
  Label4 = NewAutoSizeLabel(this, "Label4", QStringLiteral("xxxxxx mm"), 100, 236);
  Label1 = NewAutoSizeLabel(this, "Label1", QStringLiteral("Mouth size:"), 24, 260);
  Label6 = NewAutoSizeLabel(this, "Label6", QStringLiteral("xxxxxxx mm"), 100, 260);
  for (QLabel* result : {Label3, Label4, Label1, Label6}) UseResultFont(result);

  button3 = NewButton(this, "button3", QStringLiteral("&Test"), 205, 232, 60);
  button3->setDefault(true);
  Calculate = NewButton(this, "Calculate", QStringLiteral("&Calculate"), 15, 304, 75);
  Button1 = NewButton(this, "Button1", QStringLiteral("Rectangular "), 104, 304, 75);
  Cancel = NewButton(this, "Cancel", QStringLiteral("Close"), 192, 304, 81);
}

void TSettCircForm::SetTabOrder() {
  // By the dialog's tab order: the buttons first, then the groups, the
  // fields, and the switch to the rectangular dialog last.
  QWidget* const chain[] = {button3, Calculate, Cancel, diameter, radius, T1,     T10,
                            T100,    mm,        inch,   Freq,     Throat, Button1};
  for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace vortalis::settings
