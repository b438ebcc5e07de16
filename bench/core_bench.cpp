// The core rows of the benchmark table: the literal radius walk alone (the
// floor) and the fast search, the whole circular report into a counting sink
// and through vortalis-report, the rectangular report, FixedText per call, and
// the throat impedance curve of the largest horns. Runs are interleaved, so a
// ratio compares figures taken under the same load. Before them, the fast
// search is compared with the literal walk on every station of the largest
// tables and at millions of random stations.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "bench/bench_table.h"
#include "bench/child_process.h"
#include "geometry/constants.h"
#include "geometry/number_text.h"
#include "report/horn_model.h"
#include "report/radius_solver.h"
#include "report/report_generator.h"

namespace {

using namespace vortalis;
using bench::Fixed;
using bench::Median;
using bench::Seconds;

// The largest table in millimetres: 1 Hz, 0.5 mm throat radius, increment 1 mm
// (the largest of all is the inch one: 0.0197 inch at 0.01 inch).
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
// A bass horn's DXF at the default 1 mm step: 27,439 points and their station marks.
const std::vector<std::string> kToolDxf{"circular", "--freq", "10", "--throat", "25", "--export",
                                        "dxf"};

using Solver = long double (*)(long double, long double, long double, long double);

// The walk of the circular generator and nothing else: the same stations, the
// same searches from the previous radius.
struct SearchResult {
  long long stations = 0;
  long double lastRadius = 0;
};

SearchResult RadiusSearchAlone(const report::CircularReportInput& input, Solver solve) {
  const report::CircularHorn horn = report::MakeCircularHorn(input, {});
  const long double increment = geometry::IncrementValue(input.increment, input.unit);
  const long double eps = report::SearchTolerance(input.unit);
  SearchResult result;
  long double r = horn.throatRadius;
  for (long long i = 1;; ++i) {
    const long double distance = static_cast<long double>(i) * increment;
    if (!(distance < horn.length)) break;
    r = solve(horn.mouthRadius, horn.length - distance, r, eps);
    ++result.stations;
  }
  result.lastRadius = r;
  return result;
}

// How many searches the fast search and the literal walk were compared on, and
// in how many their radii differed in any of the 80 bits.
struct Identity {
  long long compared = 0;
  long long differing = 0;
  // The literal walk's radius.
  long double Compare(long double a, long double x, long double rStart, long double eps) {
    const long double fast = report::SolveRadius(a, x, rStart, eps);
    const long double literal = report::SolveRadiusLiteral(a, x, rStart, eps);
    ++compared;
    if (std::memcmp(&fast, &literal, 10) != 0) ++differing;
    return literal;
  }
};

// Every station of a table, each searched from the previous one's radius.
Identity CompareEveryStation(long double a, long double length, long double throatRadius,
                             geometry::LengthUnit unit) {
  const long double increment = geometry::IncrementValue(geometry::TableIncrement::T1, unit);
  const long double eps = report::SearchTolerance(unit);
  Identity identity;
  long double r = throatRadius;
  for (long long i = 1;; ++i) {
    const long double distance = static_cast<long double>(i) * increment;
    if (!(distance < length)) break;
    r = identity.Compare(a, length - distance, r, eps);
  }
  return identity;
}

Identity CompareCircular(const char* fc, const char* throat, geometry::LengthUnit unit) {
  report::CircularReportInput input;
  input.unit = unit;
  input.frequencyText = fc;
  input.throatText = throat;
  const report::CircularHorn horn = report::MakeCircularHorn(input, {});
  return CompareEveryStation(horn.mouthRadius, horn.length, horn.throatRadius, unit);
}

Identity CompareRectangular(const char* fc, const char* side1, const char* side2,
                            geometry::LengthUnit unit) {
  report::RectangularReportInput input;
  input.unit = unit;
  input.frequencyText = fc;
  input.side1Text = side1;
  input.side2Text = side2;
  const report::RectangularHorn horn = report::MakeRectangularHorn(input, {});
  return CompareEveryStation(horn.mouthRadius, horn.length, horn.throatRadius, unit);
}

// Random horns of 1 Hz to 25 kHz in either unit; a random radius from the
// smallest throat up to (a quarter of them very close to) the mouth, and the
// next station's target one increment on, off by up to eps as a previous search
// leaves it; nearer the mouth than an increment, a random part of what is left.
Identity CompareRandomStations(long long count) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<long double> unit(0.0L, 1.0L);
  Identity identity;
  while (identity.compared < count) {
    const geometry::LengthUnit lengthUnit =
        random() % 2 == 0 ? geometry::LengthUnit::Millimetre : geometry::LengthUnit::Inch;
    const long double a = report::MouthRadiusIn(std::pow(25000.0L, unit(random)), lengthUnit);
    const long double throat = lengthUnit == geometry::LengthUnit::Millimetre
                                   ? geometry::MinThroatRadiusMm
                                   : geometry::MinThroatRadiusInch;
    const long double start = random() % 4 == 0
                                  ? a * (1.0L - std::pow(10.0L, -12.0L * unit(random)))
                                  : throat * std::pow(a / throat, unit(random));
    if (!(start < a)) continue;
    const long double eps = report::SearchTolerance(lengthUnit);
    const long double increment =
        geometry::IncrementValue(static_cast<geometry::TableIncrement>(random() % 3), lengthUnit);
    const long double distance = report::TractrixDistance(a, start);
    long double x = distance - increment + (2.0L * unit(random) - 1.0L) * eps;
    if (!(x > 0.0L)) x = distance * unit(random);
    identity.Compare(a, x, start, eps);
  }
  return identity;
}

