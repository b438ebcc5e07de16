#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string>
#include <set>
#include <vector>

#include "output/output_error.h"
#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "export_test_support.h"
#include "geometry/number_text.h"
#include "report/report_generator.h"
#include "report/table_formats.h"
#include "report_table.h"
#include "report_test_support.h"

namespace {

using vortalis::output::OutputError;
using vortalis::exports::ExportFormat;
using vortalis::exports::ExportProfile;
using vortalis::exports::ProfileCsv;
using vortalis::geometry::FixedText;
using vortalis::geometry::LengthUnit;
using vortalis::testing::CircularHorn;
using vortalis::testing::FlatRectangularHorn;
using vortalis::testing::ReportTable;
using vortalis::testing::RunProgram;
using namespace vortalis::report;

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos;
       from = at + separator.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

// CSV rows against the report's table of the same horn: the same columns and
// texts (the distance with the horn length's decimals), "." and "," whatever
// separators the input was typed with.
void ExpectCsvIsTheReportTable(const std::string& csv, const std::string& header,
                               const std::vector<vortalis::testing::TableRowTexts>& table,
                               const HornProfile& profile) {
  const std::vector<std::string> lines = Split(csv, "\r\n");
  ASSERT_EQ(lines.size(), table.size() + 2);  // the header, and nothing after the last CR LF
  EXPECT_EQ(lines.front(), header);
  EXPECT_EQ(lines.back(), "");
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::vector<std::string> fields = Split(lines[i + 1], ",");
    ASSERT_EQ(fields.size(), table[i].size()) << lines[i + 1];
    const NumberFormat distance = LengthFormat(profile.unit);
    EXPECT_EQ(fields[0], FixedText(profile.points[i].distance, distance.precision,
                                   distance.decimals));
    fields.erase(fields.begin());
    EXPECT_EQ(fields, std::vector<std::string>(table[i].begin() + 1, table[i].end())) << i;
  }
}

TEST(ProfileCsv, CircularRowsAreTheReportsColumnsWithPointDecimals) {
  CircularReportInput typedWithComma = CircularHorn("150", "12,5", LengthUnit::Millimetre);
  typedWithComma.size = vortalis::geometry::SizeMode::Diameter;
  CircularReportInput typedWithPoint = typedWithComma;
  typedWithPoint.throatText = "12.5";
  const HornProfile profile = MakeCircularProfile(typedWithComma, 1.0L, {}, {",", "."});
  const auto table =
      ReportTable(vortalis::testing::Produce(&GenerateCircularReport, typedWithPoint).lines);
  ExpectCsvIsTheReportTable(
      ProfileCsv(profile), "Distance (mm),Diameter (mm),Area (square mm),Flare angle (degrees)",
      table, profile);
}

TEST(ProfileCsv, FlatSidedInchRowsCarryTheFlatSideDistance) {
  RectangularReportInput input = FlatRectangularHorn(LengthUnit::Inch);
  input.increment = vortalis::geometry::TableIncrement::T10;
  const HornProfile profile = MakeRectangularProfile(input, 0.1L, {}, {});
  const auto table = ReportTable(vortalis::testing::Produce(&GenerateRectangularReport, input).lines);
  ExpectCsvIsTheReportTable(ProfileCsv(profile),
                            "Distance (inch),Side 1A - 1B (inch),Side 2A - 2B (inch),"
                            "Area (square inch),Flat side distance (inch)",
                            table, profile);
}

// ezdxf, an independent DXF reader, lists what it finds as JSON.
constexpr const char* kReadDxf = R"(
import json, sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
found = {"insunits": doc.header.get("$INSUNITS"), "polylines": [], "lines": [],
         "fixes": len(doc.audit().fixes)}
for e in doc.modelspace():
    if e.dxftype() == "LWPOLYLINE":
        found["polylines"].append({"layer": e.dxf.layer, "closed": e.closed,
                                   "points": [[p[0], p[1]] for p in e.get_points("xy")]})
    elif e.dxftype() == "LINE":
        found["lines"].append({"layer": e.dxf.layer,
                               "points": [list(e.dxf.start)[:2], list(e.dxf.end)[:2]]})
print(json.dumps(found))
)";

