#pragma once

class QWidget;

// Visible and not minimised, above the program's other windows, without
// taking the keyboard: how the progress window comes back.
void BringBack(QWidget* window);

// "Show" in the program's sense: brought back and given the keyboard. A
// window disabled by the about box is only made visible, behind that box.
void ShowInFront(QWidget* window);
