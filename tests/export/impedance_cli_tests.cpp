#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "cli/impedance_tool.h"
#include "cli/options.h"
#include "report_test_support.h"

namespace {

using vortalis::acoustics::MouthLoad;
using vortalis::report::CircularReportInput;
using vortalis::report::HornInput;
using vortalis::report::RectangularReportInput;

struct Row {
  long double frequency, resistance, reactance;
};

// The file as any CSV reader sees it: the header, then three numbers a line.
std::vector<Row> ReadCsv(const std::string& path, std::string& header) {
  std::ifstream file(path);
  std::getline(file, header);
  std::vector<Row> rows;
  for (std::string line; std::getline(file, line);) {
    Row row{};
    char comma1 = 0, comma2 = 0;
    std::istringstream fields(line);
    fields >> row.frequency >> comma1 >> row.resistance >> comma2 >> row.reactance;
    EXPECT_TRUE(fields && fields.peek() == EOF && comma1 == ',' && comma2 == ',') << line;
    rows.push_back(row);
  }
  return rows;
}

struct Case {
  const char* name;
  HornInput horn;
  MouthLoad load;
  std::optional<long double> from, to;
  int pointsPerOctave;
  std::size_t rows;         // expected rows of the sweep
  long double first, last;  // expected first and last frequencies
};

TEST(ImpedanceTool, WritesTheHornsCurveAsACsvThatReadsBack) {
  RectangularReportInput corner;
  corner.location = vortalis::geometry::MouthLocation::TwoWalls;
  // clang-format off
  const Case cases[] = {
      // The default sweep: fc / 4 to 16 fc at 24 an octave, 6 octaves.
      {"circular 300 Hz, baffle", CircularReportInput{}, MouthLoad::Baffle, {}, {}, 24,
       145, 75.0L, 4800.0L},
      {"rectangular corner horn, location, 100 to 800 Hz", corner, MouthLoad::Location, 100.0L,
       800.0L, 12, 37, 100.0L, 800.0L},
      {"only the lower end given", CircularReportInput{}, MouthLoad::Location, 600.0L, {}, 3,
       10, 600.0L, 4800.0L},
  };
  // clang-format on
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.filePath(QStringLiteral("z.csv")).toStdString();
    vortalis::cli::ImpedanceOptions options{path, c.load, c.from, c.to, c.pointsPerOctave, {}};
    volatile std::sig_atomic_t interrupted = 0;
    vortalis::testing::FixedStamp stamp;
    vortalis::cli::ToolEnvironment env{stdout, stderr, false, &interrupted, nullptr, stamp};
    ASSERT_EQ(vortalis::cli::WriteImpedance(c.horn, {}, options, env), vortalis::cli::kExitDone);

    std::string header;
    const std::vector<Row> rows = ReadCsv(path, header);
    EXPECT_EQ(header, "frequency_hz,resistance,reactance");
    EXPECT_NEAR(rows.front().frequency, c.first, 1e-9L * c.first);
    EXPECT_NEAR(rows.back().frequency, c.last, 1e-9L * c.last);
    // Every frequency of the sweep is a row; the peaks' rows lie between them.
    std::size_t onSweep = 0;
    for (const Row& row : rows) {
      const long double octaves = std::log2(row.frequency / c.first) * c.pointsPerOctave;
      if (std::fabs(octaves - std::round(octaves)) < 1e-6L) ++onSweep;
    }
    EXPECT_EQ(onSweep, c.rows);
    EXPECT_GT(rows.size(), c.rows);
    // The rows are the core's curve for this horn and load, to the file's 10 digits.
    const auto horn = vortalis::acoustics::HornAcousticsOf(c.horn, {});
    const auto curve = vortalis::acoustics::ThroatImpedanceWithPeaks(
        horn, c.load, {c.first, c.last, c.pointsPerOctave});
    ASSERT_EQ(curve.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_NEAR(rows[i].resistance, curve[i].resistance,
                  1e-9L * (1 + std::fabs(curve[i].resistance)));
      EXPECT_NEAR(rows[i].reactance, curve[i].reactance,
                  1e-9L * (1 + std::fabs(curve[i].reactance)));
    }
  }
}

