#include "ui/design_name.h"

namespace vortalis::windows {

namespace {

QString& Name() {
  static QString name;
  return name;
}

QString& MouthLimit() {
  static QString limit;
  return limit;
}

}  // namespace

QString CurrentDesignName() { return Name(); }

void SetCurrentDesignName(const QString& name) { Name() = name; }

QString CurrentDesignMouthLimit() { return MouthLimit(); }

void SetCurrentDesignMouthLimit(const QString& limit) { MouthLimit() = limit; }

}  // namespace vortalis::windows
