// The driver on the horn: CPU time of a 500-point response (each point with its
// group delay), for the horns the window would show it on.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "bench_table.h"
#include "driver/system_response.h"

namespace {

using namespace vortalis;

constexpr int kPoints = 500;

acoustics::FrequencySweep Sweep(long double fc) {
  constexpr int kPerOctave = 83;
  const long double octaves = static_cast<long double>(kPoints - 1) / kPerOctave;
  return {fc * 0.25L, fc * 0.25L * std::exp2(octaves), kPerOctave};
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
  driver::DriverInput input;
  input.re = 5.8L;
  input.le = 1.2L;
  input.sd = 855.0L;
  input.fs = 35.0L;
  input.qes = 0.35L;
  input.qms = 5.0L;
  input.vas = 150.0L;
  input.xmax = 6.0L;
  driver::SystemSetup setup{driver::ResolveDriver(input), 0.06L, 0.004L, 2.83L};

  report::CircularReportInput bass, worst;
  bass.frequencyText = "100";
  bass.throatText = "40";
  worst.frequencyText = "1";
  worst.throatText = "0.5";
  const struct {
    const char* name;
    report::HornInput horn;
    acoustics::MouthLoad load;
  } cases[] = {
      {"100 Hz / 40 mm circular, baffle", bass, acoustics::MouthLoad::Baffle},
      {"32 Hz / 40 × 50 mm rectangular, location", report::RectangularReportInput{},
       acoustics::MouthLoad::Location},
      {"1 Hz / 0.5 mm circular, baffle", worst, acoustics::MouthLoad::Baffle},
  };
  for (const auto& c : cases) {
    const auto horn = acoustics::HornAcousticsOf(c.horn, {});
    std::vector<double> cpu;
    std::size_t points = 0;
    for (int run = 0; run < runs; ++run) {
      const double start = bench::ProcessCpuSeconds();
      points = driver::SystemResponse(horn, c.load, setup, Sweep(horn.cutoff)).size();
      cpu.push_back(bench::ProcessCpuSeconds() - start);
    }
    const double median = bench::Median(cpu);
    bench::PrintRow({"Driver response, " + std::string(c.name) + ", " + std::to_string(points) +
                         " frequencies with group delay",
                     bench::Seconds(median) + " CPU",
                     std::to_string(runs) + " runs, " + bench::Seconds(bench::Minimum(cpu)) + "–" +
                         bench::Seconds(bench::Maximum(cpu)),
                     "under 0.1 s", bench::Verdict(median < 0.1)});
  }
  return 0;
}
