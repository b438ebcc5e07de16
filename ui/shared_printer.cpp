#include "ui/shared_printer.h"

#include <QCoreApplication>
#include <QPrinter>

namespace vortalis::ui {

namespace {

QPrinter* sharedPrinter = nullptr;

void DeleteSharedPrinter() {
  delete sharedPrinter;
  sharedPrinter = nullptr;
}

}  // namespace

QPrinter& SharedPrinter() {
  if (!sharedPrinter) {
    sharedPrinter = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine(DeleteSharedPrinter);
  }
  return *sharedPrinter;
}

}  // namespace vortalis::ui
