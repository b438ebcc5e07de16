#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code: a tractrix horn seen from the
// side, and the word mark.

// The program icon, a horn in profile on a blue tile, `size` pixels square.
QPixmap ProgramIconPixmap(int size);
QIcon ProgramIcon();

// The word mark "Vortalis" over the horn's wall line, 105 x 25 pixels.
QPixmap LogoPixmap();
