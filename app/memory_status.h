#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geometry/number_text.h"

namespace vortalis::app {

// The two memory figures of the about box, read from the operating system at
// each showing. Plain C++: nothing here needs a window.

struct MemoryStatus {
  unsigned long long totalPhysicalBytes = 0;
  // Share of physical memory in use, 0 to 100; memory the kernel reports as
  // available (free, or reclaimable at once) counts as not in use.
  int memoryLoadPercent = 0;
};

// The status from the text of /proc/meminfo; nothing when MemTotal is missing.
std::optional<MemoryStatus> ParseMeminfo(std::string_view meminfo);

// The status of this machine now; nothing when the system does not tell.
std::optional<MemoryStatus> ReadMemoryStatus();

// "16,777,216 KB": whole kilobytes, rounded, grouped with the thousands separator.
std::string PhysicalMemoryText(unsigned long long totalBytes,
                               const vortalis::geometry::Separators& separators);

// "37 %".
std::string MemoryLoadText(int percent);

}  // namespace vortalis::app
