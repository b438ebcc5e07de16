#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/report_generator.h"
#include "report_test_support.h"

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;
using vortalis::report::CircularReportInput;
using vortalis::report::GenerateCircularReport;
using vortalis::report::GenerateRectangularReport;
using vortalis::report::kAbortNote;
using vortalis::report::RectangularReportInput;
using vortalis::testing::kStampLine;
using vortalis::testing::Produce;
using vortalis::testing::ProducedReport;
using Lines = std::vector<std::string>;

ProducedReport Circular(const CircularReportInput& input, int pressAbortOnPump = 0) {
  return Produce(&GenerateCircularReport, input, pressAbortOnPump);
}

ProducedReport Rectangular(const RectangularReportInput& input, int pressAbortOnPump = 0) {
  return Produce(&GenerateRectangularReport, input, pressAbortOnPump);
}

// The rows after the table header, the mouth row last.
Lines TableRows(const Lines& lines) {
  const auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.starts_with("Distance (");
  });
  if (header == lines.end()) return {};
  return Lines(header + 1, lines.end());
}

Lines Slice(const Lines& lines, std::size_t first, std::size_t count) {
  if (first >= lines.size()) return {};
  return Lines(lines.begin() + first, lines.begin() + std::min(lines.size(), first + count));
}

const std::string kMinimum283 =
    "Minimum recommended length: 283 mm.   (One quarter of the cut off frequency wavelength.)";

TEST(CircularReport, DefaultHornAtIncrement100IsTheWholeReport) {
  CircularReportInput input;
  input.increment = TableIncrement::T100;
  const ProducedReport report = Circular(input);
  const Lines expected{
      "Tractrix horn calculation.",
      kStampLine,
      "",
      "Input values for circular horn.",
      "Horn cut off frequency fc: \t300 Hz",
      "Throat   (radius):\t\t10 mm",
      "",
      "Calculated values.",
      "Horn length: \t\t466.518 mm",
      "Mouth   (radius):\t\t180.38 mm",
      "",
      kMinimum283,
      "",
      "Distance (mm)\tRadius (mm)\tArea (square mm)\tFlare angle (degrees)",
      "0\t\t10.00\t\t314.2\t\t3.18",
      "100\t\t17.44\t\t955.1\t\t5.55",
      "200\t\t30.50\t\t2922.8\t\t9.74",
      "300\t\t53.93\t\t9135.8\t\t17.40",
      "400\t\t99.33\t\t30995.7\t\t33.41",
      "466.518\t\t180.38\t\t102212.8\t\t90.00",
  };
  EXPECT_EQ(report.lines, expected);
}

TEST(CircularReport, DiameterModeDoublesTheSizesButNotTheAreas) {
  CircularReportInput input;
  input.increment = TableIncrement::T100;
  input.size = SizeMode::Diameter;
  input.throatText = "20";
  const Lines lines = Circular(input).lines;
  EXPECT_EQ(Slice(lines, 5, 1), Lines{"Throat   (diameter):\t\t20 mm"});
  EXPECT_EQ(Slice(lines, 8, 2),
            (Lines{"Horn length: \t\t466.518 mm", "Mouth   (diameter):\t\t360.75 mm"}));
  EXPECT_EQ(Slice(lines, 13, 7),
            (Lines{"Distance (mm)\tDiameter (mm)\tArea (square mm)\tFlare angle (degrees)",
                   "0\t\t20.00\t\t314.2\t\t3.18", "100\t\t34.87\t\t955.1\t\t5.55",
                   "200\t\t61.00\t\t2922.8\t\t9.74", "300\t\t107.85\t\t9135.8\t\t17.40",
                   "400\t\t198.66\t\t30995.7\t\t33.41", "466.518\t\t360.75\t\t102212.8\t\t90.00"}));
}

