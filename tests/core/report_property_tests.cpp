// Properties of both generators over many random accepted inputs (fixed seed):
// every kind, unit, size mode, location, flat-side choice and increment, with
// number texts typed in several ways and both decimal separators. The tests read
// the reports as a user would, from their text: a printed number is known only
// to within half a unit of the place it was rounded at, and every comparison
// below allows exactly that much.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/horn_model.h"
#include "report/input_check.h"
#include "report/report_generator.h"
#include "report_test_support.h"

namespace {

using vortalis::geometry::FixedText;
using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::ParseNumber;
using vortalis::geometry::Separators;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;
using vortalis::report::CircularReportInput;
using vortalis::report::kAbortNote;
using vortalis::report::RectangularReportInput;
using vortalis::testing::ProducedReport;
using Lines = std::vector<std::string>;

constexpr long double kPi = 3.14159265358979323846264338327950288L;
// Enough rows to reach every column width and separator case, few enough for a quick run.
constexpr long double kMostRows = 6000.0L;
// Circular horns have fewer combinations; they get more inputs each.
constexpr int kCircularInputsPerCombination = 12;
constexpr int kRectangularInputsPerCombination = 5;

const Separators kDot{".", ","};
const Separators kComma{",", "."};

// A printed number and half a unit of the place it was rounded at.
struct Cell {
  long double value;
  long double half;
};

// FixedText rounds at the coarser of P significant digits and D decimals; the
// exponent printed tells which digit is the first, and it can only be one too
// high (9.99 carried to 10.0), which makes the half unit larger, never smaller.
std::optional<Cell> ReadCell(const std::string& text, int P, int D, const Separators& separators) {
  const auto value = ParseNumber(text, separators);
  if (!value) return std::nullopt;
  int exponent = -D - 1;  // zero: only the decimals bound the rounding
  const std::size_t e = text.find('E');
  if (e != std::string::npos) {
    exponent = std::stoi(text.substr(e + 1));
  } else {
    const std::size_t separator = text.find(separators.decimal);
    const std::string whole = text.substr(0, separator);
    const std::size_t firstDigit = whole.find_first_not_of("-0");
    if (firstDigit != std::string::npos) {
      exponent = static_cast<int>(whole.size() - firstDigit) - 1;
    } else if (separator != std::string::npos) {
      const std::string decimals = text.substr(separator + separators.decimal.size());
      const std::size_t nonZero = decimals.find_first_not_of('0');
      if (nonZero != std::string::npos) exponent = -static_cast<int>(nonZero) - 1;
    }
  }
  const int place = std::max(exponent + 1 - P, -D);
  // The 18-digit first rounding and the read-back add a few parts in 1e18.
  const long double half =
      0.5L * std::pow(10.0L, static_cast<long double>(place)) + std::fabs(*value) * 1e-17L;
  return Cell{*value, half};
}

struct NumberFormat {
  int P;
  int D;
};

// A row cut at its tab runs: the texts and how many tabs follow each.
struct Piece {
  std::string text;
  int tabs;
};

std::vector<Piece> SplitRow(std::string_view row) {
  std::vector<Piece> pieces;
  std::size_t i = 0;
  while (i < row.size()) {
    const std::size_t tab = std::min(row.find('\t', i), row.size());
    const std::size_t next = std::min(row.find_first_not_of('\t', tab), row.size());
    pieces.push_back({std::string(row.substr(i, tab - i)), static_cast<int>(next - tab)});
    i = next;
  }
  return pieces;
}

// The text after `prefix` in the line that starts with it, up to the next blank.
std::string ValueAfter(const Lines& lines, const std::string& prefix, std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i].starts_with(prefix)) {
      const std::string rest = lines[i].substr(prefix.size());
      return rest.substr(0, rest.find(' '));
    }
  }
  return {};
}

std::size_t IndexOfPrefix(const Lines& lines, const std::string& prefix) {
  return static_cast<std::size_t>(
      std::find_if(lines.begin(), lines.end(),
                   [&](const std::string& line) { return line.starts_with(prefix); }) -
      lines.begin());
}

