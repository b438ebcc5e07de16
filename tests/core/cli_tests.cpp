#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "buildkit/flat_kits.h"
#include "cli/options.h"
#include "cli/report_tool.h"
#include "cli/spooled_document.h"
#include "cli/terminal_progress.h"
#include "design/design_keys.h"
#include "output/output_file.h"
#include "output/scratch_file.h"
#include "report_test_support.h"

namespace {

namespace fs = std::filesystem;
using vortalis::cli::ParseCommandLine;
using vortalis::cli::RunReportTool;
using vortalis::cli::SpooledDocument;
using vortalis::cli::ToolEnvironment;
using vortalis::cli::ToolOptions;
using vortalis::cli::UsageError;
using vortalis::report::CircularReportInput;
using vortalis::report::RectangularReportInput;

std::string ReadStream(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  return text;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteTextFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

// Runs the tool in this process. Ctrl+C is pressed during the events of
// station `interruptOnPump` (0: never).
ToolRun RunTool(std::vector<std::string> args, int interruptOnPump = 0, std::FILE* out = nullptr) {
  volatile std::sig_atomic_t interrupted = 0;
  int pumps = 0;
  std::FILE* capturedOut = std::tmpfile();
  std::FILE* err = std::tmpfile();
  vortalis::testing::FixedStamp stamp;
  ToolEnvironment env{out != nullptr ? out : capturedOut,
                      err,
                      false,
                      &interrupted,
                      [&] {
                        if (++pumps == interruptOnPump) interrupted = 1;
                      },
                      stamp};
  const std::vector<std::string_view> views(args.begin(), args.end());
  ToolRun run{RunReportTool(views, env), ReadStream(capturedOut), ReadStream(err)};
  std::fclose(capturedOut);
  std::fclose(err);
  return run;
}

// The document as the report window would save it.
template <typename Input>
std::string SavedReport(void (*generate)(const Input&, vortalis::report::ReportEnvironment&),
                        const Input& input, int abortOnPump = 0) {
  std::string text;
  for (const std::string& line : vortalis::testing::Produce(generate, input, abortOnPump).lines)
    text += line + "\r\n";
  return text;
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vortalis-cli-test.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }
  // Every name in the folder, to catch a temporary file left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path folder_;
};

TEST(CommandLine, UsageErrorsExitWithTwoAndShowTheUsage) {
  const std::vector<std::vector<std::string>> cases{
      {},
      {"square"},
      {"--freq", "300"},
      {"circular", "--side1", "40"},
      {"rectangular", "--throat", "10"},
      {"circular", "--freq"},
      {"circular", "--unit", "cm"},
      {"circular", "--size", "radial"},
      {"rectangular", "--location", "3"},
      {"circular", "--increment", "5"},
      {"circular", "--unit", "inch", "--increment", "10"},
      {"circular", "--increment", "0.1"},
      {"circular", "--decimal-separator", ";"},
      {"circular", "--quick=yes"},
      {"circular", "300"},
      {"circular", "--output", ""},
      {"circular", "-x"},
      {"circular", "--\xff\xfe"},
      // A value that is an option was forgotten.
      {"circular", "--export", "csv", "--quick"},
      {"circular", "--export", "--quick", "x.csv"},
      {"circular", "--output", "--quick"},
      {"circular", "-o", "-h"},
      {"circular", "--freq", "--throat", "20"},
      {"rectangular", "--side2", "--nothing"},
  };
  for (const auto& args : cases) {
    const ToolRun run = RunTool(args);
    std::string joined;
    for (const auto& arg : args) joined += arg + " ";
    EXPECT_EQ(run.status, 2) << joined;
    EXPECT_TRUE(run.out.empty()) << joined;
    EXPECT_TRUE(run.err.starts_with("vortalis-report: ")) << joined;
    // One line of explanation, then the usage.
    EXPECT_TRUE(run.err.substr(run.err.find('\n') + 1).starts_with("Usage: vortalis-report"))
        << run.err;
    EXPECT_EQ(run.err.find('\xff'), std::string::npos) << "raw bytes echoed";
  }
}

TEST(CommandLine, OptionsReachTheDialogRecords) {
  const auto parsed =
      ParseCommandLine({"rectangular", "--freq", "40,5", "--side1=60", "--side2", "-7",
                        "--flat-mouth", "900", "--location", "4", "--unit", "inch", "--increment",
                        "0,1", "--decimal-separator", ",", "--output", "horn.txt", "--quick"});
  ASSERT_TRUE(std::holds_alternative<ToolOptions>(parsed));
  const ToolOptions& options = std::get<ToolOptions>(parsed);
  ASSERT_TRUE(std::holds_alternative<RectangularReportInput>(options.horn));
  const auto& rectangular = std::get<RectangularReportInput>(options.horn);
  EXPECT_EQ(rectangular.frequencyText, "40,5");
  EXPECT_EQ(rectangular.side1Text, "60");
  EXPECT_EQ(rectangular.side2Text, "-7");
  EXPECT_TRUE(rectangular.flatSides);
  EXPECT_EQ(rectangular.mouthText, "900");
  EXPECT_EQ(rectangular.location, vortalis::geometry::MouthLocation::TwoWalls);
  EXPECT_EQ(rectangular.unit, vortalis::geometry::LengthUnit::Inch);
  EXPECT_EQ(rectangular.increment, vortalis::geometry::TableIncrement::T10);
  EXPECT_EQ(options.separators.decimal, ",");
  EXPECT_EQ(options.outputPath, "horn.txt");
  EXPECT_TRUE(options.quick);

  // Without options, each subcommand holds its dialog's default record.
  const auto circular = ParseCommandLine({"circular"});
  ASSERT_TRUE(std::holds_alternative<ToolOptions>(circular));
  const auto* circularInput = std::get_if<CircularReportInput>(&std::get<ToolOptions>(circular).horn);
  ASSERT_NE(circularInput, nullptr);
  const CircularReportInput circularDefaults;
  EXPECT_EQ(circularInput->frequencyText, circularDefaults.frequencyText);
  EXPECT_EQ(circularInput->throatText, circularDefaults.throatText);
  EXPECT_EQ(circularInput->unit, circularDefaults.unit);
  EXPECT_EQ(circularInput->increment, circularDefaults.increment);
  EXPECT_EQ(circularInput->size, circularDefaults.size);
  const auto plain = ParseCommandLine({"rectangular"});
  ASSERT_TRUE(std::holds_alternative<ToolOptions>(plain));
  const auto* rectangularInput =
      std::get_if<RectangularReportInput>(&std::get<ToolOptions>(plain).horn);
  ASSERT_NE(rectangularInput, nullptr);
  const RectangularReportInput rectangularDefaults;
  EXPECT_EQ(rectangularInput->frequencyText, rectangularDefaults.frequencyText);
  EXPECT_EQ(rectangularInput->side1Text, rectangularDefaults.side1Text);
  EXPECT_EQ(rectangularInput->side2Text, rectangularDefaults.side2Text);
  EXPECT_EQ(rectangularInput->increment, rectangularDefaults.increment);
  EXPECT_EQ(rectangularInput->location, rectangularDefaults.location);
  EXPECT_EQ(rectangularInput->flatSides, rectangularDefaults.flatSides);
}

TEST(CommandLine, BuildKitOptionsAreReadWithTheirSettings) {
  namespace kit = vortalis::buildkit;
  const auto parsed = ParseCommandLine({"circular", "--decimal-separator", ",", "--stl", "h.stl",
                                        "--wall", "2,5", "--segment-height", "180", "--flange",
                                        "80;6;65,5;4;5,5", "--mouth-limit", "radius=90"});
  const auto* options = std::get_if<ToolOptions>(&parsed);
  ASSERT_TRUE(options && options->kit);
  const auto& stl = *options->kit;
  ASSERT_EQ(stl.unit, &kit::kSolidUnit);
  EXPECT_EQ(stl.path, "h.stl");
  EXPECT_EQ(stl.values.Value(kit::kSolidWall), 2.5L);
  EXPECT_EQ(stl.values.Value(kit::kSegmentHeight), 180.0L);
  EXPECT_EQ(stl.values.group, (std::vector<long double>{80.0L, 6.0L, 65.5L, 4.0L, 5.5L}));
  const auto bed = ParseCommandLine({"circular", "--decimal-separator", ",", "--stl", "h.stl",
                                     "--wall", "2", "--bed", "250,5;180", "--joint", "flat"});
  const auto* bedOptions = std::get_if<ToolOptions>(&bed);
  ASSERT_TRUE(bedOptions && bedOptions->kit);
  EXPECT_EQ(bedOptions->kit->values.Value(kit::kBedWidth), 250.5L);
  EXPECT_EQ(bedOptions->kit->values.Value(kit::kBedDepth), 180.0L);
  EXPECT_EQ(bedOptions->kit->values.choice, "flat");
  EXPECT_EQ(options->kit->mouthLimit.value, 90.0L);

  const auto rings = ParseCommandLine(
      {"circular", "--rings", "r.csv", "--board", "18", "--ring-tolerance", "0.2"});
  const auto* ringsOptions = std::get_if<ToolOptions>(&rings);
  ASSERT_TRUE(ringsOptions && ringsOptions->kit);
  const auto& ringsKit = ringsOptions->kit->values;
  EXPECT_FALSE(ringsKit.Given(kit::kRingWall));  // the default
  EXPECT_EQ(ringsKit.Given(kit::kRingTolerance), 0.2L);

  const auto staves = ParseCommandLine({"circular", "--staves", "12", "s.pdf"});
  const auto* stavesOptions = std::get_if<ToolOptions>(&staves);
  ASSERT_TRUE(stavesOptions && stavesOptions->kit);
  EXPECT_EQ(stavesOptions->kit->path, "s.pdf");
  EXPECT_EQ(stavesOptions->kit->values.Value(kit::kStaveCount), 12.0L);

  const auto panels = ParseCommandLine(
      {"rectangular", "--panels", "w.pdf", "--paper", "a3", "--mouth-limit", "side1=800"});
  const auto* panelsOptions = std::get_if<ToolOptions>(&panels);
  ASSERT_TRUE(panelsOptions && panelsOptions->kit);
  EXPECT_EQ(panelsOptions->kit->path, "w.pdf");
  EXPECT_EQ(panelsOptions->kit->paper, vortalis::cli::Paper::A3);
  EXPECT_EQ(panelsOptions->kit->mouthLimit.kind, vortalis::report::MouthLimitKind::Side1);
  // every kit's PDF takes the paper
  for (const std::vector<std::string_view>& args :
       {std::vector<std::string_view>{"circular", "--rings", "r.PDF", "--board", "18", "--paper",
                                      "letter"},
        {"circular", "--sectors", "s.pdf", "--step", "20", "--paper", "letter"},
        {"circular", "--staves", "12", "s.pdf", "--paper", "letter"}}) {
    const auto parsed = ParseCommandLine(args);
    const auto* options = std::get_if<ToolOptions>(&parsed);
    ASSERT_TRUE(options && options->kit) << args[1];
    EXPECT_EQ(options->kit->paper, vortalis::cli::Paper::Letter) << args[1];
  }

  const std::vector<std::vector<std::string_view>> refused = {
      {"circular", "--rings", "r.csv"},                                  // no --board
      {"circular", "--rings", "r.csv", "--board", "18", "--wall", "0"},  // a knife edge
      {"circular", "--ring-tolerance", "1"},                              // no --rings
      {"circular", "--board", "18"},                                     // no kit
      {"circular", "--rings", "r.csv", "--board", "18", "--stl", "h.stl", "--wall", "3"},
      {"circular", "--stl", "h.stl", "--wall", "3", "--export", "csv", "p.csv"},
      {"circular", "--stl", "h.stl", "--wall", "3", "--flange", "80"},  // thickness missing
      {"circular", "--staves", "12.5", "s.pdf"},
      {"circular", "--staves", "12", "--quick"},                         // a forgotten file name
      {"rectangular", "--rings", "r.csv", "--board", "18"},              // round horns only
      {"circular", "--rings", "r.csv", "--board", "18", "--step", "5"},
      {"circular", "--stl", "h.stl", "--wall", "3", "--paper", "a3"},
      {"rectangular", "--panels", "w.dxf", "--staves", "12", "s.pdf"},
  };
  for (const auto& args : refused) {
    EXPECT_TRUE(std::holds_alternative<UsageError>(ParseCommandLine(args))) << args[1];
  }
}

// A kit value out of its limits is refused by the tool with the sentence the
// kit itself gives for it; a flange without bolt holes is a flange for both.
TEST(CommandLine, KitValuesAreRefusedWithTheKitsOwnSentence) {
  namespace kit = vortalis::buildkit;
  const CircularReportInput horn;
  const auto said = [](const auto& make) {
    try {
      make();
    } catch (const kit::KitError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  const auto solids = [&horn](kit::SolidOptions options) {
    return [&horn, options] { kit::CircularHornSolids(horn, {}, {}, options); };
  };
  const struct {
    std::vector<std::string_view> args;
    std::string kitSaid;
  } rows[] = {
      {{"--rings", "r.csv", "--board", "0"}, said([&] { kit::StackedRings(horn, {}, {}, 0, 0); })},
      {{"--rings", "r.csv", "--board", "18", "--wall", "-1"},
       said([&] { kit::StackedRings(horn, {}, {}, 18, -1); })},
      {{"--sectors", "s.dxf", "--step", "20", "--seam", "-0.5"},
       said([&] { kit::SheetDevelopments(horn, {}, {}, 20, -0.5L); })},
      {{"--staves", "65", "s.dxf"}, said([&] { kit::Staves(horn, {}, {}, 65); })},
      {{"--stl", "h.stl", "--wall", "0"}, said(solids({0, 0, {}}))},
      {{"--stl", "h.stl", "--wall", "3", "--segment-height", "-1"}, said(solids({3, -1, {}}))},
      {{"--stl", "h.stl", "--wall", "3", "--flange", "80,0"},
       said(solids({3, 0, kit::Flange{80, 0, 0, 0, 0}}))},
      {{"--stl", "h.stl", "--wall", "3", "--flange", "80,6,65,400,5.5"},
       said(solids({3, 0, kit::Flange{80, 6, 65, 400, 5.5L}}))},
      {{"--stl", "h.stl", "--wall", "3", "--bed", "220"},
       said([] { kit::CheckedList(kit::ParametersOf(kit::kSolidUnit, "--bed"), "220", {}); })},
  };
  for (const auto& row : rows) {
    std::vector<std::string_view> args{"circular"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const auto parsed = ParseCommandLine(args);
    const auto* error = std::get_if<UsageError>(&parsed);
    ASSERT_TRUE(error) << row.args[0];
    EXPECT_NE(row.kitSaid, "accepted");
    EXPECT_TRUE(error->message.ends_with(": " + row.kitSaid)) << error->message;
  }

  const auto parsed =
      ParseCommandLine({"circular", "--stl", "h.stl", "--wall", "3", "--flange", "80,6,65,0,5.5"});
  const auto* options = std::get_if<ToolOptions>(&parsed);
  ASSERT_TRUE(options && options->kit);
  const auto& flange = options->kit->values.group;
  ASSERT_EQ(flange.size(), 5u);
  const kit::SolidOptions solid{3, 0, kit::CheckedFlange(flange[0], flange[1], flange[2],
                                                         flange[3], flange[4])};
  EXPECT_EQ(solid.flange->boltCount, 0);
  EXPECT_EQ(said(solids(solid)), "accepted");
}

// A kit's setting that no design key names would be lost when a design is saved.
TEST(CommandLine, EveryKitSettingHasADesignKey) {
  namespace kit = vortalis::buildkit;
  for (const kit::KitUnit* unit : kit::kKitUnits) {
    std::vector<std::string_view> options;
    for (const kit::KitParameter* parameter : unit->parameters)
      options.push_back(kit::OptionOf(*unit, *parameter));
    if (unit->group) options.push_back(unit->group->option);
    if (unit->choice) options.push_back(unit->choice->option);
    for (const std::string_view option : options) {
      const std::string_view key = option.substr(2);
      EXPECT_TRUE(vortalis::design::IsKnownKey("kit", key) ||
                  vortalis::design::IsKnownKey("drawing", key))
          << option;
    }
  }
}

TEST(CommandLine, HelpExplainsEveryOption) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"circular", "-h"}}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty());
    for (const vortalis::cli::OptionSpec& spec : vortalis::cli::OptionTable()) {
      const std::string name(spec.name);
      EXPECT_TRUE(run.out.find("  " + name) != std::string::npos ||
                  run.out.find(", " + name) != std::string::npos)
          << name;
      if (!spec.shortName.empty()) {
        EXPECT_NE(run.out.find("  " + std::string(spec.shortName) + ", " + name), std::string::npos);
      }
      for (const std::string& choice : spec.choices)
        EXPECT_NE(run.out.find(choice), std::string::npos) << name << " " << choice;
      if (!spec.initial.empty()) {
        EXPECT_NE(run.out.find("(" + spec.initial + ")"), std::string::npos) << name;
      }
    }
    EXPECT_NE(run.out.find("vortalis-report rectangular --flat-mouth 3000"), std::string::npos);
  }
}

