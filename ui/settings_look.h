#pragma once

#include <QString>

class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

// The look both settings dialogs share: a fixed client area, a small dialog
// font, and result labels one size larger in black.

// Caption, fixed dialog border of the given client size, the dialog font,
// kept above the program's other windows and centred on the screen.
void SetUpSettingsWindow(QDialog* dialog, const QString& caption, int clientWidth,
                         int clientHeight);

// A label named `name` at (left, top) that takes the size of its text.
QLabel* NewAutoSizeLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
// Changes the text of such a label and resizes it to the new text.
void SetAutoSizeText(QLabel* label, const QString& text);

// The larger black font of the quick test's captions and results.
void UseResultFont(QLabel* label);

// An edit field at (left, top), 21 pixels high, that takes any text the user
// pastes (Qt would cut it at 32,767 characters without a word).
QLineEdit* NewEditField(QWidget* parent, const char* name, const QString& text, int left, int top,
                        int width);
