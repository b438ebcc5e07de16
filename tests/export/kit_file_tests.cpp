#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>

#include "buildkit/horn_solid.h"
#include "buildkit/solid_kit.h"
#include "buildkit/panels.h"
#include "buildkit/rings.h"
#include "buildkit/sectors.h"
#include "buildkit/staves.h"
#include "cli/kit_tool.h"
#include "output/output_error.h"
#include "export/kit_files.h"
#include "export_test_support.h"
#include "report_test_support.h"
#include "geometry/constants.h"

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::testing::CircularHorn;
using vortalis::testing::RunProgram;
namespace buildkit = vortalis::buildkit;
namespace exports = vortalis::exports;

// ezdxf lists the circles and polylines of every layer.
constexpr const char* kReadKit = R"(
import json, sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
found = {"insunits": doc.header.get("$INSUNITS"), "circles": {}, "polylines": {}, "texts": {}}
for e in doc.modelspace():
    if e.dxftype() == "TEXT":
        found["texts"].setdefault(e.dxf.layer, []).append(e.dxf.text)
    elif e.dxftype() == "CIRCLE":
        found["circles"].setdefault(e.dxf.layer, []).append(e.dxf.radius)
    elif e.dxftype() == "LWPOLYLINE":
        found["polylines"].setdefault(e.dxf.layer, []).append(
            {"closed": e.closed, "points": [[p[0], p[1]] for p in e.get_points("xy")]})
print(json.dumps(found))
)";

QJsonObject ReadBack(const QString& dxf) {
  const auto result =
      RunProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), kReadKit, dxf});
  EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
  return QJsonDocument::fromJson(result.out).object();
}

class KitFileTest : public ::testing::Test {
 protected:
  QTemporaryDir folder_;
  QString Path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
};

TEST_F(KitFileTest, RingsDxfHasEachBoardsCirclesOnItsLayer) {
  struct Case {
    LengthUnit unit;
    const char* throat;
    long double board, wall;
    int insunits;
  };
  for (const Case& c : {Case{LengthUnit::Millimetre, "20", 18.0L, 20.0L, 4},
                        Case{LengthUnit::Inch, "0.8", 0.75L, 0.75L, 1}}) {
    const auto input = CircularHorn("300", c.throat, c.unit);
    const std::vector<buildkit::Ring> rings =
        buildkit::StackedRings(input, {}, {".", ""}, c.board, c.wall);
    exports::WriteKitFile(exports::RingsKit{c.unit, rings}, Path("rings.dxf"));
    const QJsonObject found = ReadBack(Path("rings.dxf"));
    EXPECT_EQ(found["insunits"].toInt(), c.insunits);
    const QJsonObject circles = found["circles"].toObject();
    ASSERT_EQ(circles.size(), static_cast<qsizetype>(rings.size()));
    for (const buildkit::Ring& ring : rings) {
      const QJsonArray radii = circles["RING_" + QString::number(ring.board)].toArray();
      ASSERT_EQ(radii.size(), 3) << ring.board;
      const long double expected[] = {ring.outerRadius, ring.innerTo, ring.innerFrom};
      for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(radii[i].toDouble(), static_cast<double>(expected[i]), 1e-9) << ring.board;
    }
  }
}