TEST(CommandLine, VersionIsTheProjectVersion) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--version"}, {"-V"}, {"rectangular", "--version"}}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "vortalis-report " VORTALIS_VERSION "\n");
  }
}

TEST(CommandLine, RefusedInputGivesTheDialogMessageAndExitOne) {
  const std::string huge(200000, '7');  // 10^200000 overflows
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"circular", "--freq", ""}, "Error in Frequency value!"},
      {{"circular", "--freq", "1e99999"}, "Error in Frequency value!"},
      {{"circular", "--freq", "nan"}, "Error in Frequency value!"},
      {{"circular", "--freq", huge}, "Error in Frequency value!"},
      {{"circular", "--throat", "\xff\xfe\x01"}, "Error in Throat size value!"},
      {{"circular", "--unit", "inch"},
       "Frequency and Throat don\xC2\xB4t match!  (Freq too large or Throat too big)"},
      {{"circular", "--throat", "1e-99999"}, "Throat to small!  (radius >= 0.5 mm)"},
      {{"rectangular", "--freq", "inf"}, "Error in Frequency value"},
      {{"rectangular", "--flat-mouth", "39"},
       "Mouth distance Side 1A - 1B to small! (Mouth distance >= Throat distance)"},
      {{"rectangular", "--side1", "300", "--side2", "300", "--freq", "300", "--location", "2"},
       "Frequency and Throat don\xC2\xB4t match!  (Freq too large or Throat area too big)"},
      {{"rectangular", "--side1", "1e4900", "--side2", "1e4900"},
       "Frequency and Throat don\xC2\xB4t match!  (Freq too large or Throat area too big)"},
  };
  for (const auto& [args, message] : cases) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 1) << message;
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_TRUE(run.out.empty());
  }
}

