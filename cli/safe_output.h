#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace vortalis::cli {

// Writes a new version of the file at `path`: into a temporary file in the same
// folder first, renamed over `path` only when `write` and every flush
// succeeded, so a failure leaves an existing file as it was. Devices and pipes
// (/dev/null, a FIFO) cannot be replaced and are written directly. On failure
// returns false and sets `error` to a one-line explanation.
bool WriteFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error);

}  // namespace vortalis::cli