TEST(ImpedanceTool, RefusesWhatItCannotWriteWithTheToolsMessage) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const struct {
    const char* name;
    std::string path;
    std::optional<long double> from;
    const char* message;
  } cases[] = {
      {"a sweep that ends before it starts", folder.filePath("a.csv").toStdString(), 9000.0L,
       "vortalis-report: The impedance's frequencies must lie from 0.001 Hz to 76800 Hz (256 fc)"},
      {"a sweep beyond any use, refused before any work", folder.filePath("a.csv").toStdString(),
       1e3000L, "vortalis-report: The impedance's frequencies must lie from 0.001 Hz"},
      {"a folder that does not exist",
       folder.filePath("none/a.csv").toStdString(),
       {},
       "vortalis-report: Cannot write"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::FILE* err = std::tmpfile();
    volatile std::sig_atomic_t interrupted = 0;
    vortalis::testing::FixedStamp stamp;
    vortalis::cli::ToolEnvironment env{stdout, err, false, &interrupted, nullptr, stamp};
    vortalis::cli::ImpedanceOptions options{c.path, MouthLoad::Baffle, c.from, {}, 24, {}};
    EXPECT_EQ(vortalis::cli::WriteImpedance(CircularReportInput{}, {}, options, env),
              vortalis::cli::kExitRefused);
    std::rewind(err);
    char text[512] = {};
    std::fread(text, 1, sizeof text - 1, err);
    std::fclose(err);
    EXPECT_EQ(std::string(text).rfind(c.message, 0), 0u) << text;
    EXPECT_FALSE(std::ifstream(c.path).good());
  }
}

TEST(ImpedanceTool, NotesWhereTheModelEndsAndWhenLossesMatter) {
  // A 300 Hz circular mouth's first symmetric cross-mode: 3.8317 fc = 1150 Hz.
  // Losses change a 10 mm throat's curve by a few per cent, a 0.5 mm one's far more.
  CircularReportInput narrow;
  narrow.throatText = "0.5";
  const struct {
    HornInput horn;
    vortalis::acoustics::WallLosses losses;
    std::vector<std::string> notes;
  } cases[] = {
      {CircularReportInput{}, vortalis::acoustics::WallLosses::Off, {"above 1150 Hz"}},
      {narrow, vortalis::acoustics::WallLosses::Off, {"above 1150 Hz", "would change", "--losses on"}},
      {narrow, vortalis::acoustics::WallLosses::On, {"wall losses change"}},
  };
  QTemporaryDir folder;
  for (const auto& c : cases) {
    std::FILE* err = std::tmpfile();
    volatile std::sig_atomic_t interrupted = 0;
    vortalis::testing::FixedStamp stamp;
    vortalis::cli::ToolEnvironment env{stdout, err, false, &interrupted, nullptr, stamp};
    vortalis::cli::ImpedanceOptions options{folder.filePath("z.csv").toStdString(),
                                            MouthLoad::Baffle, {}, {}, 24, {}, c.losses};
    EXPECT_EQ(vortalis::cli::WriteImpedance(c.horn, {}, options, env), vortalis::cli::kExitDone);
    std::rewind(err);
    char text[1024] = {};
    std::fread(text, 1, sizeof text - 1, err);
    std::fclose(err);
    const std::string said(text);
    for (const std::string& note : c.notes) EXPECT_NE(said.find(note), std::string::npos) << said;
    EXPECT_EQ(said.find("wall losses") == std::string::npos, c.notes.size() == 1 &&
                                                                 c.losses ==
                                                                     vortalis::acoustics::WallLosses::Off);
  }
}

TEST(ImpedanceTool, OptionsAreReadWithTheSeparatorAndRefusedAlone) {
  using vortalis::cli::ParseCommandLine;
  const auto parsed = ParseCommandLine(
      {"rectangular", "--decimal-separator", ",", "--impedance", "z.csv", "--mouth-load",
       "location", "--from", "12,5", "--to", "800", "--points-per-octave", "12",
       "--mouth-limit", "side1=300,5", "--losses", "on"});
  const auto* options = std::get_if<vortalis::cli::ToolOptions>(&parsed);
  ASSERT_TRUE(options && options->impedance);
  EXPECT_EQ(options->impedance->path, "z.csv");
  EXPECT_EQ(options->impedance->load, MouthLoad::Location);
  EXPECT_EQ(options->impedance->from, 12.5L);
  EXPECT_EQ(options->impedance->to, 800.0L);
  EXPECT_EQ(options->impedance->pointsPerOctave, 12);
  EXPECT_EQ(options->impedance->mouthLimit.kind, vortalis::report::MouthLimitKind::Side1);
  EXPECT_EQ(options->impedance->mouthLimit.value, 300.5L);
  EXPECT_EQ(options->impedance->losses, vortalis::acoustics::WallLosses::On);

  const std::vector<std::vector<std::string_view>> refused = {
      {"circular", "--mouth-load", "baffle"},
      {"circular", "--impedance", "z.csv", "--quick"},
      {"circular", "--impedance", "z.csv", "--points-per-octave", "0"},
      {"circular", "--impedance", "z.csv", "--mouth-load", "wall"},
      {"circular", "--impedance", "z.csv", "--losses", "yes"},
      {"circular", "--losses", "on"},
      {"circular", "--impedance", "z.csv", "--from", "-5"},
      {"circular", "--impedance", "z.csv", "--export", "csv", "./z.csv"},
  };
  for (const auto& args : refused) {
    EXPECT_TRUE(std::holds_alternative<vortalis::cli::UsageError>(ParseCommandLine(args)))
        << args.back();
  }
}

}  // namespace
