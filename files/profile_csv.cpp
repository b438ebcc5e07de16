#include <string>

#include "files/profile_files.h"
#include "geometry/number_text.h"
#include "output/finite_number.h"
#include "report/horn_model.h"
#include "report/table_formats.h"

namespace vortalis::files {

namespace {

// A spreadsheet in any locale reads "." decimals in a comma-separated file;
// no thousands separator, since "," separates the columns.
const geometry::Separators kCsvSeparators{".", ""};

void AppendNumber(std::string& line, long double value, report::NumberFormat format) {
  if (!line.empty()) line += ',';
  geometry::AppendFixedText(line, output::FiniteNumber(value), format.precision, format.decimals, kCsvSeparators);
}

}  // namespace

std::string ProfileCsv(const report::HornProfile& profile) {
  const std::string unit = geometry::UnitName(profile.unit);
  // Distances take the horn length's decimals: a free step or a mouth limit
  // falls between the report's whole stations.
  const report::NumberFormat distanceFormat = report::LengthFormat(profile.unit);
  std::string text;
  std::string line;
  if (!profile.rectangular) {
    const report::CircularFormats formats = report::CircularTableFormats(profile.unit);
    const bool radius = profile.size == geometry::SizeMode::Radius;
    text += "Distance (" + unit + ")," + (radius ? "Radius (" : "Diameter (") + unit +
            "),Area (square " + unit + "),Flare angle (degrees)\r\n";
    for (const report::ProfilePoint& point : profile.points) {
      line.clear();
      AppendNumber(line, point.distance, distanceFormat);
      AppendNumber(line, report::SizeOfRadius(point.radius, profile.size), formats.size);
      AppendNumber(line, point.area, formats.area);
      AppendNumber(line, point.flareAngle, formats.flare);
      text += line + "\r\n";
    }
    return text;
  }
  const report::RectangularFormats formats = report::RectangularTableFormats(profile.unit);
  text += "Distance (" + unit + "),Side 1A - 1B (" + unit + "),Side 2A - 2B (" + unit +
          "),Area (square " + unit + ")";
  if (profile.flatSides) text += ",Flat side distance (" + unit + ")";
  text += "\r\n";
  for (const report::ProfilePoint& point : profile.points) {
    line.clear();
    AppendNumber(line, point.distance, distanceFormat);
    AppendNumber(line, point.side1, formats.side);
    AppendNumber(line, point.side2, formats.side);
    // The throat and mouth rows' format: more digits before the exponent form.
    AppendNumber(line, point.area, formats.endArea);
    if (profile.flatSides) AppendNumber(line, point.flatSideDistance, formats.flatDistance);
    text += line + "\r\n";
  }
  return text;
}

}  // namespace vortalis::files
