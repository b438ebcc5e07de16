#pragma once

class QPrinter;

// The one printer of the program: the printer, paper and orientation chosen in
// Printer setup apply to every later print of every window.
QPrinter& SharedPrinter();
