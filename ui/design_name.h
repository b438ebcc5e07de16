#pragma once

#include <QHash>
#include <QString>

namespace vortalis::ui {

// The file name of the design the dialogs were last opened from or saved to
// ("horn.vortalis"); empty when there is none. New report windows are titled by it.
QString CurrentDesignName();
void SetCurrentDesignName(const QString& name);

// That design's mouth limit as the tool writes it ("radius=300", "length=500"),
// in the system's decimal separator; empty when it has none.
QString CurrentDesignMouthLimit();
void SetCurrentDesignMouthLimit(const QString& limit);

// That design's settings that the acoustic and driver windows start from, by
// "section.key" ("acoustics.mouth-load", "driver.re"), as the design holds
// them but in the system's decimal separator; empty when it has none.
QString CurrentDesignSetting(const QString& key);
void SetCurrentDesignSettings(const QHash<QString, QString>& settings);

}  // namespace vortalis::ui
