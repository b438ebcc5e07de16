#include <gtest/gtest.h>

#include <QLineF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>

#include "buildkit/panels.h"
#include "buildkit/rings.h"
#include "buildkit/sectors.h"
#include "buildkit/staves.h"
#include "cli/report_tool.h"
#include "export/kit_files.h"
#include "export/kit_layout.h"
#include "export_test_support.h"
#include "report_test_support.h"

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::testing::CircularHorn;
using vortalis::testing::RunProgram;
using vortalis::testing::RunTool;
using vortalis::testing::ToolRun;
namespace buildkit = vortalis::buildkit;
namespace exports = vortalis::exports;
namespace report = vortalis::report;

report::RectangularReportInput Rectangular(const char* fc, bool flat, MouthLocation location) {
  report::RectangularReportInput input;
  input.frequencyText = fc;
  input.flatSides = flat;
  input.location = location;
  return input;
}

qreal FromChord(const QPointF& p, const QPointF& a, const QPointF& b) {
  const QPointF d = b - a;
  const QPointF v = p - a;
  return std::abs(d.x() * v.y() - d.y() * v.x()) / std::hypot(d.x(), d.y());
}

// Whether the window shows a stretch of a cut line that a straightedge could
// not draw: one leaving its chord by more than 0.02 mm (cut lines in mm,
// followed in steps of at most 1 mm).
bool ShowsCurve(const exports::KitPiece& piece, qreal mmPer, const QRectF& window) {
  for (const exports::KitPath& path : piece.paths) {
    if (!path.cut) continue;
    std::vector<QPointF> inside;
    const auto flush = [&] {
      bool curved = false;
      for (std::size_t k = 1; k + 1 < inside.size() && !curved; ++k)
        curved = FromChord(inside[k], inside.front(), inside.back()) > 0.02;
      inside.clear();
      return curved;
    };
    const std::size_t n = path.points.size();
    for (std::size_t i = 0; i + 1 < n + (path.closed ? 1 : 0); ++i) {
      const QPointF a = exports::ToQt(path.points[i]) * mmPer;
      const QPointF b = exports::ToQt(path.points[(i + 1) % n]) * mmPer;
      const int steps = std::max(1, static_cast<int>(std::ceil(QLineF(a, b).length())));
      for (int k = 0; k < steps; ++k) {
        const QPointF p = a + (b - a) * (static_cast<qreal>(k) / steps);
        if (window.contains(p))
          inside.push_back(p);
        else if (flush())
          return true;
      }
    }
    if (flush()) return true;
  }
  return false;
}

