// The core rows of the benchmark table: the radius search alone (the floor),
// the whole circular report into a counting sink and through vortalis-report,
// the rectangular report, FixedText per call, and the throat impedance curve of
// the largest horns. Runs are interleaved, so a
// ratio compares figures taken under the same load.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "bench/bench_table.h"
#include "bench/child_process.h"
#include "geometry/number_text.h"
#include "report/horn_model.h"
#include "report/radius_solver.h"
#include "report/report_generator.h"

namespace {

using namespace vortalis;
using bench::Fixed;
using bench::Median;
using bench::Seconds;

// The largest table the dialogs allow: 1 Hz, 0.5 mm throat radius, increment 1 mm.
report::CircularReportInput HugeCircularInput() {
  report::CircularReportInput input;
  input.frequencyText = "1";
  input.throatText = "0.5";
  input.increment = geometry::TableIncrement::T1;
  return input;
}

const std::vector<std::string> kToolCircular{"circular", "--freq", "1", "--throat", "0.5",
                                             "--increment", "1"};
const std::vector<std::string> kToolRectangular{"rectangular", "--freq", "5", "--increment", "1"};

// The walk of the circular generator and nothing else: the same stations, the
// same searches from the previous radius.
struct SearchResult {
  long long stations = 0;
  long double lastRadius = 0;
};

SearchResult RadiusSearchAlone(const report::CircularReportInput& input) {
  const report::CircularHorn horn = report::MakeCircularHorn(input, {});
  const long double increment = geometry::IncrementValue(input.increment, input.unit);
  const long double eps = report::SearchTolerance(input.unit);
  SearchResult result;
  long double r = horn.throatRadius;
  for (long long i = 1;; ++i) {
    const long double distance = static_cast<long double>(i) * increment;
    if (!(distance < horn.length)) break;
    r = report::SolveRadius(horn.mouthRadius, horn.length - distance, r, eps);
    ++result.stations;
  }
  result.lastRadius = r;
  return result;
}

class CountingSink final : public report::ReportLineSink {
 public:
  void AppendLine(std::string_view line) override {
    ++lines;
    bytes += line.size() + 2;  // and its CR LF in a file
  }
  void ReplaceLine(std::size_t, std::string_view) override {}
  long long lines = 0;
  long long bytes = 0;
};

class QuietProgress final : public report::ProgressPort {
 public:
  void SetPosition(int percent) override { last = percent; }
  void Show() override {}
  void Hide() override {}
  bool AbortRequested() const override { return false; }
  int last = 0;
};

// Values shaped like the columns of the huge circular table, with their formats.
struct Sample {
  long double value;
  int precision;
  int decimals;
};

std::vector<Sample> TableLikeSamples(std::size_t rows) {
  std::mt19937_64 random(8);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Sample> samples;
  samples.reserve(rows * 4);
  for (std::size_t i = 0; i < rows; ++i) {
    const long double radius = 0.5L * std::pow(108225.0L, static_cast<long double>(unit(random)));
    samples.push_back({static_cast<long double>(i), 8, 0});
    samples.push_back({radius, 8, 2});
    samples.push_back({3.14159265358979323846L * radius * radius, 10, 1});
    samples.push_back({90.0L * static_cast<long double>(unit(random)), 8, 2});
  }
  return samples;
}

// The largest rectangular horn: 1 Hz, the smallest sides, free air.
report::RectangularReportInput HugeRectangularInput() {
  report::RectangularReportInput input;
  input.frequencyText = "1";
  input.side1Text = "1";
  input.side2Text = "1";
  return input;
}

// 500 frequencies from fc / 4, 83 an octave: just past 16 fc.
constexpr int kCurvePoints = 500;
acoustics::FrequencySweep CurveSweep(long double fc) {
  constexpr int kPerOctave = 83;
  const long double octaves = static_cast<long double>(kCurvePoints - 1) / kPerOctave;
  return {fc * 0.25L, fc * 0.25L * std::exp2(octaves), kPerOctave};
}

// CPU seconds of one curve; `points` receives its length.
double CurveCpu(const acoustics::HornAcoustics& horn, acoustics::MouthLoad load,
                std::size_t& points) {
  const double start = bench::ProcessCpuSeconds();
  points = acoustics::ThroatImpedance(horn, load, CurveSweep(horn.cutoff)).size();
  return bench::ProcessCpuSeconds() - start;
}

struct Options {
  int runs = 5;
  std::string tool;
  std::string outputDir = "/tmp";
};

Options ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view name = argv[i];
    if (name == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
    if (name == "--tool") options.tool = argv[i + 1];
    if (name == "--output-dir") options.outputDir = argv[i + 1];
  }
  return options;
}

