#pragma once

#include <QIcon>
#include <QPixmap>

namespace vortalis::app {

// The program's own pictures: a tractrix horn seen from the side (the icon
// files of app/icons, also installed for the desktop), and the word mark.

// The program icon, a horn in profile on a blue tile, `size` pixels square.
QPixmap ProgramIconPixmap(int size);
QIcon ProgramIcon();

// The word mark "Vortalis" over the horn's wall line, 105 x 25 pixels.
QPixmap LogoPixmap();

}  // namespace vortalis::app
