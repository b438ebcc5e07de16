#include "app/main_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <initializer_list>

#include "app/about_form.h"
#include "app/help_forms.h"
#include "app/mdi_arrange.h"
#include "report_window/text_form.h"
#include "report_window/waitform.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "ui/program_frame.h"
#include "ui/show_in_front.h"

namespace vortalis::app {

using namespace ui;
using namespace report_window;
using namespace settings;

TMainform* Mainform = nullptr;

namespace {

// The splash stays until the counter passes this many whole seconds.
constexpr std::uint32_t kSplashSeconds = 3;
constexpr std::uint32_t kTicksPerSecond = 1000;

void HideThenShow(std::initializer_list<QWidget*> others, QWidget* window) {
  for (QWidget* other : others) other->hide();
  ShowInFront(window);
}

}  // namespace

TMainform::TMainform(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Vortalis"));
  QFont frameFont = font();
  frameFont.setPointSize(8);
  setFont(frameFont);
  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName(QStringLiteral("mdiArea"));
  mdiArea->setBackground(palette().brush(QPalette::Dark));
  setCentralWidget(mdiArea);
  SetFrame(this);
  BuildMenus();
  // X11 has no default size for a new main window; take the one Windows gives.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    resize(screen->availableGeometry().size() * 3 / 4);
  }
}

TMainform::~TMainform() {
  // QWidget's destructor closes the report windows after this object has
  // stopped being a TMainform; their activation must not reach MergeMenus then.
  disconnect(mdiArea, nullptr, this, nullptr);
  if (Frame() == this) SetFrame(nullptr);
}

void TMainform::FormCreate(const TickCounter& ticks) {
  move(0, 0);
  const std::uint32_t start = ticks();
  const std::uint32_t wait = kSplashSeconds * kTicksPerSecond - start % kTicksPerSecond;
  // Elapsed time in unsigned 32-bit arithmetic stays right when the counter
  // wraps around during the wait.
  while (static_cast<std::uint32_t>(ticks() - start) < wait) {
  }
}

void TMainform::FormShow() { ShowInFront(SettCircForm); }

TTextForm* TMainform::ActiveReport() const {
  const QMdiSubWindow* window = mdiArea->currentSubWindow();
  return window ? qobject_cast<TTextForm*>(window->widget()) : nullptr;
}

void TMainform::QuitClick() { close(); }

void TMainform::CircularClick() {
  SettRecForm->hide();
  ShowInFront(SettCircForm);
}

void TMainform::RectangularClick() {
  SettCircForm->hide();
  ShowInFront(SettRecForm);
}

void TMainform::TileClick() {
  QList<QMdiSubWindow*> windows;
  int iconHeight = 0;
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::StackingOrder)) {
    if (!window->isVisible()) continue;
    if (window->isMinimized()) {
      iconHeight = qMax(iconHeight, window->height());
    } else {
      windows.prepend(window);
    }
  }
  // The bottom row, where the minimised windows' icons line up, stays free.
  const QRect area = mdiArea->viewport()->rect().adjusted(0, 0, 0, -iconHeight);
  const std::vector<QRect> tiles = HorizontalTiles(windows.size(), area);
  for (qsizetype i = 0; i < windows.size(); ++i) {
    if (windows[i]->isMaximized()) windows[i]->showNormal();
    windows[i]->setGeometry(tiles[static_cast<std::size_t>(i)]);
  }
}

void TMainform::CascadeClick() {
  // Each window keeps its size; QMdiArea's own cascade would shrink it to its size hint.
  const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  int offset = 0;
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::StackingOrder)) {
    if (!window->isVisible() || window->isMinimized()) continue;
    if (window->isMaximized()) window->showNormal();
    window->move(offset, offset);
    window->raise();
    offset += step;
  }
}

void TMainform::ArrangeClick() {
  QList<QMdiSubWindow*> icons;
  std::vector<QSize> sizes;
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
    if (!window->isMinimized()) continue;
    icons << window;
    sizes.push_back(window->size());
  }
  const std::vector<QPoint> places = IconPositions(sizes, mdiArea->viewport()->rect());
  for (qsizetype i = 0; i < icons.size(); ++i) icons[i]->move(places[static_cast<std::size_t>(i)]);
}

void TMainform::HelpClick() { HideThenShow({Help3Form, help2form, Help5form}, Help1form); }

void TMainform::TractrixClick() {
  HideThenShow({Help1form, Help3Form, Help5form}, help2form);
}

void TMainform::ConsiderationsClick() { HideThenShow({Help1form, help2form, Help5form}, Help3Form); }

void TMainform::LegalClick() { HideThenShow({Help1form, help2form, Help3Form}, Help5form); }

void TMainform::AboutClick() {
  ShowInFront(AboutForm);
  SetBlockingBox(AboutForm);
  // The about box is modal by hand; its OK enables the same windows in the same order.
  for (QWidget* window : std::initializer_list<QWidget*>{
           Mainform, SettRecForm, SettCircForm, Help1form, help2form, Help3Form, Help5form}) {
    window->setEnabled(false);
  }
}

void TMainform::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A spontaneous show is the window system restoring the window.
  if (!event->spontaneous()) FormShow();
}

void TMainform::closeEvent(QCloseEvent* event) {
  // While the about box is up the main window is disabled, and so is quitting.
  if (!isEnabled()) {
    event->ignore();
    return;
  }
  if (waitform && waitform->Calculating()) {
    // The generator is writing into a report window that closing would
    // destroy: stop it, and close once it has returned to the event loop.
    event->ignore();
    waitform->Button1Click();
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    return;
  }
  if (!ReportsAgreeToClose()) {
    event->ignore();
    return;
  }
  event->accept();
  emit Closed();
}

bool TMainform::ReportsAgreeToClose() {
  const QList<QMdiSubWindow*> stacking = mdiArea->subWindowList(QMdiArea::StackingOrder);
  for (auto window = stacking.crbegin(); window != stacking.crend(); ++window) {
    QWidget* report = (*window)->widget();
    if (!report) continue;
    // Only the question, not the close itself: a report that agreed stays
    // open when a later one refuses. A question that fails with an error
    // counts as a refusal.
    QCloseEvent question;
    question.ignore();
    QCoreApplication::sendEvent(report, &question);
    if (!question.isAccepted()) return false;
  }
  return true;
}

}  // namespace vortalis::app