// Without a seam the outline's arcs are the frusta's circumferences, found
// here from the chords: each vertex of an arc lies on its circle around the apex.
TEST_F(KitFileTest, SectorArcsAreTheFrustumCircumferences) {
  const auto input = CircularHorn("300", "20", LengthUnit::Millimetre);
  const buildkit::SheetDevelopment development =
      buildkit::SheetDevelopments(input, {}, {".", ""}, 25.0L, 0.0L);
  exports::WriteKitFile(exports::SectorsKit{LengthUnit::Millimetre, development},
                        Path("sectors.dxf"));
  const QJsonObject polylines = ReadBack(Path("sectors.dxf"))["polylines"].toObject();
  ASSERT_EQ(polylines.size(), static_cast<qsizetype>(development.sectors.size()));
  for (std::size_t k = 0; k < development.sectors.size(); ++k) {
    const buildkit::Sector& sector = development.sectors[k];
    const QJsonArray outline =
        polylines["SECTOR_" + QString::number(k + 1)].toArray()[0].toObject()["points"].toArray();
    ASSERT_GT(outline.size(), 4);
    // The first edge runs from the inner arc to the outer along x from the apex.
    const double apexX =
        outline[0].toArray()[0].toDouble() - static_cast<double>(sector.innerRadius);
    const double apexY = outline[0].toArray()[1].toDouble();
    std::map<int, double> arcs;  // 0 inner, 1 outer
    for (qsizetype i = 0; i < outline.size(); ++i) {
      const QJsonArray a = outline[i].toArray();
      const QJsonArray b = outline[(i + 1) % outline.size()].toArray();
      const double ra = std::hypot(a[0].toDouble() - apexX, a[1].toDouble() - apexY);
      const double rb = std::hypot(b[0].toDouble() - apexX, b[1].toDouble() - apexY);
      if (std::abs(ra - rb) > 1e-6) continue;  // a straight edge
      const int which = std::abs(ra - static_cast<double>(sector.outerRadius)) < 1e-6 ? 1 : 0;
      const double chord =
          std::hypot(a[0].toDouble() - b[0].toDouble(), a[1].toDouble() - b[1].toDouble());
      arcs[which] += 2.0 * ra * std::asin(chord / (2.0 * ra));
    }
    const double pi = static_cast<double>(vortalis::geometry::Pi);
    EXPECT_NEAR(arcs[0], 2.0 * pi * static_cast<double>(sector.radiusFrom), 1e-6) << k;
    EXPECT_NEAR(arcs[1], 2.0 * pi * static_cast<double>(sector.radiusTo), 1e-6) << k;
  }
}

TEST_F(KitFileTest, SegmentedSolidsAreNamedFromTheThroatAndClosed) {
  const auto input = CircularHorn("1000", "10", LengthUnit::Millimetre);
  buildkit::SolidOptions options;
  options.wall = 2.0L;
  options.segmentHeight = 40.0L;
  const buildkit::HornSolids solids = buildkit::CircularHornSolids(input, {}, {".", ""}, options);
  ASSERT_GE(solids.segments.size(), 2u);
  const QStringList names = exports::WriteStlFiles(solids, Path("horn.stl"));
  ASSERT_EQ(names.size(), static_cast<qsizetype>(solids.segments.size()));
  EXPECT_FALSE(QFile::exists(Path("horn.stl")));
  for (qsizetype i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i], Path(("horn-" + std::to_string(i + 1) + ".stl").c_str()));
    const auto result = RunProgram(QStringLiteral("admesh"), {names[i]});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString report = QString::fromUtf8(result.out);
    EXPECT_TRUE(report.contains(QRegularExpression(QStringLiteral("Edges fixed\\s*:\\s*0\\b"))))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QRegularExpression(QStringLiteral("Number of parts\\s*:\\s*1\\b"))))
        << report.toStdString();
  }
}

