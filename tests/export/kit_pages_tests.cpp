#include <gtest/gtest.h>

#include <QLineF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>

#include "buildkit/panels.h"
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
      EXPECT_TRUE(ShowsCurve(drawing.pieces[page.piece], mmPer, page.window))
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

}  // namespace
