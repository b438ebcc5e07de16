#include <QCoreApplication>

#include "app/main_form.h"
#include "app/program_art.h"
#include "app/start_form.h"
#include "app/startup.h"
#include "app/vortalis_application.h"
#include "ui/forms.h"

int main(int argc, char* argv[]) {
  VortalisApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vortalis"));
  QApplication::setWindowIcon(ProgramIcon());
  // Only the main window ends the program; the dialogs floating above it do not.
  QApplication::setQuitOnLastWindowClosed(false);

  StartForm = new TStartForm;
  StartForm->ShowAndPaint();

  CreateLongLivedForms(SystemTickCount);

  StartForm->hide();
  delete StartForm;
  StartForm = nullptr;

  QObject::connect(Mainform, &TMainform::Closed, &application, &QCoreApplication::quit);
  Mainform->show();
  const int result = QApplication::exec();
  // Whatever is still open, report windows included, goes without questions.
  DestroyLongLivedForms();
  return result;
}
