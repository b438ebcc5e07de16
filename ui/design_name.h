#pragma once

#include <QString>

namespace vortalis::windows {

// The file name of the design the dialogs were last opened from or saved to
// ("horn.vortalis"); empty when there is none. New report windows are titled by it.
QString CurrentDesignName();
void SetCurrentDesignName(const QString& name);

}  // namespace vortalis::windows
