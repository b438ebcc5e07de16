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
using geometry::MouthLocation;

const char* LocationText(MouthLocation location) {
  switch (location) {
    case MouthLocation::FreeAir:
      return "with mouth location in free air.";
    case MouthLocation::OneWall:
      return "with mouth location against one wall.";
    case MouthLocation::TwoWalls:
      return "with mouth location against two walls (floor and one wall).";
    case MouthLocation::ThreeWalls:
      return "with mouth location against three walls (floor and two walls).";
  }
  return "with mouth location in free air.";
}

}  // namespace

void GenerateRectangularReport(const RectangularReportInput& input, ReportEnvironment& env) {
  const RectangularFormats formats = RectangularTableFormats(input.unit);
  const geometry::Separators& separators = env.separators;
  const std::string unit = geometry::UnitName(input.unit);
  const bool flat = input.flatSides;

  // Parsed before the progress window shows, so that refused input cannot leave it on screen.
  const RectangularHorn horn = MakeRectangularHorn(input, separators);
  const long double a = horn.mouthRadius;
  const long double length = horn.length;
  const long double minimumLength = QuarterWavelengthIn(horn.frequency, input.unit);
  const RectangularSection mouth = RectangularMouth(horn);

  env.progress.SetPosition(0);
  env.progress.Show();

  ReportLineSink& document = env.document;
  AppendTitle(env);
  document.AppendLine(std::string("Input values for rectangular horn ") +
                      LocationText(input.location));
  document.AppendLine("Horn cut off frequency fc: \t" + input.frequencyText + " Hz");
  document.AppendLine("Throut opening size");
  document.AppendLine("Side 1A - 1B: \t\t" + input.side1Text + " " + unit);
  document.AppendLine("Side 2A - 2B: \t\t" + input.side2Text + " " + unit);
  if (flat) {
    document.AppendLine("Horn has flat side specifyed, with mouth opening size");
    document.AppendLine("Side 1A - 1B: \t\t" + input.mouthText + " " + unit);
  }
  document.AppendLine("");
  document.AppendLine("Calculated values.");
  document.AppendLine("Horn length: \t\t" + FormatNumber(length, formats.length, separators) + " " +
                      unit);
  if (flat) {
    document.AppendLine("Flat side real length: \t" +
                        FormatNumber(mouth.flatSideDistance, formats.flatLength, separators) +
                        " " + unit);
  }
  document.AppendLine("Mouth opening size.");
  document.AppendLine("Side 1A - 1B: \t\t" +
                      FormatNumber(horn.mouth.side1, formats.mouthSide, separators) + " " + unit);
  document.AppendLine("Side 2A - 2B: \t\t" +
                      FormatNumber(horn.mouth.side2, formats.mouthSide, separators) + " " + unit);
  document.AppendLine("");
  document.AppendLine(MinimumLengthLine(
      "Minimum recommended length: ",
      FormatNumber(minimumLength, formats.minimumLength, separators), input.unit));
  if (length <= minimumLength) AppendLengthWarning(document);
  document.AppendLine("");
  document.AppendLine("Distance (" + unit + ")\tSide 1A - 1B (" + unit + ")\tSide 2A - 2B (" +
                      unit + ")\tArea (square " + unit + ")\t" +
                      (flat ? "Flat side distance (" + unit + ")" : std::string()));

  TableRow row(separators, input.unit);
  const auto appendRow = [&](long double distance, NumberFormat distanceFormat,
                             const RectangularSection& section, NumberFormat areaFormat) {
    row.Clear();
    row.AddColumn(distance, distanceFormat);
    row.AddColumn(section.sides.side1, formats.side);
    row.AddColumn(section.sides.side2, formats.side);
    row.AddArea(section.area, areaFormat);
    if (flat) row.AddLast(section.flatSideDistance, formats.flatDistance);
    document.AppendLine(row.Text());
  };

  appendRow(0.0L, formats.distance, RectangularThroat(horn), formats.endArea);
  long double radius = horn.throatRadius;
  const long double increment = geometry::IncrementValue(input.increment, input.unit);
  WalkStations(env, increment, length, [&](long double station, long double distance) {
    radius = StationRadius(a, length, distance, radius, input.unit);
    appendRow(distance, formats.distance,
              RectangularSectionAt(horn, radius, station, increment, distance),
              formats.stationArea);
  });
  appendRow(length, formats.mouthDistance, mouth, formats.endArea);
  FinishReport(env);
}

}  // namespace vortalis::report
