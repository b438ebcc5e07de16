#pragma once

#include <QString>

namespace vortalis::windows {

// The file name of the design the dialogs were last opened from or saved to
// ("horn.vortalis"); empty when there is none. New report windows are titled by it.
QString CurrentDesignName();
void SetCurrentDesignName(const QString& name);

// That design's mouth limit as the tool writes it ("radius=300", "length=500"),
// in the system's decimal separator; empty when it has none.
QString CurrentDesignMouthLimit();
void SetCurrentDesignMouthLimit(const QString& limit);

}  // namespace vortalis::windows
