#include "app/vortalis_application.h"

#include <exception>

#include "ui/locale_separators.h"
#include "ui/prompt.h"

namespace vortalis::app {

using namespace ui;

VortalisApplication::VortalisApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VortalisApplication::notify(QObject* receiver, QEvent* event) {
  // The command that threw is abandoned where it threw; the event loop, and
  // any calculation that is pumping events further out, carries on.
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    // Dealt with: the error has been shown.
    ShowCurrentException();
    return true;
  }
}

bool VortalisApplication::event(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) RefreshSeparators();
  return QApplication::event(event);
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    Prompts().Error(QString::fromUtf8(error.what()));
  } catch (...) {
    Prompts().Error(QStringLiteral("Unknown error"));
  }
}

}  // namespace vortalis::app
