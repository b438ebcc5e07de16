#include "geometry/constants.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/number_format.h"
#include "report/report_frame.h"
#include "report/report_generator.h"
#include "report/table_row.h"

namespace vortalis::report {

namespace {

using geometry::LengthUnit;
using geometry::SizeMode;

struct CircularFormats {
  NumberFormat length;  // Calculated values
  NumberFormat mouth;   // Calculated values
  NumberFormat minimumLength;
  NumberFormat distance;       // throat row and stations
  NumberFormat mouthDistance;  // the last row
  NumberFormat size;
  NumberFormat area;
  NumberFormat flare;
};

constexpr LengthUnit kMm = LengthUnit::Millimetre;
constexpr LengthUnit kInch = LengthUnit::Inch;
constexpr CircularFormats kMillimetreFormats{LengthFormat(kMm), SizeFormat(kMm), {8, 0},  {8, 0},
                                             LengthFormat(kMm), SizeFormat(kMm), {10, 1}, {8, 2}};
constexpr CircularFormats kInchFormats{LengthFormat(kInch), SizeFormat(kInch), {8, 2},  {8, 2},
                                       LengthFormat(kInch), SizeFormat(kInch), {10, 3}, {8, 2}};

// The too-short test is made in metres; one report unit is this many metres.
constexpr long double kMillimetreInMetres = 0.001L;
constexpr long double kInchInMetres = 0.0254L;

}  // namespace

void GenerateCircularReport(const CircularReportInput& input, ReportEnvironment& env) {
  const bool millimetres = input.unit == LengthUnit::Millimetre;
  const CircularFormats& formats = millimetres ? kMillimetreFormats : kInchFormats;
  const geometry::Separators& separators = env.separators;
  const std::string unit = geometry::UnitName(input.unit);
  const std::string sizeName = input.size == SizeMode::Radius ? "radius" : "diameter";
  const std::string sizeColumn = input.size == SizeMode::Radius ? "Radius" : "Diameter";

  const CircularHorn horn = MakeCircularHorn(input, separators);
  const long double a = horn.mouthRadius;
  const long double length = horn.length;
  const long double quarterWavelength = geometry::QuarterWavelength(horn.frequency);

  env.progress.SetPosition(0);
  env.progress.Show();

  ReportLineSink& document = env.document;
  AppendTitle(env);
  document.AppendLine("Input values for circular horn.");
  document.AppendLine("Horn cut off frequency fc: \t" + input.frequencyText + " Hz");
  document.AppendLine("Throat   (" + sizeName + "):\t\t" + input.throatText + " " + unit);
  document.AppendLine("");
  document.AppendLine("Calculated values.");

  document.AppendLine("Horn length: \t\t" + FormatNumber(length, formats.length, separators) + " " +
                      unit);
  document.AppendLine("Mouth   (" + sizeName + "):\t\t" +
                      FormatNumber(SizeOfRadius(a, input.size), formats.mouth, separators) + " " +
                      unit);
  document.AppendLine("");
  if (millimetres) {
    document.AppendLine(
        MinimumLengthLine("Minimum recommended length: ",
                          FormatNumber(quarterWavelength * geometry::MetresToMillimetres,
                                       formats.minimumLength, separators),
                          input.unit));
  } else {
    // Spelled this way in inch reports, and scaled by the exact inverse of 0.0254.
    document.AppendLine(
        MinimumLengthLine("Minimum recomended length: ",
                          FormatNumber(quarterWavelength * geometry::MetresToInchesExact,
                                       formats.minimumLength, separators),
                          input.unit));
  }
  const long double lengthInMetres = length * (millimetres ? kMillimetreInMetres : kInchInMetres);
  if (lengthInMetres <= quarterWavelength) AppendLengthWarning(document);
  document.AppendLine("");
  document.AppendLine("Distance (" + unit + ")\t" + sizeColumn + " (" + unit + ")\tArea (square " +
                      unit + ")\tFlare angle (degrees)");

  TableRow row(separators, input.unit);
  const auto appendRow = [&](long double distance, NumberFormat distanceFormat, long double r,
                             long double flare) {
    row.Clear();
    row.AddColumn(distance, distanceFormat);
    row.AddColumn(SizeOfRadius(r, input.size), formats.size);
    row.AddArea(geometry::FullMouthArea(r), formats.area);  // pi r^2 of the section
    row.AddLast(flare, formats.flare);
    document.AppendLine(row.Text());
  };

  appendRow(0.0L, formats.distance, horn.throatRadius, FlareAngle(horn.throatRadius / a));
  const long double eps = SearchTolerance(input.unit);
  long double r = horn.throatRadius;
  WalkStations(env, geometry::IncrementValue(input.increment, input.unit), length,
               [&](long double, long double distance) {
                 // Each search starts from the previous station's radius.
                 r = SolveRadius(a, length - distance, r, eps);
                 appendRow(distance, formats.distance, r, FlareAngle(r / a));
               });
  appendRow(length, formats.mouthDistance, a, FlareAngle(1.0L));
  FinishReport(env);
}

}  // namespace vortalis::report