TEST(CommandLine, QuickTestPrintsTheResultLabels) {
  EXPECT_EQ(RunTool({"circular", "--quick"}).out,
            "Horn length: 466.518 mm\nMouth size: 180.38 mm\n");
  EXPECT_EQ(RunTool({"circular", "--quick", "--decimal-separator", ",", "--size", "diameter",
                     "--throat", "20,00"})
                .out,
            "Horn length: 466,518 mm\nMouth size: 360,75 mm\n");
  EXPECT_EQ(RunTool({"rectangular", "--quick"}).out,
            "Horn length: 6591.947 mm\nSide 1A - 1B: 2680.83 mm\nSide 2A - 2B: 3351.04 mm\n");
}

TEST(CommandLine, ReportIsTheDocumentWithCrLfLineEnds) {
  using vortalis::report::CircularReportInput;
  using vortalis::report::RectangularReportInput;
  ToolRun run = RunTool({"circular"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.err.empty());
  EXPECT_EQ(run.out, SavedReport(&vortalis::report::GenerateCircularReport, CircularReportInput{}));

  RectangularReportInput flat;
  flat.flatSides = true;
  flat.mouthText = "3000";
  flat.location = vortalis::geometry::MouthLocation::ThreeWalls;
  flat.increment = vortalis::geometry::TableIncrement::T100;
  run = RunTool({"rectangular", "--flat-mouth", "3000", "--location", "8", "--increment", "100"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, SavedReport(&vortalis::report::GenerateRectangularReport, flat));
  EXPECT_TRUE(run.out.starts_with("Tractrix horn calculation.\r\nCreated 2026-12-07 at 04:30"));
}

TEST(CommandLine, CtrlCStopsTheTableAndStillWritesTheReport) {
  const ToolRun run = RunTool({"rectangular"}, 5);
  EXPECT_EQ(run.status, 130);
  EXPECT_EQ(run.out, SavedReport(&vortalis::report::GenerateRectangularReport,
                                 vortalis::report::RectangularReportInput{}, 5));
  // The third line is the note.
  EXPECT_NE(run.out.find(std::string("Kestrowan.\r\n") + vortalis::report::kAbortNote +
                         "\r\nInput values"),
            std::string::npos);
}

TEST(CommandLine, FailedStandardOutputIsAnError) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  const ToolRun run = RunTool({"circular", "--increment", "100"}, 0, full);
  std::fclose(full);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.starts_with("vortalis-report: Cannot write standard output: ")) << run.err;
}

