#pragma once

#include <string>
#include <vector>

namespace vortalis::bench {

// What one run of another program cost, as the kernel accounted it.
struct ChildCost {
  int exitStatus = -1;    // -1 when it could not be started or did not exit normally
  double cpuSeconds = 0;  // user + system
  double wallSeconds = 0;
  double peakMiB = 0;  // peak resident set
};

// Runs program with its arguments, standard output and error to /dev/null, and waits.
ChildCost RunChild(const std::string& program, const std::vector<std::string>& args);

}  // namespace vortalis::bench
