#include "cli/option_table.h"

#include <algorithm>

#include "buildkit/staves.h"
#include "cli/impedance_tool.h"
#include "cli/options.h"
#include "files/profile_formats.h"
#include "geometry/number_text.h"
#include "report/report_input.h"

namespace vortalis::cli {

namespace {

using geometry::LengthUnit;
using report::CircularReportInput;
using report::RectangularReportInput;

template <typename Values>
std::vector<std::string> Names(const Values& values) {
  std::vector<std::string> names;
  for (const auto& value : values) names.push_back(ChoiceName(value));
  return names;
}

// One text when both dialogs start alike, else both.
std::vector<std::string> StaveFitNames() {
  std::vector<std::string> names;
  for (const auto& fit : buildkit::kStaveFits) names.emplace_back(fit.first);
  return names;
}

std::string PerKind(const std::string& circular, const std::string& rectangular) {
  if (circular == rectangular) return circular;
  return "circular " + circular + ", rectangular " + rectangular;
}

std::string IncrementInitial(geometry::TableIncrement increment) {
  return std::string(geometry::IncrementCaption(increment, LengthUnit::Millimetre)) + " or " +
         geometry::IncrementCaption(increment, LengthUnit::Inch);
}

std::string IncrementHelp() {
  std::string captions;
  for (const LengthUnit unit : kUnits) {
    if (!captions.empty()) captions += "; ";
    captions += JoinChoices(IncrementChoices(unit)) + " in " + ChoiceName(unit);
  }
  return "table step, the value on the dialog's increment button:\n" + captions;
}

std::string MouthLimitValue() {
  std::string text;
  for (const MouthLimitWord& word : kMouthLimitWords)
    text += (text.empty() ? "" : "|") + std::string(word.word) + "=VALUE";
  return text;
}

std::vector<OptionSpec> MakeTable() {
  const CircularReportInput circular;
  const RectangularReportInput rectangular;
  const DrawingOptions drawings;
  std::vector<std::string> separators(kDecimalSeparators.begin(), kDecimalSeparators.end());
  std::vector<std::string> increments = IncrementChoices(LengthUnit::Millimetre);
  for (const std::string& caption : IncrementChoices(LengthUnit::Inch)) {
    if (std::find(increments.begin(), increments.end(), caption) == increments.end())
      increments.push_back(caption);
  }
  std::vector<std::string> formats;
  for (const report::ExportFormat format : report::kExportFormats)
    formats.push_back(ChoiceName(format));

  const ImpedanceOptions impedance;
  std::vector<std::string> loads;
  for (const acoustics::MouthLoad load : acoustics::kMouthLoads)
    loads.emplace_back(acoustics::MouthLoadName(load));

  using enum OptionId;
  using enum ValueKind;
  return {
      {Freq, "--freq", "", Text, "TEXT", kBothKinds, false, {},
       "cut-off frequency in Hz, 1 to 25000",
       PerKind(circular.frequencyText, rectangular.frequencyText),
       "vortalis-report circular --freq 150"},
      {Unit, "--unit", "", Choice, "", kBothKinds, false, Names(kUnits),
       "unit of every length, entered and reported",
       PerKind(ChoiceName(circular.unit), ChoiceName(rectangular.unit)),
       "vortalis-report circular --unit inch --throat 0.5"},
      {Increment, "--increment", "", Choice, "VALUE", kBothKinds, false, increments,
       IncrementHelp(),
       PerKind(IncrementInitial(circular.increment), IncrementInitial(rectangular.increment)),
       "vortalis-report circular --increment 100"},
      {Separator, "--decimal-separator", "", Choice, "", kBothKinds, false, separators,
       "the separator read in number texts and written in\n"
       "the report",
       geometry::Separators{}.decimal,
       "vortalis-report circular --decimal-separator , --throat 12,5"},
      {Quick, "--quick", "", None, "", kBothKinds, false, {},
       "print only the quick-test result (horn length and mouth\n"
       "size)",
       "",
       "vortalis-report rectangular --quick --location 4"},
      {Output, "--output", "-o", File, "FILE", kBothKinds, false, {},
       "write to FILE instead of standard output; FILE is replaced\n"
       "only when the whole report was written",
       "", "vortalis-report circular --freq 60 --output horn60.txt"},
      {Design, "--design", "", File, "FILE", kBothKinds, false, {},
       "take the horn and its settings from a design file\n"
       "(.vortalis, saved by the program or by --save-design); the\n"
       "subcommand may be left out, and options after --design\n"
       "override single values",
       "", "vortalis-report --design bass.vortalis --template bass.pdf"},
      {SaveDesign, "--save-design", "", File, "FILE", kBothKinds, false, {},
       "write the design of the options given to FILE; alone, the\n"
       "report is not written",
       "", "vortalis-report circular --freq 40 --throat 25 --save-design bass.vortalis"},
      {Help, "--help", "-h", None, "", kBothKinds, false, {}, "show this text and exit", "", ""},
      {Version, "--version", "-V", None, "", kBothKinds, false, {},
       "print the version and exit", "", ""},

      {Throat, "--throat", "", Text, "TEXT", kCircular, false, {},
       "throat radius or diameter in the chosen unit", circular.throatText,
       "vortalis-report circular --throat 25.4"},
      {Size, "--size", "", Choice, "", kCircular, false, Names(kSizeModes),
       "whether the throat and the size column are radii or\n"
       "diameters",
       ChoiceName(circular.size), "vortalis-report circular --size diameter --throat 20"},

      {Side1, "--side1", "", Text, "TEXT", kRectangular, false, {},
       "throat distance between sides 1A and 1B", rectangular.side1Text, ""},
      {Side2, "--side2", "", Text, "TEXT", kRectangular, false, {},
       "throat distance between sides 2A and 2B", rectangular.side2Text,
       "vortalis-report rectangular --side1 60 --side2 80"},
      {FlatMouth, "--flat-mouth", "", Text, "TEXT", kRectangular, false, {},
       "make sides 1A and 1B flat, with TEXT as their mouth\n"
       "distance",
       "",
       "vortalis-report rectangular --flat-mouth 3000 --location 8"},
      {Location, "--location", "", Choice, "", kRectangular, false, Names(kLocations),
       "where the mouth stands: 1 free air, 2 against one wall,\n"
       "4 against two walls (floor and one wall), 8 against three\n"
       "walls (floor and two walls)",
       ChoiceName(rectangular.location), "vortalis-report rectangular --location 2"},

      {Export, "--export", "", FormatAndFile, "FILE", kBothKinds, true, formats,
       "write the horn's profile to FILE: a CSV table (the report's\n"
       "columns, '.' decimals, comma separated), a DXF drawing in\n"
       "the chosen unit, or an SVG drawing at full size in\n"
       "millimetres",
       "", "vortalis-report circular --freq 60 --export dxf horn60.dxf"},
      {Template, "--template", "", File, "FILE", kBothKinds, true, {},
       "a PDF of the wall's curve at full size, tiled over as many\n"
       "pages as it needs, with overlap marks, the page's place\n"
       "(\"row 2, column 3\") and a check ruler on every page;\n"
       "prints the number of pages",
       "", "vortalis-report rectangular --flat-mouth 900 --template horn.pdf"},
      {Step, "--step", "", Text, "VALUE", kBothKinds, true, {},
       "distance between the profile's points in the chosen unit,\n"
       "any length above 0, for example a board thickness",
       "the table increment", "vortalis-report circular --export csv horn.csv --step 18"},
      {MouthLimit, "--mouth-limit", "", Text, MouthLimitValue(), kBothKinds, true, {},
       "end the drawing, the kit and the impedance's horn where\n"
       "the radius or the diameter (circular), the distance\n"
       "between sides 1A and 1B (rectangular) or the distance\n"
       "from the throat reaches VALUE",
       "the whole horn",
       "vortalis-report circular --freq 40 --throat 25 \\\n"
       "  --template bass.pdf --mouth-limit radius=300"},
      {OptionId::Paper, "--paper", "", Choice, "", kBothKinds, true, Names(kPapers),
       "the template's paper, 10 mm margins, turned to need fewer\npages",
       ChoiceName(drawings.paper), "vortalis-report circular --template horn.pdf --paper letter"},
      {Impedance, "--impedance", "", File, "FILE", kBothKinds, true, {},
       "write the throat impedance of the horn to FILE, a CSV table\n"
       "frequency_hz,resistance,reactance normalised to rho c / S\n"
       "at the throat, at frequencies evenly spaced on a log scale",
       "", "vortalis-report circular --freq 100 --impedance horn.csv"},
      {MouthLoad, "--mouth-load", "", Choice, "", kBothKinds, true, loads,
       "what the mouth radiates into: a piston in an infinite\n"
       "baffle, the open end of a free-standing pipe, or a\n"
       "pulsating sphere in the solid angle of the mouth's\n"
       "location (circular horns: free air)",
       acoustics::MouthLoadName(impedance.load),
       "vortalis-report rectangular --location 4 --impedance corner.csv \\\n"
       "  --mouth-load location"},
      {From, "--from", "", Text, "HZ", kBothKinds, true, {},
       "the lowest frequency in Hz of the impedance or response", "fc / 4", ""},
      {To, "--to", "", Text, "HZ", kBothKinds, true, {},
       "the highest frequency in Hz of the impedance or response", "16 fc",
       "vortalis-report circular --impedance horn.csv --from 100 --to 5000"},
      {PointsPerOctave, "--points-per-octave", "", Text, "N", kBothKinds, true, {},
       "frequencies an octave in the impedance or response table",
       std::to_string(impedance.pointsPerOctave), ""},
      {Response, "--response", "", File, "FILE", kBothKinds, true, {},
       "write the response of --driver on the horn to FILE, a CSV\n"
       "table: SPL at 1 m, electrical impedance, excursion, group\n"
       "delay (and the highest SPL by Xmax and Pe when given)",
       "", "vortalis-report circular --freq 60 --throat 150 --response r.csv \\\n"
       "  --driver woofer.txt --rear-chamber 60"},
      {Driver, "--driver", "", File, "FILE", kBothKinds, true, {},
       "the driver: one key = value a line, keys name re le bl mms\n"
       "cms rms sd fs qes qms vas xmax pe (ohm, mH, T m, g, mm/N,\n"
       "kg/s, cm2, Hz, litres, mm, W)", "", ""},
      {RearChamber, "--rear-chamber", "", Text, "LITRES", kBothKinds, true, {},
       "the sealed chamber behind the diaphragm", "none", ""},
      {ThroatChamber, "--throat-chamber", "", Text, "LITRES", kBothKinds, true, {},
       "the chamber between the diaphragm and the throat", "none", ""},
      {Voltage, "--voltage", "", Text, "V", kBothKinds, true, {},
       "the RMS voltage driving the response", "2.83", ""},
      {Losses, "--losses", "", Choice, "", kBothKinds, true, {"on", "off"},
       "visco-thermal losses at the horn's walls in the impedance\n"
       "(a wide-tube model); a note says when they change it by\n"
       "more than 5 %",
       "off", "vortalis-report circular --throat 0.5 --impedance z.csv --losses on"},

      {Rings, "--rings", "", File, "FILE", kCircular, true, {},
       "build kit of stacked rings cut from boards: a CSV cutting\n"
       "list, a DXF of each board's circles, or a PDF of the list\n"
       "and each ring at full size (by FILE's extension); needs\n"
       "--board",
       "", "vortalis-report circular --freq 100 --rings rings.pdf --board 18 --wall 20"},
      {Board, "--board", "", Text, "T", kCircular, true, {}, "the board thickness of --rings", "",
       ""},
      {Wall, "--wall", "", Text, "W", kBothKinds, true, {},
       "the wood left around the hole of --rings (above 0), or the\n"
       "wall thickness of --stl",
       "20 mm or 0.75 inch for --rings", ""},
      {RingTolerance, "--ring-tolerance", "", Text, "G", kCircular, true, {},
       "the largest gap between a ring's straight cut and the\n"
       "curve before the board is named on standard error and in\n"
       "the PDF's list (as is a bevel past 45 degrees)",
       "0.5 mm", ""},
      {Sectors, "--sectors", "", File, "FILE", kCircular, true, {},
       "build kit of sheet developments: the horn as cones between\n"
       "stations --step apart, unrolled to cut from sheet (DXF,\n"
       "SVG or PDF template); needs --step",
       "", "vortalis-report circular --sectors cones.svg --step 20 --seam 10"},
      {Seam, "--seam", "", Text, "A", kCircular, true, {}, "the seam allowance of --sectors", "0",
       ""},
      {Staves, "--staves", "", TextAndFile, "N FILE", kCircular, true, {},
       "build kit of N flat staves (6 to 64) bent along their\n"
       "length: one stave's pattern (DXF, SVG or PDF template) or\n"
       "its list of widths and edge mitres (CSV)",
       "", "vortalis-report circular --staves 12 staves.pdf"},
      {StaveFit, "--stave-fit", "", Choice, "", kCircular, true, StaveFitNames(),
       "how the staves' polygon sits on the wall's circle:\n"
       "circumscribed (flats tangent to it, so the throat is never\n"
       "narrower than the driver's exit), inscribed (corners on\n"
       "it) or equal-area",
       "circumscribed", ""},
      {Panels, "--panels", "", File, "FILE", kBothKinds, true, {},
       "the four walls of a rectangular horn at true size, each\n"
       "laid flat (its length along the wall against the width\n"
       "between the walls it meets): DXF, SVG or a PDF template on\n"
       "--paper, by FILE's extension; a kit's PDF is turned to need\n"
       "fewer pages and its page count is printed",
       "", "vortalis-report rectangular --flat-mouth 900 --panels walls.dxf"},
      {Stl, "--stl", "", File, "FILE", kBothKinds, true, {},
       "the horn's wall as a solid for 3D printing, binary STL in\n"
       "millimetres; with --segment-height, FILE horn.stl gives\n"
       "horn-1.stl, horn-2.stl, ... from the throat; needs --wall",
       "", "vortalis-report circular --stl horn.stl --wall 3 --segment-height 200"},
      {SegmentHeight, "--segment-height", "", Text, "H", kBothKinds, true, {},
       "cut the --stl solid into pieces no taller than H", "one piece", ""},
      {Flange, "--flange", "", Text, "OD,THICKNESS[,BOLT_CIRCLE,COUNT,HOLE]", kCircular, true, {},
       "a throat flange on the --stl solid, with COUNT holes of\n"
       "diameter HOLE on a circle of diameter BOLT_CIRCLE; with\n"
       "--decimal-separator , the values are separated by ';'",
       "none", "vortalis-report circular --stl horn.stl --wall 3 --flange 80,6,65,4,5.5"},
  };
}

}  // namespace

const std::vector<OptionSpec>& OptionTable() {
  static const std::vector<OptionSpec> table = MakeTable();
  return table;
}

const OptionSpec* FindOption(std::string_view name) {
  if (name.empty()) return nullptr;
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.name == name || spec.shortName == name) return &spec;
  }
  return nullptr;
}

std::string ChoiceName(geometry::LengthUnit unit) { return geometry::UnitName(unit); }

std::string ChoiceName(geometry::SizeMode size) {
  return size == geometry::SizeMode::Radius ? "radius" : "diameter";
}

std::string ChoiceName(geometry::MouthLocation location) {
  return std::to_string(static_cast<int>(location));
}

std::string ChoiceName(Paper paper) {
  switch (paper) {
    case Paper::A4:
      return "a4";
    case Paper::A3:
      return "a3";
    case Paper::Letter:
      return "letter";
  }
  return "a4";
}

std::string ChoiceName(report::ExportFormat format) {
  return std::string(files::FormatName(format));
}

std::vector<std::string> IncrementChoices(geometry::LengthUnit unit) {
  std::vector<std::string> captions;
  for (const geometry::TableIncrement increment : kIncrements)
    captions.push_back(geometry::IncrementCaption(increment, unit));
  return captions;
}

std::string JoinChoices(const std::vector<std::string>& choices) {
  std::string text;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) text += i + 1 == choices.size() ? " or " : ", ";
    text += choices[i];
  }
  return text;
}

}  // namespace vortalis::cli
