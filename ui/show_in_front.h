#pragma once

class QWidget;

// "Show" in the program's sense: visible and in front of the other windows.
void ShowInFront(QWidget* window);
