#include "ui/design_name.h"

namespace vortalis::windows {

namespace {

QString& Name() {
  static QString name;
  return name;
}

}  // namespace

QString CurrentDesignName() { return Name(); }

void SetCurrentDesignName(const QString& name) { Name() = name; }

}  // namespace vortalis::windows
