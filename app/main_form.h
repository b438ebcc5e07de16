#pragma once

#include <QList>
#include <QMainWindow>

#include "app/startup.h"
#include "ui/program_frame.h"

class QAction;
class QCloseEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QShowEvent;

namespace vortalis::report_window {
class TTextForm;
}

namespace vortalis::app {

class DesignFiles;

// The main frame window: it holds the report windows, switches between the
// two settings dialogs, opens the information windows and the about box, and
// ends the program.
class TMainform : public QMainWindow, public ui::ProgramFrame {
  Q_OBJECT
 public:
  explicit TMainform(QWidget* parent = nullptr);
  ~TMainform() override;

  QMdiArea* mdiArea = nullptr;

  QMenuBar* MenuBar = nullptr;
  QMenu* FileMenu = nullptr;
  QAction* QuitAction = nullptr;
  DesignFiles* Designs = nullptr;  // its items head the File menu
  QMenu* SettingsMenu = nullptr;
  QAction* Circular = nullptr;
  QAction* Rectangular = nullptr;
  QMenu* WindowsMenu = nullptr;
  QAction* TileAction = nullptr;
  QAction* CascadeAction = nullptr;
  QAction* ArrangeAction = nullptr;
  QMenu* HelpMenu = nullptr;
  QAction* HelpAction = nullptr;
  QAction* TractrixAction = nullptr;
  QAction* ConsiderationsAction = nullptr;
  QAction* LegalAction = nullptr;
  QAction* AboutAction = nullptr;

  // Placement at the top-left corner, then the start-up wait: the splash stays
  // on screen until `ticks` has passed the third whole second after its first
  // reading (2001 to 3000 ms).
  void FormCreate(const TickCounter& ticks);
  void FormShow();

  // The report window that is the current child, or nullptr.
  report_window::TTextForm* ActiveReport() const;

  QMdiArea* ReportArea() const override { return mdiArea; }
  bool IsOpen() const override { return isVisible(); }
  void Quit() override { QuitClick(); }

 public slots:
  void QuitClick();
  void CircularClick();
  void RectangularClick();
  void TileClick();
  void CascadeClick();
  void ArrangeClick();
  void HelpClick();
  void TractrixClick();
  void ConsiderationsClick();
  void LegalClick();
  void AboutClick();

 signals:
  // The main window closed after every report window agreed: the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Every menu item is created and connected here.
  void BuildMenus();
  // The active report's File and Edit take the place of the main File menu.
  void MergeMenus();
  // The list of open report windows at the end of the Windows menu.
  void FillWindowList();
  // Asks each report window in turn; the first refusal stops the quit.
  bool ReportsAgreeToClose();

  QList<QAction*> windowList_;
};

// The process-wide reference to the window, assigned before its own create
// handler runs; it lives until the program ends.
extern TMainform* Mainform;

}  // namespace vortalis::app