// The distance text of station i, by integer arithmetic: i mm, or i hundredths of an inch.
std::string StationText(long long i, TableIncrement increment, LengthUnit unit,
                        const Separators& separators) {
  const long long step = increment == TableIncrement::T1 ? 1 : increment == TableIncrement::T10 ? 10 : 100;
  const long long units = i * step;
  if (unit == LengthUnit::Millimetre) return std::to_string(units);
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, "%02lld", units % 100);
  return std::to_string(units / 100) + separators.decimal + fraction;
}

long double AreaThreshold(LengthUnit unit) {
  return unit == LengthUnit::Millimetre ? 1000000.0L : 10000.0L;
}

// One TAB after the area exactly when the area is at least the threshold;
// within half a unit of it the printed text cannot tell, and both are allowed.
void ExpectSeparatorRule(const Cell& area, int tabs, LengthUnit unit, const std::string& row) {
  const long double threshold = AreaThreshold(unit);
  if (area.value - area.half >= threshold) {
    EXPECT_EQ(tabs, 1) << row;
  } else if (area.value + area.half < threshold) {
    EXPECT_EQ(tabs, 2) << row;
  } else {
    EXPECT_TRUE(tabs == 1 || tabs == 2) << row;
  }
}

void ExpectNotBelow(const Cell& later, const Cell& earlier, const char* what,
                    const std::string& row) {
  EXPECT_GE(later.value + later.half, earlier.value - earlier.half) << what << " fell at " << row;
}

// ---- Random input --------------------------------------------------------

class InputMaker {
 public:
  explicit InputMaker(unsigned seed) : random_(seed) {}

  long double LogUniform(long double low, long double high) {
    std::uniform_real_distribution<long double> exponent(std::log(low), std::log(high));
    return std::exp(exponent(random_));
  }
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // A number as a user might type it: plain, padded with zeros, with blanks
  // around it, or in exponent form.
  std::string Typed(long double value, const Separators& separators) {
    switch (Below(4)) {
      case 0:
        return FixedText(value, 8, 2, separators);
      case 1:
        return " " + FixedText(value, 10, 6, separators) + " ";
      case 2:
        return FixedText(value, 6, 4, separators) + "000";
      default: {
        char text[64];
        std::snprintf(text, sizeof text, "%.7Le", value);
        std::string typed = text;
        if (separators.decimal != ".") typed.replace(typed.find('.'), 1, separators.decimal);
        return typed;
      }
    }
  }

  Separators AnySeparators() { return Below(2) == 0 ? kDot : kComma; }

 private:
  std::mt19937_64 random_;
};

long double MinimumThroat(LengthUnit unit) { return unit == LengthUnit::Millimetre ? 1.0L : 0.0394L; }

// ---- The checks ------------------------------------------------------------

struct ProducedInput {
  ProducedReport report;
  Separators separators;
  int abortOnPump;  // 0: never
};