std::string Range(const std::vector<double>& values, double scale, const char* unit,
                  int decimals) {
  return std::to_string(values.size()) + " runs, " + Fixed(bench::Minimum(values) * scale, decimals) +
         "–" + Fixed(bench::Maximum(values) * scale, decimals) + " " + unit;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ReadOptions(argc, argv);
  if (options.tool.empty()) {
    std::fprintf(stderr,
                 "usage: vortalis-bench-core --tool PATH/vortalis-report [--runs N] "
                 "[--output-dir DIR]\n");
    return 2;
  }
  const report::CircularReportInput input = HugeCircularInput();
  const std::string circularFile = options.outputDir + "/vortalis-bench-circular.txt";
  const std::string rectangularFile = options.outputDir + "/vortalis-bench-rectangular.txt";
  std::vector<std::string> toolCircular = kToolCircular;
  toolCircular.insert(toolCircular.end(), {"--output", circularFile});
  std::vector<std::string> toolRectangular = kToolRectangular;
  toolRectangular.insert(toolRectangular.end(), {"--output", rectangularFile});
  // Few enough samples to keep this process small: a spawned child is accounted
  // with the parent's resident size as its starting peak. Passes make up the count.
  constexpr std::size_t kSampleRows = 25000;
  constexpr int kSamplePasses = 10;

  std::vector<double> searchCpu, sinkCpu, toolCpu, toolWall, toolPeak, ratios, rectangularCpu,
      fixedTextNs, circularCurveCpu, rectangularCurveCpu;
  const acoustics::HornAcoustics circularHorn = acoustics::CircularHornAcoustics(input, {});
  const acoustics::HornAcoustics rectangularHorn =
      acoustics::RectangularHornAcoustics(HugeRectangularInput(), {});
  std::size_t circularPoints = 0;
  std::size_t rectangularPoints = 0;
  SearchResult search;
  CountingSink lastSink;
  bool toolFailed = false;
  for (int run = 0; run < options.runs; ++run) {
    double start = bench::ProcessCpuSeconds();
    search = RadiusSearchAlone(input);
    searchCpu.push_back(bench::ProcessCpuSeconds() - start);

    CountingSink sink;
    QuietProgress progress;
    const report::PlainStampProvider stamp;
    report::ReportEnvironment env{sink, progress, nullptr, stamp, {}};
    start = bench::ProcessCpuSeconds();
    report::GenerateCircularReport(input, env);
    sinkCpu.push_back(bench::ProcessCpuSeconds() - start);
    lastSink = sink;

    // A spawned child starts out accounted with this process's peak; bring that
    // down to what is resident now, a few MiB, so that the child's own peak shows.
    bench::ResetPeakResident();
    const bench::ChildCost tool = bench::RunChild(options.tool, toolCircular);
    toolFailed = toolFailed || tool.exitStatus != 0;
    toolCpu.push_back(tool.cpuSeconds);
    toolWall.push_back(tool.wallSeconds);
    toolPeak.push_back(tool.peakMiB);
    ratios.push_back(tool.cpuSeconds / searchCpu.back());

    const bench::ChildCost rectangular = bench::RunChild(options.tool, toolRectangular);
    toolFailed = toolFailed || rectangular.exitStatus != 0;
    rectangularCpu.push_back(rectangular.cpuSeconds);

    const std::vector<Sample> samples = TableLikeSamples(kSampleRows);
    std::size_t characters = 0;
    start = bench::ProcessCpuSeconds();
    for (int pass = 0; pass < kSamplePasses; ++pass)
      for (const Sample& sample : samples)
        characters += geometry::FixedText(sample.value, sample.precision, sample.decimals).size();
    fixedTextNs.push_back((bench::ProcessCpuSeconds() - start) /
                          static_cast<double>(samples.size() * kSamplePasses));
    if (characters == 0) std::fprintf(stderr, "no characters written\n");

    circularCurveCpu.push_back(
        CurveCpu(circularHorn, acoustics::MouthLoad::Baffle, circularPoints));
    rectangularCurveCpu.push_back(
        CurveCpu(rectangularHorn, acoustics::MouthLoad::Location, rectangularPoints));
    std::fprintf(stderr, "core run %d of %d done\n", run + 1, options.runs);
  }
  if (toolFailed) std::fprintf(stderr, "vortalis-report failed in at least one run\n");

  const double floorCpu = Median(searchCpu);
  const std::string stations = std::to_string(search.stations);
  bench::PrintRow({"Radius search alone, 1 Hz / 0.5 mm circular at 1 mm (" + stations +
                       " stations): the floor",
                   Seconds(floorCpu) + " CPU", Range(searchCpu, 1.0, "s", 2), "", ""});
  bench::PrintRow({"Circular report of that horn into a counting sink (" +
                       std::to_string(lastSink.lines) + " lines)",
                   Seconds(Median(sinkCpu)) + " CPU",
                   Range(sinkCpu, 1.0, "s", 2) + "; " + Fixed(Median(sinkCpu) / floorCpu, 3) +
                       " × the floor",
                   "", ""});
  const double ratio = Median(ratios);
  bench::PrintRow({"`vortalis-report circular --freq 1 --throat 0.5 --increment 1 --output FILE`",
                   Seconds(Median(toolCpu)) + " CPU",
                   Range(toolCpu, 1.0, "s", 2) + "; wall " + Seconds(Median(toolWall)) + "; " +
                       Fixed(static_cast<double>(lastSink.bytes) / 1e6, 1) + " MB written",
                   "", ""});
  bench::PrintRow({"same ÷ radius search alone (CPU, paired per run)", Fixed(ratio, 3) + " ×",
                   Range(ratios, 1.0, "×", 3), "at most 1.15 ×", bench::Verdict(ratio <= 1.15)});
  const double peak = bench::Maximum(toolPeak);
  bench::PrintRow({"same, peak resident memory", Fixed(peak, 1) + " MiB (highest run)",
                   Range(toolPeak, 1.0, "MiB", 1), "at most 120 MB",
                   bench::Verdict(peak * 1.048576 <= 120.0)});
  bench::PrintRow({"`vortalis-report rectangular --freq 5 --increment 1 --output FILE` (62,277 "
                   "stations)",
                   Seconds(Median(rectangularCpu)) + " CPU", Range(rectangularCpu, 1.0, "s", 2),
                   "", ""});
  bench::PrintRow({"`FixedText` per call (" + std::to_string(kSampleRows * 4 * kSamplePasses) +
                       " calls shaped like the circular table's columns)",
                   Seconds(Median(fixedTextNs)), Range(fixedTextNs, 1e9, "ns", 1), "", ""});
  const double circularCurve = Median(circularCurveCpu);
  bench::PrintRow({"Throat impedance, 1 Hz / 0.5 mm circular, baffle, " +
                       std::to_string(circularPoints) + " frequencies from fc/4",
                   Seconds(circularCurve) + " CPU", Range(circularCurveCpu, 1e3, "ms", 1),
                   "under 0.5 s", bench::Verdict(circularCurve < 0.5)});
  const double rectangularCurve = Median(rectangularCurveCpu);
  bench::PrintRow({"Throat impedance, 1 Hz / 1 × 1 mm rectangular, location, " +
                       std::to_string(rectangularPoints) + " frequencies from fc/4",
                   Seconds(rectangularCurve) + " CPU", Range(rectangularCurveCpu, 1e3, "ms", 1),
                   "under 0.5 s", bench::Verdict(rectangularCurve < 0.5)});
  return toolFailed ? 1 : 0;
}
