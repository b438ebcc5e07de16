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

  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QAction* Exit1 = nullptr;
  DesignFiles* Designs = nullptr;  // its items head the File menu
  QMenu* Settings1 = nullptr;
  QAction* Circular = nullptr;
  QAction* Rectangular = nullptr;
  QMenu* Windows = nullptr;
  QAction* Tile1 = nullptr;
  QAction* Cascade1 = nullptr;
  QAction* Arrange1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* Tractrixinformation1 = nullptr;
  QAction* x1 = nullptr;
  QAction* Legal1 = nullptr;
  QAction* About1 = nullptr;

  // Placement at the top-left corner, then the start-up wait: the splash stays
  // on screen until `ticks` has passed the third whole second after its first
  // reading (2001 to 3000 ms).
  void FormCreate(const TickCounter& ticks);
  void FormShow();

  // The report window that is the current child, or nullptr.
  report_window::TTextForm* ActiveReport() const;

  QMdiArea* ReportArea() const override { return mdiArea; }
  bool IsOpen() const override { return isVisible(); }
  void Quit() override { Exit1Click(); }

 public slots:
  void Exit1Click();
  void CircularClick();
  void RectangularClick();
  void Tile1Click();
  void Cascade1Click();
  void Arrange1Click();
  void Help2Click();
  void Tractrixinformation1Click();
  void x1Click();
  void Legal1Click();
  void About1Click();

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
