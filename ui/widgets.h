#pragma once

#include <QAction>
#include <QFrame>
#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vortalis::ui {

// The one way the windows make their controls and actions. Every control and
// action carries an object name, by which tests find it.

template <class Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QLatin1String(name));
  return control;
}

// A control at a fixed place of a fixed-size client area.
template <class Control>
Control* Placed(Control* control, const char* name, const QRect& place) {
  Named(control, name)->setGeometry(place);
  return control;
}

// Tab enters a group of radio buttons on its checked button only; the arrow
// keys move within the group. Done by NewRadio.
void TabToCheckedOnly(QRadioButton* button);

// The fixed-layout controls of the dialogs, in their standard heights.
QRadioButton* NewRadio(QWidget* parent, const char* name, const QString& caption, int left,
                       int top, int width);
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, int left,
                       int top, int width);
QGroupBox* NewGroup(QWidget* parent, const char* name, const QString& caption, const QRect& place);
QFrame* NewBevel(QWidget* parent, const char* name, QFrame::Shadow shadow, const QRect& place);

// A label named `name` at (left, top) that takes the size of its text.
QLabel* NewAutoSizeLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
// Changes the text of such a label and resizes it to the new text.
void SetAutoSizeText(QLabel* label, const QString& text);

// An edit field at (left, top), 21 pixels high, that keeps any text the user
// types or pastes whole, however long.
QLineEdit* NewEditField(QWidget* parent, const char* name, const QString& text, int left, int top,
                        int width);

QMenu* NewMenu(QWidget* parent, const char* name, const QString& caption);

// A menu item, created and connected in one place. By default its key works
// wherever the program is in front, as long as the menu is on the menu bar of
// an enabled window; editing keys pass Qt::WindowShortcut, so that they act
// only on the window they belong to.
template <class Receiver, class Handler>
QAction* NewAction(QMenu* menu, const char* name, const QString& caption, Receiver* receiver,
                   Handler handler, const QKeySequence& shortcut = {},
                   Qt::ShortcutContext context = Qt::ApplicationShortcut) {
  QAction* action = Named(menu->addAction(caption), name);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(context);
  }
  QObject::connect(action, &QAction::triggered, receiver, handler);
  return action;
}

}  // namespace vortalis::ui
