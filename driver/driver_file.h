#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "driver/driver.h"

// The driver file: one "key = value" a line, '#' starts a comment, keys
// name re le bl mms cms rms sd fs qes qms vas xmax pe in DriverInput's units,
// '.' decimals.
namespace vortalis::driver {

// A line of the file that is not understood; what() starts with "line N: ".
class DriverFileError : public std::runtime_error {
 public:
  DriverFileError(int line, const std::string& message);
  int Line() const { return line_; }

 private:
  int line_;
};

// Throws DriverFileError for a line it does not understand: no '=', an unknown
// or repeated key, a value that is not a number or not above 0 (Le may be 0).
DriverInput ParseDriverFile(std::string_view text);

// The given values, one a line, in the order of the keys above; a file that
// ParseDriverFile reads back to the same values. Throws std::invalid_argument
// for a name holding '#' or a line break.
std::string DriverFileText(const DriverInput& input);

// Reads and parses the file at `path`; throws std::runtime_error with a
// message that names the file (and the line).
DriverInput ReadDriverFile(const std::string& path);

// Writes DriverFileText through the one writer; throws output::OutputError.
void WriteDriverFile(const std::string& path, const DriverInput& input);

}  // namespace vortalis::driver
