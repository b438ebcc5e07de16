#pragma once

#include <QApplication>

namespace vortalis::app {

// The application object. It catches a C++ exception that leaves an event
// handler, shows it in an error box and lets the program go on with the next
// event; and it re-reads the decimal separator when the system announces a
// change of its regional settings.
class VortalisApplication : public QApplication {
  Q_OBJECT
 public:
  VortalisApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool event(QEvent* event) override;
};

// Shows the exception being handled in the error box ("Vortalis", its message
// and "."). Call only inside a catch block.
void ShowCurrentException();

}  // namespace vortalis::app
