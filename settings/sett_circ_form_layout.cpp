// The controls of the circular horn settings dialog, placed at fixed
// positions in a client area of fixed size, and their tab order.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>

#include "settings/sett_circ_form.h"
#include "ui/settings_look.h"

namespace {

template <class Control>
Control* Placed(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QLatin1String(name));
  control->setGeometry(left, top, width, height);
  return control;
}

QRadioButton* Radio(QWidget* group, const char* name, const QString& caption, int top, int width) {
  return Placed(new QRadioButton(caption, group), name, 8, top, width, 17);
}

QPushButton* Button(QWidget* dialog, const char* name, const QString& caption, int left, int top,
                    int width) {
  return Placed(new QPushButton(caption, dialog), name, left, top, width, 25);
}

}  // namespace

void TSettCircForm::BuildControls() {
  // The frame first, so that it lies beneath the results it surrounds.
  Bevel1 = Placed(new QFrame(this), "Bevel1", 16, 224, 257, 65);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Raised);

  HornPara = Placed(new QGroupBox(QStringLiteral("Units in"), this), "HornPara", 16, 16, 105, 73);
  mm = Radio(HornPara, "mm", QStringLiteral("&mm"), 24, 41);
  inch = Radio(HornPara, "inch", QStringLiteral("&inch"), 48, 49);
  mm->setChecked(true);

  hornsize =
      Placed(new QGroupBox(QStringLiteral("Horn size"), this), "hornsize", 160, 16, 113, 73);
  radius = Radio(hornsize, "radius", QStringLiteral("&radius"), 24, 73);
  diameter = Radio(hornsize, "diameter", QStringLiteral("&diameter"), 48, 73);
  radius->setChecked(true);

  meter =
      Placed(new QGroupBox(QStringLiteral("Table increment"), this), "meter", 16, 104, 105, 97);
  T1 = Radio(meter, "T1", QStringLiteral("1"), 24, 49);
  T10 = Radio(meter, "T10", QStringLiteral("10"), 48, 49);
  T100 = Radio(meter, "T100", QStringLiteral("100"), 72, 57);
  T1->setChecked(true);

  Label2 = NewAutoSizeLabel(this, "Label2", QStringLiteral("Throat size (mm)"), 160, 112);
  Throat = NewEditField(this, "Throat", QStringLiteral("10"), 160, 128, 113);
  Label5 = NewAutoSizeLabel(this, "Label5", QStringLiteral("Cut off frequency (Hz)"), 160, 160);
  Freq = NewEditField(this, "Freq", QStringLiteral("300"), 160, 176, 113);

  Label3 = NewAutoSizeLabel(this, "Label3", QStringLiteral("Horn length:"), 24, 236);
  Label4 = NewAutoSizeLabel(this, "Label4", QStringLiteral("xxxxxx mm"), 100, 236);
  Label1 = NewAutoSizeLabel(this, "Label1", QStringLiteral("Mouth size:"), 24, 260);
  Label6 = NewAutoSizeLabel(this, "Label6", QStringLiteral("xxxxxxx mm"), 100, 260);
  for (QLabel* result : {Label3, Label4, Label1, Label6}) UseResultFont(result);

  button3 = Button(this, "button3", QStringLiteral("&Test"), 205, 232, 60);
  button3->setDefault(true);
  Calculate = Button(this, "Calculate", QStringLiteral("&Calculate"), 15, 304, 75);
  Button1 = Button(this, "Button1", QStringLiteral("Rectangular "), 104, 304, 75);
  Cancel = Button(this, "Cancel", QStringLiteral("Close"), 192, 304, 81);
}

void TSettCircForm::SetTabOrder() {
  // By the dialog's tab order: the buttons first, then the groups, the
  // fields, and the switch to the rectangular dialog last.
  QWidget* const chain[] = {button3, Calculate, Cancel, diameter, radius, T1,     T10,
                            T100,    mm,        inch,   Freq,     Throat, Button1};
  for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
