#pragma once

#include <string>
#include <vector>

// Measurements and the rows of the one table that scripts/bench.sh prints.
namespace vortalis::bench {

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);
double Minimum(const std::vector<double>& values);
double Maximum(const std::vector<double>& values);

// Seconds of CPU time this process has used, all threads together.
double ProcessCpuSeconds();
// Seconds on a monotonic clock.
double WallSeconds();
// Peak resident set of this process so far, in MiB (VmHWM).
double PeakResidentMiB();
// Sets the peak back to the current resident set, so that the next phase measures its own
// peak; false where the kernel does not offer it.
bool ResetPeakResident();

// "1.43 s", "87.1 ns", "3.2 ms": the value with a unit that keeps 3 significant digits.
std::string Seconds(double seconds);
std::string Fixed(double value, int decimals);

struct TableRow {
  std::string what;
  std::string median;  // the figure quoted
  std::string spread;  // runs and their range, or what else belongs to the figure
  std::string target;  // empty when the row has none
  std::string verdict;  // "met", "MISSED" or empty
};

std::string Verdict(bool met);

// One row of the Markdown table that scripts/bench.sh heads, on standard output.
void PrintRow(const TableRow& row);

}  // namespace vortalis::bench
