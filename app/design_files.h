#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "design/design_file.h"

class QAction;
class QMenu;
class QWidget;

namespace vortalis::app {

// The design file menu items: Open design..., Save design, Save design as...
// and the last eight designs. A design fills the settings dialog of its kind;
// its mouth limit, kit and acoustic settings are kept and written back.
class DesignFiles : public QObject {
  Q_OBJECT
 public:
  static constexpr int kRecentCount = 8;

  explicit DesignFiles(QWidget* window);

  QAction* OpenDesignAction = nullptr;
  QAction* SaveDesignAction = nullptr;
  QAction* SaveDesignAs1 = nullptr;
  QMenu* RecentDesigns1 = nullptr;

  // Puts the items at the top of `menu` (the main or a report window's File menu), once.
  void AddTo(QMenu* menu);

  // Reads, checks and applies the design at `path`; a refused file is
  // reported and leaves every dialog as it was. False when refused.
  bool Open(const QString& path);
  // The shown dialog's horn (without one, the active report's), over the
  // design's other settings, to `path`.
  // False after a message (a field the dialog refuses, a write that failed).
  bool SaveTo(const QString& path);

  void OpenDesignClick();
  void SaveDesignClick();
  void SaveDesignAs1Click();

  QString Path() const { return path_; }
  QStringList Recent() const { return recent_; }

  // The file that keeps the recent designs between runs:
  // $XDG_STATE_HOME/vortalis/recent-designs (~/.local/state by default).
  static QString RecentListPath();

 private:
  void FillRecentMenu();
  void Remember(const QString& path);

  QWidget* window_;
  vortalis::design::Design design_;
  QString path_;
  QStringList recent_;
};

}  // namespace vortalis::app
