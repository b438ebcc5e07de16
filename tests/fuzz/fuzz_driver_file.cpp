// The driver file on any bytes. Besides not crashing: a refusal names a line
// of the text; what is read is written back to a text that reads the same; a
// driver made from it has finite, positive parameters.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "driver/driver.h"
#include "driver/driver_file.h"
#include "fuzz_support.h"

using namespace vortalis::driver;
using vortalis::fuzz::Visible;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  DriverInput input;
  try {
    input = ParseDriverFile(text);
  } catch (const DriverFileError& e) {
    const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
    FUZZ_CHECK(e.Line() >= 1 && e.Line() <= lines, "a refusal names no line: " + Visible(text));
    return 0;
  }
  if (input.name.find_first_of("#\r\n") == std::string::npos) {
    const DriverInput back = ParseDriverFile(DriverFileText(input));
    FUZZ_CHECK(back.name == input.name && back.re == input.re && back.le == input.le &&
                   back.bl == input.bl && back.mms == input.mms && back.cms == input.cms &&
                   back.rms == input.rms && back.sd == input.sd && back.fs == input.fs &&
                   back.qes == input.qes && back.qms == input.qms && back.vas == input.vas &&
                   back.xmax == input.xmax && back.pe == input.pe,
               "written and read back differs: " + Visible(text));
  }
  try {
    const Driver d = ResolveDriver(input);
    for (const long double value : {d.re, d.bl, d.mms, d.cms, d.rms, d.sd})
      FUZZ_CHECK(std::isfinite(value) && value > 0.0L, "a parameter not above 0: " + Visible(text));
  } catch (const std::invalid_argument&) {
  }
  return 0;
}