TEST(CircularReport, ShortInchHornCarriesTheWarningAndTheMisspelledMinimumLine) {
  CircularReportInput input;
  input.unit = LengthUnit::Inch;
  input.increment = TableIncrement::T100;  // 1 inch
  input.frequencyText = "1000";
  input.throatText = "0.5";
  const Lines expected{
      "Tractrix horn calculation.",
      kStampLine,
      "",
      "Input values for circular horn.",
      "Horn cut off frequency fc: \t1000 Hz",
      "Throat   (radius):\t\t0.5 inch",
      "",
      "Calculated values.",
      "Horn length: \t\t2.46379 inch",
      "Mouth   (radius):\t\t2.1304 inch",
      "",
      "Minimum recomended length: 3.35 inch.   (One quarter of the cut off frequency wavelength.)",
      "",
      "Note!!! The fc value of this horn is not correct, the length is too short.",
      "Read the documentation for more information!",
      "",
      "Distance (inch)\tRadius (inch)\tArea (square inch)\tFlare angle (degrees)",
      "0.00\t\t0.5000\t\t0.785\t\t13.57",
      "1.00\t\t0.8187\t\t2.106\t\t22.60",
      "2.00\t\t1.4191\t\t6.326\t\t41.77",
      "2.46379\t\t2.1304\t\t14.259\t\t90.00",
  };
  EXPECT_EQ(Circular(input).lines, expected);
}

TEST(CircularReport, IncrementOneGivesAStationEveryMillimetreUpTo466) {
  const Lines rows = TableRows(Circular(CircularReportInput{}).lines);
  ASSERT_EQ(rows.size(), 1u + 466u + 1u);
  EXPECT_EQ(rows.front(), "0\t\t10.00\t\t314.2\t\t3.18");
  for (int i = 1; i <= 466; ++i)
    EXPECT_TRUE(rows[i].starts_with(std::to_string(i) + "\t\t")) << rows[i];
  EXPECT_EQ(rows.back(), "466.518\t\t180.38\t\t102212.8\t\t90.00");
}

TEST(CircularReport, DecimalSeparatorComesFromTheEnvironment) {
  CircularReportInput input;
  input.increment = TableIncrement::T100;
  input.throatText = "10,0";
  const Lines lines = Produce(&GenerateCircularReport, input, 0, {",", "."}).lines;
  EXPECT_EQ(Slice(lines, 5, 5),
            (Lines{"Throat   (radius):\t\t10,0 mm", "", "Calculated values.",
                   "Horn length: \t\t466,518 mm", "Mouth   (radius):\t\t180,38 mm"}));
  EXPECT_EQ(lines.back(), "466,518\t\t180,38\t\t102212,8\t\t90,00");
}

TEST(CircularReport, EchoesTheTextsAsTyped) {
  CircularReportInput input;
  input.increment = TableIncrement::T100;
  input.frequencyText = "300.0";
  input.throatText = " 1e1 ";
  const Lines lines = Circular(input).lines;
  EXPECT_EQ(Slice(lines, 4, 2),
            (Lines{"Horn cut off frequency fc: \t300.0 Hz", "Throat   (radius):\t\t 1e1  mm"}));
  EXPECT_EQ(lines.back(), "466.518\t\t180.38\t\t102212.8\t\t90.00");
}

TEST(CircularReport, AreasOfAMillionSquareMillimetresTakeASingleTab) {
  CircularReportInput input;
  input.frequencyText = "50";
  input.increment = TableIncrement::T100;
  const Lines rows = TableRows(Circular(input).lines);
  ASSERT_GT(rows.size(), 2u);
  int singleTabRows = 0;
  for (const std::string& row : rows) {
    // distance, size, area, flare: the last separator depends on the area.
    const std::size_t areaStart = row.find("\t\t", row.find("\t\t") + 2) + 2;
    const std::size_t areaEnd = row.find('\t', areaStart);
    const double area = std::stod(row.substr(areaStart, areaEnd - areaStart));
    const bool singleTab = row.compare(areaEnd, 2, "\t\t") != 0;
    EXPECT_EQ(singleTab, area >= 1000000.0) << row;
    singleTabRows += singleTab;
  }
  EXPECT_GT(singleTabRows, 0);
  // The 50 Hz mouth: radius 1082.25 mm, about 3,679,662 square millimetres.
  EXPECT_TRUE(rows.back().ends_with("\t\t1082.25\t\t3679662.3\t90.00")) << rows.back();
}

