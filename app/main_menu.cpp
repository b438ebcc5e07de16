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
  MenuBar = menuBar();
  MenuBar->setObjectName(QStringLiteral("MainMenu1"));
  const auto key = [](auto keys) { return QKeySequence(keys); };

  FileMenu = NewMenu(this, "File1", QStringLiteral("&File"));
  QuitAction = NewAction(FileMenu, "Exit1", QStringLiteral("&Quit"), this, &TMainform::QuitClick,
                    key(Qt::CTRL | Qt::Key_Q));
  Designs = new DesignFiles(this);
  Designs->AddTo(FileMenu);

  SettingsMenu = NewMenu(this, "Settings1", QStringLiteral("&Settings"));
  Circular = NewAction(SettingsMenu, "Circular", QStringLiteral("&Circular"), this,
                       &TMainform::CircularClick, key(Qt::Key_F9));
  Rectangular = NewAction(SettingsMenu, "Rectangular", QStringLiteral("&Rectangular"), this,
                          &TMainform::RectangularClick, key(Qt::Key_F10));

  WindowsMenu = NewMenu(this, "Windows", QStringLiteral("&Windows"));
  connect(WindowsMenu, &QMenu::aboutToShow, this, &TMainform::FillWindowList);
  TileAction = NewAction(WindowsMenu, "Tile1", QStringLiteral("&Tile"), this, &TMainform::TileClick);
  CascadeAction =
      NewAction(WindowsMenu, "Cascade1", QStringLiteral("&Cascade"), this, &TMainform::CascadeClick);
  ArrangeAction = NewAction(WindowsMenu, "Arrange1", QStringLiteral("&Arrange Icons"), this,
                       &TMainform::ArrangeClick);

  HelpMenu = NewMenu(this, "Help1", QStringLiteral("&Help"));
  HelpAction = NewAction(HelpMenu, "Help2", QStringLiteral("&Vortalis Help ..."), this,
                    &TMainform::HelpClick);
  TractrixAction = NewAction(HelpMenu, "Tractrixinformation1",
                                   QStringLiteral("&The Tractrix Horn ..."), this,
                                   &TMainform::TractrixClick);
  ConsiderationsAction = NewAction(HelpMenu, "x1", QStringLiteral("&Design considerations ..."), this,
                 &TMainform::ConsiderationsClick);
  HelpMenu->addSeparator();
  LegalAction = NewAction(HelpMenu, "Legal1", QStringLiteral("Legal information..."), this,
                     &TMainform::LegalClick);
  HelpMenu->addSeparator();
  AboutAction = NewAction(HelpMenu, "About1", QStringLiteral("&About..."), this, &TMainform::AboutClick);

  connect(mdiArea, &QMdiArea::subWindowActivated, this, &TMainform::MergeMenus);
  MergeMenus();
}

void TMainform::MergeMenus() {
  MenuBar->clear();
  const TTextForm* report = ActiveReport();
  if (report && report->File1 && report->Edit1) {
    Designs->AddTo(report->File1);
    MenuBar->addMenu(report->File1);
    MenuBar->addMenu(report->Edit1);
  } else {
    MenuBar->addMenu(FileMenu);
  }
  MenuBar->addMenu(SettingsMenu);
  MenuBar->addMenu(WindowsMenu);
  MenuBar->addMenu(HelpMenu);
}

void TMainform::FillWindowList() {
  qDeleteAll(windowList_);
  windowList_.clear();
  const QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  windowList_ << WindowsMenu->addSeparator();
  const QMdiSubWindow* current = mdiArea->currentSubWindow();
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    QString caption = window->windowTitle();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = WindowsMenu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(caption));
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