using OutputFile = TempFolder;

TEST_F(OutputFile, NewFileHoldsTheReportAndNothingGoesToStandardOutput) {
  const fs::path file = folder_ / "horn.txt";
  const ToolRun run = RunTool({"circular", "--increment", "100", "--output", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(ReadFile(file), RunTool({"circular", "--increment", "100"}).out);
  EXPECT_EQ(Names(), std::vector<std::string>{"horn.txt"});
  // The permissions of a file the user creates: no more than 0666.
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_read, fs::perms::owner_read);
}

TEST_F(OutputFile, OneFileForTwoOutputsIsAUsageError) {
  const std::string pdf = (folder_ / "horn.pdf").string();
  WriteTextFile(folder_ / "horn.csv", "old");
  fs::create_symlink(folder_ / "horn.csv", folder_ / "link.csv");
  const std::string subfolder = (folder_ / "sub").string();
  fs::create_directory(subfolder);
  const std::vector<std::vector<std::string>> clashes{
      {"circular", "--export", "csv", pdf, "--template", pdf},
      {"circular", "--export", "csv", pdf, "--template", subfolder + "/../horn.pdf"},
      {"circular", "--export", "csv", (folder_ / "link.csv").string(), "--template",
       (folder_ / "horn.csv").string()},
      {"circular", "-o", "x", "--export", "csv", "./x"},
  };
  for (const auto& args : clashes) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 2) << args[3];
    EXPECT_NE(run.err.find(" name the same file "), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadFile(folder_ / "horn.csv"), "old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"horn.csv", "link.csv", "sub"}));

  // A value may still be "-" or a negative number.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"rectangular", "--side2", "-7"}, {"circular", "--freq", "-"}}) {
    EXPECT_TRUE(std::holds_alternative<ToolOptions>(
        ParseCommandLine(std::vector<std::string_view>(args.begin(), args.end()))))
        << args[2];
  }
}

