#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// The numbers the kits are made from, each described once: its name in
// messages, whether it is a length or a count, its limits and the one check
// every caller uses, so a value is refused with the same sentence wherever
// it was typed; and how vortalis-report and the Build kit dialog offer it.
namespace vortalis::buildkit {

// What the dialog's initial values are made from.
struct KitStart {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  long double throatDiameter = 0.0L;  // 0 when the horn has no round throat
};

inline constexpr long double kNoHigh = std::numeric_limits<long double>::infinity();
// Lengths are in the horn's unit. The upper limits keep every number a file
// holds within a 32-bit float (STL) and the kit within reason: no board,
// wall or seam thicker than 1000, no flange wider than 100,000.
inline constexpr long double kMaxKitThickness = 1000.0L;
inline constexpr long double kMaxKitSpan = 100000.0L;

struct KitParameter {
  std::string_view name;  // "board thickness": "The board thickness must be ..."
  bool count;             // a whole number, else a length in the horn's unit
  long double low;
  bool lowIncluded;
  long double high = kNoHigh;

  // The tool: the option ("--board"; empty when the kit's own option or its
  // group's carries the value), the name of its value, the help lines, and
  // what is taken when it is left out (empty: it must be given; the value
  // is then 0).
  std::string_view option = {};
  std::string_view valueName = {};
  std::string_view help = {};
  std::string_view unset = {};
  // The dialog: the field's caption with its access key (a count's limits are
  // added to it), its object name and its initial value.
  std::string_view label = {};
  std::string_view field = {};
  long double (*initial)(const KitStart&) = nullptr;
};

// Values that are given together or not at all (a throat flange): one option
// of the tool with the values separated by commas, a check box over the
// dialog's fields.
struct KitParameterGroup {
  std::string_view option;     // "--flange"
  std::string_view valueName;  // "OD,THICKNESS[,BOLT_CIRCLE,COUNT,HOLE]"
  std::string_view help;
  std::string_view unset;
  std::string_view example;
  std::string_view label;  // the check box's caption
  std::string_view field;  // its object name
  bool circularOnly;
  std::span<const KitParameter* const> parameters;
  std::size_t leading;  // the tool may give only the first `leading` values
  // Throws KitError for values (in `parameters`' order, 0 for one left out)
  // that do not go together.
  void (*check)(std::span<const long double> values) = nullptr;
};

// A setting that is one of a few words (the staves' fit): the tool's option
// and its help; the words are the choices.
struct KitChoice {
  std::string_view option;  // "--stave-fit"
  std::string_view help;
  std::string_view unset;  // the word taken when it is left out
  std::span<const std::string_view> words;
  std::string_view label = {};  // the dialog's caption with its access key
  std::string_view field = {};  // the object name of its list
  // The dialog's first word for the horn; the unset one when null.
  std::string_view (*initial)(const KitStart&) = nullptr;
};

// A kind of kit as the tool and the dialog offer it.
struct KitUnit {
  std::string_view option;     // "--rings": writes the kit
  std::string_view valueName;  // "FILE", or "N FILE" when the option carries the first parameter
  bool circularOnly;
  std::string_view help;
  std::string_view example;
  std::span<const KitParameter* const> parameters;  // in the order of --help and the dialog
  const KitParameterGroup* group = nullptr;
  const KitChoice* choice = nullptr;
  // The dialog: the button's caption with its access key, its object name,
  // and the name its file is offered under.
  std::string_view label = {};
  std::string_view field = {};
  std::string_view fileName = {};
  bool rectangularOnly = false;  // offered for rectangular horns only
};

// What a kit is made from, read from the tool's options or the dialog's
// fields, each value already checked by its parameter.
struct KitValues {
  std::vector<std::pair<const KitParameter*, long double>> given;
  std::vector<long double> group;  // the group's values in its order; empty: none given
  std::string_view choice = {};    // one of the choice's words; empty: the unset one

  std::optional<long double> Given(const KitParameter& parameter) const;
  // The value given, 0 when it was left out.
  long double Value(const KitParameter& parameter) const {
    return Given(parameter).value_or(0.0L);
  }
};

// The horn a kit is made for.
struct KitInput {
  const report::HornInput& horn;
  const report::MouthLimit& limit;
  const geometry::Separators& separators;
  bool wholeSolid = true;  // false: the solids only as their pieces
  std::function<void(int percent)> progress = {};
};

// The circular horn of `input`; throws KitError "`kits` are made for
// circular horns only." for a rectangular one.
const report::CircularReportInput& CircularOnly(const KitInput& input, std::string_view kits);

// `value` when it lies within the parameter's limits (and is whole for a
// count); otherwise throws KitError: "The board thickness must be a number
// greater than 0 and at most 1000.", "The number of staves must be a whole
// number from 6 to 64."
long double Checked(const KitParameter& parameter, long double value);
// The same for a typed text; one that is not a number is refused alike.
long double Checked(const KitParameter& parameter, std::string_view text,
                    const geometry::Separators& separators);

// The tool's option of `parameter` in `unit`: its own, or the unit's.
std::string_view OptionOf(const KitUnit& unit, const KitParameter& parameter);
// The parameters of `unit` that `option` gives, in the unit's order: one, or
// several given together as "A,B" ("A;B" where ',' is the decimal separator),
// as --bed W,D gives the bed's width and depth.
std::vector<const KitParameter*> ParametersOf(const KitUnit& unit, std::string_view option);
// ',' between the values of a list, ';' where ',' is the decimal separator.
char ListSeparator(const geometry::Separators& separators);
// The values of `parameters` from one text, each checked; KitError when the
// count differs ("The bed width and bed depth must be given together as W,D.").
std::vector<long double> CheckedList(std::span<const KitParameter* const> parameters,
                                     std::string_view text, const geometry::Separators& separators);

// A default length: millimetres as given, inches at mm / 25.4 rounded to `decimals`.
long double InUnit(geometry::LengthUnit unit, long double mm, int decimals = 2);

}  // namespace vortalis::buildkit