// What both kinds share: the frame, the stations and the abort marking.
// Returns the table rows (throat row first, mouth row last).
Lines CheckFrameAndStations(const ProducedInput& produced, LengthUnit unit,
                            TableIncrement increment, const std::string& lengthText) {
  const Lines& lines = produced.report.lines;
  const std::size_t header = IndexOfPrefix(lines, "Distance (");
  EXPECT_LT(header + 2, lines.size());
  if (header + 2 >= lines.size()) return {};
  const Lines rows(lines.begin() + static_cast<long>(header) + 1, lines.end());
  const long long stations = static_cast<long long>(rows.size()) - 2;
  const auto& progress = produced.report.progress;

  // The abort note stands exactly where Abort was pressed, and the walk stopped after that station.
  const bool aborted = produced.abortOnPump > 0 && produced.report.pumpCalls >= produced.abortOnPump;
  EXPECT_EQ(lines[2], aborted ? std::string(kAbortNote) : std::string());
  EXPECT_EQ(produced.report.pumpCalls, stations);
  if (aborted) {
    EXPECT_EQ(stations, produced.abortOnPump);
  }
  EXPECT_EQ(progress.shows, 1);
  EXPECT_EQ(progress.hides, 1);
  EXPECT_FALSE(progress.visible);
  if (progress.positions.empty()) {
    ADD_FAILURE() << "no progress position";
    return {};
  }
  EXPECT_EQ(progress.positions.front(), 0);
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
  EXPECT_EQ(progress.positions.size(), static_cast<std::size_t>(stations) + 1);

  // Station i lies at i increments, printed exactly; the mouth row carries the horn length.
  for (long long i = 0; i <= stations; ++i) {
    const std::string distance = SplitRow(rows[static_cast<std::size_t>(i)]).front().text;
    if (distance != StationText(i, increment, unit, produced.separators)) {
      ADD_FAILURE() << "station " << i << ": " << rows[static_cast<std::size_t>(i)];
      break;
    }
  }
  EXPECT_EQ(SplitRow(rows.back()).front().text, lengthText);

  // Stations run while i increments lie short of the length (unless aborted).
  const NumberFormat lengthFormat{8, unit == LengthUnit::Millimetre ? 3 : 5};
  const auto length = ReadCell(lengthText, lengthFormat.P, lengthFormat.D, produced.separators);
  EXPECT_TRUE(length.has_value()) << lengthText;
  if (length) {
    const long double inc = vortalis::geometry::IncrementValue(increment, unit);
    EXPECT_LT(static_cast<long double>(stations) * inc, length->value + length->half);
    if (!aborted) {
      EXPECT_GE(static_cast<long double>(stations + 1) * inc, length->value - length->half);
    }
  }
  return rows;
}

void CheckCircular(const CircularReportInput& input, const ProducedInput& produced) {
  const Lines& lines = produced.report.lines;
  const Separators& separators = produced.separators;
  const bool mm = input.unit == LengthUnit::Millimetre;
  const std::string sizeName = input.size == SizeMode::Radius ? "radius" : "diameter";
  const std::string unit = vortalis::geometry::UnitName(input.unit);

  EXPECT_EQ(lines[4], "Horn cut off frequency fc: \t" + input.frequencyText + " Hz");
  EXPECT_EQ(lines[5], "Throat   (" + sizeName + "):\t\t" + input.throatText + " " + unit);
  const std::string lengthText = ValueAfter(lines, "Horn length: \t\t");
  const std::string mouthText = ValueAfter(lines, "Mouth   (" + sizeName + "):\t\t");
  const Lines rows = CheckFrameAndStations(produced, input.unit, input.increment, lengthText);
  if (rows.empty()) return;

  const NumberFormat size{8, mm ? 2 : 4};
  const NumberFormat area{10, mm ? 1 : 3};
  const NumberFormat flare{8, 2};
  // The size column halves to a radius in diameter mode; so does its uncertainty.
  const long double toRadius = input.size == SizeMode::Radius ? 1.0L : 0.5L;
  std::optional<Cell> previousSize, previousArea, previousFlare;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string& row = rows[i];
    const std::vector<Piece> pieces = SplitRow(row);
    ASSERT_EQ(pieces.size(), 4u) << row;
    EXPECT_EQ(pieces[0].tabs, 2) << row;
    EXPECT_EQ(pieces[1].tabs, 2) << row;
    EXPECT_EQ(pieces[3].tabs, 0) << row;
    const auto sizeCell = ReadCell(pieces[1].text, size.P, size.D, separators);
    const auto areaCell = ReadCell(pieces[2].text, area.P, area.D, separators);
    const auto flareCell = ReadCell(pieces[3].text, flare.P, flare.D, separators);
    ASSERT_TRUE(sizeCell && areaCell && flareCell) << row;
    ExpectSeparatorRule(*areaCell, pieces[2].tabs, input.unit, row);

    // The area is that of the printed radius, to within what both texts leave open.
    const long double r = sizeCell->value * toRadius;
    const long double hr = sizeCell->half * toRadius;
    EXPECT_LE(std::fabs(kPi * r * r - areaCell->value), areaCell->half + 2 * kPi * r * hr + kPi * hr * hr)
        << row;
    if (previousSize) {
      ExpectNotBelow(*sizeCell, *previousSize, "size", row);
      ExpectNotBelow(*areaCell, *previousArea, "area", row);
      ExpectNotBelow(*flareCell, *previousFlare, "flare angle", row);
    }
    previousSize = sizeCell;
    previousArea = areaCell;
    previousFlare = flareCell;
  }
  // The throat row shows the throat as typed; the mouth row the mouth of the calculated values.
  const auto throat = ParseNumber(input.throatText, separators);
  const auto first = ReadCell(SplitRow(rows.front())[1].text, size.P, size.D, separators);
  EXPECT_LE(std::fabs(first->value - *throat), first->half) << rows.front();
  EXPECT_EQ(SplitRow(rows.back())[1].text, mouthText);
  EXPECT_EQ(SplitRow(rows.back())[3].text, "90" + separators.decimal + "00");
}

