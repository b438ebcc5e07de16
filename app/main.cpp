#include <QApplication>

#include "app/forms.h"
#include "app/main_form.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Vortalis"));
  Mainform = new TMainform;
  Mainform->show();
  return QApplication::exec();
}
