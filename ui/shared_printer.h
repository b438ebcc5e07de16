#pragma once

class QPrinter;

namespace vortalis::ui {

// The one printer of the program: the printer, paper and orientation chosen in
// Printer setup apply to every later print of every window.
QPrinter& SharedPrinter();

}  // namespace vortalis::ui