QJsonObject ReadBack(const QString& dxf) {
  const vortalis::testing::ProcessResult result =
      RunProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), kReadDxf, dxf});
  EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
  return QJsonDocument::fromJson(result.out).object();
}

struct Vertex {
  double x;
  double y;
};

std::vector<Vertex> Vertices(const QJsonObject& entity) {
  std::vector<Vertex> vertices;
  for (const QJsonValue& point : entity["points"].toArray())
    vertices.push_back({point.toArray()[0].toDouble(), point.toArray()[1].toDouble()});
  return vertices;
}

// The polylines on `layer`, in the file's order.
std::vector<std::vector<Vertex>> Polylines(const QJsonObject& dxf, const QString& layer) {
  std::vector<std::vector<Vertex>> found;
  for (const QJsonValue& entity : dxf["polylines"].toArray())
    if (entity.toObject()["layer"].toString() == layer) found.push_back(Vertices(entity.toObject()));
  return found;
}

// The wall and its mirror image, each passing through every expected point in
// order (more points lie between where the curve needs them).
void ExpectWall(const std::vector<std::vector<Vertex>>& polylines,
                const std::vector<Vertex>& expected) {
  ASSERT_EQ(polylines.size(), 2u);
  for (int side : {0, 1}) {
    const std::vector<Vertex>& got = polylines[static_cast<std::size_t>(side)];
    std::size_t next = 0;
    for (std::size_t i = 0; i < got.size() && next < expected.size(); ++i) {
      if (i > 0) {
        EXPECT_GT(got[i].x, got[i - 1].x) << i;
      }
      const Vertex& e = expected[next];
      if (std::fabs(got[i].x - e.x) > 1e-9 * (1.0 + e.x)) continue;
      EXPECT_NEAR(got[i].y, side == 0 ? e.y : -e.y, 1e-9 * (1.0 + e.y)) << i;
      ++next;
    }
    EXPECT_EQ(next, expected.size()) << "side " << side;
    EXPECT_EQ(got.back().x, expected.back().x);
  }
}

TEST(ProfileDxf, ReadBackByEzdxfHasTheWallsTheAxisAndTheUnit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  const HornProfile circle =
      MakeCircularProfile(CircularHorn("300", "10", LengthUnit::Millimetre), 18.0L, {}, {});
  const QString circleFile = dir.filePath(QStringLiteral("circle.dxf"));
  ExportProfile(circle, ExportFormat::Dxf, circleFile);
  const QJsonObject circleDxf = ReadBack(circleFile);
  EXPECT_EQ(circleDxf["insunits"].toInt(), 4);  // millimetres
  std::vector<Vertex> wall;
  for (const ProfilePoint& p : circle.points)
    wall.push_back({static_cast<double>(p.distance), static_cast<double>(p.radius)});
  ExpectWall(Polylines(circleDxf, QStringLiteral("WALL")), wall);
  EXPECT_EQ(circleDxf["fixes"].toInt(), 0);
  // The closed outline: throat on the axis, the wall, the end back to the axis.
  const auto outlines = Polylines(circleDxf, QStringLiteral("PROFILE"));
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].front().x, 0.0);
  EXPECT_EQ(outlines[0].front().y, 0.0);
  EXPECT_EQ(outlines[0][1].y, wall.front().y);
  EXPECT_EQ(outlines[0].back().y, 0.0);
  EXPECT_EQ(outlines[0].back().x, wall.back().x);
  std::vector<QJsonObject> axes;
  int ticks = 0;
  for (const QJsonValue& line : circleDxf["lines"].toArray()) {
    if (line.toObject()["layer"].toString() == QStringLiteral("AXIS"))
      axes.push_back(line.toObject());
    ticks += line.toObject()["layer"].toString() == QStringLiteral("STATIONS");
  }
  // A tick across each wall at every station but the throat and the mouth.
  EXPECT_EQ(ticks, 2 * static_cast<int>(circle.points.size() - 2));
  ASSERT_EQ(axes.size(), 1u);
  const std::vector<Vertex> axis = Vertices(axes[0]);
  EXPECT_EQ(axis[0].x, 0.0);
  EXPECT_EQ(axis[0].y, 0.0);
  EXPECT_NEAR(axis[1].x, static_cast<double>(circle.length), 1e-9 * static_cast<double>(circle.length));
  EXPECT_EQ(axis[1].y, 0.0);

  const HornProfile flat = MakeRectangularProfile(FlatRectangularHorn(LengthUnit::Inch), 0.75L,
                                                  {MouthLimitKind::Length, 20.0L}, {});
  const QString flatFile = dir.filePath(QStringLiteral("flat.dxf"));
  ExportProfile(flat, ExportFormat::Dxf, flatFile);
  const QJsonObject flatDxf = ReadBack(flatFile);
  EXPECT_EQ(flatDxf["insunits"].toInt(), 1);  // inches
  std::vector<Vertex> sides1, sides2;
  for (const ProfilePoint& p : flat.points)
    sides2.push_back({static_cast<double>(p.distance), static_cast<double>(p.side2 * 0.5L)});
  // The flat side is straight: its two ends only.
  for (const ProfilePoint* p : {&flat.points.front(), &flat.points.back()})
    sides1.push_back({static_cast<double>(p->distance), static_cast<double>(p->side1 * 0.5L)});
  ExpectWall(Polylines(flatDxf, QStringLiteral("SIDES_1A_1B")), sides1);
  ExpectWall(Polylines(flatDxf, QStringLiteral("SIDES_2A_2B")), sides2);
  EXPECT_EQ(sides1.back().x, 20.0);
}

