#pragma once

#include <QString>

class QDialog;
class QLabel;
class QWidget;

namespace vortalis::ui {

// The look both settings dialogs share: a fixed client area, a small dialog
// font, and result labels one size larger in black.

// Caption, fixed dialog border of the given client size, the dialog font,
// kept above the program's other windows and centred on the screen.
void SetUpSettingsWindow(QDialog* dialog, const QString& caption, int clientWidth,
                         int clientHeight);

// The larger black font of the quick test's captions and results.
void UseResultFont(QLabel* label);

}  // namespace vortalis::ui