// Every drawing page of a kit carries a curved cut line; the sheets of a piece
// start at its throat end; fewer pages than the whole grid of sheets took.
TEST(KitPages, EverySheetCarriesACurveAndFewerPagesPrint) {
  const auto circular = [](const char* fc) {
    return CircularHorn(fc, "25", LengthUnit::Millimetre);
  };
  const struct {
    const char* name;
    exports::FlatKit kit;
    int gridPages;  // every sheet of the grid that showed any line
  } cases[] = {
      {"32 Hz, flat sides, three walls",
       exports::PanelsKit{LengthUnit::Millimetre,
                          buildkit::WallPanels(Rectangular("32", true, MouthLocation::ThreeWalls),
                                               {}, {".", ""})},
       380},
      {"20 Hz, free air",
       exports::PanelsKit{LengthUnit::Millimetre,
                          buildkit::WallPanels(Rectangular("20", false, MouthLocation::FreeAir),
                                               {}, {".", ""})},
       546},
      {"sectors of 100 Hz",
       exports::SectorsKit{LengthUnit::Millimetre,
                           buildkit::SheetDevelopments(circular("100"), {}, {".", ""}, 20.0L,
                                                       0.0L)},
       467},
      {"staves of 40 Hz",
       exports::StavesKit{LengthUnit::Millimetre,
                          buildkit::Staves(circular("40"), {}, {".", ""}, 12)},
       49},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const exports::KitOrientation turned = exports::FewerKitPages(c.kit, QPageSize(QPageSize::A4));
    EXPECT_LT(turned.pages, c.gridPages);
    const QSizeF portrait(190.0, 277.0);
    const QSizeF printable =
        turned.orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
    const exports::KitDrawing drawing = exports::DrawKit(c.kit);
    const exports::KitPrintLayout layout = exports::LayOutKitPages(drawing, printable);
    EXPECT_EQ(layout.Total(), turned.pages);
    const qreal mmPer = static_cast<qreal>(buildkit::MillimetresPer(drawing.unit));
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
      const exports::KitPrintPage& page = layout.pages[i];
      if (page.kind == exports::KitPrintPage::Kind::Map ||
          page.kind == exports::KitPrintPage::Kind::Points)
        continue;
      if (page.kind == exports::KitPrintPage::Kind::Sheet) {
        EXPECT_TRUE(ShowsCurve(drawing.pieces[page.piece], mmPer, page.window))
            << "page " << layout.PageNumber(i);
      }
      for (const exports::KitPlacement& placed : page.placed)
        EXPECT_TRUE(ShowsCurve(drawing.pieces[placed.piece], mmPer,
                               page.window.translated(-placed.shift)))
            << "page " << layout.PageNumber(i);
      if (page.kind == exports::KitPrintPage::Kind::Sheet && page.sheet == 1 &&
          !std::holds_alternative<exports::SectorsKit>(c.kit)) {
        EXPECT_EQ(layout.pages[i - 1].kind, exports::KitPrintPage::Kind::Map);
        for (int k = 1; k < page.sheets; ++k)
          EXPECT_LE(page.window.left(), layout.pages[i + k].window.left())
              << "page " << layout.PageNumber(i);
      }
    }
  }
}

