#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "cli/options.h"
#include "cli/report_tool.h"
#include "export/profile_export.h"
#include "report/horn_profile.h"
#include "export_test_support.h"
#include "report_test_support.h"

namespace {

using vortalis::testing::RunTool;
using vortalis::testing::ToolRun;
using vortalis::cli::ParseCommandLine;
using vortalis::cli::Paper;
using vortalis::cli::ToolOptions;
using vortalis::cli::UsageError;
using namespace vortalis::report;

ToolOptions Parsed(const std::vector<std::string_view>& args) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) ADD_FAILURE() << usage->message;
  return std::holds_alternative<ToolOptions>(parsed) ? std::get<ToolOptions>(parsed)
                                                     : ToolOptions{};
}

TEST(DrawingOptions, AreReadWithTheUnitAndTheSeparator) {
  const ToolOptions csv = Parsed({"circular", "--export", "csv", "horn.csv"});
  EXPECT_EQ(csv.drawings.format, ExportFormat::Csv);
  EXPECT_EQ(csv.drawings.exportPath, "horn.csv");
  EXPECT_FALSE(csv.drawings.step.has_value());
  EXPECT_EQ(csv.drawings.mouthLimit.kind, MouthLimitKind::None);

  const ToolOptions both =
      Parsed({"rectangular", "--export=dxf", "horn.dxf", "--template", "horn.pdf",
              "--decimal-separator", ",", "--step", "2,5", "--mouth-limit", "side1=1200,5",
              "--paper", "letter"});
  EXPECT_EQ(both.drawings.format, ExportFormat::Dxf);
  EXPECT_EQ(both.drawings.exportPath, "horn.dxf");
  EXPECT_EQ(both.drawings.templatePath, "horn.pdf");
  EXPECT_EQ(both.drawings.step, 2.5L);
  EXPECT_EQ(both.drawings.mouthLimit.kind, MouthLimitKind::Side1);
  EXPECT_EQ(both.drawings.mouthLimit.value, 1200.5L);
  EXPECT_EQ(both.drawings.paper, Paper::Letter);

  const ToolOptions length = Parsed({"circular", "--template", "t.pdf", "--mouth-limit",
                                     "length=300"});
  EXPECT_EQ(length.drawings.mouthLimit.kind, MouthLimitKind::Length);
  EXPECT_EQ(length.drawings.mouthLimit.value, 300.0L);

  const ToolOptions diameter = Parsed({"circular", "--size", "diameter", "--template", "t.pdf",
                                       "--mouth-limit", "diameter=600.5"});
  EXPECT_EQ(diameter.drawings.mouthLimit.kind, MouthLimitKind::Diameter);
  EXPECT_EQ(diameter.drawings.mouthLimit.value, 600.5L);
}

TEST(DrawingOptions, UsageErrors) {
  const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases{
      {{"circular", "--export", "csv"}, "option --export needs a format and a file name"},
      {{"circular", "--export", "csv", "a.csv", "--export", "dxf", "a.dxf"},
       "option --export may be given only once"},
      {{"circular", "--template", "a.pdf", "--template", "b.pdf"},
       "option --template may be given only once"},
      {{"circular", "--export", "pdf", "x.pdf"},
       "invalid value 'pdf' for --export (choose csv, dxf or svg)"},
      {{"circular", "--template", "x.pdf", "--step", "0"},
       "invalid value '0' for --step (choose a length above 0)"},
      {{"circular", "--template", "x.pdf", "--step", "2,5"},
       "invalid value '2,5' for --step (choose a length above 0)"},
      {{"circular", "--template", "x.pdf", "--mouth-limit", "side1=300"},
       "invalid value 'side1=300' for --mouth-limit (choose radius=VALUE, diameter=VALUE or "
       "length=VALUE)"},
      {{"rectangular", "--template", "x.pdf", "--mouth-limit", "diameter=300"},
       "invalid value 'diameter=300' for --mouth-limit (choose side1=VALUE or length=VALUE)"},
      {{"rectangular", "--template", "x.pdf", "--mouth-limit", "radius=300"},
       "invalid value 'radius=300' for --mouth-limit (choose side1=VALUE or length=VALUE)"},
      {{"circular", "--template", "x.pdf", "--mouth-limit", "length=-1"},
       "invalid value 'length=-1' for --mouth-limit (choose radius=VALUE, diameter=VALUE or "
       "length=VALUE)"},
      {{"circular", "--template", "x.pdf", "--paper", "a5"},
       "invalid value 'a5' for --paper (choose a4, a3 or letter)"},
      {{"circular", "--export", "csv", "x.csv", "--output", "r.txt"},
       "--output cannot be given with --export or --template, which write drawings instead of "
       "the report"},
      {{"circular", "--template", "x.pdf", "--quick"},
       "--quick cannot be given with --export or --template, which write drawings instead of "
       "the report"},
      {{"circular", "--step", "18"}, "--step needs --export or --template"},
      {{"circular", "--mouth-limit", "length=3"},
       "--mouth-limit needs --export, --template, --impedance or --response"},
      {{"circular", "--export", "csv", "x.csv", "--paper", "a3"}, "--paper needs --template"},
      {{"circular", "--export", "csv", "--quick"},
       "option --export needs a file name, but '--quick' looks like an option (write ./--quick "
       "for such a file)"},
      {{"circular", "--export", "csv", "same.pdf", "--template", "same.pdf"},
       "--export and --template name the same file 'same.pdf'"},
  };
  for (const auto& [args, message] : cases) {
    const auto parsed = ParseCommandLine(args);
    const auto* usage = std::get_if<UsageError>(&parsed);
    ASSERT_NE(usage, nullptr) << message;
    EXPECT_EQ(usage->message, message);
  }
}

class DrawingTool : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files); }
  QTemporaryDir dir_;
};

TEST_F(DrawingTool, WritesTheFilesInsteadOfTheReport) {
  const ToolRun run = RunTool({"circular", "--freq", "150", "--export", "csv", Path("horn.csv"),
                               "--step", "18", "--template", Path("horn.pdf")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  CircularReportInput input;
  input.frequencyText = "150";
  const HornProfile profile = MakeCircularProfile(input, 18.0L, {}, {});
  QFile csv(QString::fromStdString(Path("horn.csv")));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().toStdString(), vortalis::exports::ProfileCsv(profile));
  // Only the template's page count on standard output, no report.
  EXPECT_TRUE(run.out.starts_with(Path("horn.pdf") + ": ")) << run.out;
  EXPECT_TRUE(run.out.ends_with(" pages at full size\n")) << run.out;
  EXPECT_EQ(Files(), (QStringList{QStringLiteral("horn.csv"), QStringLiteral("horn.pdf")}));
}

TEST_F(DrawingTool, RefusedInputAndLimitsWriteNothing) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"circular", "--freq", "abc", "--export", "svg", Path("horn.svg")},
       "Error in Frequency value!\n"},
      {{"circular", "--export", "svg", Path("horn.svg"), "--mouth-limit", "radius=5"},
       "vortalis-report: The mouth limit radius must be larger than the throat radius.\n"},
      {{"circular", "--export", "dxf", Path("horn.dxf"), "--step", "0.0001"},
       "vortalis-report: The step is too small for this horn: the drawing would have more than "
       "1,000,000 points.\n"},
  };
  for (const auto& [args, message] : cases) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Files().isEmpty()) << message;
  }
}

}  // namespace
