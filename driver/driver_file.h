#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// One value of the driver, as typed, into `input`: the one check of every
// value, from a driver file or a design. Throws std::invalid_argument for an
// unknown key, an empty value, or a number that is not one or not above 0 (Le
// may be 0); the message names the key.
void SetDriverValue(DriverInput& input, std::string_view key, std::string_view value);

// A line of a driver file: its number, its key in lower case, its value as typed.
struct DriverLine {
  int line = 0;
  std::string key;
  std::string value;
};

// The file's "key = value" lines without comments and blanks; throws
// DriverFileError for a line with no '='. Neither keys nor values are checked.
std::vector<DriverLine> ReadDriverLines(std::string_view text);

// Throws DriverFileError for a line it does not understand: no '=', an unknown
// or repeated key, a value that is not a number or not above 0 (Le may be 0).
DriverInput ParseDriverFile(std::string_view text);

// The given values, one a line, in the order of the keys above; a file that
// ParseDriverFile reads back to the same values. Throws std::invalid_argument
// for a name holding '#' or a line break.
std::string DriverFileText(const DriverInput& input);

// The text of the file at `path`, read and checked; throws std::runtime_error
// with a message that names the file (and the line).
std::string ReadDriverFileText(const std::string& path);
// The same file parsed.
DriverInput ReadDriverFile(const std::string& path);

// Writes DriverFileText through the one writer; throws output::OutputError.
void WriteDriverFile(const std::string& path, const DriverInput& input);

}  // namespace vortalis::driver