// Each piece at 1:1 on a page of its own or on several: the rings' cutting
// list first; pdfinfo reads every file as A4.
// Every piece of each kit is in its PDF: the label inside each outline
// (number, throat side) read back from the PDF's text.
TEST_F(KitFileTest, PdfTemplatesShowEveryPiecesLabel) {
  const auto input = CircularHorn("1000", "10", LengthUnit::Millimetre);
  const exports::FlatKit kits[] = {
      exports::RingsKit{LengthUnit::Millimetre,
                        buildkit::StackedRings(input, {}, {".", ""}, 12.0L, 10.0L)},
      exports::SectorsKit{LengthUnit::Millimetre,
                          buildkit::SheetDevelopments(input, {}, {".", ""}, 10.0L, 5.0L)},
      exports::StavesKit{LengthUnit::Millimetre, buildkit::Staves(input, {}, {".", ""}, 8)},
      exports::PanelsKit{LengthUnit::Millimetre,
                         buildkit::WallPanels(
                             vortalis::testing::FlatRectangularHorn(LengthUnit::Millimetre), {},
                             {".", ""})},
  };
  for (const exports::FlatKit& kit : kits) {
    const QString path = Path("kit.pdf");
    exports::WriteKitFile(kit, path);
    const auto info = RunProgram(QStringLiteral("pdfinfo"), {path});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QStringLiteral("(A4)")));
    // Word breaks and spacing as pdftotext gives them do not matter.
    QString text = QString::fromUtf8(
        RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, "-"}).out);
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    int labels = 0;
    for (const exports::KitPiece& piece : exports::DrawKit(kit).pieces) {
      if (!piece.inTemplate) continue;
      for (const exports::KitText& label : piece.texts) {
        if (label.layer != buildkit::drawing::kLabelLayer) continue;
        QString wanted = QString::fromStdString(label.text);
        wanted.remove(QRegularExpression(QStringLiteral("\\s")));
        EXPECT_TRUE(text.contains(wanted)) << piece.title << ": " << label.text;
        ++labels;
      }
    }
    EXPECT_GT(labels, 0);
  }
}

// Every kit's PDF through the tool on each paper: the page as large as ISO 216
// or ANSI give it (in points, either way round), and the last page's check
// ruler, measured on a 254 dpi rendering (10 pixels a millimetre), as long as
// it says and inside the page's 10 mm margins, on the first page (the rings'
// cutting list) and the last.
TEST_F(KitFileTest, KitPdfsAreLaidOutOnTheChosenPaper) {
  using vortalis::cli::Paper;
  constexpr double kPointsPerMm = 72.0 / 25.4;
  const struct {
    Paper paper;
    double widthMm, heightMm;
  } papers[] = {{Paper::A4, 210.0, 297.0}, {Paper::A3, 297.0, 420.0},
                {Paper::Letter, 8.5 * 25.4, 11.0 * 25.4}};
  const std::string rings = Path("rings.pdf").toStdString();
  const std::string staves = Path("staves.pdf").toStdString();
  const struct {
    vortalis::report::HornInput horn;
    vortalis::cli::KitOptions kit;
    std::string path;
    double rulerMm;
  } kits[] = {
      {CircularHorn("1000", "10", LengthUnit::Millimetre),
       {&buildkit::kRingsUnit, rings, {{{&buildkit::kBoardThickness, 12.0L}, {&buildkit::kRingWall, 10.0L}}}},
       rings, 100.0},
      {CircularHorn("1000", "0.5", LengthUnit::Inch),
       {&buildkit::kStavesUnit, staves, {{{&buildkit::kStaveCount, 8.0L}}}}, staves, 4.0 * 25.4},
  };
  for (const auto& paper : papers) {
    for (const auto& k : kits) {
      vortalis::cli::KitOptions options = k.kit;
      options.paper = paper.paper;
      volatile std::sig_atomic_t interrupted = 0;
      vortalis::testing::FixedStamp stamp;
      std::FILE* out = std::tmpfile();
      std::FILE* err = std::tmpfile();
      vortalis::cli::ToolEnvironment env{out, err, false, &interrupted, nullptr, stamp};
      ASSERT_EQ(vortalis::cli::WriteKit(k.horn, {".", ""}, options, env),
                vortalis::cli::kExitDone);
      std::fclose(out);
      std::fclose(err);
      const QString path = QString::fromStdString(k.path);
      const QString info = QString::fromUtf8(RunProgram(QStringLiteral("pdfinfo"), {path}).out);
      const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"))
                            .match(info);
      const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
      ASSERT_TRUE(size.hasMatch() && pages.hasMatch()) << info.toStdString();
      const double shorter = std::min(size.captured(1).toDouble(), size.captured(2).toDouble());
      const double longer = std::max(size.captured(1).toDouble(), size.captured(2).toDouble());
      EXPECT_NEAR(shorter, paper.widthMm * kPointsPerMm, 1.0) << info.toStdString();
      EXPECT_NEAR(longer, paper.heightMm * kPointsPerMm, 1.0) << info.toStdString();

      for (const QString& shown : {QStringLiteral("1"), pages.captured(1)}) {
        const QString image = folder_.filePath(QStringLiteral("page"));
        ASSERT_EQ(RunProgram(QStringLiteral("pdftoppm"),
                             {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-gray"),
                              QStringLiteral("-f"), shown, QStringLiteral("-l"), shown,
                              QStringLiteral("-singlefile"), path, image})
                      .exitCode,
                  0);
        const QImage page(image + QStringLiteral(".pgm"));
        ASSERT_FALSE(page.isNull());
        // The ruler is the longest dark line in the bottom 30 mm.
        int best = 0;
        int bestStart = 0;
        for (int y = page.height() - 300; y < page.height(); ++y) {
          for (int x = 0, start = 0; x <= page.width(); ++x) {
            if (x < page.width() && qGray(page.pixel(x, y)) < 128) continue;
            if (x - start > best) {
              best = x - start;
              bestStart = start;
            }
            start = x + 1;
          }
        }
        EXPECT_NEAR(best / 10.0, k.rulerMm, 0.4) << k.path << " on " << paper.widthMm;
        EXPECT_GE(bestStart / 10.0, 9.5);
        EXPECT_LE((bestStart + best) / 10.0, page.width() / 10.0 - 9.5);
      }
    }
  }
}