TEST_F(OutputFile, ReplacesAnExistingFileAndKeepsItsPermissions) {
  const fs::path file = folder_ / "horn.txt";
  WriteTextFile(file, "old report");
  ::chmod(file.c_str(), 0640);
  EXPECT_EQ(RunTool({"circular", "--quick", "-o", file.string()}).status, 0);
  EXPECT_EQ(ReadFile(file), "Horn length: 466.518 mm\nMouth size: 180.38 mm\n");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"horn.txt"});
}

TEST_F(OutputFile, RefusedInputLeavesTheFileAlone) {
  const fs::path file = folder_ / "horn.txt";
  WriteTextFile(file, "old report");
  EXPECT_EQ(RunTool({"circular", "--freq", "0", "--output", file.string()}).status, 1);
  EXPECT_EQ(ReadFile(file), "old report");
}

TEST_F(OutputFile, UnwritablePlacesAreReportedWithExitOne) {
  fs::create_directory(folder_ / "folder");
  for (const fs::path& target :
       {folder_ / "folder", folder_ / "missing" / "horn.txt", folder_ / "folder/"}) {
    const ToolRun run = RunTool({"circular", "--increment", "100", "--output", target.string()});
    EXPECT_EQ(run.status, 1) << target;
    EXPECT_TRUE(run.err.starts_with("vortalis-report: Cannot write " + target.string() + ": "))
        << run.err;
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"folder"});
  EXPECT_TRUE(fs::is_empty(folder_ / "folder"));
}

TEST_F(OutputFile, WritesThroughALinkIntoItsTarget) {
  const fs::path target = folder_ / "target.txt";
  WriteTextFile(target, "old");
  fs::create_symlink(target, folder_ / "link.txt");
  EXPECT_EQ(RunTool({"circular", "--quick", "--output", (folder_ / "link.txt").string()}).status,
            0);
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.txt"));
  EXPECT_EQ(ReadFile(target), "Horn length: 466.518 mm\nMouth size: 180.38 mm\n");
}

