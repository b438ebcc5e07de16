#include "buildkit/kit_drawing.h"

#include <algorithm>

#include "geometry/number_text.h"
#include "report/number_format.h"

namespace vortalis::buildkit {

namespace {

const geometry::Separators kPoint{".", ""};

}  // namespace

std::size_t TextLength(const std::string& text) {
  // UTF-8 continuation bytes are 10xxxxxx.
  const auto starts = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), starts));
}

KitSheet LayOut(const KitDrawing& drawing) {
  KitSheet sheet;
  const double h = drawing.unit == geometry::LengthUnit::Millimetre ? 5.0 : 0.2;
  double y = 0.0;
  std::vector<std::string> lines{drawing.title};
  lines.insert(lines.end(), drawing.notes.begin(), drawing.notes.end());
  double width = 0.0;
  for (const std::string& line : lines) {
    y -= 1.6 * h;
    sheet.notes.push_back({"NOTES", {0.0, y}, line == drawing.title ? h : 0.7 * h, line});
    width = std::max(width, 0.8 * h * static_cast<double>(TextLength(line)));
  }
  y -= 2.0 * h;
  for (const KitPiece& piece : drawing.pieces) {
    sheet.offsets.push_back({-piece.bounds.Left(), y - piece.bounds.Bottom()});
    width = std::max(width, piece.bounds.width);
    y -= piece.bounds.height + 3.0 * h;
  }
  sheet.extent = {0.0, y + 3.0 * h, width, -y - 3.0 * h};
  return sheet;
}

namespace drawing {

double TextHeight(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Millimetre ? 3.5 : 0.14;
}

std::string Size(long double value, geometry::LengthUnit unit) {
  return report::FormatNumber(value, report::SizeFormat(unit), kPoint) + " " +
         geometry::UnitName(unit);
}

std::string Length(long double value, geometry::LengthUnit unit) {
  return report::FormatNumber(value, report::LengthFormat(unit), kPoint) + " " +
         geometry::UnitName(unit);
}

std::string Length(long double value, geometry::LengthUnit unit,
                   const geometry::Separators& separators) {
  return report::FormatNumber(value, report::LengthFormat(unit), separators) + " " +
         geometry::UnitName(unit);
}

std::string Counted(std::size_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Angle(long double degrees) {
  return geometry::FixedText(degrees, 8, 3, kPoint) + " deg";
}

std::string TickText(long double distance, geometry::LengthUnit unit) {
  return report::FormatNumber(distance, {8, unit == geometry::LengthUnit::Millimetre ? 0 : 1},
                              kPoint);
}

void AddLines(KitPiece& piece, const std::string& layer, double left, double top,
              const std::vector<std::string>& lines, geometry::LengthUnit unit) {
  const double h = TextHeight(unit);
  for (std::size_t i = 0; i < lines.size(); ++i)
    piece.texts.push_back(
        {layer, {left, top - static_cast<double>(static_cast<int>(i) + 1) * 1.6 * h}, h, lines[i]});
}

DrawBox Bounds(const KitPiece& piece) {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  const auto add = [&](double x, double y) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  };
  for (const KitPath& path : piece.paths)
    for (const DrawPoint& p : path.points) add(p.x, p.y);
  for (const KitCircle& c : piece.circles) {
    add(c.centre.x - c.radius, c.centre.y - c.radius);
    add(c.centre.x + c.radius, c.centre.y + c.radius);
  }
  for (const KitText& t : piece.texts) {
    add(t.at.x, t.at.y - 0.3 * t.height);
    add(t.at.x + 0.8 * t.height * static_cast<double>(TextLength(t.text)), t.at.y + t.height);
  }
  return {x0, y0, x1 - x0, y1 - y0};
}

bool OnPiece(const KitText& text) { return text.layer == "TICKS" || text.layer == kLabelLayer; }

std::vector<DrawPoint> TextCorners(const KitText& text) {
  const double right = text.at.x + 0.8 * text.height * static_cast<double>(TextLength(text.text));
  const double low = text.at.y - 0.3 * text.height;
  const double high = text.at.y + text.height;
  return {{text.at.x, low}, {right, low}, {right, high}, {text.at.x, high}};
}

std::optional<KitText> FittedLabel(DrawPoint centre, double height, const std::string& text,
                                   const std::function<bool(DrawPoint)>& inside, double lift) {
  const double characters = static_cast<double>(TextLength(text));
  for (double h = height; h >= 0.1 * height; h *= 0.8) {
    // The box runs from -0.3 h to h about the base line: its middle is 0.35 h above it.
    const double y = centre.y + lift * h;
    KitText label{kLabelLayer, {centre.x - 0.4 * h * characters, y - 0.35 * h}, h, text};
    const std::vector<DrawPoint> corners = TextCorners(label);
    if (std::all_of(corners.begin(), corners.end(), inside)) return label;
  }
  return std::nullopt;
}

void AddMidLineLabel(KitPiece& piece, const std::vector<DrawPoint>& outline,
                     const std::vector<double>& ticks, double length, const std::string& text,
                     geometry::LengthUnit unit) {
  double from = 0.0;
  double to = length;
  for (const double x : ticks) {
    if (x <= length / 2.0) from = std::max(from, x);
    else to = std::min(to, x);
  }
  const auto inside = [&outline](DrawPoint p) { return InsidePolygon(outline, p); };
  if (auto label = FittedLabel({(from + to) / 2.0, 0.0}, TextHeight(unit), text, inside, 0.7))
    piece.texts.push_back(std::move(*label));
}

bool InsidePolygon(const std::vector<DrawPoint>& polygon, DrawPoint p) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const DrawPoint& a = polygon[i];
    const DrawPoint& b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

}  // namespace drawing

}  // namespace vortalis::buildkit
