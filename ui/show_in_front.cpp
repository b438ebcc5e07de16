#include "ui/show_in_front.h"

#include <QWidget>

void ShowInFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}
