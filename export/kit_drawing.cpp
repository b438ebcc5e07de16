#include <algorithm>
#include <cmath>

#include "buildkit/kit_horn.h"
#include "export/kit_files.h"
#include "geometry/constants.h"
#include "report/number_format.h"

namespace vortalis::exports {

namespace {

using geometry::LengthUnit;

const geometry::Separators kPoint{".", ""};

// Text height on the drawings: 3.5 mm, or 0.14 inch.
qreal TextHeight(LengthUnit unit) { return unit == LengthUnit::Millimetre ? 3.5 : 0.14; }

QString Size(long double value, LengthUnit unit) {
  return QString::fromStdString(report::FormatNumber(value, report::SizeFormat(unit), kPoint)) +
         " " + geometry::UnitName(unit);
}

QString Length(long double value, LengthUnit unit) {
  return QString::fromStdString(report::FormatNumber(value, report::LengthFormat(unit), kPoint)) +
         " " + geometry::UnitName(unit);
}

QString Angle(long double degrees) {
  return QString::fromStdString(geometry::FixedText(degrees, 8, 3, kPoint)) +
         QStringLiteral(" deg");
}

// Texts one under the other, from `top` down.
void AddLines(KitPiece& piece, const std::string& layer, qreal left, qreal top,
              const QStringList& lines, LengthUnit unit) {
  const qreal h = TextHeight(unit);
  for (int i = 0; i < lines.size(); ++i)
    piece.texts.push_back({layer, QPointF(left, top - (i + 1) * 1.6 * h), h, lines[i]});
}

// Shapes and texts (a character at most about 0.8 of the text's height wide).
QRectF Bounds(const KitPiece& piece) {
  qreal x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  const auto add = [&](qreal x, qreal y) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  };
  for (const KitPath& path : piece.paths)
    for (const QPointF& p : path.points) add(p.x(), p.y());
  for (const KitCircle& c : piece.circles) {
    add(c.centre.x() - c.radius, c.centre.y() - c.radius);
    add(c.centre.x() + c.radius, c.centre.y() + c.radius);
  }
  for (const KitText& t : piece.texts) {
    add(t.at.x(), t.at.y() - 0.3 * t.height);
    add(t.at.x() + 0.8 * t.height * t.text.size(), t.at.y() + t.height);
  }
  return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

KitDrawing DrawRings(const RingsKit& kit) {
  KitDrawing drawing;
  drawing.unit = kit.unit;
  drawing.title = QStringLiteral("Stacked rings: %1 boards").arg(kit.rings.size());
  drawing.notes << QStringLiteral(
                       "Each board: the hole's throat-side and mouth-side circles "
                       "and the outer circle; cut the hole straight between them.")
                << QStringLiteral("Sizes in %1, scale 1:1.").arg(geometry::UnitName(kit.unit));
  for (const buildkit::Ring& ring : kit.rings) {
    const std::string layer = "RING_" + std::to_string(ring.board);
    drawing.layers.push_back(layer);
    KitPiece piece;
    piece.title = QStringLiteral("Board %1").arg(ring.board);
    for (long double r : {ring.outerRadius, ring.innerTo, ring.innerFrom})
      piece.circles.push_back({layer, QPointF(0.0, 0.0), static_cast<qreal>(r)});
    const qreal mark =
        std::min<qreal>(static_cast<qreal>(ring.innerFrom) / 4.0, 5.0 * TextHeight(kit.unit));
    piece.paths.push_back({layer, {QPointF(-mark, 0.0), QPointF(mark, 0.0)}, false, false});
    piece.paths.push_back({layer, {QPointF(0.0, -mark), QPointF(0.0, mark)}, false, false});
    const qreal outer = static_cast<qreal>(ring.outerRadius);
    AddLines(piece, layer, -outer, -outer - TextHeight(kit.unit),
             {QStringLiteral("Board %1: %2 to %3")
                  .arg(ring.board)
                  .arg(Length(ring.from, kit.unit), Length(ring.to, kit.unit)),
              QStringLiteral("hole radius %1 (throat side)").arg(Size(ring.innerFrom, kit.unit)),
              QStringLiteral("hole radius %1 (mouth side)").arg(Size(ring.innerTo, kit.unit)),
              QStringLiteral("bevel %1 from the axis").arg(Angle(ring.bevel)),
              QStringLiteral("outer radius %1").arg(Size(ring.outerRadius, kit.unit))},
             kit.unit);
    piece.bounds = Bounds(piece);
    drawing.pieces.push_back(std::move(piece));
  }
  return drawing;
}

KitDrawing DrawSectors(const SectorsKit& kit) {
  const buildkit::SheetDevelopment& development = kit.development;
  const long double tolerance = buildkit::CurveTolerance(kit.unit);
  KitDrawing drawing;
  drawing.unit = kit.unit;
  const int count = static_cast<int>(development.sectors.size());
  drawing.title = QStringLiteral("Sheet development: %1 sectors").arg(count);
  drawing.notes << QStringLiteral("Step %1, seam allowance %2; sizes in %3, scale 1:1.")
                       .arg(Length(development.step, kit.unit), Size(development.seam, kit.unit),
                            geometry::UnitName(kit.unit))
                << QStringLiteral("Largest gap between the frusta and the true tractrix: %1.")
                       .arg(Length(development.largestGap, kit.unit));
  for (int i = 0; i < count; ++i) {
    const buildkit::Sector& sector = development.sectors[static_cast<std::size_t>(i)];
    const std::string layer = "SECTOR_" + std::to_string(i + 1);
    drawing.layers.push_back(layer);
    KitPiece piece;
    piece.title = QStringLiteral("Sector %1 of %2").arg(i + 1).arg(count);
    KitPath outline{layer, {}, true, true};
    for (const buildkit::FlatPoint& p :
         buildkit::SectorOutline(sector, development.seam, tolerance))
      outline.points.emplace_back(static_cast<qreal>(p.x), static_cast<qreal>(p.y));
    piece.paths.push_back(std::move(outline));
    if (development.seam > 0.0L) {
      // The fold: the sector's own edge, where the seam strip begins.
      const long double a = sector.angle * geometry::Pi / 180.0L;
      const auto at = [a](long double r) {
        return QPointF(static_cast<qreal>(r * std::cos(a)), static_cast<qreal>(r * std::sin(a)));
      };
      piece.paths.push_back(
          {layer, {at(sector.innerRadius), at(sector.outerRadius)}, false, false});
    }
    const QRectF shape = Bounds(piece);
    AddLines(piece, layer, shape.left(), shape.top() - TextHeight(kit.unit),
             {QStringLiteral("Sector %1 of %2: %3 to %4")
                  .arg(i + 1)
                  .arg(count)
                  .arg(Length(sector.from, kit.unit), Length(sector.to, kit.unit)),
              QStringLiteral("arc radii %1 and %2")
                  .arg(Length(sector.innerRadius, kit.unit), Length(sector.outerRadius, kit.unit)),
              QStringLiteral("angle %1 (%2 with the seam)")
                  .arg(Angle(sector.angle), Angle(sector.angleWithSeam)),
              QStringLiteral("horn radius %1 to %2")
                  .arg(Size(sector.radiusFrom, kit.unit), Size(sector.radiusTo, kit.unit)),
              QStringLiteral("largest gap to the tractrix %1").arg(Length(sector.gap, kit.unit))},
             kit.unit);
    piece.bounds = Bounds(piece);
    drawing.pieces.push_back(std::move(piece));
  }
  return drawing;
}

KitDrawing DrawStaves(const StavesKit& kit) {
  const buildkit::StavePattern& pattern = kit.pattern;
  const LengthUnit unit = kit.unit;
  KitDrawing drawing;
  drawing.unit = unit;
  drawing.title = QStringLiteral("Staves: cut %1 alike").arg(pattern.count);
  drawing.notes << QStringLiteral("Cut %1 staves of this pattern; bend each along its length.")
                       .arg(pattern.count)
                << QStringLiteral(
                       "Ticks: distance from the throat along the axis; sizes in %1, "
                       "scale 1:1.")
                       .arg(geometry::UnitName(unit));
  const std::string layer = "STAVE";
  drawing.layers = {layer, "MIDLINE", "TICKS"};
  KitPiece piece;
  piece.title = QStringLiteral("Stave (cut %1)").arg(pattern.count);
  KitPath outline{layer, {}, true, true};
  for (const buildkit::StavePoint& p : pattern.points)
    outline.points.emplace_back(static_cast<qreal>(p.along), static_cast<qreal>(p.halfWidth));
  for (auto it = pattern.points.rbegin(); it != pattern.points.rend(); ++it)
    outline.points.emplace_back(static_cast<qreal>(it->along), static_cast<qreal>(-it->halfWidth));
  piece.paths.push_back(std::move(outline));
  piece.paths.push_back({"MIDLINE",
                         {QPointF(0.0, 0.0), QPointF(static_cast<qreal>(pattern.length), 0.0)},
                         false,
                         false});
  const long double end = pattern.points.back().distance;
  const long double step = buildkit::MarkStep(end, unit);
  const qreal h = TextHeight(unit);
  std::size_t j = 1;
  for (long double d = step; d < end; d += step) {
    while (j + 1 < pattern.points.size() && pattern.points[j].distance < d) ++j;
    const buildkit::StavePoint& a = pattern.points[j - 1];
    const buildkit::StavePoint& b = pattern.points[j];
    const long double f = (d - a.distance) / (b.distance - a.distance);
    const qreal x = static_cast<qreal>(a.along + f * (b.along - a.along));
    const qreal half = static_cast<qreal>(std::min(a.halfWidth, b.halfWidth)) * 0.3;
    piece.paths.push_back({"TICKS", {QPointF(x, -half), QPointF(x, half)}, false, false});
    piece.texts.push_back({"TICKS", QPointF(x + 0.3 * h, half), 0.7 * h,
                           QString::fromStdString(report::FormatNumber(
                               d, {8, unit == LengthUnit::Millimetre ? 0 : 1}, kPoint))});
  }
  const QRectF shape = Bounds(piece);
  AddLines(piece, layer, 0.0, shape.top() - h,
           {QStringLiteral("Stave pattern: cut %1").arg(pattern.count),
            QStringLiteral("length %1 along the mid-line").arg(Length(pattern.length, unit)),
            QStringLiteral("width %1 at the throat, %2 at the end")
                .arg(Size(2.0L * pattern.points.front().halfWidth, unit),
                     Size(2.0L * pattern.points.back().halfWidth, unit)),
            QStringLiteral("horn radius %1 to %2")
                .arg(Size(pattern.points.front().radius, unit),
                     Size(pattern.points.back().radius, unit))},
           unit);
  piece.bounds = Bounds(piece);
  drawing.pieces.push_back(std::move(piece));
  return drawing;
}

KitDrawing DrawPanels(const PanelsKit& kit) {
  const LengthUnit unit = kit.unit;
  const qreal h = TextHeight(unit);
  KitDrawing drawing;
  drawing.unit = unit;
  drawing.title = QStringLiteral("Wall panels 1A, 1B, 2A, 2B at true size");
  drawing.notes << QStringLiteral(
                       "Each wall laid flat: its length along the wall from the throat against "
                       "the width between the two walls it meets.")
                << QStringLiteral(
                       "Inner faces, without joints. Ticks on the centre line: distance from the "
                       "throat along the axis; sizes in %1, scale 1:1.")
                       .arg(geometry::UnitName(unit));
  for (const buildkit::Panel& panel : kit.panels.panels)
    drawing.layers.push_back("PANEL_" + panel.name);
  drawing.layers.push_back("MIDLINE");
  drawing.layers.push_back("TICKS");
  for (const buildkit::Panel& panel : kit.panels.panels) {
    const std::string layer = "PANEL_" + panel.name;
    const QString name = QString::fromStdString(panel.name);
    KitPiece piece;
    // 1B and 2B are 1A and 2A again: their sheets would be the same.
    const bool second = panel.name.back() == 'B';
    piece.inTemplate = !second;
    piece.title = second ? QStringLiteral("Panel %1").arg(name)
                         : QStringLiteral("Panel %1 (cut two: %1 and %2B)")
                               .arg(name, name.left(name.size() - 1));
    KitPath outline{layer, {}, true, true};
    for (const buildkit::FlatPoint& p : panel.Outline())
      outline.points.emplace_back(static_cast<qreal>(p.x), static_cast<qreal>(p.y));
    piece.paths.push_back(std::move(outline));
    piece.paths.push_back({"MIDLINE",
                           {QPointF(0.0, 0.0), QPointF(static_cast<qreal>(panel.length), 0.0)},
                           false,
                           false});
    for (const buildkit::PanelPoint& mark : panel.marks) {
      const qreal x = static_cast<qreal>(mark.along);
      const qreal half = static_cast<qreal>(mark.width) * 0.15;
      piece.paths.push_back({"TICKS", {QPointF(x, -half), QPointF(x, half)}, false, false});
      piece.texts.push_back({"TICKS", QPointF(x + 0.3 * h, half), 0.7 * h,
                             QString::fromStdString(report::FormatNumber(
                                 mark.distance, {8, unit == LengthUnit::Millimetre ? 0 : 1},
                                 kPoint))});
    }
    const QRectF shape = Bounds(piece);
    AddLines(piece, layer, 0.0, shape.top() - h,
             {QStringLiteral("Panel %1%2").arg(name, panel.flat ? QStringLiteral(" (flat side)")
                                                                 : QString()),
              QStringLiteral("length %1 along the wall, %2 along the axis")
                  .arg(Length(panel.length, unit), Length(panel.points.back().distance, unit)),
              QStringLiteral("width %1 at the throat, %2 at the end")
                  .arg(Size(panel.points.front().width, unit),
                       Size(panel.points.back().width, unit))},
             unit);
    piece.bounds = Bounds(piece);
    drawing.pieces.push_back(std::move(piece));
  }
  return drawing;
}

}  // namespace

KitDrawing DrawKit(const FlatKit& kit) {
  if (const auto* rings = std::get_if<RingsKit>(&kit)) return DrawRings(*rings);
  if (const auto* sectors = std::get_if<SectorsKit>(&kit)) return DrawSectors(*sectors);
  if (const auto* panels = std::get_if<PanelsKit>(&kit)) return DrawPanels(*panels);
  return DrawStaves(std::get<StavesKit>(kit));
}

}  // namespace vortalis::exports
