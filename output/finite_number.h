#pragma once

#include <cmath>

#include "output/output_error.h"

// The last guard of every writer of numbers: a file never holds inf or nan.
// Inputs are refused long before; reaching this is a fault, said as an error
// instead of a silent file.
namespace vortalis::output {

template <typename Number>
Number FiniteNumber(Number value) {
  if (std::isfinite(value)) return value;
  throw OutputError(
      "Cannot write the file: a number in it is not finite (inf or nan); nothing was written.");
}

}  // namespace vortalis::output
