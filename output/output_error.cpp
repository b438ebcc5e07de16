#include "output/output_error.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace vortalis::output {

std::string Reason(int error) { return std::strerror(error != 0 ? error : EIO); }

OutputError::OutputError(Stage stage, std::string path, int error)
    : OutputError(stage, path, error, "Cannot write " + path + ": " + Reason(error)) {}

OutputError::OutputError(Stage stage, std::string path, int error, const std::string& message)
    : std::runtime_error(message), stage_(stage), path_(std::move(path)), error_(error) {}

OutputError::OutputError(const std::string& message)
    : std::runtime_error(message), stage_(Stage::Other), error_(0) {}

}  // namespace vortalis::output