// The flat side's panel as printed, read back from the PDF's text: where its
// edges cross each sheet's right edge against the report's own table (the
// width between walls 2A and 2B at each flat side distance), and its length
// against the report's flat side real length.
TEST(KitPages, PrintedSheetNumbersMatchTheReport) {
  QTemporaryDir folder;
  const std::vector<std::string> horn{"rectangular", "--freq", "32", "--side1", "40", "--side2",
                                      "50", "--flat-mouth", "3000", "--location", "8"};
  std::vector<std::string> args = horn;
  args.insert(args.end(), {"--increment", "1"});
  const ToolRun table = RunTool(args);
  ASSERT_EQ(table.status, 0);
  std::map<double, double> width;  // flat side distance -> side 2A - 2B
  double realLength = 0.0;
  const QRegularExpression row(QStringLiteral(
      "^[\\d.]+\\t+[\\d.]+\\t+([\\d.]+)\\t+[\\d.]+\\t+([\\d.]+)\\r?$"),
      QRegularExpression::MultilineOption);
  const QString report = QString::fromStdString(table.out);
  for (auto it = row.globalMatch(report); it.hasNext();) {
    const auto m = it.next();
    width[m.captured(2).toDouble()] = m.captured(1).toDouble();
  }
  const auto real =
      QRegularExpression(QStringLiteral("Flat side real length: \\t([\\d.]+) mm")).match(report);
  ASSERT_TRUE(real.hasMatch());
  realLength = real.captured(1).toDouble();
  ASSERT_GT(width.size(), 4000u);

  const std::string pdf = folder.filePath(QStringLiteral("panels.pdf")).toStdString();
  args = horn;
  args.insert(args.end(), {"--panels", pdf});
  const ToolRun run = RunTool(args);
  ASSERT_EQ(run.status, 0);
  const auto count = QRegularExpression(QStringLiteral(": (\\d+) pages at full size\n$"))
                         .match(QString::fromStdString(run.out));
  ASSERT_TRUE(count.hasMatch()) << run.out;
  const auto text = RunProgram(QStringLiteral("pdftotext"),
                               {QString::fromStdString(pdf), QStringLiteral("-")});
  ASSERT_EQ(text.exitCode, 0);
  const QStringList pages = QString::fromUtf8(text.out).split(QLatin1Char('\f'));
  EXPECT_EQ(pages.size() - 1, count.captured(1).toInt());

  const QRegularExpression edge(
      QStringLiteral("at its right edge, at x = ([\\d.]+): (y = ([-\\d., ]+)|none);"));
  int checked = 0;
  bool mouthEdge = false;  // stated on the map or in its table of points
  for (QString page : pages) {
    page.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (page.startsWith(QStringLiteral("Panel 1A (cut two: 1A and 1B): assembly map")) ||
        page.startsWith(QStringLiteral("Panel 1A (cut two: 1A and 1B): straight edges"))) {
      mouthEdge |= page.contains(QStringLiteral(" %1 ").arg(realLength, 0, 'f', 2)) ||
                   page.contains(QStringLiteral("(%1, ").arg(realLength, 0, 'f', 2));
      continue;
    }
    if (!page.startsWith(QStringLiteral("Panel 1A (cut two: 1A and 1B): sheet"))) continue;
    const auto m = edge.match(page);
    ASSERT_TRUE(m.hasMatch()) << page.toStdString();
    const double x = m.captured(1).toDouble();
    if (x >= realLength) continue;
    ASSERT_FALSE(m.captured(3).isEmpty()) << "at x = " << x;
    // The report's widths between its rows, 1 mm of the axis apart.
    const auto above = width.lower_bound(x);
    ASSERT_NE(above, width.begin());
    const auto below = std::prev(above);
    const double slope = (above->second - below->second) / (above->first - below->first);
    const double half = (below->second + slope * (x - below->first)) / 2.0;
    for (const QString& y : m.captured(3).split(QStringLiteral(", "))) {
      // The drawn line is within 0.05 mm of the wall; the report rounds to 0.01.
      EXPECT_NEAR(std::abs(y.toDouble()), half, 0.055 + 0.01 * std::abs(slope))
          << "at x = " << x;
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);
  EXPECT_TRUE(mouthEdge) << realLength;
}

// The rings of a 100 Hz horn (10 mm throat) from 18 mm boards with a 20 mm
// wall, on each paper: every board is in the PDF, and every point where a
// sheet's edge crosses a cut line, as printed on the sheet, lies on one of its
// board's circles: the tractrix radius at either face, r(x) solved from
// x = a ln((a + sqrt(a^2 - r^2)) / r) - sqrt(a^2 - r^2), a = c / (2 pi fc),
// or the mouth side's plus the wall.
TEST(KitPages, TiledRingSheetsPutEveryCutLineOnTheTractrix) {
  const long double a = 340000.0L / (2.0L * std::acos(-1.0L) * 100.0L);  // mm
  const auto along = [a](long double r) {
    const long double s = std::sqrt(a * a - r * r);
    return a * std::log((a + s) / r) - s;
  };
  const long double length = along(10.0L);
  const auto radius = [&](long double distance) {  // from the throat
    long double low = 10.0L;
    long double high = a;
    for (int i = 0; i < 200; ++i) {
      const long double mid = (low + high) / 2.0L;
      (length - along(mid) < distance ? low : high) = mid;
    }
    return (low + high) / 2.0L;
  };
  const int boards = static_cast<int>(std::ceil(length / 18.0L));
  ASSERT_EQ(boards, 111);
  QTemporaryDir folder;
  for (const char* paper : {"a4", "a3", "letter"}) {
    SCOPED_TRACE(paper);
    const std::string pdf = folder.filePath(QStringLiteral("rings.pdf")).toStdString();
    const ToolRun run = RunTool({"circular", "--freq", "100", "--throat", "10", "--rings", pdf,
                                 "--board", "18", "--wall", "20", "--paper", paper});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto text = RunProgram(QStringLiteral("pdftotext"),
                                 {QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0);
    QString all = QString::fromUtf8(text.out);
    all.replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (int board = 1; board <= boards; ++board)
      EXPECT_TRUE(all.contains(QStringLiteral("Board %1: ").arg(board))) << board;
    const QRegularExpression sheet(QStringLiteral("Board (\\d+): sheet \\d+ of \\d+"));
    const QRegularExpression edge(QStringLiteral("at (x|y) = (-?[\\d.]+): (?:x|y) = (-?\\d+\\.\\d+(?:, -?\\d+\\.\\d+)*)"));
    int crossings = 0;
    for (const QString& page : all.split(QLatin1Char('\f'))) {
      const auto title = sheet.match(page);
      if (!title.hasMatch()) continue;
      const int board = title.captured(1).toInt();
      const long double throatSide = radius(18.0L * (board - 1));
      const long double mouthSide = radius(std::min(18.0L * board, length));
      for (auto it = edge.globalMatch(page); it.hasNext();) {
        const auto m = it.next();
        const double at = m.captured(2).toDouble();
        for (const QString& value : m.captured(3).split(QStringLiteral(", "))) {
          const long double r = std::hypot(static_cast<long double>(at), value.toDouble());
          long double off = 1e9L;
          for (const long double circle : {throatSide, mouthSide, mouthSide + 20.0L})
            off = std::min(off, std::abs(r - circle));
          // Circles drawn within 0.05 mm, numbers printed to 0.01 mm.
          EXPECT_LT(off, 0.07L) << "board " << board << " at " << at << ": " << r;
          ++crossings;
        }
      }
    }
    EXPECT_GT(crossings, 400);
  }
}

// Pieces that share a page: each one's box (shapes and texts) inside the
// page's drawing area and a cutting gap from every other, on portrait A4,
// A3 and Letter less 10 mm margins.
TEST(KitPages, SharedPagesHoldTheirPiecesApartAndInside) {
  const auto input = CircularHorn("100", "10", LengthUnit::Millimetre);
  const exports::FlatKit kits[] = {
      exports::RingsKit{LengthUnit::Millimetre,
                        buildkit::StackedRings(input, {}, {".", ""}, 18.0L, 20.0L)},
      exports::SectorsKit{LengthUnit::Millimetre,
                          buildkit::SheetDevelopments(CircularHorn("1000", "10",
                                                                   LengthUnit::Millimetre),
                                                      {}, {".", ""}, 10.0L, 5.0L)},
  };
  for (const exports::FlatKit& kit : kits) {
    const exports::KitDrawing drawing = exports::DrawKit(kit);
    const qreal mmPer = static_cast<qreal>(buildkit::MillimetresPer(drawing.unit));
    for (const QSizeF printable : {QSizeF(190, 277), QSizeF(277, 400), QSizeF(195.9, 259.4)}) {
      const exports::KitPrintLayout layout = exports::LayOutKitPages(drawing, printable);
      std::size_t shared = 0;
      for (const exports::KitPrintPage& page : layout.pages) {
        if (page.kind != exports::KitPrintPage::Kind::Whole || page.textsAbove) continue;
        std::vector<QRectF> boxes;
        for (const exports::KitPlacement& placed : page.placed) {
          const buildkit::DrawBox& b = drawing.pieces[placed.piece].bounds;
          boxes.push_back(QRectF(b.Left() * mmPer, b.Top() * mmPer, b.width * mmPer,
                                 b.height * mmPer).translated(placed.shift));
        }
        shared += boxes.size();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
          EXPECT_TRUE(QRectF(0, 0, layout.area.width(), layout.area.height()).contains(boxes[i]));
          for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(boxes[i].adjusted(-9.9, -9.9, 9.9, 9.9).intersects(boxes[j]))
                << drawing.pieces[page.placed[i].piece].title;
        }
      }
      EXPECT_GT(shared, 1u);
    }
  }
}

}  // namespace
