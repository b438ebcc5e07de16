#include <gtest/gtest.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string>

#include "output/output_error.h"
#include "export/full_size_template.h"
#include "export/profile_curves.h"
#include "export_test_support.h"

namespace {

using vortalis::exports::DrawTemplatePage;
using vortalis::output::OutputError;
using vortalis::exports::kTemplateOverlapMm;
using vortalis::exports::LayoutTemplate;
using vortalis::exports::ProfileCurves;
using vortalis::exports::TemplateLayout;
using vortalis::exports::TemplatePage;
using vortalis::exports::TemplatePageDrawing;
using vortalis::geometry::LengthUnit;
using vortalis::testing::CircularHorn;
using vortalis::testing::FlatRectangularHorn;
using namespace vortalis::report;

const QSizeF kA4Portrait(190.0, 277.0);  // printable, with 10 mm margins
const QSizeF kA4Landscape(277.0, 190.0);

// A 40 Hz bass horn, cut at a radius of 300 mm: about 1 m long.
HornProfile BassHorn() {
  return MakeCircularProfile(CircularHorn("40", "25", LengthUnit::Millimetre), 10.0L,
                             {MouthLimitKind::Radius, 300.0L}, {});
}

// The tractrix computed here, apart from the program: the radius at distance x
// from the throat of a horn of cut-off fc (c = 340 m/s) and throat radius r0, in mm.
struct Tractrix {
  long double a;
  long double r0;
  Tractrix(long double fc, long double throat)
      : a(340000.0L / (2.0L * 3.14159265358979323846L * fc)), r0(throat) {}
  long double FromMouth(long double r) const {
    const long double s = std::sqrt(a * a - r * r);
    return a * std::log((a + s) / r) - s;
  }
  long double Length() const { return FromMouth(r0); }
  long double RadiusAt(long double x) const {
    long double low = r0;
    long double high = a;
    for (int i = 0; i < 200; ++i) {
      const long double middle = (low + high) / 2.0L;
      (FromMouth(r0) - FromMouth(middle) < x ? low : high) = middle;
    }
    return low;
  }
};

// A curved wall's station inside the window (stations 1 mm apart at most).
bool ShowsAWall(const HornProfile& profile, const QRectF& window) {
  const qreal scale = profile.unit == LengthUnit::Millimetre ? 1.0 : 25.4;
  for (const ProfilePoint& point : profile.points) {
    const qreal x = static_cast<qreal>(point.distance) * scale;
    const qreal side2 = static_cast<qreal>(point.side2) * scale / 2.0;
    const qreal wall = !profile.rectangular ? static_cast<qreal>(point.radius) * scale : side2;
    const qreal side1 = static_cast<qreal>(point.side1) * scale / 2.0;
    if (window.contains(x, wall)) return true;
    if (profile.rectangular && !profile.flatSides && window.contains(x, side1)) return true;
  }
  return false;
}

TEST(TemplateLayout, EverySheetShowsAWallAndTogetherTheyShowAllOfIt) {
  RectangularReportInput flat32;
  flat32.frequencyText = "32";
  flat32.side1Text = "40";
  flat32.side2Text = "50";
  flat32.flatSides = true;
  flat32.mouthText = "3000";
  flat32.location = vortalis::geometry::MouthLocation::ThreeWalls;
  const std::vector<HornProfile> horns{
      BassHorn(), MakeRectangularProfile(FlatRectangularHorn(LengthUnit::Inch), 0.02L, {}, {}),
      MakeRectangularProfile(flat32, 1.0L, {}, {})};
  for (const HornProfile& profile : horns) {
    const TemplateLayout layout = LayoutTemplate(profile, kA4Landscape);
    ASSERT_GT(layout.pages.size(), 2u);
    for (const TemplatePage& page : layout.pages) {
      EXPECT_EQ(page.window.size(), layout.drawingArea.size());
      EXPECT_TRUE(ShowsAWall(profile, page.window)) << "page " << page.number;
      EXPECT_GE(page.referenceMm, page.window.top());
      EXPECT_LE(page.referenceMm, page.window.bottom());
    }
    const qreal scale = profile.unit == LengthUnit::Millimetre ? 1.0 : 25.4;
    for (const auto& curve : ProfileCurves(profile)) {
      if (curve.straight) continue;
      for (const QPointF& point : curve.points) {
        const QPointF mm = point * scale;
        EXPECT_TRUE(std::any_of(layout.pages.begin(), layout.pages.end(),
                                [&mm](const TemplatePage& page) {
                                  return page.window.contains(mm);
                                }))
            << curve.label << " at " << mm.x();
      }
    }
  }
}

// Sheets per column of the 10 Hz horn, counted from the tractrix computed
// here: the wall's rise across the column, 18 mm below it and 8 mm above it,
// on sheets that share 10 mm.
TEST(TemplateLayout, TheTenHertzHornPrintsTheSheetsOverItsWall) {
  const HornProfile profile =
      MakeCircularProfile(CircularHorn("10", "25", LengthUnit::Millimetre), 1.0L, {}, {});
  const Tractrix tractrix(10.0L, 25.0L);
  for (const QSizeF& printable : {kA4Portrait, kA4Landscape}) {
    const TemplateLayout layout = LayoutTemplate(profile, printable);
    const qreal width = layout.drawingArea.width();
    const qreal height = layout.drawingArea.height();
    const qreal length = static_cast<qreal>(tractrix.Length());
    int expected = 0;
    for (qreal left = -8.0; left < length + 8.0 - 10.0; left += width - 10.0) {
      const qreal low = static_cast<qreal>(tractrix.RadiusAt(std::max<qreal>(0.0, left)));
      const qreal high =
          static_cast<qreal>(tractrix.RadiusAt(std::min<qreal>(length, left + width)));
      const qreal band = high - low + 26.0;
      expected += band <= height ? 1 : static_cast<int>(std::ceil((band - 10.0) / (height - 10.0)));
    }
    EXPECT_EQ(static_cast<int>(layout.pages.size()), expected) << printable.width();
    EXPECT_EQ(layout.PrintedPages(), expected + 1);
    EXPECT_LE(layout.PrintedPages(), vortalis::exports::kMaxTemplatePages);
  }
  const auto best = vortalis::exports::FewerTemplatePages(profile, QPageSize(QPageSize::A4));
  EXPECT_EQ(best.pages, std::min(LayoutTemplate(profile, kA4Portrait).PrintedPages(),
                                 LayoutTemplate(profile, kA4Landscape).PrintedPages()));
}

TEST(TemplateDrawing, RulerAndCurveAreFullSizeOnTheDevice) {
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  QPdfWriter writer(&pdf);
  writer.setResolution(600);
  const qreal unitsPerMm = writer.logicalDpiX() / 25.4;
  ASSERT_EQ(writer.logicalDpiX(), 600);
  struct Case {
    HornProfile profile;
    qreal rulerMm;
  };
  const std::vector<Case> cases{
      {BassHorn(), 100.0},
      {MakeCircularProfile(CircularHorn("200", "0.5", LengthUnit::Inch), 0.5L, {}, {}), 101.6},
  };
  for (const Case& c : cases) {
    const TemplateLayout layout = LayoutTemplate(c.profile, kA4Portrait);
    for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
      const TemplatePage& page = layout.pages[static_cast<std::size_t>(i)];
      const TemplatePageDrawing drawing = DrawTemplatePage(c.profile, layout, i, unitsPerMm, {});
      EXPECT_NEAR(drawing.ruler.length(), c.rulerMm * unitsPerMm, 1e-6) << i;
      EXPECT_EQ(drawing.ruler.dy(), 0.0);
      const QString label =
          QStringLiteral("page %1 of %2").arg(page.number).arg(layout.pages.size());
      EXPECT_TRUE(std::any_of(drawing.texts.begin(), drawing.texts.end(),
                              [&label](const auto& text) { return text.text == label; }))
          << label.toStdString();
      // The reference line stands at its distance from the window's top edge.
      EXPECT_EQ(drawing.reference.dy(), 0.0);
      EXPECT_NEAR(drawing.reference.y1(),
                  (layout.drawingArea.top() + page.window.bottom() - page.referenceMm) * unitsPerMm,
                  1e-6);
    }
  }
}

