#include "geometry/constants.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/number_format.h"
#include "report/report_frame.h"
#include "report/report_generator.h"
#include "report/station_section.h"
#include "report/table_formats.h"
#include "report/table_row.h"

namespace vortalis::report {

namespace {

using geometry::LengthUnit;
using geometry::SizeMode;

// The too-short test is made in metres; one report unit is this many metres.
constexpr long double kMillimetreInMetres = 0.001L;
constexpr long double kInchInMetres = 0.0254L;

}  // namespace

void GenerateCircularReport(const CircularReportInput& input, ReportEnvironment& env) {
  const bool millimetres = input.unit == LengthUnit::Millimetre;
  const CircularFormats formats = CircularTableFormats(input.unit);
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
  const auto appendRow = [&](long double distance, NumberFormat distanceFormat, long double r) {
    const CircularSection section = CircularSectionAt(a, r);
    row.Clear();
    row.AddColumn(distance, distanceFormat);
    row.AddColumn(SizeOfRadius(r, input.size), formats.size);
    row.AddArea(section.area, formats.area);
    row.AddLast(section.flareAngle, formats.flare);
    document.AppendLine(row.Text());
  };

  appendRow(0.0L, formats.distance, horn.throatRadius);
  long double r = horn.throatRadius;
  WalkStations(env, geometry::IncrementValue(input.increment, input.unit), length,
               [&](long double, long double distance) {
                 r = StationRadius(a, length, distance, r, input.unit);
                 appendRow(distance, formats.distance, r);
               });
  appendRow(length, formats.mouthDistance, a);
  FinishReport(env);
}

}  // namespace vortalis::report