void CheckRectangular(const RectangularReportInput& input, const ProducedInput& produced) {
  const Lines& lines = produced.report.lines;
  const Separators& separators = produced.separators;
  const bool mm = input.unit == LengthUnit::Millimetre;
  const bool flat = input.flatSides;
  const std::string unit = vortalis::geometry::UnitName(input.unit);

  EXPECT_EQ(lines[4], "Horn cut off frequency fc: \t" + input.frequencyText + " Hz");
  EXPECT_EQ(lines[6], "Side 1A - 1B: \t\t" + input.side1Text + " " + unit);
  EXPECT_EQ(lines[7], "Side 2A - 2B: \t\t" + input.side2Text + " " + unit);
  if (flat) {
    EXPECT_EQ(lines[9], "Side 1A - 1B: \t\t" + input.mouthText + " " + unit);
  }
  const std::string lengthText = ValueAfter(lines, "Horn length: \t\t");
  const std::size_t mouthHeading = IndexOfPrefix(lines, "Mouth opening size.");
  const std::string mouth1Text = ValueAfter(lines, "Side 1A - 1B: \t\t", mouthHeading);
  const std::string mouth2Text = ValueAfter(lines, "Side 2A - 2B: \t\t", mouthHeading);
  const Lines rows = CheckFrameAndStations(produced, input.unit, input.increment, lengthText);
  if (rows.empty()) return;

  const long double S1 = *ParseNumber(input.side1Text, separators);
  const long double S2 = *ParseNumber(input.side2Text, separators);
  const long double M1 = flat ? *ParseNumber(input.mouthText, separators) : 0.0L;
  const NumberFormat side{8, mm ? 2 : 4};
  const NumberFormat endArea{10, mm ? 1 : 3};
  const NumberFormat stationArea{8, mm ? 1 : 3};
  const NumberFormat distance{8, mm ? 0 : 2};
  const NumberFormat mouthDistance{8, mm ? 3 : 5};
  const auto length = ReadCell(lengthText, mouthDistance.P, mouthDistance.D, separators);
  ASSERT_TRUE(length);

  std::optional<Cell> previousSide1, previousSide2, previousArea;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string& row = rows[i];
    const bool end = i == 0 || i + 1 == rows.size();
    const std::vector<Piece> pieces = SplitRow(row);
    ASSERT_EQ(pieces.size(), flat ? 5u : 4u) << row;
    EXPECT_EQ(pieces[0].tabs, 2) << row;
    EXPECT_EQ(pieces[1].tabs, 2) << row;
    EXPECT_EQ(pieces[2].tabs, 2) << row;
    if (flat) {
      EXPECT_EQ(pieces[4].tabs, 0) << row;
    }
    const NumberFormat areaFormat = end ? endArea : stationArea;
    const NumberFormat distanceFormat = i + 1 == rows.size() ? mouthDistance : distance;
    const auto d = ReadCell(pieces[0].text, distanceFormat.P, distanceFormat.D, separators);
    const auto s1 = ReadCell(pieces[1].text, side.P, side.D, separators);
    const auto s2 = ReadCell(pieces[2].text, side.P, side.D, separators);
    const auto area = ReadCell(pieces[3].text, areaFormat.P, areaFormat.D, separators);
    ASSERT_TRUE(d && s1 && s2 && area) << row;
    ExpectSeparatorRule(*area, pieces[3].tabs, input.unit, row);

    // The area is side 1 times side 2.
    EXPECT_LE(std::fabs(s1->value * s2->value - area->value),
              area->half + s2->value * s1->half + s1->value * s2->half + s1->half * s2->half)
        << row;
    if (flat) {
      // Sides 1A and 1B are planes: side 1 grows in proportion to the distance,
      // and the flat side distance is measured along that plane.
      const long double grown = S1 + (M1 - S1) * d->value / length->value;
      const long double lengthSlack = (M1 - S1) * d->value * length->half / (length->value * length->value);
      EXPECT_LE(std::fabs(s1->value - grown), s1->half + d->half * (M1 - S1) / length->value +
                                                  lengthSlack + 1e-15L * M1)
          << row;
      const auto along = ReadCell(pieces[4].text, side.P, side.D, separators);
      ASSERT_TRUE(along) << row;
      const long double offset = (s1->value - S1) * 0.5L;
      EXPECT_LE(std::fabs(along->value - std::sqrt(d->value * d->value + offset * offset)),
                along->half + d->half + s1->half)
          << row;
    } else {
      // Without flat sides every section keeps the throat's proportions.
      const long double ratio = s1->value / s2->value;
      EXPECT_LE(std::fabs(ratio - S1 / S2),
                ratio * (s1->half / s1->value + s2->half / s2->value) * 1.0001L + 1e-15L)
          << row;
    }
    if (previousSide1) {
      ExpectNotBelow(*s1, *previousSide1, "side 1", row);
      if (!flat) ExpectNotBelow(*s2, *previousSide2, "side 2", row);
      ExpectNotBelow(*area, *previousArea, "area", row);
    }
    previousSide1 = s1;
    previousSide2 = s2;
    previousArea = area;
  }
  const std::vector<Piece> throat = SplitRow(rows.front());
  const auto throat1 = ReadCell(throat[1].text, side.P, side.D, separators);
  const auto throat2 = ReadCell(throat[2].text, side.P, side.D, separators);
  EXPECT_LE(std::fabs(throat1->value - S1), throat1->half) << rows.front();
  EXPECT_LE(std::fabs(throat2->value - S2), throat2->half) << rows.front();
  const std::vector<Piece> mouthRow = SplitRow(rows.back());
  EXPECT_EQ(mouthRow[1].text, mouth1Text);
  EXPECT_EQ(mouthRow[2].text, mouth2Text);
}

