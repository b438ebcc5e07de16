#include "app/memory_status.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include <sys/sysinfo.h>

namespace vortalis::app {

namespace {

// The value of one "Name:   123 kB" line, in bytes.
std::optional<unsigned long long> MeminfoBytes(std::string_view meminfo, std::string_view name) {
  std::size_t at = 0;
  while (at < meminfo.size()) {
    std::size_t end = meminfo.find('\n', at);
    if (end == std::string_view::npos) end = meminfo.size();
    std::string_view line = meminfo.substr(at, end - at);
    at = end + 1;
    if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
        line[name.size()] != ':')
      continue;
    line.remove_prefix(name.size() + 1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    unsigned long long value = 0;
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc()) return std::nullopt;
    // The kernel's "kB" is 1024 bytes.
    const bool kilobytes = std::string_view(rest, line.data() + line.size()).find("kB") !=
                           std::string_view::npos;
    return kilobytes ? value * 1024ULL : value;
  }
  return std::nullopt;
}

int LoadPercent(unsigned long long total, unsigned long long available) {
  if (total == 0) return 0;
  if (available > total) available = total;
  const unsigned long long used = total - available;
  return static_cast<int>((used * 100ULL + total / 2) / total);
}

}  // namespace

std::optional<MemoryStatus> ParseMeminfo(std::string_view meminfo) {
  const auto total = MeminfoBytes(meminfo, "MemTotal");
  if (!total) return std::nullopt;
  // Kernels before 3.14 have no MemAvailable; free memory is the nearest figure then.
  auto available = MeminfoBytes(meminfo, "MemAvailable");
  if (!available) available = MeminfoBytes(meminfo, "MemFree");
  MemoryStatus status;
  status.totalPhysicalBytes = *total;
  status.memoryLoadPercent = LoadPercent(*total, available.value_or(0));
  return status;
}

std::optional<MemoryStatus> ReadMemoryStatus() {
  std::ifstream file("/proc/meminfo");
  if (file) {
    std::ostringstream text;
    text << file.rdbuf();
    if (auto status = ParseMeminfo(text.str())) return status;
  }
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return std::nullopt;
  const unsigned long long unit = info.mem_unit ? info.mem_unit : 1;
  MemoryStatus status;
  status.totalPhysicalBytes = info.totalram * unit;
  status.memoryLoadPercent =
      LoadPercent(status.totalPhysicalBytes, (info.freeram + info.bufferram) * unit);
  return status;
}

std::string PhysicalMemoryText(unsigned long long totalBytes,
                               const vortalis::geometry::Separators& separators) {
  const unsigned long long kilobytes = (totalBytes + 512ULL) / 1024ULL;
  return vortalis::geometry::GroupedInteger(kilobytes, separators) + " KB";
}

std::string MemoryLoadText(int percent) { return std::to_string(percent) + " %"; }

}  // namespace vortalis::app