int PdfPages(const QString& path) {
  const auto info =
      vortalis::testing::RunProgram(QStringLiteral("pdfinfo"), {path});
  EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
  static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
  const QRegularExpressionMatch match = pages.match(QString::fromUtf8(info.out));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST(TemplatePdf, HasThePagesOfTheLayoutInTheBetterOrientation) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const HornProfile profile = BassHorn();
  const QString path = dir.filePath(QStringLiteral("bass.pdf"));
  const int written = vortalis::exports::WriteTemplatePdf(profile, path);
  const int expected = std::min(LayoutTemplate(profile, kA4Portrait).PrintedPages(),
                                LayoutTemplate(profile, kA4Landscape).PrintedPages());
  EXPECT_EQ(written, expected);
  EXPECT_GT(written, 3);
  EXPECT_EQ(PdfPages(path), written);
}

// The print dialog's printer, set to PDF output, takes the same pages.
TEST(TemplatePdf, PrinterWithPdfOutputPrintsTheLayout) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const HornProfile profile = BassHorn();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
  const int printed = vortalis::exports::PrintFullSizeTemplate(profile, printer);
  EXPECT_EQ(printed, LayoutTemplate(profile, kA4Landscape).PrintedPages());
  EXPECT_EQ(PdfPages(printer.outputFileName()), printed);
}