// Even-odd point in polygon, the test's own.
bool Inside(const std::vector<buildkit::DrawPoint>& polygon, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const auto& a = polygon[i];
    const auto& b = polygon[(i + 1) % polygon.size()];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
  }
  return inside;
}

// Each piece's number (and its throat side) is written inside its outline, and
// a sector's seam edge is named: every corner of each label's box (0.8 of its
// height a character, 0.3 below the base line to its height above) lies in
// the wood: a ring's annulus between its larger hole and its outer circle, a
// sector's, stave's or panel's closed cut outline.
TEST(KitLabels, EveryPieceIsLabelledInsideItsOutline) {
  const auto input = CircularHorn("1000", "10", LengthUnit::Millimetre);
  const auto inch = CircularHorn("1000", "0.5", LengthUnit::Inch);
  const std::vector<exports::FlatKit> kits = {
      exports::RingsKit{LengthUnit::Millimetre,
                        buildkit::StackedRings(input, {}, {".", ""}, 12.0L, 10.0L)},
      exports::RingsKit{LengthUnit::Inch, buildkit::StackedRings(inch, {}, {".", ""}, 0.75L, 0.4L)},
      exports::SectorsKit{LengthUnit::Millimetre,
                          buildkit::SheetDevelopments(input, {}, {".", ""}, 10.0L, 5.0L)},
      exports::SectorsKit{LengthUnit::Millimetre,
                          buildkit::SheetDevelopments(input, {}, {".", ""}, 30.0L, 0.0L)},
      exports::StavesKit{LengthUnit::Millimetre, buildkit::Staves(input, {}, {".", ""}, 12)},
      exports::StavesKit{LengthUnit::Inch, buildkit::Staves(inch, {}, {".", ""}, 6)},
      exports::PanelsKit{LengthUnit::Millimetre,
                         buildkit::WallPanels(
                             vortalis::testing::FlatRectangularHorn(LengthUnit::Millimetre), {},
                             {".", ""})},
  };
  for (const exports::FlatKit& kit : kits) {
    const exports::KitDrawing drawing = exports::DrawKit(kit);
    for (std::size_t i = 0; i < drawing.pieces.size(); ++i) {
      const exports::KitPiece& piece = drawing.pieces[i];
      std::function<bool(double, double)> inWood;
      std::string number;
      if (!piece.circles.empty()) {
        double hole = 0.0;
        double outer = 0.0;
        for (const auto& circle : piece.circles) outer = std::max(outer, circle.radius);
        for (const auto& circle : piece.circles)
          if (circle.radius < outer) hole = std::max(hole, circle.radius);
        inWood = [hole, outer](double x, double y) {
          return std::hypot(x, y) > hole && std::hypot(x, y) < outer;
        };
        number = std::to_string(piece.number);
      } else {
        const auto outline = std::find_if(piece.paths.begin(), piece.paths.end(),
                                          [](const auto& path) { return path.closed && path.cut; });
        ASSERT_NE(outline, piece.paths.end()) << piece.title;
        inWood = [points = outline->points](double x, double y) { return Inside(points, x, y); };
        number = std::holds_alternative<exports::SectorsKit>(kit) ? std::to_string(i + 1)
                 : std::holds_alternative<exports::PanelsKit>(kit)
                     ? outline->layer.substr(std::string("PANEL_").size())
                     : std::string("stave");
      }
      std::vector<std::string> labels;
      for (const exports::KitText& text : piece.texts) {
        if (text.layer != "LABELS") continue;
        labels.push_back(text.text);
        const double right = text.at.x + 0.8 * text.height * static_cast<double>(text.text.size());
        for (const double x : {text.at.x, right})
          for (const double y : {text.at.y - 0.3 * text.height, text.at.y + text.height})
            EXPECT_TRUE(inWood(x, y)) << piece.title << ": " << text.text;
      }
      const auto has = [&labels](const std::string& word, bool whole) {
        return std::any_of(labels.begin(), labels.end(), [&](const std::string& label) {
          return whole ? label == word || label.starts_with(word + ",") ||
                             label.starts_with(word + ":")
                       : label.find(word) != std::string::npos;
        });
      };
      EXPECT_TRUE(has(number, true)) << piece.title;
      EXPECT_TRUE(has("throat", false)) << piece.title;
      if (std::holds_alternative<exports::SectorsKit>(kit)) {
        EXPECT_TRUE(has("seam", false)) << piece.title;
      }
    }
  }
}

