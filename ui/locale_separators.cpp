#include "ui/locale_separators.h"

#include <QLocale>

namespace vortalis::ui {

namespace {

vortalis::geometry::Separators ReadSystemSeparators() {
  const QLocale locale = QLocale::system();
  vortalis::geometry::Separators separators;
  const QString decimal = locale.decimalPoint();
  separators.decimal = decimal.isEmpty() ? std::string(".") : decimal.toStdString();
  separators.thousands = locale.groupSeparator().toStdString();
  return separators;
}

vortalis::geometry::Separators& Current() {
  static vortalis::geometry::Separators separators = ReadSystemSeparators();
  return separators;
}

}  // namespace

const vortalis::geometry::Separators& CurrentSeparators() { return Current(); }

void RefreshSeparators() { Current() = ReadSystemSeparators(); }

void SetSeparatorsForTesting(const vortalis::geometry::Separators& separators) {
  Current() = separators;
}

}  // namespace vortalis::ui
