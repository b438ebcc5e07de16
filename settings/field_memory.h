#pragma once

#include <QString>

#include "geometry/units.h"
#include "report/input_check.h"
#include "report/report_input.h"

class QLineEdit;
class QRadioButton;
class QWidget;

namespace vortalis::settings {

// Window helpers both settings dialogs share: the remembered value of each
// edit field, the unit conversion of an entered length, and the validation
// message with its focus change.

// Each edit field carries the last text its dialog accepted; it is never shown.
// A field that was never remembered reads as empty.
void RememberText(QLineEdit* field);
QString RememberedText(const QLineEdit* field);
// Puts the remembered text back, discarding what was typed since.
void RestoreRememberedText(QLineEdit* field);

// An entered length as the dialogs write it back, in the size format of the
// reports (8 significant digits, 2 decimals in millimetres, 4 in inches).
QString EnteredLengthText(long double value, vortalis::geometry::LengthUnit unit);

// After the dialog switched to `target`: the field's length converted, written
// back with the unit's decimals and remembered. A text that is not a number
// is left as it is, without a message; returns whether the field changed.
bool ConvertEnteredLength(QLineEdit* field, vortalis::geometry::LengthUnit target);

// The validation's message box, then the focus to `field` (nullptr: the
// focus stays where it was, as after a frequency and throat mismatch).
void ReportInputProblem(const vortalis::report::InputProblem& problem, QWidget* field);

// The button of `increment` among the three increment buttons.
QRadioButton* IncrementButtonOf(vortalis::geometry::TableIncrement increment, QRadioButton* t1,
                                QRadioButton* t10, QRadioButton* t100);

// An increment button's caption in `unit`.
QString IncrementText(vortalis::geometry::TableIncrement increment,
                      vortalis::geometry::LengthUnit unit);

// Calculate of either dialog: the report of `horn` in a new report window,
// then, unless the program is ending, `dialog` in front and `otherDialog` hidden.
void OpenReport(QWidget* dialog, QWidget* otherDialog, vortalis::report::HornInput horn);

}  // namespace vortalis::settings
