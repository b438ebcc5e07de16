#pragma once

#include <QPixmap>

namespace vortalis::app {

// The splash picture, 308 x 146 pixels: a tractrix horn on its driver, seen
// from the side with a few of its circular sections, and the program's name.
QPixmap SplashPicture();

}  // namespace vortalis::app