// The tool's kit writer: the STL pieces' names on standard output; a kit the
// horn cannot have is a sentence on standard error.
TEST_F(KitFileTest, ToolWritesTheKitAndNamesThePieces) {
  const std::string stl = Path("horn.stl").toStdString();
  const struct {
    vortalis::report::HornInput horn;
    vortalis::cli::KitOptions options;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {CircularHorn("1000", "10", LengthUnit::Millimetre),
       {&buildkit::kSolidUnit, stl, {{{&buildkit::kSolidWall, 2.0L}, {&buildkit::kSegmentHeight, 40.0L}}}},
       vortalis::cli::kExitDone,
       "horn-2.stl: mouth down, ",
       ""},
      {vortalis::testing::FlatRectangularHorn(LengthUnit::Millimetre),
       {&buildkit::kRingsUnit, Path("rings.csv").toStdString(),
        {{{&buildkit::kBoardThickness, 18.0L}, {&buildkit::kRingWall, 10.0L}}}},
       vortalis::cli::kExitRefused,
       "",
       "made for circular horns only"},
      {CircularHorn("1000", "10", LengthUnit::Millimetre),
       {&buildkit::kPanelsUnit, Path("panels.dxf").toStdString(), {}},
       vortalis::cli::kExitRefused,
       "",
       "Panels are drawn for rectangular horns only"},
  };
  for (const auto& c : cases) {
    volatile std::sig_atomic_t interrupted = 0;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    vortalis::testing::FixedStamp stamp;
    vortalis::cli::ToolEnvironment env{out, err, false, &interrupted, nullptr, stamp};
    EXPECT_EQ(vortalis::cli::WriteKit(c.horn, {".", ""}, c.options, env), c.status);
    const auto read = [](std::FILE* file) {
      std::rewind(file);
      std::string text;
      for (int ch; (ch = std::fgetc(file)) != EOF;) text += static_cast<char>(ch);
      std::fclose(file);
      return text;
    };
    const std::string printed = read(out);
    const std::string complaint = read(err);
    EXPECT_NE(printed.find(c.out), std::string::npos) << printed;
    EXPECT_NE(complaint.find(c.err), std::string::npos) << complaint;
  }
}

