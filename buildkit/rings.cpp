#include "buildkit/rings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "buildkit/kit_horn.h"
#include "buildkit/kit_parameters.h"
#include "report/number_format.h"

namespace vortalis::buildkit {

long double DefaultRingWall(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Millimetre ? 20.0L : 0.75L;
}

long double DefaultRingTolerance(geometry::LengthUnit unit) {
  return 0.5L / MillimetresPer(unit);
}

std::vector<Ring> StackedRings(const report::CircularReportInput& input,
                               const report::MouthLimit& limit,
                               const geometry::Separators& separators, long double board,
                               long double wall) {
  Checked(kBoardThickness, board);
  Checked(kRingWall, wall);
  if (board * MillimetresPer(input.unit) < 0.01L)
    throw KitError("The board thickness must be at least 0.01 mm.");
  const KitHorn horn = MakeKitHorn(input, limit, separators);
  RefuseTooManyPieces(horn.end / board, "boards", "choose a thicker board or cut the horn short");
  const TractrixCurve curve{horn.mouthRadius, horn.length};
  // The board faces are the stations of a profile with the board as its step.
  const report::HornProfile profile = report::MakeCircularProfile(input, board, limit, separators);
  std::vector<report::ProfilePoint> faces = profile.points;
  if (faces.size() > 2 && faces.back().distance - faces[faces.size() - 2].distance < board / 4.0L)
    faces.erase(faces.end() - 2);
  std::vector<Ring> rings;
  for (std::size_t i = 1; i < faces.size(); ++i) {
    const report::ProfilePoint& from = faces[i - 1];
    const report::ProfilePoint& to = faces[i];
    rings.push_back({static_cast<int>(i), from.distance, to.distance, from.radius, to.radius,
                     Degrees(std::atan2(to.radius - from.radius, to.distance - from.distance)),
                     to.radius + wall, curve.ChordGap(from.radius, to.radius)});
  }
  return rings;
}

std::string RingsCsv(const std::vector<Ring>& rings, geometry::LengthUnit unit) {
  const geometry::Separators csv{".", ""};
  report::NumberFormat length = report::LengthFormat(unit);
  long double thinnest = std::numeric_limits<long double>::infinity();
  for (const Ring& ring : rings) thinnest = std::min(thinnest, ring.to - ring.from);
  if (!rings.empty())
    length.decimals =
        std::max(length.decimals, 2 - static_cast<int>(std::floor(std::log10(thinnest))));
  constexpr report::NumberFormat kAngle{8, 3};
  std::string text =
      "board,from,to,inner_radius_from,inner_radius_to,bevel_degrees,outer_radius,largest_gap\r\n";
  for (const Ring& ring : rings) {
    text += std::to_string(ring.board);
    for (const long double value : {ring.from, ring.to, ring.innerFrom, ring.innerTo}) {
      text += ',';
      geometry::AppendFixedText(text, value, length.precision, length.decimals, csv);
    }
    text += ',';
    geometry::AppendFixedText(text, ring.bevel, kAngle.precision, kAngle.decimals, csv);
    for (const long double value : {ring.outerRadius, ring.gap}) {
      text += ',';
      geometry::AppendFixedText(text, value, length.precision, length.decimals, csv);
    }
    text += "\r\n";
  }
  return text;
}

namespace {

// "Board 7", "Boards 3, 5 to 9".
std::string BoardList(const std::vector<int>& boards) {
  std::string text = boards.size() == 1 ? "Board " : "Boards ";
  for (std::size_t i = 0; i < boards.size();) {
    std::size_t j = i;
    while (j + 1 < boards.size() && boards[j + 1] == boards[j] + 1) ++j;
    if (i > 0) text += ", ";
    text += std::to_string(boards[i]);
    if (j > i) text += " to " + std::to_string(boards[j]);
    i = j + 1;
  }
  return text;
}

}  // namespace

std::vector<std::string> Warnings(const RingsKit& kit) {
  using namespace drawing;
  const long double tolerance =
      kit.tolerance ? Checked(kRingTolerance, *kit.tolerance) : DefaultRingTolerance(kit.unit);
  std::vector<int> strays;
  std::vector<int> steep;
  long double largest = 0.0L;
  for (const Ring& ring : kit.rings) {
    if (ring.gap > tolerance) {
      strays.push_back(ring.board);
      largest = std::max(largest, ring.gap);
    }
    if (ring.bevel > kSawTiltDegrees) steep.push_back(ring.board);
  }
  std::vector<std::string> warnings;
  if (!strays.empty())
    warnings.push_back(BoardList(strays) + ": the straight cut strays up to " +
                       Size(largest, kit.unit) + " from the curve, more than " +
                       Size(tolerance, kit.unit) + ".");
  if (!steep.empty())
    warnings.push_back(BoardList(steep) + ": the bevel is more than " +
                       geometry::FixedText(kSawTiltDegrees, 8, 0) +
                       " degrees from the axis, past a saw's tilt.");
  const std::size_t n = kit.rings.size();
  if (n >= 2) {
    const Ring& last = kit.rings[n - 1];
    const Ring& before = kit.rings[n - 2];
    // Every board but the last is as thick as the one before it.
    if (last.to - last.from > (before.to - before.from) * (1.0L + 1e-9L))
      warnings.push_back("The last board is " + Length(last.to - last.from, kit.unit) +
                         " thick: the thin board left at the end is merged into it.");
  }
  return warnings;
}

std::string Summary(const RingsKit& kit, const geometry::Separators& separators) {
  return drawing::Counted(kit.rings.size(), "board") + "; the largest outer radius " +
         drawing::Length(kit.rings.back().outerRadius, kit.unit, separators) + ".";
}

namespace {

KitTable CuttingList(const RingsKit& kit) {
  const geometry::Separators point{".", ""};
  const report::NumberFormat size = report::SizeFormat(kit.unit);
  const report::NumberFormat length = report::LengthFormat(kit.unit);
  const report::NumberFormat angle{8, 3};
  const auto number = [&point](long double value, report::NumberFormat format) {
    return report::FormatNumber(value, format, point);
  };
  const std::string unit = geometry::UnitName(kit.unit);
  KitTable table;
  table.title = "Stacked rings: cutting list (" + drawing::Counted(kit.rings.size(), "board") + ")";
  table.note = "Lengths in " + unit +
               "; hole radii at the board's faces; bevel of the straight cut from the axis.";
  table.header = {"Board",
                  "From (" + unit + ")",
                  "To (" + unit + ")",
                  "Hole radius, throat side",
                  "Hole radius, mouth side",
                  "Bevel (deg)",
                  "Outer radius",
                  "Largest gap, cut to curve"};
  table.warnings = Warnings(kit);
  for (const Ring& ring : kit.rings)
    table.rows.push_back({std::to_string(ring.board), number(ring.from, length),
                          number(ring.to, length), number(ring.innerFrom, size),
                          number(ring.innerTo, size), number(ring.bevel, angle),
                          number(ring.outerRadius, size), number(ring.gap, length)});
  return table;
}

}  // namespace

KitDrawing Draw(const RingsKit& kit) {
  using namespace drawing;
  const geometry::LengthUnit unit = kit.unit;
  KitDrawing result;
  result.unit = unit;
  result.title = "Stacked rings: " + Counted(kit.rings.size(), "board");
  result.notes = {
      "Each board: the hole's throat-side and mouth-side circles and the outer circle; cut the "
      "hole straight between them.",
      std::string("Sizes in ") + geometry::UnitName(unit) + ", scale 1:1."};
  for (std::string& warning : Warnings(kit)) result.notes.push_back(std::move(warning));
  for (const Ring& ring : kit.rings) {
    const std::string board = std::to_string(ring.board);
    const std::string layer = "RING_" + board;
    result.layers.push_back(layer);
    KitPiece piece;
    piece.title = "Board " + board;
    for (long double r : {ring.outerRadius, ring.innerTo, ring.innerFrom})
      piece.circles.push_back({layer, {0.0, 0.0}, static_cast<double>(r)});
    const double mark =
        std::min<double>(static_cast<double>(ring.innerFrom) / 4.0, 5.0 * TextHeight(unit));
    piece.paths.push_back({layer, {{-mark, 0.0}, {mark, 0.0}}, false, false});
    piece.paths.push_back({layer, {{0.0, -mark}, {0.0, mark}}, false, false});
    const double outer = static_cast<double>(ring.outerRadius);
    AddLines(piece, layer, -outer, -outer - TextHeight(unit),
             {"Board " + board + ": " + Length(ring.from, unit) + " to " + Length(ring.to, unit),
              "hole radius " + Size(ring.innerFrom, unit) + " (throat side)",
              "hole radius " + Size(ring.innerTo, unit) + " (mouth side)",
              "bevel " + Angle(ring.bevel) + " from the axis",
              "outer radius " + Size(ring.outerRadius, unit),
              "largest gap " + Size(ring.gap, unit) + " (straight cut to curve)"},
             unit);
    // Number and throat side in the wood between the hole and the outer circle.
    const double hole = static_cast<double>(std::max(ring.innerFrom, ring.innerTo));
    const auto inWood = [hole, outer](DrawPoint p) {
      const double r = std::hypot(p.x, p.y);
      return r > hole && r < outer;
    };
    if (auto label = FittedLabel({0.0, -(hole + outer) / 2.0}, TextHeight(unit),
                                 board + ", small hole to the throat", inWood))
      piece.texts.push_back(std::move(*label));
    else if (auto number = FittedLabel({0.0, -(hole + outer) / 2.0}, TextHeight(unit), board,
                                       inWood))
      piece.texts.push_back(std::move(*number));
    piece.bounds = Bounds(piece);
    piece.number = ring.board;
    result.pieces.push_back(std::move(piece));
  }
  result.layers.push_back(kLabelLayer);
  result.table = CuttingList(kit);
  return result;
}

RingsKit RingsKit::Make(const KitInput& input, const KitValues& values) {
  const geometry::LengthUnit unit = report::UnitOf(input.horn);
  const long double wall = values.Given(kRingWall).value_or(DefaultRingWall(unit));
  return {unit,
          StackedRings(CircularOnly(input, "Stacked rings"), input.limit, input.separators,
                       values.Value(kBoardThickness), wall),
          values.Given(kRingTolerance)};
}

}  // namespace vortalis::buildkit