TEST(CircularReport, HornShorterThanOneIncrementHasOnlyThroatAndMouthRows) {
  CircularReportInput input;
  input.frequencyText = "5000";
  input.increment = TableIncrement::T100;
  const ProducedReport report = Circular(input);
  const Lines rows = TableRows(report.lines);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0].starts_with("0\t\t10.00\t\t"));
  EXPECT_EQ(report.pumpCalls, 0);
}

TEST(CircularReport, StationsPumpEventsAndSetTheProgressBeforeTheirRow) {
  CircularReportInput input;
  input.increment = TableIncrement::T100;
  const ProducedReport report = Circular(input);
  EXPECT_EQ(report.pumpCalls, 4);
  // 0 when shown, then ProgressPercent of 100, 200, 300, 400 against the rounded length 467.
  EXPECT_EQ(report.progress.positions, (std::vector<int>{0, 21, 43, 64, 86}));
  EXPECT_EQ(report.progress.shows, 1);
  EXPECT_EQ(report.progress.hides, 1);
  EXPECT_FALSE(report.progress.visible);
}

// Abort pressed while the events of station N are processed: station N is
// still written, the table stops, the mouth row follows and line 3 says so.
TEST(CircularReport, AbortAfterStationNEndsWithTheMouthRowAndTheNote) {
  for (const int n : {1, 2, 3, 4}) {
    CircularReportInput input;
    input.increment = TableIncrement::T100;
    const ProducedReport report = Circular(input, n);
    const Lines rows = TableRows(report.lines);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(n) + 2) << n;
    EXPECT_TRUE(rows[n].starts_with(std::to_string(n * 100) + "\t\t")) << n;
    EXPECT_EQ(rows.back(), "466.518\t\t180.38\t\t102212.8\t\t90.00") << n;
    EXPECT_EQ(report.lines[2], kAbortNote) << n;
    EXPECT_EQ(report.pumpCalls, n);
    EXPECT_FALSE(report.progress.visible);
  }
}

TEST(CircularReport, AbortDuringTheLastStationStillGetsTheNote) {
  CircularReportInput input;
  input.increment = TableIncrement::T100;
  const ProducedReport report = Circular(input, 4);  // station 400 is the last
  EXPECT_EQ(TableRows(report.lines).size(), 6u);
  EXPECT_EQ(report.lines[2], kAbortNote);
}

TEST(CircularReport, AbortOnALargeHornStopsEarly) {
  CircularReportInput input;
  input.frequencyText = "1";
  input.throatText = "0.5";
  const ProducedReport report = Circular(input, 1000);
  const Lines rows = TableRows(report.lines);
  ASSERT_EQ(rows.size(), 1002u);
  EXPECT_TRUE(rows[1000].starts_with("1000\t\t"));
  EXPECT_EQ(rows.back(), "610668.000\t\t54112.68\t\t9199155711.0\t90.00");
  EXPECT_EQ(report.lines[2], kAbortNote);
}

const Lines kDefaultRectangularHead{
    "Tractrix horn calculation.",
    kStampLine,
    "",
    "Input values for rectangular horn with mouth location in free air.",
    "Horn cut off frequency fc: \t32 Hz",
    "Throut opening size",
    "Side 1A - 1B: \t\t40 mm",
    "Side 2A - 2B: \t\t50 mm",
    "",
    "Calculated values.",
    "Horn length: \t\t6591.947 mm",
    "Mouth opening size.",
    "Side 1A - 1B: \t\t2680.83 mm",
    "Side 2A - 2B: \t\t3351.04 mm",
    "",
    "Minimum recommended length: 2656 mm.   (One quarter of the cut off frequency wavelength.)",
    "",
    "Distance (mm)\tSide 1A - 1B (mm)\tSide 2A - 2B (mm)\tArea (square mm)\t",
};