// The stave's flat pattern as drawn: its length along x and its width at the
// throat, 2 t tan(pi/N) (flats tangent to the throat's circle), in the horn's unit.
TEST_F(KitFileTest, StaveDxfHasThePatternsLengthAndWidth) {
  struct Case {
    LengthUnit unit;
    const char* throat;
    long double throatRadius;
    int count;
  };
  for (const Case& c :
       {Case{LengthUnit::Millimetre, "10", 10.0L, 8}, Case{LengthUnit::Inch, "0.5", 0.5L, 24}}) {
    const auto input = CircularHorn("500", c.throat, c.unit);
    const buildkit::StavePattern pattern = buildkit::Staves(input, {}, {".", ""}, c.count);
    exports::WriteKitFile(exports::StavesKit{c.unit, pattern}, Path("stave.dxf"));
    const QJsonArray outline = ReadBack(Path("stave.dxf"))["polylines"]
                                   .toObject()["STAVE"]
                                   .toArray()[0]
                                   .toObject()["points"]
                                   .toArray();
    ASSERT_GT(outline.size(), 4);
    double x0 = 1e300, x1 = -1e300, throatLow = 1e300, throatHigh = -1e300;
    for (const QJsonValue& value : outline) {
      const double x = value.toArray()[0].toDouble();
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
    }
    for (const QJsonValue& value : outline) {
      if (value.toArray()[0].toDouble() != x0) continue;
      throatLow = std::min(throatLow, value.toArray()[1].toDouble());
      throatHigh = std::max(throatHigh, value.toArray()[1].toDouble());
    }
    const double pi = static_cast<double>(vortalis::geometry::Pi);
    EXPECT_NEAR(x1 - x0, static_cast<double>(pattern.length), 1e-9);
    EXPECT_NEAR(throatHigh - throatLow,
                2.0 * static_cast<double>(c.throatRadius) * std::tan(pi / c.count), 1e-9);
  }
}

// Each wall's outline on its own layer, closed and as long as its panel, in
// the horn's unit.
TEST_F(KitFileTest, PanelDxfHasEachWallsOutlineOnItsLayer) {
  for (const auto& [unit, insunits] : {std::pair{LengthUnit::Millimetre, 4}, {LengthUnit::Inch, 1}}) {
    const buildkit::PanelSet set =
        buildkit::WallPanels(vortalis::testing::FlatRectangularHorn(unit), {}, {".", ""});
    exports::WriteKitFile(exports::PanelsKit{unit, set}, Path("panels.dxf"));
    const QJsonObject found = ReadBack(Path("panels.dxf"));
    EXPECT_EQ(found["insunits"].toInt(), insunits);
    for (const buildkit::Panel& panel : set.panels) {
      const QJsonArray outlines =
          found["polylines"].toObject()[QString::fromStdString("PANEL_" + panel.name)].toArray();
      ASSERT_EQ(outlines.size(), 1) << panel.name;
      EXPECT_TRUE(outlines[0].toObject()["closed"].toBool());
      double x0 = 1e300, x1 = -1e300;
      for (const QJsonValue& p : outlines[0].toObject()["points"].toArray()) {
        x0 = std::min(x0, p.toArray()[0].toDouble());
        x1 = std::max(x1, p.toArray()[0].toDouble());
      }
      EXPECT_NEAR(x1 - x0, static_cast<double>(panel.length), 1e-9 * x1) << panel.name;
    }
  }
}

