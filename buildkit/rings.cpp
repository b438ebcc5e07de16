#include "buildkit/rings.h"

#include <algorithm>
#include <cmath>

#include "buildkit/kit_horn.h"
#include "buildkit/kit_parameters.h"
#include "report/number_format.h"

namespace vortalis::buildkit {

std::vector<Ring> StackedRings(const report::CircularReportInput& input,
                               const report::MouthLimit& limit,
                               const geometry::Separators& separators, long double board,
                               long double wall) {
  Checked(kBoardThickness, board);
  Checked(kRingWall, wall);
  RefuseTooManyPieces(MakeKitHorn(input, limit, separators).end / board, "boards",
                      "choose a thicker board or cut the horn short");
  // The board faces are the stations of a profile with the board as its step.
  const report::HornProfile profile = report::MakeCircularProfile(input, board, limit, separators);
  std::vector<Ring> rings;
  for (std::size_t i = 1; i < profile.points.size(); ++i) {
    const report::ProfilePoint& from = profile.points[i - 1];
    const report::ProfilePoint& to = profile.points[i];
    rings.push_back({static_cast<int>(i), from.distance, to.distance, from.radius, to.radius,
                     Degrees(std::atan2(to.radius - from.radius, to.distance - from.distance)),
                     to.radius + wall});
  }
  return rings;
}

std::string RingsCsv(const std::vector<Ring>& rings, geometry::LengthUnit unit) {
  const geometry::Separators csv{".", ""};
  const report::NumberFormat length = report::LengthFormat(unit);
  constexpr report::NumberFormat kAngle{8, 3};
  std::string text =
      "board,from,to,inner_radius_from,inner_radius_to,bevel_degrees,outer_radius\r\n";
  for (const Ring& ring : rings) {
    text += std::to_string(ring.board);
    for (const long double value : {ring.from, ring.to, ring.innerFrom, ring.innerTo}) {
      text += ',';
      geometry::AppendFixedText(text, value, length.precision, length.decimals, csv);
    }
    text += ',';
    geometry::AppendFixedText(text, ring.bevel, kAngle.precision, kAngle.decimals, csv);
    text += ',';
    geometry::AppendFixedText(text, ring.outerRadius, length.precision, length.decimals, csv);
    text += "\r\n";
  }
  return text;
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
  table.tooLarge =
      "Boards %1 do not fit a page: mark them out from this list or cut them from the DXF.";
  table.header = {"Board",
                  "From (" + unit + ")",
                  "To (" + unit + ")",
                  "Hole radius, throat side",
                  "Hole radius, mouth side",
                  "Bevel (deg)",
                  "Outer radius"};
  for (const Ring& ring : kit.rings)
    table.rows.push_back({std::to_string(ring.board), number(ring.from, length),
                          number(ring.to, length), number(ring.innerFrom, size),
                          number(ring.innerTo, size), number(ring.bevel, angle),
                          number(ring.outerRadius, size)});
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
              "outer radius " + Size(ring.outerRadius, unit)},
             unit);
    piece.bounds = Bounds(piece);
    piece.number = ring.board;
    result.pieces.push_back(std::move(piece));
  }
  result.wholePiecesOnly = true;
  result.table = CuttingList(kit);
  return result;
}

}  // namespace vortalis::buildkit