TEST(RectangularReport, DefaultHornHas659StationsAndAOneTabMouthRow) {
  const ProducedReport report = Rectangular(RectangularReportInput{});
  EXPECT_EQ(Slice(report.lines, 0, kDefaultRectangularHead.size()), kDefaultRectangularHead);
  const Lines rows = TableRows(report.lines);
  ASSERT_EQ(rows.size(), 1u + 659u + 1u);
  EXPECT_EQ(rows[0], "0\t\t40.00\t\t50.00\t\t2000.0\t\t");
  EXPECT_EQ(rows[1], "10\t\t40.24\t\t50.30\t\t2023.8\t\t");
  for (int i = 1; i <= 659; ++i)
    EXPECT_TRUE(rows[i].starts_with(std::to_string(i * 10) + "\t\t")) << rows[i];
  EXPECT_EQ(rows.back(), "6591.947\t\t2680.83\t\t3351.04\t\t8983550.5\t");
  EXPECT_EQ(report.progress.positions.size(), 660u);
  EXPECT_EQ(report.progress.positions.back(), 100);  // 6590 of 6592
}

TEST(RectangularReport, FlatSidedHornAgainstThreeWalls) {
  RectangularReportInput input;
  input.flatSides = true;
  input.mouthText = "3000";
  input.location = MouthLocation::ThreeWalls;
  input.increment = TableIncrement::T100;
  const Lines lines = Rectangular(input).lines;
  const Lines expectedHead{
      "Tractrix horn calculation.",
      kStampLine,
      "",
      "Input values for rectangular horn with mouth location against three walls (floor and two "
      "walls).",
      "Horn cut off frequency fc: \t32 Hz",
      "Throut opening size",
      "Side 1A - 1B: \t\t40 mm",
      "Side 2A - 2B: \t\t50 mm",
      "Horn has flat side specifyed, with mouth opening size",
      "Side 1A - 1B: \t\t3000 mm",
      "",
      "Calculated values.",
      "Horn length: \t\t4834.416 mm",
      "Flat side real length: \t5055.89 mm",
      "Mouth opening size.",
      "Side 1A - 1B: \t\t3000.00 mm",
      "Side 2A - 2B: \t\t374.31 mm",
      "",
      "Minimum recommended length: 2656 mm.   (One quarter of the cut off frequency wavelength.)",
      "",
      "Distance (mm)\tSide 1A - 1B (mm)\tSide 2A - 2B (mm)\tArea (square mm)\tFlat side distance "
      "(mm)",
      "0\t\t40.00\t\t50.00\t\t2000.0\t\t0.00",
      "100\t\t101.23\t\t22.24\t\t2251.4\t\t104.58",
  };
  EXPECT_EQ(Slice(lines, 0, expectedHead.size()), expectedHead);
  EXPECT_EQ(lines.back(), "4834.416\t\t3000.00\t\t374.31\t\t1122943.8\t5055.89");
  EXPECT_EQ(TableRows(lines).size(), 1u + 48u + 1u);
}

TEST(RectangularReport, ParallelFlatSidesKeepTheirDistance) {
  RectangularReportInput input;
  input.flatSides = true;
  input.mouthText = "40";
  input.increment = TableIncrement::T100;
  const Lines lines = Rectangular(input).lines;
  EXPECT_EQ(Slice(lines, 12, 2),
            (Lines{"Horn length: \t\t6591.947 mm", "Flat side real length: \t6591.95 mm"}));
  const Lines rows = TableRows(lines);
  for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
    const std::string distance = std::to_string(i * 100);
    EXPECT_TRUE(rows[i].starts_with(distance + "\t\t40.00\t\t")) << rows[i];
    EXPECT_TRUE(rows[i].ends_with("\t" + distance + ".00")) << rows[i];
  }
}

// No upper limit guards the flat mouth distance; the flat side lengths stay
// finite where their squares would overflow: H = (1e4900 - 40) / 2.
TEST(RectangularReport, HugeFlatMouthGivesFiniteFlatSideLengths) {
  RectangularReportInput input;
  input.flatSides = true;
  input.mouthText = "1e4900";
  input.increment = TableIncrement::T100;
  const Lines lines = Rectangular(input).lines;
  EXPECT_EQ(lines[13], "Flat side real length: \t5E4899 mm");
  EXPECT_EQ(lines.back(), "6591.947\t\t1E4900\t\t0.00\t\t8983550.5\t5E4899");
}

