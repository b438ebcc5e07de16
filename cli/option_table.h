#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/units.h"
#include "report/export_format.h"
#include "report/horn_profile.h"

// Every option of vortalis-report in one table: the parser, the help text,
// the tests and the bash completion all read it.
namespace vortalis::cli {

enum class Paper { A4, A3, Letter };

enum class OptionId {
  Freq,
  Unit,
  Increment,
  Separator,
  Quick,
  Output,
  Help,
  Version,
  Throat,
  Size,
  Side1,
  Side2,
  FlatMouth,
  Location,
  Export,
  Template,
  Step,
  MouthLimit,
  Paper,
  Impedance,
  MouthLoad,
  From,
  To,
  PointsPerOctave,
  Response,
  Driver,
  RearChamber,
  ThroatChamber,
  Voltage,
  Losses,
  Design,
  SaveDesign,
  // The build kits' options, made from their descriptions, are numbered from
  // here in the table's order: a new kit needs no name here.
  FirstKit,
};

// What follows the option on the command line.
enum class ValueKind {
  None,
  Text,           // free text, checked later
  Choice,         // one of `choices`
  File,           // an output file
  FormatAndFile,  // one of `choices`, then an output file
  TextAndFile,    // free text, then an output file
};

// The subcommands that take an option.
enum Kinds : unsigned { kCircular = 1, kRectangular = 2, kBothKinds = 3 };

inline constexpr std::array<std::string_view, 2> kSubcommands{"circular", "rectangular"};

struct OptionSpec {
  OptionId id;
  std::string_view name;       // "--output"
  std::string_view shortName;  // "-o", or empty
  ValueKind value;
  std::string valueName;  // shown after the option; choices show themselves when empty
  unsigned kinds;
  bool drawing;                      // listed with the drawing options
  std::vector<std::string> choices;  // Choice and FormatAndFile
  std::string help;                  // lines of explanation, without the initial value
  std::string initial;               // the initial value, from the dialogs' default records
  std::string_view examples;         // command lines, one a line
};

const std::vector<OptionSpec>& OptionTable();

// The option named `name` (long or short form), or nullptr.
const OptionSpec* FindOption(std::string_view name);

// The words of each choice: unit, size mode, mouth location, paper, export format.
inline constexpr std::array<geometry::LengthUnit, 2> kUnits{geometry::LengthUnit::Millimetre,
                                                             geometry::LengthUnit::Inch};
inline constexpr std::array<geometry::SizeMode, 2> kSizeModes{geometry::SizeMode::Radius,
                                                               geometry::SizeMode::Diameter};
inline constexpr std::array<geometry::MouthLocation, 4> kLocations{
    geometry::MouthLocation::FreeAir, geometry::MouthLocation::OneWall,
    geometry::MouthLocation::TwoWalls, geometry::MouthLocation::ThreeWalls};
inline constexpr std::array<geometry::TableIncrement, 3> kIncrements{
    geometry::TableIncrement::T1, geometry::TableIncrement::T10, geometry::TableIncrement::T100};
inline constexpr std::array<Paper, 3> kPapers{Paper::A4, Paper::A3, Paper::Letter};
inline constexpr std::array<std::string_view, 2> kDecimalSeparators{".", ","};

std::string ChoiceName(geometry::LengthUnit unit);
std::string ChoiceName(geometry::SizeMode size);
std::string ChoiceName(geometry::MouthLocation location);
std::string ChoiceName(Paper paper);
std::string ChoiceName(report::ExportFormat format);

// The words before "=" in --mouth-limit, and the subcommands that take each.
struct MouthLimitWord {
  report::MouthLimitKind kind;
  std::string_view word;
  unsigned kinds;
};
inline constexpr std::array<MouthLimitWord, 4> kMouthLimitWords{{
    {report::MouthLimitKind::Radius, "radius", kCircular},
    {report::MouthLimitKind::Diameter, "diameter", kCircular},
    {report::MouthLimitKind::Side1, "side1", kRectangular},
    {report::MouthLimitKind::Length, "length", kBothKinds},
}};

// The captions of the increment buttons in `unit`.
std::vector<std::string> IncrementChoices(geometry::LengthUnit unit);

// "a", "a or b", "a, b or c".
std::string JoinChoices(const std::vector<std::string>& choices);

}  // namespace vortalis::cli
