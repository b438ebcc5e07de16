#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "geometry/number_text.h"
#include "geometry/units.h"

// A flat kit as a neutral drawing: paths, circles and texts in the horn's unit,
// y up, one piece per part to cut. Every file format renders this one model.
namespace vortalis::buildkit {

struct DrawPoint {
  double x = 0.0;
  double y = 0.0;
};

inline DrawPoint operator+(const DrawPoint& a, const DrawPoint& b) {
  return {a.x + b.x, a.y + b.y};
}

// A rectangle as a corner and a size, y up: Top() is the lowest y, Bottom() the highest.
struct DrawBox {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;

  double Left() const { return x; }
  double Top() const { return y; }
  double Right() const { return x + width; }
  double Bottom() const { return y + height; }
};

struct KitPath {
  std::string layer;
  std::vector<DrawPoint> points;
  bool closed = false;
  bool cut = true;  // false: a mark (mid-line, fold, tick), drawn thin
};
struct KitCircle {
  std::string layer;
  DrawPoint centre;
  double radius = 0.0;
};
struct KitText {
  std::string layer;
  DrawPoint at;         // left end of the text's base line
  double height = 0.0;  // in the unit
  std::string text;     // UTF-8
};
struct KitPiece {
  std::string title;  // "Board 3", "Sector 2 of 14", "Stave (cut 12)"
  std::vector<KitPath> paths;
  std::vector<KitCircle> circles;
  std::vector<KitText> texts;
  DrawBox bounds;  // shapes and texts
  // False for a piece the same as an earlier one, whose title says to cut it
  // twice: the 1:1 template prints it once. Drawings show every piece.
  bool inTemplate = true;
  int number = 0;  // a board's number
};
// A table the 1:1 template prints before the pieces, on as many pages as it needs.
struct KitTable {
  std::string title;     // each page adds its number to it
  std::string note;      // under the title
  std::vector<std::string> warnings;  // lines under the note: the pieces to look at
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};
struct KitDrawing {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  std::string title;
  std::vector<std::string> notes;   // stated on every drawing and page
  std::vector<std::string> layers;  // in the order of the pieces
  std::vector<KitPiece> pieces;     // each in its own coordinates

  // How the 1:1 template lays out the pieces.
  std::optional<KitTable> table;
  // A piece's sheets in the order of their angle about the origin (arcs about it).
  bool sheetsAlongArcs = false;
};

// Where the pieces go on one sheet (DXF, SVG): the title and notes on top,
// the pieces one under the other, left-aligned.
struct KitSheet {
  std::vector<DrawPoint> offsets;  // added to each piece's coordinates
  std::vector<KitText> notes;      // the title and notes above the pieces
  DrawBox extent;                  // everything
};
KitSheet LayOut(const KitDrawing& drawing);

// Characters of a UTF-8 text, for its width on a drawing.
std::size_t TextLength(const std::string& text);

// What the kits' drawings share: their text height, numbers as texts, texts
// one under the other and a piece's bounds.
namespace drawing {

// 3.5 mm, or 0.14 inch.
double TextHeight(geometry::LengthUnit unit);
// A size (radius, width) and a length along the horn, with the unit's name.
std::string Size(long double value, geometry::LengthUnit unit);
std::string Length(long double value, geometry::LengthUnit unit);
// "12.345 deg"
std::string Angle(long double degrees);
// A length with the unit's name, in the separators given (a window's).
std::string Length(long double value, geometry::LengthUnit unit,
                   const geometry::Separators& separators);
// "1 board", "2 boards".
std::string Counted(std::size_t count, const std::string& noun);
// A distance at a tick: whole millimetres, or tenths of an inch.
std::string TickText(long double distance, geometry::LengthUnit unit);
// Texts one under the other, from `top` down.
void AddLines(KitPiece& piece, const std::string& layer, double left, double top,
              const std::vector<std::string>& lines, geometry::LengthUnit unit);
// Shapes and texts (a character at most about 0.8 of the text's height wide).
DrawBox Bounds(const KitPiece& piece);

// The layer of the labels written inside each piece (its number, throat side,
// seam); they, like the ticks, stay on the piece where other texts go beside it.
inline constexpr const char* kLabelLayer = "LABELS";
bool OnPiece(const KitText& text);
// The corners of a text's box as Bounds takes it.
std::vector<DrawPoint> TextCorners(const KitText& text);
// A label centred on `centre` raised by lift times its height, at `height` or
// smaller until its box lies `inside`; nothing when even a tenth of the height
// does not fit.
std::optional<KitText> FittedLabel(DrawPoint centre, double height, const std::string& text,
                                   const std::function<bool(DrawPoint)>& inside,
                                   double lift = 0.0);
// A long piece's label (its name and throat end) just above its mid-line,
// between the two ticks (along it) nearest its middle, inside its outline.
void AddMidLineLabel(KitPiece& piece, const std::vector<DrawPoint>& outline,
                     const std::vector<double>& ticks, double length, const std::string& text,
                     geometry::LengthUnit unit);
// Whether p lies inside the closed polygon (even-odd rule).
bool InsidePolygon(const std::vector<DrawPoint>& polygon, DrawPoint p);

}  // namespace drawing

}  // namespace vortalis::buildkit