// A program that leaves the stop signals alone (the window program) still
// ends by them, without a temporary file beside the file it was replacing or
// in $TMPDIR.
TEST_F(OutputFile, StopSignalsAtTheirDefaultLeaveNoTemporary) {
  const fs::path file = folder_ / "horn.txt";
  WriteTextFile(file, "old report");
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::setenv("TMPDIR", folder_.c_str(), 1);
      vortalis::output::OutputFile output(file.string());
      vortalis::output::ScratchFile scratch(vortalis::output::ScratchFile::Kind::Named);
      output.Write(std::string(3u << 20, 'x'));
      ::raise(signal);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << " " << status;
    EXPECT_EQ(ReadFile(file), "old report");
    EXPECT_EQ(Names(), std::vector<std::string>{"horn.txt"});
  }
}

TEST(SpooledDocumentTest, LongDocumentsComeBackWithEveryReplacement) {
  // Two lines held, a 40-byte buffer: most lines go through the temporary file.
  SpooledDocument document(2, 40);
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    const std::string line = "line " + std::to_string(i) + (i % 7 == 0 ? "\t\tx" : "");
    document.AppendLine(line);
    expected.push_back(line);
  }
  for (const std::size_t index : {1u, 2u, 3u, 150u, 199u}) {
    const std::string text = index == 3 ? "" : "replaced " + std::to_string(index);
    document.ReplaceLine(index, text);
    expected[index] = text;
  }
  document.ReplaceLine(200, "no such line");
  EXPECT_EQ(document.LineCount(), 200u);

  struct Text final : vortalis::output::ByteSink {
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
  } out;
  document.WriteTo(out);
  std::string joined;
  for (const std::string& line : expected) joined += line + "\r\n";
  EXPECT_EQ(out.text, joined);
}

TEST(TerminalProgressTest, DrawsOnlyOnATerminalAndClearsWhenHidden) {
  for (const bool terminal : {false, true}) {
    std::FILE* err = std::tmpfile();
    volatile std::sig_atomic_t interrupted = 0;
    vortalis::cli::TerminalProgress progress(err, terminal, &interrupted);
    progress.SetPosition(0);
    progress.Show();
    progress.SetPosition(50);
    progress.SetPosition(50);
    progress.SetPosition(139);
    EXPECT_FALSE(progress.AbortRequested());
    interrupted = 1;
    EXPECT_TRUE(progress.AbortRequested());
    progress.Hide();
    const std::string text = ReadStream(err);
    std::fclose(err);
    if (!terminal) {
      EXPECT_TRUE(text.empty());
      continue;
    }
    // Three drawings (0, 50 and the full bar for 139), then the line wiped.
    EXPECT_EQ(std::count(text.begin(), text.end(), '%'), 3);
    EXPECT_NE(text.find(std::string(40, '#') + "] 100%"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r")) << text;
  }
}

// The rings of the 100 Hz horn at 18 mm with the default wall: the steep
// boards named on standard error, 20 mm of wood outside the widest hole.
TEST_F(TempFolder, RingsKitNamesTheBoardsToLookAtAndLeavesTheDefaultWall) {
  const std::string csv = (folder_ / "r.csv").string();
  const ToolRun run = RunTool({"circular", "--freq", "100", "--rings", csv, "--board", "18"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("vortalis-report: Boards 107 to 111: the bevel is more than 45"),
            std::string::npos) << run.err;
  std::istringstream file(ReadFile(csv));
  std::string line;
  std::getline(file, line);
  while (std::getline(file, line)) {
    double inner = 0, outer = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%*d,%*f,%*f,%*f,%lf,%*f,%lf", &inner, &outer), 2);
    EXPECT_NEAR(outer - inner, 20.0, 1e-9) << line;
  }
}

// A flat-sided horn's pinched pair (12.9 mm at about 750 mm) goes to standard
// error beside its drawing and panels; the report run itself says nothing more.
TEST_F(TempFolder, FlatSideWarningsGoToStandardErrorOnly) {
  const std::vector<std::string> horn{"rectangular", "--flat-mouth", "3000"};
  const ToolRun plain = RunTool(horn);
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(plain.err, "");
  for (const std::vector<std::string>& extra :
       {std::vector<std::string>{"--export", "csv", (folder_ / "p.csv").string()},
        std::vector<std::string>{"--panels", (folder_ / "p.dxf").string()}}) {
    std::vector<std::string> args = horn;
    args.insert(args.end(), extra.begin(), extra.end());
    const ToolRun run = RunTool(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string says = "vortalis-report: Sides 2A - 2B narrow from 50.00 mm at the throat to ";
    const std::size_t at = run.err.find(says);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_NEAR(std::stod(run.err.substr(at + says.size())), 12.9, 0.015);
    EXPECT_NE(run.err.find("The mouth is 3000.00 mm across sides 1A - 1B"), std::string::npos);
  }
}

// --response: its options, a driver file it refuses, and a file whose
// max_spl_db is the SPL raised to the first of Xmax and Pe, read from the
// row's own columns: + min(20 lg(Xmax / x), 10 lg(Pe |Z|^2 / (V^2 Re))).
TEST_F(TempFolder, ResponseOptionsDriverFileAndItsLimits) {
  const std::string driver = (folder_ / "woofer.txt").string();
  const std::string bad = (folder_ / "bad.txt").string();
  const std::string csv = (folder_ / "r.csv").string();
  WriteTextFile(driver, "# a 15 inch woofer\nre = 5.8\nle = 1.2\nfs = 35\nqes = 0.35\n"
                        "qms = 5\nvas = 150\nsd = 855\nxmax = 6\npe = 300\n");
  WriteTextFile(bad, "re = 5.8\nfs 35\n");
  const std::vector<std::string> horn{"circular", "--freq", "60", "--throat", "150"};
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } rows[] = {
      {{"--response", csv}, 2, "--response needs --driver FILE"},
      {{"--driver", driver}, 2, "--driver needs --response"},
      {{"--response", csv, "--driver", driver, "--voltage", "0"}, 2, "a voltage above 0"},
      {{"--response", csv, "--driver", driver, "--rear-chamber", "-1"}, 2, "litres above 0"},
      {{"--response", csv, "--driver", driver, "--quick"}, 2, "--quick cannot be given with --response"},
      {{"--response", csv, "--driver", bad}, 1, "bad.txt: line 2: expected key = value"},
      {{"--response", csv, "--driver", (folder_ / "none.txt").string()}, 1, "none.txt: No such file"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = horn;
    args.insert(args.end(), row.args.begin(), row.args.end());
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, row.status) << row.says;
    EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(csv));

  std::vector<std::string> args = horn;
  for (const char* arg : {"--response", csv.c_str(), "--driver", driver.c_str(), "--voltage",
                          "10", "--rear-chamber", "60", "--from", "20", "--to", "400"})
    args.emplace_back(arg);
  ASSERT_EQ(RunTool(args).status, 0);
  std::istringstream file(ReadFile(csv));
  std::string line;
  std::getline(file, line);
  EXPECT_EQ(line, "frequency_hz,spl_db,impedance_ohm,impedance_phase_degrees,excursion_mm,"
                  "group_delay_ms,max_spl_db");
  int rows_read = 0;
  bool excursionLimits = false, powerLimits = false;
  while (std::getline(file, line)) {
    double f, spl, z, phase, x, delay, maxSpl;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf,%lf", &f, &spl, &z, &phase, &x,
                          &delay, &maxSpl), 7) << line;
    const double byXmax = 20 * std::log10(6.0 / x);
    const double byPe = 10 * std::log10(300.0 * z * z / (10.0 * 10.0 * 5.8));
    EXPECT_NEAR(maxSpl, spl + std::min(byXmax, byPe), 1e-6) << line;
    (byXmax < byPe ? excursionLimits : powerLimits) = true;
    ++rows_read;
  }
  EXPECT_EQ(rows_read, static_cast<int>(24 * std::log2(20.0)) + 1);  // 20 to 400 Hz
  EXPECT_TRUE(excursionLimits && powerLimits);
}

}  // namespace

