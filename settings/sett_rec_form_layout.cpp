// The controls of the rectangular horn settings dialog, placed at fixed
// positions in a client area of fixed size.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <iterator>

#include "settings/field_memory.h"
#include "settings/sett_rec_form.h"
#include "ui/settings_look.h"
#include "ui/widgets.h"

namespace vortalis::settings {

using namespace ui;

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;

const vortalis::report::RectangularReportInput kDefaults;

QString DefaultText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TSettRecForm::BuildControls() {
  // Frames first, so that they lie beneath the controls they surround.
  Bevel2 = NewBevel(this, "Bevel2", QFrame::Sunken, {152, 21, 137, 132});
  Bevel3 = NewBevel(this, "Bevel3", QFrame::Sunken, {312, 184, 129, 129});
  Bevel1 = NewBevel(this, "Bevel1", QFrame::Raised, {16, 224, 273, 89});

  HornPara = NewGroup(this, "HornPara", QStringLiteral("Units in"), {16, 16, 105, 73});
  mm = NewRadio(HornPara, "mm", QStringLiteral("&mm"), 8, 24, 49);
  inch = NewRadio(HornPara, "inch", QStringLiteral("&inch"), 8, 48, 81);
  (kDefaults.unit == LengthUnit::Millimetre ? mm : inch)->setChecked(true);

  meter = NewGroup(this, "meter", QStringLiteral("Table increment"), {16, 104, 105, 105});
  T1 = NewRadio(meter, "T1", IncrementText(TableIncrement::T1, kDefaults.unit), 8, 24, 65);
  T10 = NewRadio(meter, "T10", IncrementText(TableIncrement::T10, kDefaults.unit), 8, 48, 65);
  T100 = NewRadio(meter, "T100", IncrementText(TableIncrement::T100, kDefaults.unit), 8, 72, 57);
  IncrementButton(kDefaults.increment)->setChecked(true);

  Label11 = NewAutoSizeLabel(this, "Label11", QStringLiteral("Throat size:  "), 160, 24);
  Label17 = NewAutoSizeLabel(this, "Label17", QStringLiteral("Distance between sides"), 160, 38);
  Label1 = NewAutoSizeLabel(this, "Label1", QStringLiteral("Side 1A - 1B  (mm)"), 160, 56);
  Side1 = NewEditField(this, "Side1", DefaultText(kDefaults.side1Text), 160, 72, 121);
  Label2 = NewAutoSizeLabel(this, "Label2", QStringLiteral("Side 2A - 2B  (mm)"), 160, 104);
  Side2 = NewEditField(this, "Side2", DefaultText(kDefaults.side2Text), 160, 120, 121);
  Label5 = NewAutoSizeLabel(this, "Label5", QStringLiteral("Cut off frequency (Hz)"), 160, 168);
  Freq = NewEditField(this, "Freq", DefaultText(kDefaults.frequencyText), 160, 184, 121);

  GroupBox1 = NewGroup(this, "GroupBox1", QStringLiteral("Horn mouth location"), {312, 16, 129, 137});
  Location1 = NewRadio(GroupBox1, "Location1", QStringLiteral("Free air"), 8, 20, 113);
  Location2 = NewRadio(GroupBox1, "Location2", QStringLiteral("Against one wall"), 8, 44, 113);
  Location4 = NewRadio(GroupBox1, "Location4", QStringLiteral("Against two walls"), 8, 70, 113);
  Label16 = NewAutoSizeLabel(GroupBox1, "Label16", QStringLiteral("(floor and one wall)"), 24, 85);
  Location8 = NewRadio(GroupBox1, "Location8", QStringLiteral("Against three walls"), 8, 103, 113);
  Label12 =
      NewAutoSizeLabel(GroupBox1, "Label12", QStringLiteral("(floor and two walls)"), 25, 118);
  LocationButton(kDefaults.location)->setChecked(true);

  OneSide = Named(new QCheckBox(QStringLiteral("Select two flat sides"), this), "OneSide");
  // The caption may need a little more than its 113 pixels in fonts wider
  // than the one the layout was drawn for; the frame leaves room for it.
  OneSide->setGeometry(320, 192, std::max(113, OneSide->sizeHint().width()), 17);
  Label14 = NewAutoSizeLabel(this, "Label14", QStringLiteral("(1A and 1B)"), 352, 208);
  Label15 = NewAutoSizeLabel(this, "Label15", QStringLiteral("Mouth size:"), 320, 232);
  Label18 = NewAutoSizeLabel(this, "Label18", QStringLiteral("Distance between sides"), 320, 246);
  Label10 = NewAutoSizeLabel(this, "Label10", QStringLiteral("Side 1A - 1B  (mm)"), 320, 264);
  MouthS1 = NewEditField(this, "MouthS1", DefaultText(kDefaults.mouthText), 320, 280, 113);
  for (QWidget* flatSideControl :
       {static_cast<QWidget*>(Label15), static_cast<QWidget*>(Label18),
        static_cast<QWidget*>(Label10), static_cast<QWidget*>(MouthS1)}) {
    flatSideControl->setEnabled(false);
  }

  Label3 = NewAutoSizeLabel(this, "Label3", QStringLiteral("Horn length:"), 24, 234);
  Label4 = NewAutoSizeLabel(this, "Label4", QStringLiteral("xxxxxx mm"), 104, 234);
  Label6 = NewAutoSizeLabel(this, "Label6", QStringLiteral("Mouth size:  Distance between sides"),
                            24, 256);
  Label13 = NewAutoSizeLabel(this, "Label13", QStringLiteral("Side 1A - 1B:"), 24, 274);
  Label7 = NewAutoSizeLabel(this, "Label7", QStringLiteral("xxxxxx mm"), 112, 274);
  Label8 = NewAutoSizeLabel(this, "Label8", QStringLiteral("Side 2A - 2B:"), 24, 290);
  Label9 = NewAutoSizeLabel(this, "Label9", QStringLiteral("xxxxxx mm"), 112, 290);
  for (QLabel* result : {Label3, Label4, Label6, Label7, Label8, Label9, Label13}) {
    UseResultFont(result);
  }

  button3 = NewButton(this, "button3", QStringLiteral("&Test"), 208, 230, 73);
  Calculate = NewButton(this, "Calculate", QStringLiteral("&Calculate"), 56, 324, 75);
  Button1 = NewButton(this, "Button1", QStringLiteral("Circular"), 176, 324, 75);
  CancelBtn = NewButton(this, "CancelBtn", QStringLiteral("Close"), 295, 324, 75);
  button3->setDefault(true);
}

void TSettRecForm::SetTabOrder() {
  // Button order first, then the groups with their buttons, then the fields
  // (frequency before the sides), the flat sides, the location and the switch.
  QWidget* const chain[] = {button3, CancelBtn, Calculate, mm,        inch,      T1,
                            T10,     T100,      Freq,      Side2,     Side1,     OneSide,
                            MouthS1, Location1, Location2, Location4, Location8, Button1};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace vortalis::settings
