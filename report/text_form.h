#pragma once

#include <QWidget>

class QMenu;

// A report window: an editable text document inside the main window, filled
// by the generator of the current horn kind while it is created.
class TTextForm : public QWidget {
  Q_OBJECT
 public:
  explicit TTextForm(QWidget* owner);

  // Creates a report window for the current horn kind, runs its generator and
  // shows it inside the main window. Called by Calculate of both dialogs.
  static TTextForm* Open(QWidget* owner);

  // The report's own menus; while the window is the active child they take the
  // place of the main window's File menu (menu bar: File, Edit, Settings, Windows, Help).
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
};
