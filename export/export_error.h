#pragma once

#include <stdexcept>

// A file or a print that could not be made; what() is a sentence for the user
// (UTF-8), naming the file where there is one.
namespace vortalis::exports {

class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vortalis::exports