namespace {

using DesignFile = TempFolder;

TEST_F(DesignFile, ReproducesTheReportOfItsOptionsAndLetsLaterOptionsOverride) {
  const std::vector<std::string> horn{"rectangular",   "--freq",     " 32,50", "--decimal-separator",
                                      ",",             "--location", "4",      "--flat-mouth",
                                      "900",           "--increment", "100"};
  const std::string design = (folder_ / "corner.vortalis").string();
  std::vector<std::string> save = horn;
  save.insert(save.end(), {"--save-design", design});
  const ToolRun saved = RunTool(save);
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.out, "");  // the design alone: no report
  EXPECT_NE(ReadFile(design).find("\"freq\": \" 32,50\""), std::string::npos);

  EXPECT_EQ(RunTool({"--design", design}).out, RunTool(horn).out);
  std::vector<std::string> other = horn;
  other.insert(other.end(), {"--freq", "40"});
  EXPECT_EQ(RunTool({"--design", design, "--freq", "40"}).out, RunTool(other).out);
}

TEST_F(DesignFile, CarriesTheMouthLimitAndTheAcousticSettingsToTheImpedance) {
  const std::vector<std::string> horn{"circular",   "--freq",       "40",        "--throat",
                                      "25",         "--mouth-limit", "radius=300", "--mouth-load",
                                      "unflanged", "--losses",      "on"};
  const std::string design = (folder_ / "bass.vortalis").string();
  std::vector<std::string> save = horn;
  save.insert(save.end(), {"--save-design", design});
  ASSERT_EQ(RunTool(save).status, 0);
  std::vector<std::string> direct = horn;
  direct.insert(direct.end(), {"--impedance", (folder_ / "direct.csv").string()});
  ASSERT_EQ(RunTool(direct).status, 0);
  ASSERT_EQ(RunTool({"--design", design, "--impedance", (folder_ / "design.csv").string()}).status,
            0);
  EXPECT_EQ(ReadFile(folder_ / "design.csv"), ReadFile(folder_ / "direct.csv"));
}

