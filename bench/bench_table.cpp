#include "bench/bench_table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

namespace vortalis::bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double Minimum(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double Maximum(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      std::istringstream fields(line.substr(6));
      double kib = 0.0;
      fields >> kib;
      return kib / 1024.0;
    }
  }
  return 0.0;
}

bool ResetPeakResident() {
  // Writing 5 to clear_refs resets VmHWM (Linux 4.0 and later).
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Seconds(double seconds) {
  const auto threeDigits = [](double value, const char* unit) {
    const int decimals = value >= 100.0 ? 0 : value >= 10.0 ? 1 : 2;
    return Fixed(value, decimals) + " " + unit;
  };
  if (seconds >= 1.0) return threeDigits(seconds, "s");
  if (seconds >= 1e-3) return threeDigits(seconds * 1e3, "ms");
  if (seconds >= 1e-6) return threeDigits(seconds * 1e6, "µs");
  return threeDigits(seconds * 1e9, "ns");
}

std::string Verdict(bool met) { return met ? "met" : "MISSED"; }

void PrintRow(const TableRow& row) {
  std::printf("| %s | %s | %s | %s | %s |\n", row.what.c_str(), row.median.c_str(),
              row.spread.c_str(), row.target.c_str(), row.verdict.c_str());
  std::fflush(stdout);
}

}  // namespace vortalis::bench