// Each sheet's printed distances, read back from the PDF, lie on the tractrix
// computed here: where the wall enters and leaves the sheet, measured from the
// sheet's reference line, on the sheet's edges.
TEST(TemplatePdf, EachSheetsPrintedDistancesLieOnTheTractrix) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const HornProfile profile = BassHorn();
  const Tractrix tractrix(40.0L, 25.0L);
  const QString path = dir.filePath(QStringLiteral("bass.pdf"));
  const int written = vortalis::exports::WriteTemplatePdf(profile, path);
  const auto text = vortalis::testing::RunProgram(QStringLiteral("pdftotext"), {path, "-"});
  ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
  const QStringList pages = QString::fromUtf8(text.out).split('\f');
  ASSERT_GE(pages.size(), written);
  EXPECT_TRUE(pages[0].contains(QStringLiteral("Assembly map: %1 sheets").arg(written - 1)));

  static const QRegularExpression sheet(QStringLiteral(
      "This sheet: ([\\d.]+) mm to ([\\d.]+) mm from the throat, ([\\d.]+) mm to ([\\d.]+) mm "
      "from the axis; reference line ([\\d.]+) mm from the axis\\."));
  static const QRegularExpression wall(QStringLiteral(
      "Wall: at ([\\d.]+) mm from the throat ([\\d.]+) mm (above|below) the reference line; "
      "at ([\\d.]+) mm from the throat ([\\d.]+) mm (above|below)\\."));
  const long double end = profile.points.back().distance;
  for (int number = 1; number < written; ++number) {
    const QString& page = pages[number];
    EXPECT_TRUE(page.contains(QStringLiteral("page %1 of %2").arg(number).arg(written - 1)));
    const QRegularExpressionMatch range = sheet.match(page);
    const QRegularExpressionMatch passage = wall.match(page);
    ASSERT_TRUE(range.hasMatch() && passage.hasMatch()) << "sheet " << number;
    const auto value = [](const QRegularExpressionMatch& m, int i) {
      return static_cast<long double>(m.captured(i).toDouble());
    };
    const long double reference = value(range, 5);
    for (int at : {1, 4}) {
      const long double x = value(passage, at);
      const long double y = reference + (passage.captured(at + 2) == "below" ? -1.0L : 1.0L) *
                                            value(passage, at + 1);
      const auto near = [](long double a, long double b) { return std::fabs(a - b) <= 0.006L; };
      // On the wall, to the printed two decimals either way.
      EXPECT_TRUE(std::fabs(tractrix.RadiusAt(x) - y) <= 0.011L ||
                  std::fabs(tractrix.Length() - tractrix.FromMouth(y) - x) <= 0.011L)
          << "sheet " << number << " at " << static_cast<double>(x);
      // On one of the sheet's edges, or at the wall's end.
      EXPECT_TRUE(near(x, value(range, 1)) || near(x, value(range, 2)) ||
                  near(y, value(range, 3)) || near(y, value(range, 4)) || near(x, 0.0L) ||
                  near(x, end))
          << "sheet " << number << " at " << static_cast<double>(x);
    }
  }
}

TEST(TemplateLayout, RefusesSmallPagesAndHugeHorns) {
  EXPECT_THROW(LayoutTemplate(BassHorn(), QSizeF(85.0, 128.0)), OutputError);  // A6
  // A 2 Hz horn is some 27 m long and 27 m wide: thousands of pages.
  const HornProfile huge =
      MakeCircularProfile(CircularHorn("2", "25", LengthUnit::Millimetre), 100.0L, {}, {});
  try {
    LayoutTemplate(huge, kA4Portrait);
    ADD_FAILURE() << "a template of thousands of pages";
  } catch (const OutputError& e) {
    EXPECT_NE(std::string(e.what()).find("at most 500"), std::string::npos) << e.what();
  }
}

}  // namespace
