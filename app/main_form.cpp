#include "app/main_form.h"

#include <QMdiArea>

TMainform::TMainform(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Vortalis"));
  mdiArea = new QMdiArea(this);
  setCentralWidget(mdiArea);
}