// With boards, the drawing's notes say which pair covers which.
TEST_F(KitFileTest, PanelBoardDxfNamesTheCoveringPair) {
  const auto input = vortalis::testing::FlatRectangularHorn(LengthUnit::Millimetre);
  exports::WriteKitFile(
      exports::PanelsKit{LengthUnit::Millimetre, buildkit::WallPanels(input, {}, {".", ""}, 18.0L)},
      Path("panels.dxf"));
  const QJsonArray notes = ReadBack(Path("panels.dxf"))["texts"].toObject()["NOTES"].toArray();
  EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const QJsonValue& note) {
    return note.toString().startsWith(
        QStringLiteral("Panels 2A and 2B cover the edges of 1A and 1B"));
  })) << QJsonDocument(notes).toJson().toStdString();
}

// A file that cannot be written, or a format the kit does not have, is a
// sentence naming the file.
TEST_F(KitFileTest, FailuresNameTheFile) {
  const auto input = CircularHorn("1000", "10", LengthUnit::Millimetre);
  const exports::FlatKit kit = exports::RingsKit{
      LengthUnit::Millimetre, buildkit::StackedRings(input, {}, {".", ""}, 12.0L, 10.0L)};
  for (const QString& path : {Path("missing/rings.dxf"), Path("rings.svg")}) {
    try {
      exports::WriteKitFile(kit, path);
      ADD_FAILURE() << "written: " << path.toStdString();
    } catch (const vortalis::output::OutputError& error) {
      EXPECT_NE(std::string(error.what()).find(path.toStdString()), std::string::npos)
          << error.what();
    }
    EXPECT_FALSE(QFile::exists(path));
  }
}

// The SVG writer keeps six significant digits; the 8 Hz flat-sided horn's
// panels span about 100 m. Every number a path is written with, scaled by its
// group's transform, must still resolve 0.001 mm, and every frame's origin
// must be written exactly (whole multiples of 100 mm).
TEST_F(KitFileTest, SvgNumbersResolveMicrometresOnAHundredMetreDrawing) {
  vortalis::report::RectangularReportInput input;
  input.frequencyText = "8";
  input.flatSides = true;
  exports::WriteKitFile(
      exports::PanelsKit{LengthUnit::Millimetre, buildkit::WallPanels(input, {}, {".", ""})},
      Path("panels.svg"));
  QFile file(Path("panels.svg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString svg = QString::fromUtf8(file.readAll());
  static const QRegularExpression kGroup(
      QStringLiteral("<g [^>]*transform=\"matrix\\(([^)]*)\\)\"[^>]*>(.*?)</g>"),
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression kShape(QStringLiteral("(?:points|d)=\"([^\"]*)\""));
  static const QRegularExpression kNumber(QStringLiteral("[-+0-9.eE]+"));
  int numbers = 0;
  double farthest = 0.0;
  for (auto group = kGroup.globalMatch(svg); group.hasNext();) {
    const auto g = group.next();
    const QStringList matrix = g.captured(1).split(QLatin1Char(','));
    ASSERT_EQ(matrix.size(), 6);
    const double scale = matrix[0].toDouble();
    for (const int k : {4, 5}) {
      const double origin = matrix[k].toDouble();
      EXPECT_EQ(std::fmod(origin, 100.0), 0.0) << matrix[k].toStdString();
      farthest = std::max(farthest, origin);
    }
    for (auto shape = kShape.globalMatch(g.captured(2)); shape.hasNext();) {
      const QString data = shape.next().captured(1);
      for (auto number = kNumber.globalMatch(data); number.hasNext();) {
        const double v = std::fabs(number.next().captured(0).toDouble());
        if (v == 0.0) continue;
        const double step = std::pow(10.0, std::floor(std::log10(v)) - 5.0) * scale;
        ASSERT_LE(step, 0.001 * (1.0 + 1e-9)) << data.left(80).toStdString();
        ++numbers;
      }
    }
  }
  EXPECT_GT(numbers, 1000);
  EXPECT_GT(farthest, 50000.0);  // frames far out on the drawing
}

}  // namespace