// --save-design keeps the driver of --driver FILE, the chambers and the
// voltage; --response takes them from the design, and a --driver after it wins.
TEST_F(DesignFile, CarriesTheDriverAndTheChambersToTheResponse) {
  const std::string woofer = (folder_ / "woofer.txt").string();
  const std::string other = (folder_ / "other.txt").string();
  WriteTextFile(woofer, "# 15 inch\nName = Big one\nRe = 5.8\nle = 1.2\nfs = 35\nqes = 0.35\n"
                        "qms = 5\nvas = 150.0\nsd = 855\nxmax = 6\n");
  WriteTextFile(other, "re = 6.2\nbl = 12\nmms = 60\ncms = 0.3\nrms = 2\nsd = 530\n");
  const std::string design = (folder_ / "horn.vortalis").string();
  const std::vector<std::string> horn{"circular", "--freq", "50", "--throat", "120",
                                      "--mouth-limit", "length=800", "--losses", "on"};
  const std::vector<std::string> system{"--rear-chamber", "40", "--throat-chamber", "2.5",
                                        "--voltage", "4"};
  const auto response = [&](std::vector<std::string> args, const char* name) {
    args.insert(args.end(), {"--response", (folder_ / name).string()});
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return ReadFile(folder_ / name);
  };
  std::vector<std::string> save = horn;
  save.insert(save.end(), system.begin(), system.end());
  save.insert(save.end(), {"--driver", woofer, "--save-design", design});
  ASSERT_EQ(RunTool(save).status, 0);
  const std::string kept = ReadFile(design);
  for (const char* typed : {R"("name": "Big one")", R"("vas": "150.0")", R"("rear-chamber": "40")",
                            R"("voltage": "4")"})
    EXPECT_NE(kept.find(typed), std::string::npos) << typed << "\n" << kept;

  std::vector<std::string> direct = horn;
  direct.insert(direct.end(), system.begin(), system.end());
  direct.insert(direct.end(), {"--driver", woofer});
  const std::string expected = response(direct, "direct.csv");
  EXPECT_EQ(response({"--design", design}, "design.csv"), expected);
  direct.back() = other;
  EXPECT_EQ(response({"--design", design, "--driver", other}, "over.csv"),
            response(direct, "other.csv"));
}

TEST_F(DesignFile, BadDesignsAreRefusedWithTheFileAndTheProblem) {
  const std::string path = (folder_ / "bad.vortalis").string();
  const std::string head = R"({"format": "vortalis-design", "version": "1.0", "horn": )";
  const struct {
    std::string text;  // empty: no file
    std::vector<std::string> before;
    int status;
    std::string message;
  } cases[] = {
      {"", {}, 1, "could not be opened as a design: No such file or directory"},
      {head + "{\"kind\": \"circular\"", {}, 1, "(line 1): it is not valid JSON"},
      {head + "{\"kind\": \"conical\"}}", {}, 1, "its \"horn.kind\" is not"},
      {head + "{\"kind\": \"circular\", \"throat\": \"0.1\"}}", {}, 1,
       "bad.vortalis: Throat to small!"},
      // A driver's values are checked as a driver file's, with the key's line.
      {head + "{\"kind\": \"circular\"},\n\"driver\": {\"re\": \"5.8\",\n\"qes\": \"-0.3\"}}", {}, 1,
       "bad.vortalis\" is not a design Vortalis can open (line 3): the setting \"driver.qes\" is "
       "refused: 'qes' must be above 0, found '-0.3'."},
      {head + "{\"kind\": \"circular\"}, \"driver\": {\"bl\": \"12,5\"}}", {}, 1,
       "the setting \"driver.bl\" is refused: 'bl' needs a number, found '12,5'"},
      // A response from an incomplete driver names the design and the section.
      {head + "{\"kind\": \"circular\"},\n\"driver\": {\"re\": \"5.8\", \"fs\": \"35\"}}",
       {"--response", "r.csv"}, 1,
       "bad.vortalis\" is not a design Vortalis can open (line 2): the section \"driver\" is "
       "refused: the driver needs Sd."},
      {head + "{\"kind\": \"circular\"}}", {"rectangular"}, 2, "is a circular horn, not a rectangular"},
  };
  for (const auto& row : cases) {
    fs::remove(path);
    if (!row.text.empty()) WriteTextFile(path, row.text);
    std::vector<std::string> args = row.before;
    args.insert(args.end(), {"--design", path});
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, row.status) << row.text;
    EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
  }
  // The same value typed after the design is the user's, not the file's.
  const ToolRun typed = RunTool({"--design", path, "--throat", "0.1"});
  EXPECT_EQ(typed.err.rfind("Throat to small!", 0), 0u) << typed.err;
  // A FIFO with no writer is refused at once, not waited on.
  const std::string fifo = (folder_ / "fifo.vortalis").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const ToolRun piped = RunTool({"--design", fifo});
  EXPECT_EQ(piped.status, 1);
  EXPECT_NE(piped.err.find("it is not a regular file"), std::string::npos) << piped.err;
}

}  // namespace
