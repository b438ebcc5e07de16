#include "settings/dialog_fill.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "settings/field_memory.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"

namespace vortalis::settings {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::SizeMode;

namespace {

void SetText(QLineEdit* field, const std::string& text) {
  field->setText(QString::fromStdString(text));
  RememberText(field);
}

}  // namespace

void FillCircularDialog(TSettCircForm& dialog, const vortalis::report::CircularReportInput& input) {
  (input.unit == LengthUnit::Millimetre ? dialog.mm : dialog.inch)->setChecked(true);
  (input.size == SizeMode::Radius ? dialog.radius : dialog.diameter)->setChecked(true);
  IncrementButtonOf(input.increment, dialog.T1, dialog.T10, dialog.T100)->setChecked(true);
  SetText(dialog.Freq, input.frequencyText);
  SetText(dialog.Throat, input.throatText);
}

void FillRectangularDialog(TSettRecForm& dialog,
                           const vortalis::report::RectangularReportInput& input) {
  (input.unit == LengthUnit::Millimetre ? dialog.mm : dialog.inch)->setChecked(true);
  IncrementButtonOf(input.increment, dialog.T1, dialog.T10, dialog.T100)->setChecked(true);
  const std::pair<QRadioButton*, MouthLocation> locations[] = {
      {dialog.Location1, MouthLocation::FreeAir},
      {dialog.Location2, MouthLocation::OneWall},
      {dialog.Location4, MouthLocation::TwoWalls},
      {dialog.Location8, MouthLocation::ThreeWalls}};
  for (const auto& [button, location] : locations)
    if (location == input.location) button->setChecked(true);
  dialog.OneSide->setChecked(input.flatSides);
  SetText(dialog.Freq, input.frequencyText);
  SetText(dialog.Side1, input.side1Text);
  SetText(dialog.Side2, input.side2Text);
  // Without flat sides the design has no mouth text: the field keeps its own.
  if (input.flatSides) SetText(dialog.MouthS1, input.mouthText);
}

}  // namespace vortalis::settings
