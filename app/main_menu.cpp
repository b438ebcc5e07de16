// The main window's menu bar: its items, the merge with the active report
// window's menus, and the list of report windows in the Windows menu.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "app/design_files.h"
#include "app/main_form.h"
#include "report_window/text_form.h"
#include "ui/widgets.h"

namespace vortalis::app {

using namespace ui;
using namespace report_window;

void TMainform::BuildMenus() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  const auto key = [](auto keys) { return QKeySequence(keys); };

  File1 = NewMenu(this, "File1", QStringLiteral("&File"));
  Exit1 = NewAction(File1, "Exit1", QStringLiteral("&Quit"), this, &TMainform::Exit1Click,
                    key(Qt::CTRL | Qt::Key_Q));
  Designs = new DesignFiles(this);
  Designs->AddTo(File1);

  Settings1 = NewMenu(this, "Settings1", QStringLiteral("&Settings"));
  Circular = NewAction(Settings1, "Circular", QStringLiteral("&Circular"), this,
                       &TMainform::CircularClick, key(Qt::Key_F9));
  Rectangular = NewAction(Settings1, "Rectangular", QStringLiteral("&Rectangular"), this,
                          &TMainform::RectangularClick, key(Qt::Key_F10));

  Windows = NewMenu(this, "Windows", QStringLiteral("&Windows"));
  connect(Windows, &QMenu::aboutToShow, this, &TMainform::FillWindowList);
  Tile1 = NewAction(Windows, "Tile1", QStringLiteral("&Tile"), this, &TMainform::Tile1Click);
  Cascade1 =
      NewAction(Windows, "Cascade1", QStringLiteral("&Cascade"), this, &TMainform::Cascade1Click);
  Arrange1 = NewAction(Windows, "Arrange1", QStringLiteral("&Arrange Icons"), this,
                       &TMainform::Arrange1Click);

  Help1 = NewMenu(this, "Help1", QStringLiteral("&Help"));
  Help2 = NewAction(Help1, "Help2", QStringLiteral("&Vortalis Help ..."), this,
                    &TMainform::Help2Click);
  Tractrixinformation1 = NewAction(Help1, "Tractrixinformation1",
                                   QStringLiteral("&The Tractrix Horn ..."), this,
                                   &TMainform::Tractrixinformation1Click);
  x1 = NewAction(Help1, "x1", QStringLiteral("&Design considerations ..."), this,
                 &TMainform::x1Click);
  Help1->addSeparator();
  Legal1 = NewAction(Help1, "Legal1", QStringLiteral("Legal information..."), this,
                     &TMainform::Legal1Click);
  Help1->addSeparator();
  About1 = NewAction(Help1, "About1", QStringLiteral("&About..."), this, &TMainform::About1Click);

  connect(mdiArea, &QMdiArea::subWindowActivated, this, &TMainform::MergeMenus);
  MergeMenus();
}

void TMainform::MergeMenus() {
  MainMenu1->clear();
  const TTextForm* report = ActiveReport();
  if (report && report->File1 && report->Edit1) {
    Designs->AddTo(report->File1);
    MainMenu1->addMenu(report->File1);
    MainMenu1->addMenu(report->Edit1);
  } else {
    MainMenu1->addMenu(File1);
  }
  MainMenu1->addMenu(Settings1);
  MainMenu1->addMenu(Windows);
  MainMenu1->addMenu(Help1);
}

void TMainform::FillWindowList() {
  qDeleteAll(windowList_);
  windowList_.clear();
  const QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  windowList_ << Windows->addSeparator();
  const QMdiSubWindow* current = mdiArea->currentSubWindow();
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    QString caption = window->windowTitle();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = Windows->addAction(QStringLiteral("&%1 %2").arg(++number).arg(caption));
    // A tick before the active window only, no empty box before the others.
    item->setCheckable(window == current);
    item->setChecked(window == current);
    connect(item, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(window)] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      mdiArea->setActiveSubWindow(target);
    });
    windowList_ << item;
  }
}

}  // namespace vortalis::app
