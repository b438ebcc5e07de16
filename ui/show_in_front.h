#pragma once

#include <qnamespace.h>

class QWidget;

namespace vortalis::ui {

// A dialog opened from a report's menu: above the settings dialogs, which stay
// on top, so that it never opens hidden behind one.
inline constexpr Qt::WindowFlags kReportDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::WindowStaysOnTopHint;

// Visible and not minimised, above the program's other windows, without
// taking the keyboard: how the progress window comes back.
void BringBack(QWidget* window);

// "Show" in the program's sense: brought back and given the keyboard. A
// window disabled by the about box is only made visible, and the box comes
// back in front of it.
void ShowInFront(QWidget* window);

// The box that has disabled the program's other windows (the about box)
// while it is up; nullptr once it is gone.
void SetBlockingBox(QWidget* box);

}  // namespace vortalis::ui
