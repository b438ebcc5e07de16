#include "ui/show_in_front.h"

#include <QWidget>

void BringBack(QWidget* window) {
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
}

void ShowInFront(QWidget* window) {
  if (!window->isEnabled()) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    return;
  }
  BringBack(window);
  window->activateWindow();
}
