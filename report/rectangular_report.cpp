#include <cmath>

#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/number_format.h"
#include "report/report_frame.h"
#include "report/report_generator.h"
#include "report/table_row.h"

namespace vortalis::report {

namespace {

using geometry::LengthUnit;
using geometry::MouthLocation;

struct RectangularFormats {
  NumberFormat length;
  NumberFormat flatLength;  // flat side real length
  NumberFormat mouthSide;   // Calculated values
  NumberFormat minimumLength;
  NumberFormat distance;       // throat row and stations
  NumberFormat mouthDistance;  // the last row
  NumberFormat side;
  NumberFormat endArea;  // throat row and mouth row
  NumberFormat stationArea;
  NumberFormat flatDistance;
};

constexpr LengthUnit kMm = LengthUnit::Millimetre;
constexpr LengthUnit kInch = LengthUnit::Inch;
constexpr RectangularFormats kMillimetreFormats{
    LengthFormat(kMm), SizeFormat(kMm), SizeFormat(kMm), {8, 0}, {8, 0},
    LengthFormat(kMm), SizeFormat(kMm), {10, 1},         {8, 1}, SizeFormat(kMm)};
constexpr RectangularFormats kInchFormats{
    LengthFormat(kInch), SizeFormat(kInch), SizeFormat(kInch), {8, 2}, {8, 2},
    LengthFormat(kInch), SizeFormat(kInch), {10, 3},           {8, 3}, SizeFormat(kInch)};

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

// Length measured on a flat side plane: `along` the axis while the side moves `offset` outward.
long double FlatSideLength(long double along, long double offset) {
  const long double length = std::sqrt(along * along + offset * offset);
  // A mouth distance near the top of the number range squares to infinity;
  // hypot gives the finite length then, and is not used otherwise because it
  // may differ from the plain sum of squares in the last bit.
  if (std::isinf(length) && std::isfinite(along) && std::isfinite(offset))
    return std::hypot(along, offset);
  return length;
}

}  // namespace

void GenerateRectangularReport(const RectangularReportInput& input, ReportEnvironment& env) {
  const RectangularFormats& formats =
      input.unit == LengthUnit::Millimetre ? kMillimetreFormats : kInchFormats;
  const geometry::Separators& separators = env.separators;
  const std::string unit = geometry::UnitName(input.unit);
  const bool flat = input.flatSides;

  // Parsed before the progress window shows, so that refused input cannot leave it on screen.
  const RectangularHorn horn = MakeRectangularHorn(input, separators);
  const long double a = horn.mouthRadius;
  const long double k = horn.locationFactor;
  const long double length = horn.length;
  const long double offset = horn.flatOffset;
  // The wavelength in the report's unit, then a quarter of it: the same bits as
  // scaling the quarter wavelength, since a quarter is a power of two.
  const long double minimumLength =
      geometry::QuarterWavelength(horn.frequency) * geometry::UnitScale(input.unit);
  const long double flatLength = FlatSideLength(length, offset);

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
                        FormatNumber(flatLength, formats.flatLength, separators) + " " + unit);
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
                             geometry::MouthSides sides, long double area, NumberFormat areaFormat,
                             long double flatDistance) {
    row.Clear();
    row.AddColumn(distance, distanceFormat);
    row.AddColumn(sides.side1, formats.side);
    row.AddColumn(sides.side2, formats.side);
    row.AddArea(area, areaFormat);
    if (flat) row.AddLast(flatDistance, formats.flatDistance);
    document.AppendLine(row.Text());
  };

  appendRow(0.0L, formats.distance, {horn.side1, horn.side2}, horn.side1 * horn.side2,
            formats.endArea, 0.0L);
  const long double eps = SearchTolerance(input.unit);
  long double radius = horn.throatRadius;
  const long double increment = geometry::IncrementValue(input.increment, input.unit);
  WalkStations(env, increment, length, [&](long double station, long double distance) {
    // Each search starts from the previous station's radius.
    radius = SolveRadius(a, length - distance, radius, eps);
    // The built section has 1/k of the full circular section's area. Dividing by
    // k, a power of two, is exact, so the mouth-side functions give the same bits
    // whether the area is divided by k before or after the side ratio is applied.
    geometry::MouthSides sides{};
    long double flatDistance = 0.0L;
    if (flat) {
      const long double sideOffset = station * offset * increment / length;
      sides.side1 = 2.0L * sideOffset + horn.side1;
      sides.side2 = geometry::RectMouthSecondSide(radius, k, sides.side1);
      flatDistance = FlatSideLength(distance, sideOffset);
    } else {
      sides = geometry::RectMouthSides(radius, k, horn.side1, horn.side2);
    }
    appendRow(distance, formats.distance, sides, sides.side1 * sides.side2, formats.stationArea,
              flatDistance);
  });
  appendRow(length, formats.mouthDistance, horn.mouth, geometry::FullMouthArea(a) / k,
            formats.endArea, flatLength);
  FinishReport(env);
}

}  // namespace vortalis::report