void PrintIdentityRow(const std::string& what, const Identity& identity) {
  bench::PrintRow({"Fast search ≡ literal walk: " + what,
                   std::to_string(identity.differing) + " differ",
                   std::to_string(identity.compared) + " searches compared bit for bit", "0 differ",
                   bench::Verdict(identity.differing == 0)});
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
  std::vector<std::string> toolDxf = kToolDxf;
  toolDxf.push_back(options.outputDir + "/vortalis-bench-horn.dxf");
  // Few enough samples to keep this process small: a spawned child is accounted
  // with the parent's resident size as its starting peak. Passes make up the count.
  constexpr std::size_t kSampleRows = 25000;
  constexpr int kSamplePasses = 10;

  // Identity first: a fast search that is fast because it is wrong must not pass unseen.
  constexpr long long kRandomStations = 3000000;
  const Identity circularMm = CompareCircular("1", "0.5", geometry::LengthUnit::Millimetre);
  const Identity circularInch = CompareCircular("1", "0.0197", geometry::LengthUnit::Inch);
  const Identity rectangularMm =
      CompareRectangular("5", "40", "50", geometry::LengthUnit::Millimetre);
  const Identity rectangularInch = CompareRectangular("5", "1.5", "2", geometry::LengthUnit::Inch);
  const Identity randomStations = CompareRandomStations(kRandomStations);
  std::fprintf(stderr, "identity comparisons done\n");

  std::vector<double> literalCpu, fastCpu, fastRatios, sinkCpu, toolCpu, toolWall, toolPeak, ratios,
      rectangularCpu, fixedTextNs, circularCurveCpu, rectangularCurveCpu, dxfCpu;
  const acoustics::HornAcoustics circularHorn = acoustics::CircularHornAcoustics(input, {});
  const acoustics::HornAcoustics rectangularHorn =
      acoustics::RectangularHornAcoustics(HugeRectangularInput(), {});
  std::size_t circularPoints = 0;
  std::size_t rectangularPoints = 0;
  SearchResult search;
  CountingSink lastSink;
  bool toolFailed = false;
  bool fastEndedElsewhere = false;
  for (int run = 0; run < options.runs; ++run) {
    double start = bench::ProcessCpuSeconds();
    search = RadiusSearchAlone(input, report::SolveRadiusLiteral);
    literalCpu.push_back(bench::ProcessCpuSeconds() - start);
    start = bench::ProcessCpuSeconds();
    const SearchResult fast = RadiusSearchAlone(input, report::SolveRadius);
    fastCpu.push_back(bench::ProcessCpuSeconds() - start);
    fastRatios.push_back(fastCpu.back() / literalCpu.back());
    fastEndedElsewhere =
        fastEndedElsewhere || std::memcmp(&fast.lastRadius, &search.lastRadius, 10) != 0;

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
    ratios.push_back(tool.cpuSeconds / literalCpu.back());

    const bench::ChildCost rectangular = bench::RunChild(options.tool, toolRectangular);
    toolFailed = toolFailed || rectangular.exitStatus != 0;
    rectangularCpu.push_back(rectangular.cpuSeconds);

    const bench::ChildCost dxf = bench::RunChild(options.tool, toolDxf);
    toolFailed = toolFailed || dxf.exitStatus != 0;
    dxfCpu.push_back(dxf.cpuSeconds);

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
  if (fastEndedElsewhere) std::fprintf(stderr, "the fast search ended on another radius\n");

  PrintIdentityRow("every station of circular 1 Hz / 0.5 mm at 1 mm", circularMm);
  PrintIdentityRow("every station of circular 1 Hz / 0.0197 inch at 0.01 inch", circularInch);
  PrintIdentityRow("every station of rectangular 5 Hz / 40 × 50 mm at 1 mm", rectangularMm);
  PrintIdentityRow("every station of rectangular 5 Hz / 1.5 × 2 inch at 0.01 inch",
                   rectangularInch);
  PrintIdentityRow("random stations of random horns, 1 Hz to 25 kHz, mm and inch", randomStations);
  const double floorCpu = Median(literalCpu);
  const std::string stations = std::to_string(search.stations);
  bench::PrintRow({"Literal radius walk alone, 1 Hz / 0.5 mm circular at 1 mm (" + stations +
                       " stations): the floor",
                   Seconds(floorCpu) + " CPU", Range(literalCpu, 1.0, "s", 2), "", ""});
  bench::PrintRow({"Fast radius search, same stations", Seconds(Median(fastCpu)) + " CPU",
                   Range(fastCpu, 1.0, "s", 2), "", ""});
  const double fastRatio = Median(fastRatios);
  bench::PrintRow({"fast search ÷ literal walk (CPU, paired per run)", Fixed(fastRatio, 3) + " ×",
                   Range(fastRatios, 1.0, "×", 3), "at most 0.5 ×",
                   bench::Verdict(fastRatio <= 0.5)});
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
  bench::PrintRow({"same ÷ literal radius walk alone (CPU, paired per run)", Fixed(ratio, 3) + " ×",
                   Range(ratios, 1.0, "×", 3), "at most 1.15 ×", bench::Verdict(ratio <= 1.15)});
  const double peak = bench::Maximum(toolPeak);
  bench::PrintRow({"same, peak resident memory", Fixed(peak, 1) + " MiB (highest run)",
                   Range(toolPeak, 1.0, "MiB", 1), "at most 120 MB",
                   bench::Verdict(peak * 1.048576 <= 120.0)});
  bench::PrintRow({"`vortalis-report rectangular --freq 5 --increment 1 --output FILE` (62,277 "
                   "stations)",
                   Seconds(Median(rectangularCpu)) + " CPU", Range(rectangularCpu, 1.0, "s", 2),
                   "", ""});
  const double dxf = Median(dxfCpu);
  bench::PrintRow({"`vortalis-report circular --freq 10 --throat 25 --export dxf FILE` (walls "
                   "within 0.05 mm through 27,439 points, 27,437 station ticks each side)",
                   Seconds(dxf) + " CPU", Range(dxfCpu, 1.0, "s", 2), "under 0.5 s",
                   bench::Verdict(dxf < 0.5)});
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
  const long long differing = circularMm.differing + circularInch.differing +
                              rectangularMm.differing + rectangularInch.differing +
                              randomStations.differing;
  return toolFailed || fastEndedElsewhere || differing != 0 ? 1 : 0;
}
