#pragma once

class QDialog;
class QWidget;

namespace vortalis::report_window {

// Shows `dialog` modal to one report only: the report's window (its title bar,
// close box, editor and menus) takes no input while the dialog is up, and the
// main window, its menus and the other reports keep answering. Qt's own window
// modality cannot do that for a report inside the main window: it blocks the
// whole main window. `dialog` must not be a child of `report`, which is
// disabled; a dialog already shown is only brought to the front.
void ShowModalToReport(QDialog* dialog, QWidget* report);

}  // namespace vortalis::report_window