// Abort is pressed at a random station for a third of the reports; for another
// third at a station that may lie past the end, where it changes nothing.
int AbortStation(InputMaker& maker, long double length, long double increment) {
  const int stations = std::max(1, static_cast<int>(length / increment));
  switch (maker.Below(3)) {
    case 0:
      return 1 + maker.Below(stations);
    case 1:
      return stations + maker.Below(3);
    default:
      return 0;
  }
}

constexpr TableIncrement kIncrements[] = {TableIncrement::T1, TableIncrement::T10,
                                          TableIncrement::T100};
constexpr LengthUnit kUnits[] = {LengthUnit::Millimetre, LengthUnit::Inch};

TEST(ReportProperties, CircularReportsOverRandomInput) {
  InputMaker maker(20261207);
  int aborted = 0;
  for (const LengthUnit unit : kUnits) {
    for (const SizeMode size : {SizeMode::Radius, SizeMode::Diameter}) {
      for (const TableIncrement increment : kIncrements) {
        for (int n = 0; n < kCircularInputsPerCombination; ++n) {
          CircularReportInput input;
          input.unit = unit;
          input.size = size;
          input.increment = increment;
          const Separators separators = maker.AnySeparators();
          const long double inc = vortalis::geometry::IncrementValue(increment, unit);
          long double length = 0;
          for (;;) {
            const long double fc = maker.LogUniform(1.0L, 25000.0L);
            const long double a = vortalis::report::MouthRadiusIn(fc, unit);
            const long double low = MinimumThroat(unit) * 0.5L;
            if (low >= a * 0.98L) continue;
            const long double radius = maker.LogUniform(low, a * 0.98L);
            input.frequencyText = maker.Typed(fc, separators);
            input.throatText = maker.Typed(vortalis::report::SizeOfRadius(radius, size), separators);
            if (vortalis::report::FindCircularInputProblem(input, separators)) continue;
            length = vortalis::report::MakeCircularHorn(input, separators).length;
            if (length / inc < kMostRows) break;
          }
          ProducedInput produced{{}, separators, AbortStation(maker, length, inc)};
          produced.report = vortalis::testing::Produce(&vortalis::report::GenerateCircularReport,
                                                       input, produced.abortOnPump, separators);
          aborted += produced.report.progress.abortPressed ? 1 : 0;
          SCOPED_TRACE("circular fc \"" + input.frequencyText + "\" throat \"" + input.throatText +
                       "\" unit " + std::to_string(static_cast<int>(unit)) + " size " +
                       std::to_string(static_cast<int>(size)) + " increment " +
                       std::to_string(static_cast<int>(increment)) + " abort at " +
                       std::to_string(produced.abortOnPump));
          CheckCircular(input, produced);
          if (HasFailure()) return;
        }
      }
    }
  }
  EXPECT_GT(aborted, 0);  // the abort path was taken at all
}