// The svg element's width, height and viewBox attributes.
std::vector<QString> SvgSize(const QByteArray& svg) {
  static const QRegularExpression size(QStringLiteral(
      "<svg width=\"([^\"]*)\" height=\"([^\"]*)\" viewBox=\"([^\"]*)\""));
  const QRegularExpressionMatch match = size.match(QString::fromUtf8(svg));
  if (!match.hasMatch()) return {};
  return {match.captured(1), match.captured(2), match.captured(3)};
}

TEST(ProfileSvg, WidthInMillimetresIsTheDrawnLength) {
  struct Case {
    const char* name;
    HornProfile profile;
    const char* width;  // the horn's length and a 5 mm margin each side, in mm
  };
  const std::vector<Case> cases{
      {"circular mm",
       MakeCircularProfile(CircularHorn("300", "10", LengthUnit::Millimetre), 1.0L, {}, {}),
       "476.518mm"},
      // 29.32101 inch (the report's length) is 744.754 mm.
      {"circular inch", MakeCircularProfile(CircularHorn("200", "0.5", LengthUnit::Inch), 0.1L,
                                            {}, {}),
       "754.754mm"},
      {"cut at a length",
       MakeRectangularProfile(FlatRectangularHorn(LengthUnit::Millimetre), 18.0L,
                              {MouthLimitKind::Length, 250.0L}, {}),
       "260.000mm"},
  };
  for (const Case& c : cases) {
    const QByteArray svg = vortalis::exports::ProfileSvg(c.profile);
    const std::vector<QString> size = SvgSize(svg);
    ASSERT_EQ(size.size(), 3u) << c.name;
    EXPECT_EQ(size[0].toStdString(), c.width) << c.name;
    // One viewBox unit is one millimetre; the throat stands at the margin.
    const QStringList box = size[2].split(' ');
    ASSERT_EQ(box.size(), 4) << c.name;
    EXPECT_EQ(box[0], QStringLiteral("-5.000")) << c.name;
    EXPECT_EQ(box[2] + "mm", size[0]) << c.name;
    EXPECT_EQ(box[3] + "mm", size[1]) << c.name;
    // The legend names every curve.
    for (const auto& curve : vortalis::exports::ProfileCurves(c.profile))
      EXPECT_TRUE(svg.contains(QByteArray::fromStdString(curve.label))) << c.name << curve.label;
    const QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid()) << c.name;
  }
}

