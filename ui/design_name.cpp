#include "ui/design_name.h"

namespace vortalis::ui {

namespace {

QString& Name() {
  static QString name;
  return name;
}

QString& MouthLimit() {
  static QString limit;
  return limit;
}

QHash<QString, QString>& Settings() {
  static QHash<QString, QString> settings;
  return settings;
}

}  // namespace

QString CurrentDesignName() { return Name(); }

void SetCurrentDesignName(const QString& name) { Name() = name; }

QString CurrentDesignMouthLimit() { return MouthLimit(); }

void SetCurrentDesignMouthLimit(const QString& limit) { MouthLimit() = limit; }

QString CurrentDesignSetting(const QString& key) { return Settings().value(key); }

void SetCurrentDesignSettings(const QHash<QString, QString>& settings) { Settings() = settings; }

}  // namespace vortalis::ui