TEST(ReportProperties, RectangularReportsOverRandomInput) {
  InputMaker maker(4002);
  int aborted = 0;
  for (const LengthUnit unit : kUnits) {
    for (const MouthLocation location : {MouthLocation::FreeAir, MouthLocation::OneWall,
                                         MouthLocation::TwoWalls, MouthLocation::ThreeWalls}) {
      for (const bool flat : {false, true}) {
        for (const TableIncrement increment : kIncrements) {
          for (int n = 0; n < kRectangularInputsPerCombination; ++n) {
            RectangularReportInput input;
            input.unit = unit;
            input.location = location;
            input.flatSides = flat;
            input.increment = increment;
            const Separators separators = maker.AnySeparators();
            const long double inc = vortalis::geometry::IncrementValue(increment, unit);
            const long double k = vortalis::geometry::LocationFactor(location);
            long double length = 0;
            for (;;) {
              const long double fc = maker.LogUniform(1.0L, 25000.0L);
              const long double a = vortalis::report::MouthRadiusIn(fc, unit);
              const long double mouthArea = kPi * a * a / k;
              const long double smallest = MinimumThroat(unit);
              if (smallest * smallest >= mouthArea * 0.9L) continue;
              // A throat area below the mouth's, cut in a random proportion.
              const long double area = maker.LogUniform(smallest * smallest, mouthArea * 0.9L);
              const long double proportion = maker.LogUniform(0.1L, 10.0L);
              const long double s1 = std::sqrt(area * proportion);
              input.frequencyText = maker.Typed(fc, separators);
              input.side1Text = maker.Typed(s1, separators);
              input.side2Text = maker.Typed(area / s1, separators);
              // Now and then sides 1A and 1B parallel: the mouth as wide as the throat.
              input.mouthText = maker.Below(5) == 0
                                    ? input.side1Text
                                    : maker.Typed(s1 * maker.LogUniform(1.0L, 100.0L), separators);
              if (vortalis::report::FindRectangularInputProblem(input, separators)) continue;
              length = vortalis::report::MakeRectangularHorn(input, separators).length;
              if (length / inc < kMostRows) break;
            }
            ProducedInput produced{{}, separators, AbortStation(maker, length, inc)};
            produced.report = vortalis::testing::Produce(
                &vortalis::report::GenerateRectangularReport, input, produced.abortOnPump,
                separators);
            aborted += produced.report.progress.abortPressed ? 1 : 0;
            SCOPED_TRACE("rectangular fc \"" + input.frequencyText + "\" sides \"" +
                         input.side1Text + "\" \"" + input.side2Text + "\" mouth \"" +
                         input.mouthText + "\" unit " + std::to_string(static_cast<int>(unit)) +
                         " k " + std::to_string(static_cast<int>(location)) + " flat " +
                         std::to_string(flat) + " increment " +
                         std::to_string(static_cast<int>(increment)) + " abort at " +
                         std::to_string(produced.abortOnPump));
            CheckRectangular(input, produced);
            if (HasFailure()) return;
          }
        }
      }
    }
  }
  EXPECT_GT(aborted, 0);
}

}  // namespace