TEST(RectangularReport, FiveHertzStationAreasTurnToTheExponentForm) {
  RectangularReportInput input;
  input.frequencyText = "5";
  input.increment = TableIncrement::T100;
  const Lines rows = TableRows(Rectangular(input).lines);
  ASSERT_EQ(rows.size(), 1u + 622u + 1u);
  EXPECT_EQ(rows[577], "57700\t\t8861.65\t\t11077.06\t\t98161006.0\t");
  EXPECT_EQ(rows[578], "57800\t\t8957.98\t\t11197.48\t\t1.0030679E8\t");
  EXPECT_EQ(rows.back(), "62277.723\t\t17157.30\t\t21446.63\t\t367966228.4\t");
}

TEST(RectangularReport, InchHornAgainstOneWall) {
  RectangularReportInput input;
  input.unit = LengthUnit::Inch;
  input.frequencyText = "100";
  input.side1Text = "2";
  input.side2Text = "1.5";
  input.location = MouthLocation::OneWall;
  input.increment = TableIncrement::T1;  // 0.01 inch
  const ProducedReport report = Rectangular(input);
  const Lines rows = TableRows(report.lines);
  ASSERT_EQ(rows.size(), 1u + 5176u + 1u);
  EXPECT_EQ(rows[0], "0.00\t\t2.0000\t\t1.5000\t\t3.000\t\t");
  EXPECT_TRUE(rows[1].starts_with("0.01\t\t")) << rows[1];
  EXPECT_TRUE(rows[5176].starts_with("51.76\t\t")) << rows[5176];
  const auto inchHeader = std::find(report.lines.begin(), report.lines.end(),
                                    "Distance (inch)\tSide 1A - 1B (inch)\tSide 2A - 2B "
                                    "(inch)\tArea (square inch)\t");
  EXPECT_NE(inchHeader, report.lines.end());
  EXPECT_EQ(report.lines[3],
            "Input values for rectangular horn with mouth location against one wall.");
}

TEST(RectangularReport, TooShortHornGetsTheWarning) {
  RectangularReportInput input;
  input.frequencyText = "300";
  input.side1Text = "100";
  input.side2Text = "100";
  input.location = MouthLocation::TwoWalls;
  const Lines lines = Rectangular(input).lines;
  const auto minimum = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.starts_with("Minimum recommended length: 283 mm.");
  });
  ASSERT_NE(minimum, lines.end());
  EXPECT_EQ(Lines(minimum + 1, minimum + 6),
            (Lines{"", "Note!!! The fc value of this horn is not correct, the length is too short.",
                   "Read the documentation for more information!", "",
                   "Distance (mm)\tSide 1A - 1B (mm)\tSide 2A - 2B (mm)\tArea (square mm)\t"}));
}

TEST(RectangularReport, AbortAfterStationNEndsWithTheMouthRowAndTheNote) {
  for (const int n : {1, 7, 658, 659}) {
    const ProducedReport report = Rectangular(RectangularReportInput{}, n);
    const Lines rows = TableRows(report.lines);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(n) + 2) << n;
    EXPECT_TRUE(rows[n].starts_with(std::to_string(n * 10) + "\t\t")) << n;
    EXPECT_EQ(rows.back(), "6591.947\t\t2680.83\t\t3351.04\t\t8983550.5\t") << n;
    EXPECT_EQ(report.lines[2], kAbortNote) << n;
    EXPECT_EQ(report.progress.hides, 1);
  }
  EXPECT_EQ(Rectangular(RectangularReportInput{}).lines[2], "");
}

TEST(Reports, RefuseTextsThatAreNotNumbers) {
  CircularReportInput circular;
  circular.frequencyText = "abc";
  EXPECT_THROW(Circular(circular), std::invalid_argument);
  RectangularReportInput rectangular;
  rectangular.flatSides = true;
  rectangular.mouthText = "";
  EXPECT_THROW(Rectangular(rectangular), std::invalid_argument);
}

}  // namespace
