#pragma once

#include <QMainWindow>

class QMdiArea;

// The main frame window: holds the report windows and the menu bar.
class TMainform : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainform(QWidget* parent = nullptr);

  QMdiArea* mdiArea = nullptr;
};
