#include "ui/show_in_front.h"

#include <QPointer>
#include <QWidget>

namespace vortalis::ui {

namespace {
QPointer<QWidget> blockingBox;
}  // namespace

void SetBlockingBox(QWidget* box) { blockingBox = box; }

void BringBack(QWidget* window) {
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
}

void ShowInFront(QWidget* window) {
  if (!window->isEnabled()) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    if (blockingBox && blockingBox->isVisible()) {
      BringBack(blockingBox);
      blockingBox->activateWindow();
    }
    return;
  }
  BringBack(window);
  window->activateWindow();
}

}  // namespace vortalis::ui
