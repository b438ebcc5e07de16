#include <algorithm>
#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"
#include "export/full_size_template.h"
#include "export/kit_layout.h"
#include "output/output_error.h"
#include "sheets/sheet_layout.h"
#include "sheets/shelf_packing.h"

namespace vortalis::exports {

namespace {

constexpr qreal kPieceMarginMm = 5.0;
constexpr qreal kHeaderMm = 23.0;
constexpr qreal kFooterMm = 16.0;
// Higher than a profile template's: every ring of a large horn is tiled, a
// few dozen sheets each (a 40 Hz horn of 18 mm boards takes about 2800 A4 pages).
constexpr int kMaxPages = 5000;
// A run of a cut line is stated as a straight edge when it stays this close
// to its chord and is this long, or when it runs from corner to corner.
constexpr qreal kStraightMm = 0.02;
constexpr qreal kLongMm = 100.0;
constexpr qreal kCorner = 0.35;  // radians

qreal Turn(const QPointF& a, const QPointF& b, const QPointF& c) {
  const QPointF u = b - a;
  const QPointF v = c - b;
  return std::atan2(std::abs(u.x() * v.y() - u.y() * v.x()), u.x() * v.x() + u.y() * v.y());
}

qreal FromChord(const QPointF& p, const QPointF& a, const QPointF& b) {
  const QPointF d = b - a;
  const qreal length = std::hypot(d.x(), d.y());
  const QPointF v = p - a;
  return std::abs(d.x() * v.y() - d.y() * v.x()) / length;
}

void Split(std::vector<QPointF> points, bool closed, KitEdges& edges) {
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (closed && points.size() > 1 && points.front() == points.back()) points.pop_back();
  if (points.size() < 2) return;
  // A closed line starts at a corner when it has one, so no edge is split at the start.
  const std::size_t n = points.size();
  const auto turnAt = [&](std::size_t i) {
    return Turn(points[(i + n - 1) % n], points[i], points[(i + 1) % n]);
  };
  if (closed) {
    std::size_t corner = 0;
    while (corner < n && turnAt(corner) < kCorner) ++corner;
    if (corner < n) std::rotate(points.begin(), points.begin() + corner, points.end());
    points.push_back(points.front());
  }
  const std::size_t m = points.size() - 1;  // segments
  const auto corner = [&](std::size_t i) {  // at point i
    if (i == 0 || i == m) return !closed || Turn(points[m - 1], points[0], points[1]) >= kCorner;
    return Turn(points[i - 1], points[i], points[i + 1]) >= kCorner;
  };
  for (std::size_t i = 0; i < m;) {
    // The longest run from point i that stays near its chord and turns no corner.
    std::size_t j = i + 1;
    while (j < m && !corner(j)) {
      bool near = true;
      for (std::size_t k = i + 1; k <= j && near; ++k)
        near = FromChord(points[k], points[i], points[j + 1]) <= kStraightMm;
      if (!near) break;
      ++j;
    }
    const QLineF chord(points[i], points[j]);
    if (chord.length() >= kLongMm || (corner(i) && corner(j))) {
      edges.straight.push_back(chord);
      i = j;
    } else {
      edges.curves.emplace_back(points[i], points[i + 1]);
      ++i;
    }
  }
}

// The y range of segment s where it passes left <= x <= right; false when it does not.
bool YRange(const QLineF& s, qreal left, qreal right, qreal& low, qreal& high) {
  qreal t0 = 0.0;
  qreal t1 = 1.0;
  const qreal dx = s.dx();
  if (dx == 0.0) {
    if (s.x1() < left || s.x1() > right) return false;
  } else {
    qreal a = (left - s.x1()) / dx;
    qreal b = (right - s.x1()) / dx;
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    if (t0 > t1) return false;
  }
  const qreal y0 = s.y1() + t0 * s.dy();
  const qreal y1 = s.y1() + t1 * s.dy();
  low = std::min(y0, y1);
  high = std::max(y0, y1);
  return true;
}

bool Crosses(const QLineF& s, const QRectF& window) {
  qreal low = 0.0;
  qreal high = 0.0;
  return YRange(s, window.left(), window.right(), low, high) && high >= window.top() &&
         low <= window.bottom();
}

QRectF Extent(const KitEdges& edges) {
  QRectF r;
  bool first = true;
  for (const auto* lines : {&edges.curves, &edges.straight}) {
    for (const QLineF& line : *lines) {
      const QRectF b = QRectF(line.p1(), line.p2()).normalized();
      r = first ? b : r.united(b);
      first = false;
    }
  }
  return r;
}

qreal AngleOf(const QRectF& w) { return std::atan2(w.center().y(), w.center().x()); }

}  // namespace

KitEdges SplitEdges(const KitPiece& piece, qreal mmPerUnit) {
  KitEdges edges;
  for (const KitPath& path : piece.paths) {
    if (!path.cut) continue;
    std::vector<QPointF> points;
    for (const buildkit::DrawPoint& p : path.points) points.push_back(ToQt(p) * mmPerUnit);
    Split(std::move(points), path.closed, edges);
  }
  const qreal toleranceMm = static_cast<qreal>(buildkit::kCurveToleranceMm);
  for (const KitCircle& circle : piece.circles) {
    const qreal r = circle.radius * mmPerUnit;
    const QPointF c = ToQt(circle.centre) * mmPerUnit;
    const int n =
        r <= toleranceMm
            ? 8
            : std::max(8, static_cast<int>(std::ceil(M_PI / std::acos(1.0 - toleranceMm / r))));
    for (int i = 0; i < n; ++i) {
      const qreal a = 2.0 * M_PI * i / n;
      const qreal b = 2.0 * M_PI * (i + 1) / n;
      edges.curves.emplace_back(c + QPointF(r * std::cos(a), r * std::sin(a)),
                                c + QPointF(r * std::cos(b), r * std::sin(b)));
    }
  }
  return edges;
}

std::vector<std::vector<QPointF>> StraightRuns(const KitEdges& edges) {
  std::vector<std::vector<QPointF>> runs;
  for (const QLineF& s : edges.straight) {
    if (!runs.empty() && QLineF(runs.back().back(), s.p1()).length() < 1e-6)
      runs.back().push_back(s.p2());
    else
      runs.push_back({s.p1(), s.p2()});
  }
  // A closed outline's last run may go on into its first.
  if (runs.size() > 1 && QLineF(runs.back().back(), runs.front().front()).length() < 1e-6) {
    runs.back().insert(runs.back().end(), runs.front().begin() + 1, runs.front().end());
    runs.erase(runs.begin());
  }
  return runs;
}

PointTable PointTableOf(const QRectF& area) {
  return {std::max(1, static_cast<int>((area.height() - 14.0) / 4.2)),
          std::max(1, static_cast<int>(area.width() / 62.0))};
}

qreal CuttingListTopMm(const KitTable& table) {
  // Two lines of room for each warning.
  return 26.0 + 9.0 * static_cast<qreal>(table.warnings.size());
}

int CuttingListRows(const QSizeF& printableMm, const KitTable& table) {
  return std::max(1,
                  static_cast<int>((printableMm.height() - CuttingListTopMm(table) - kFooterMm) /
                                   5.0));
}

KitPrintLayout LayOutKitPages(const KitDrawing& drawing,
                              const QSizeF& printableMm) {
  if (printableMm.width() < 150.0 || printableMm.height() < 100.0)
    throw output::OutputError(
        "The page is too small for a full-size template: it needs a printable "
        "area of at least 150 x 100 mm.");
  KitPrintLayout layout;
  layout.printable = printableMm;
  layout.area = QRectF(0.0, kHeaderMm, printableMm.width(),
                       printableMm.height() - kHeaderMm - kFooterMm);
  const qreal mmPer = static_cast<qreal>(buildkit::MillimetresPer(drawing.unit));
  const QSizeF window = layout.area.size();

  if (drawing.table) {
    const int rows = CuttingListRows(printableMm, *drawing.table);
    layout.listPages = (static_cast<int>(drawing.table->rows.size()) + rows - 1) / rows;
  }
  long long printed = layout.listPages;
  // A run of pieces that fit a page, laid on shared pages when a larger piece
  // (or the end) comes: the pages keep the pieces' order.
  std::vector<std::pair<std::size_t, QRectF>> pending;
  const auto share = [&] {
    if (pending.empty()) return;
    std::vector<vortalis::sheets::BoxSize> boxes;
    for (const auto& [index, box] : pending) boxes.push_back({box.width(), box.height()});
    const std::vector<vortalis::sheets::Spot> spots = vortalis::sheets::PackShelves(
        boxes, {window.width() - 2.0 * kPieceMarginMm, window.height() - 2.0 * kPieceMarginMm},
        2.0 * kPieceMarginMm);
    const std::size_t first = layout.pages.size();
    for (std::size_t k = 0; k < spots.size(); ++k) {
      if (first + spots[k].sheet >= layout.pages.size()) {
        layout.pages.push_back({KitPrintPage::Kind::Whole, pending[k].first,
                                QRectF(QPointF(0.0, 0.0), window)});
        ++printed;
      }
      const QRectF& box = pending[k].second;
      layout.pages.back().placed.push_back(
          {pending[k].first, QPointF(kPieceMarginMm + spots[k].left - box.left(),
                                     kPieceMarginMm + spots[k].bottom - box.top())});
    }
    pending.clear();
  };
  for (std::size_t i = 0; i < drawing.pieces.size(); ++i) {
    if (printed > 4 * kMaxPages) break;  // refused below; the rest need not be laid out
    const KitPiece& piece = drawing.pieces[i];
    if (!piece.inTemplate) {
      layout.edges.emplace_back();
      continue;
    }
    layout.edges.push_back(SplitEdges(piece, mmPer));
    const KitEdges& edges = layout.edges.back();
    const QRectF b(piece.bounds.Left() * mmPer, piece.bounds.Top() * mmPer,
                   piece.bounds.width * mmPer, piece.bounds.height * mmPer);
    if (b.width() + 2.0 * kPieceMarginMm <= window.width() &&
        b.height() + 2.0 * kPieceMarginMm <= window.height()) {
      pending.emplace_back(i, b);
      continue;
    }
    share();
    const QRectF shape =
        Extent(edges).adjusted(-kPieceMarginMm, -kPieceMarginMm, kPieceMarginMm, kPieceMarginMm);
    if (shape.width() <= window.width() && shape.height() <= window.height()) {
      // Its texts go in the page's header.
      const QPointF c = shape.center();
      KitPrintPage page{KitPrintPage::Kind::Whole, i,
                        QRectF(c.x() - window.width() / 2, c.y() - window.height() / 2,
                               window.width(), window.height())};
      page.placed.push_back({i, QPointF()});
      page.textsAbove = true;
      layout.pages.push_back(page);
      ++printed;
      continue;
    }

    // Columns across the cut lines; in each, sheets over the curves' bands only.
    const int columns = PagesFor(shape.width(), window.width());
    if (static_cast<double>(columns) * PagesFor(shape.height(), window.height()) >
        400.0 * kMaxPages)
      throw output::OutputError(
          "This kit would need too many pages at full size; a kit's template has at most " +
          std::to_string(kMaxPages) + ".");
    std::vector<KitPrintPage> sheets;
    std::vector<vortalis::sheets::Band> bands;
    const std::vector<double> lefts =
        vortalis::sheets::ColumnLefts(shape.left(), shape.width(), window.width(), kKitOverlapMm);
    for (int column = 1; column <= columns; ++column) {
      const qreal left = lefts[static_cast<std::size_t>(column - 1)];
      bands.clear();
      for (const QLineF& s : edges.curves) {
        qreal low = 0.0;
        qreal high = 0.0;
        if (YRange(s, left, left + window.width(), low, high))
          bands.push_back({low - kPieceMarginMm, high + kPieceMarginMm});
      }
      int level = 0;
      // Bands are joined when they overlap or one run of sheets holds both;
      // the sheets share a band evenly, so that none holds only a sliver of it.
      const auto joined = vortalis::sheets::JoinBands(bands, window.height(), kKitOverlapMm,
                                                      vortalis::sheets::Joining::FewerSheets);
      for (const vortalis::sheets::Band& band : joined) {
        for (const double bottom : vortalis::sheets::SheetBottoms(
                 band, window.height(), kKitOverlapMm, vortalis::sheets::Spread::Even)) {
          const QRectF w(left, bottom, window.width(), window.height());
          if (std::none_of(edges.curves.begin(), edges.curves.end(),
                           [&w](const QLineF& s) { return Crosses(s, w); }))
            continue;
          KitPrintPage sheet{KitPrintPage::Kind::Sheet, i, w};
          sheet.column = column;
          sheet.level = ++level;
          sheets.push_back(sheet);
        }
      }
      if (printed + static_cast<long long>(sheets.size()) > 4 * kMaxPages) break;
    }
    // A sheet whose curves the others show as well, as where a curve only
    // crosses its corner, is left out.
    for (std::size_t k = sheets.size(); k-- > 0;) {
      const QRectF w = sheets[k].window;
      const auto covered = [&](const QPointF& p) {
        for (std::size_t j = 0; j < sheets.size(); ++j)
          if (j != k && sheets[j].window.adjusted(1.0, 1.0, -1.0, -1.0).contains(p)) return true;
        return false;
      };
      bool redundant = true;
      for (const QLineF& s : edges.curves) {
        const int steps = std::max(1, static_cast<int>(std::ceil(s.length())));
        for (int t = 0; t <= steps && redundant; ++t) {
          const QPointF p = s.pointAt(static_cast<qreal>(t) / steps);
          redundant = !w.contains(p) || covered(p);
        }
        if (!redundant) break;
      }
      if (redundant) sheets.erase(sheets.begin() + static_cast<std::ptrdiff_t>(k));
    }
    for (std::size_t k = 0; k < sheets.size(); ++k)
      sheets[k].level =
          k > 0 && sheets[k - 1].column == sheets[k].column ? sheets[k - 1].level + 1 : 1;
    // A sector's sheets follow its arcs from its first edge, on the x axis.
    if (drawing.sheetsAlongArcs)
      std::stable_sort(sheets.begin(), sheets.end(),
                       [](const KitPrintPage& a, const KitPrintPage& b) {
                         return AngleOf(a.window) < AngleOf(b.window);
                       });
    KitPrintPage map{KitPrintPage::Kind::Map, i, shape};
    map.sheets = static_cast<int>(sheets.size());
    int points = 0;
    for (const std::vector<QPointF>& run : StraightRuns(edges))
      points += static_cast<int>(run.size());
    const int perPage = PointTableOf(layout.area).PerPage();
    if (points > kMapPoints) map.tables = (points + perPage - 1) / perPage;
    layout.pages.push_back(map);
    for (std::size_t k = 0; k < sheets.size(); ++k) {
      sheets[k].sheet = static_cast<int>(k) + 1;
      sheets[k].sheets = map.sheets;
      layout.pages.push_back(sheets[k]);
    }
    for (int k = 0; k < map.tables; ++k) {
      KitPrintPage table{KitPrintPage::Kind::Points, i, shape};
      table.sheet = k + 1;
      table.sheets = map.tables;
      table.firstRow = k * perPage;
      layout.pages.push_back(table);
    }
    printed += 1 + static_cast<long long>(sheets.size()) + map.tables;
    if (printed > 4 * kMaxPages) break;
  }
  share();
  if (printed > kMaxPages)
    throw output::OutputError(
        "This kit would need " +
        (printed > 4 * kMaxPages ? "more than " + std::to_string(4 * kMaxPages)
                                 : std::to_string(printed)) +
        " pages at full size; a kit's template has at most " + std::to_string(kMaxPages) + ".");
  return layout;
}

}  // namespace vortalis::exports
