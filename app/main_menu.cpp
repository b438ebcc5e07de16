// The main window's menu bar: its items, the merge with the active report
// window's menus, and the list of report windows in the Windows menu.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "app/main_form.h"
#include "report_window/text_form.h"

namespace {

QMenu* NewMenu(QWidget* parent, const char* name, const QString& caption) {
  auto* menu = new QMenu(caption, parent);
  menu->setObjectName(QLatin1String(name));
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QLatin1String(name));
  if (!shortcut.isEmpty()) {
    item->setShortcut(shortcut);
    // As in the program's other windows, the main menu's keys also work while
    // a settings dialog or an information window is active, as long as the
    // main window is enabled.
    item->setShortcutContext(Qt::ApplicationShortcut);
  }
  return item;
}

}  // namespace

void TMainform::BuildMenus() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

  File1 = NewMenu(this, "File1", QStringLiteral("&File"));
  Exit1 = AddItem(File1, "Exit1", QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));

  Settings1 = NewMenu(this, "Settings1", QStringLiteral("&Settings"));
  Circular = AddItem(Settings1, "Circular", QStringLiteral("&Circular"), QKeySequence(Qt::Key_F9));
  Rectangular =
      AddItem(Settings1, "Rectangular", QStringLiteral("&Rectangular"), QKeySequence(Qt::Key_F10));

  Windows = NewMenu(this, "Windows", QStringLiteral("&Windows"));
  Tile1 = AddItem(Windows, "Tile1", QStringLiteral("&Tile"));
  Cascade1 = AddItem(Windows, "Cascade1", QStringLiteral("&Cascade"));
  Arrange1 = AddItem(Windows, "Arrange1", QStringLiteral("&Arrange Icons"));

  Help1 = NewMenu(this, "Help1", QStringLiteral("&Help"));
  Help2 = AddItem(Help1, "Help2", QStringLiteral("&Vortalis Help ..."));
  Tractrixinformation1 =
      AddItem(Help1, "Tractrixinformation1", QStringLiteral("&The Tractrix Horn ..."));
  x1 = AddItem(Help1, "x1", QStringLiteral("&Design considerations ..."));
  Help1->addSeparator();
  Legal1 = AddItem(Help1, "Legal1", QStringLiteral("Legal information..."));
  Help1->addSeparator();
  About1 = AddItem(Help1, "About1", QStringLiteral("&About..."));

  MergeMenus();
}

void TMainform::ConnectHandlers() {
  connect(Exit1, &QAction::triggered, this, &TMainform::Exit1Click);
  connect(Circular, &QAction::triggered, this, &TMainform::CircularClick);
  connect(Rectangular, &QAction::triggered, this, &TMainform::RectangularClick);
  connect(Tile1, &QAction::triggered, this, &TMainform::Tile1Click);
  connect(Cascade1, &QAction::triggered, this, &TMainform::Cascade1Click);
  connect(Arrange1, &QAction::triggered, this, &TMainform::Arrange1Click);
  connect(Help2, &QAction::triggered, this, &TMainform::Help2Click);
  connect(Tractrixinformation1, &QAction::triggered, this, &TMainform::Tractrixinformation1Click);
  connect(x1, &QAction::triggered, this, &TMainform::x1Click);
  connect(Legal1, &QAction::triggered, this, &TMainform::Legal1Click);
  connect(About1, &QAction::triggered, this, &TMainform::About1Click);
  connect(Windows, &QMenu::aboutToShow, this, &TMainform::FillWindowList);
  connect(mdiArea, &QMdiArea::subWindowActivated, this, &TMainform::MergeMenus);
}

void TMainform::MergeMenus() {
  MainMenu1->clear();
  const TTextForm* report = ActiveReport();
  if (report && report->File1 && report->Edit1) {
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
    item->setCheckable(true);
    item->setChecked(window == current);
    connect(item, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(window)] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      mdiArea->setActiveSubWindow(target);
    });
    windowList_ << item;
  }
}