TEST(ProfileExport, FailureNamesTheFileAndLeavesNoFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const HornProfile profile = MakeCircularProfile(CircularReportInput{}, 10.0L, {}, {});
  const QString missing = dir.filePath(QStringLiteral("no such folder/horn.csv"));
  try {
    ExportProfile(profile, ExportFormat::Csv, missing);
    ADD_FAILURE() << "written into a missing folder";
  } catch (const OutputError& e) {
    EXPECT_NE(std::string(e.what()).find("no such folder/horn.csv"), std::string::npos) << e.what();
  }
  // A file that exists is replaced whole.
  const QString path = dir.filePath(QStringLiteral("horn.csv"));
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(QByteArray(100000, 'x'));
  old.close();
  ExportProfile(profile, ExportFormat::Csv, path);
  QFile written(path);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll().toStdString(), ProfileCsv(profile));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("horn.csv")});
}

TEST(StationMarks, CrossTheWallAtReadableIntervals) {
  struct Case {
    const char* name;
    HornProfile profile;
    qreal mmPerUnit;
  };
  const std::vector<Case> cases{
      {"circular, 18 mm", MakeCircularProfile(CircularHorn("300", "10", LengthUnit::Millimetre),
                                              18.0L, {}, {}), 1.0},
      {"circular, 0.25 mm", MakeCircularProfile(CircularHorn("300", "10", LengthUnit::Millimetre),
                                                0.25L, {}, {}), 1.0},
      {"flat sides, inch", MakeRectangularProfile(FlatRectangularHorn(LengthUnit::Inch), 0.75L,
                                                  {MouthLimitKind::Length, 20.0L}, {}), 25.4},
      {"flat sides, mm", MakeRectangularProfile(FlatRectangularHorn(LengthUnit::Millimetre),
                                                18.0L, {}, {}), 1.0},
  };
  for (const Case& c : cases) {
    const auto curves = vortalis::exports::ProfileCurves(c.profile);
    const auto marks = vortalis::exports::StationMarks(c.profile);
    ASSERT_EQ(marks.size(), curves.size()) << c.name;
    std::set<qreal> labels;  // stations labelled on some curve, in mm
    for (std::size_t k = 0; k < marks.size(); ++k) {
      ASSERT_FALSE(marks[k].empty()) << c.name;
      const std::vector<QPointF>& wall = curves[k].points;
      qreal lastMark = 0.0;
      for (std::size_t j = 0; j < marks[k].size(); ++j) {
        const auto& mark = marks[k][j];
        // On the wall, across it: a unit normal of the drawn curve, away from the axis.
        QPointF chord = wall.back() - wall.front();
        if (!curves[k].straight) {
          const auto at = std::lower_bound(
              wall.begin(), wall.end(), mark.point,
              [](const QPointF& p, const QPointF& q) { return p.x() < q.x(); });
          ASSERT_TRUE(at != wall.begin() && at + 1 != wall.end()) << c.name;
          EXPECT_EQ(*at, mark.point) << c.name;
          chord = *(at + 1) - *(at - 1);
        }
        const qreal chordLength = std::hypot(chord.x(), chord.y());
        EXPECT_NEAR(std::hypot(mark.across.x(), mark.across.y()), 1.0, 1e-9) << c.name;
        EXPECT_NEAR(QPointF::dotProduct(mark.across, chord) / chordLength, 0.0, 0.02) << c.name;
        EXPECT_GT(mark.across.y(), 0.0) << c.name;
        const qreal mm = static_cast<qreal>(mark.distance) * c.mmPerUnit;
        EXPECT_GE(mm - lastMark, vortalis::exports::kStationMarkSpacingMm - 1e-9) << c.name;
        lastMark = mm;
        if (!mark.labelled) continue;
        labels.insert(mm);
        // No other curve's tick stands in the room the text needs beyond this one.
        for (std::size_t other = 0; other < marks.size(); ++other) {
          const qreal above = (marks[other][j].point.y() - mark.point.y()) * c.mmPerUnit;
          if (other == k) continue;
          EXPECT_FALSE(above > 0.0 && above < vortalis::exports::kStationLabelRoomMm)
              << c.name << " at " << mm;
        }
      }
    }
    qreal lastLabel = 0.0;
    for (const qreal mm : labels) {
      EXPECT_GE(mm - lastLabel, vortalis::exports::kStationLabelSpacingMm - 1e-9) << c.name;
      EXPECT_LT(mm - lastLabel, 2.0 * vortalis::exports::kStationLabelSpacingMm) << c.name;
      lastLabel = mm;
    }
  }
}

}  // namespace
