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

// Every sheet shows some wall that no other sheet shows, so none lies within
// another's overlap: also where the drawing's end falls just past a column.
TEST(TemplateLayout, EverySheetShowsWallThatNoOtherSheetShows) {
  RectangularReportInput flat;  // 32 Hz, 40 x 50 mm, 3 m between the flat sides
  flat.flatSides = true;
  const std::vector<HornProfile> horns{
      MakeRectangularProfile(flat, 10.0L, {MouthLimitKind::Side1, 1000.0L}, {}),
      MakeRectangularProfile(flat, 10.0L, {}, {}), BassHorn(),
      MakeCircularProfile(CircularHorn("300", "10", LengthUnit::Millimetre), 1.0L, {}, {})};
  for (const HornProfile& profile : horns) {
    std::vector<QPointF> wall;  // every 0.1 mm along the curved walls
    for (const auto& curve : ProfileCurves(profile)) {
      if (curve.straight) continue;
      for (std::size_t i = 1; i < curve.points.size(); ++i) {
        const QPointF from = curve.points[i - 1];
        const QPointF to = curve.points[i];
        const int steps = static_cast<int>(std::ceil(QLineF(from, to).length() / 0.1));
        for (int k = 0; k < steps; ++k) wall.push_back(from + (to - from) * k / steps);
      }
    }
    for (const QSizeF& printable : {kA4Portrait, kA4Landscape}) {
      const TemplateLayout layout = LayoutTemplate(profile, printable);
      for (const TemplatePage& page : layout.pages) {
        EXPECT_TRUE(std::any_of(wall.begin(), wall.end(), [&](const QPointF& point) {
          return page.window.contains(point) &&
                 std::none_of(layout.pages.begin(), layout.pages.end(),
                              [&](const TemplatePage& other) {
                                return &other != &page && other.window.contains(point);
                              });
        })) << "page " << page.number << " of " << layout.PrintedPages();
      }
    }
  }
}

// Sheets per column of the 10 Hz horn, counted from the tractrix computed
// here: the wall's rise across the column, 18 mm below it and 8 mm above it,
// on sheets that share 10 mm; margins shrink (to 4.5 and 2 mm, across to 2 mm
// each side of the horn) rather than take a sheet of their own.
TEST(TemplateLayout, TheTenHertzHornPrintsTheSheetsOverItsWall) {
  const HornProfile profile =
      MakeCircularProfile(CircularHorn("10", "25", LengthUnit::Millimetre), 1.0L, {}, {});
  const Tractrix tractrix(10.0L, 25.0L);
  for (const QSizeF& printable : {kA4Portrait, kA4Landscape}) {
    const TemplateLayout layout = LayoutTemplate(profile, printable);
    const qreal width = layout.drawingArea.width();
    const qreal height = layout.drawingArea.height();
    const qreal length = static_cast<qreal>(tractrix.Length());
    const auto sheetsFor = [](qreal span, qreal window) {
      return span <= window ? 1 : static_cast<int>(std::ceil((span - 10.0) / (window - 10.0)));
    };
    int columns = sheetsFor(length + 16.0, width);
    qreal start = -8.0;
    if (sheetsFor(length + 4.0, width) < columns) {
      columns = sheetsFor(length + 4.0, width);
      start = -(columns * (width - 10.0) + 10.0 - length) / 2.0;
    }
    EXPECT_EQ(layout.columns, columns);
    int expected = 0;
    for (int column = 0; column < columns; ++column) {
      const qreal left = start + column * (width - 10.0);
      const qreal low = static_cast<qreal>(tractrix.RadiusAt(std::max<qreal>(0.0, left)));
      const qreal high =
          static_cast<qreal>(tractrix.RadiusAt(std::min<qreal>(length, left + width)));
      expected += std::min(sheetsFor(high - low + 26.0, height), sheetsFor(high - low + 6.5, height));
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
          QStringLiteral("page %1 of %2").arg(i + 2).arg(layout.pages.size() + 1);
      EXPECT_TRUE(std::any_of(drawing.texts.begin(), drawing.texts.end(),
                              [&label](const auto& text) { return text.text == label; }))
          << label.toStdString();
      // The reference line stands at its distance from the window's top edge.
      EXPECT_EQ(drawing.reference.dy(), 0.0);
      EXPECT_NEAR(drawing.reference.y1(),
                  (layout.drawingArea.top() + page.window.bottom() - page.referenceMm) * unitsPerMm,
                  1e-6);
      // The axis, wherever the sheet holds it.
      const bool holdsAxis = page.window.top() <= 0.0 && page.window.bottom() >= 0.0;
      ASSERT_EQ(!drawing.axis.isNull(), holdsAxis) << i;
      if (holdsAxis) {
        EXPECT_NEAR(drawing.axis.y1(), (layout.drawingArea.top() + page.window.bottom()) * unitsPerMm,
                    1e-6);
        EXPECT_EQ(drawing.axis.dy(), 0.0);
      }
    }
  }
}

// No label in the drawing covers another or the wall (the tractrix computed
// here, every 0.05 mm along the axis), and the throat's and the mouth's are
// both there: a 2000 Hz tweeter's short wall leaves them little room.
TEST(TemplateDrawing, LabelsKeepOffEachOtherAndTheWall) {
  const qreal u = 600.0 / 25.4;
  struct Case {
    HornProfile profile;
    Tractrix tractrix;
  };
  const std::vector<Case> cases{
      {MakeCircularProfile(CircularHorn("2000", "10", LengthUnit::Millimetre), 1.0L, {}, {}),
       Tractrix(2000.0L, 10.0L)},
      {BassHorn(), Tractrix(40.0L, 25.0L)}};
  for (const Case& c : cases) {
    const TemplateLayout layout = LayoutTemplate(c.profile, kA4Portrait);
    std::vector<QPointF> wall;
    for (double x = 0.0; x <= static_cast<double>(c.profile.points.back().distance); x += 0.05)
      wall.emplace_back(x, static_cast<qreal>(c.tractrix.RadiusAt(x)));
    int ends = 0;
    for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
      const QRectF& w = layout.pages[static_cast<std::size_t>(i)].window;
      const auto onPage = [&](qreal x, qreal y) {
        return QPointF((layout.drawingArea.left() + x - w.left()) * u,
                       (layout.drawingArea.top() + w.bottom() - y) * u);
      };
      const auto labels = DrawTemplatePage(c.profile, layout, i, u, {}).labels;
      for (std::size_t a = 0; a < labels.size(); ++a) {
        const QRectF& box = labels[a].box;
        ends += labels[a].text == "throat" || labels[a].text == "mouth" || labels[a].text == "cut";
        for (std::size_t b = a + 1; b < labels.size(); ++b)
          EXPECT_FALSE(box.intersects(labels[b].box))
              << labels[a].text.toStdString() << " / " << labels[b].text.toStdString();
        for (const QPointF& point : wall)
          ASSERT_FALSE(box.contains(onPage(point.x(), point.y())))
              << labels[a].text.toStdString() << " at " << point.x();
      }
    }
    EXPECT_EQ(ends, 2);
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

// The template's PDF, one text per page (the map first).
QStringList PdfPageTexts(const HornProfile& profile, const QTemporaryDir& dir) {
  const QString path = dir.filePath(QStringLiteral("template.pdf"));
  const int written = vortalis::exports::WriteTemplatePdf(profile, path);
  const auto text = vortalis::testing::RunProgram(QStringLiteral("pdftotext"), {path, "-"});
  EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
  QStringList pages = QString::fromUtf8(text.out).split('\f');
  EXPECT_GE(pages.size(), written);
  while (pages.size() > written) pages.removeLast();
  return pages;
}

const QRegularExpression kSheetRange(QStringLiteral(
    "This sheet: ([\\d.]+) mm to ([\\d.]+) mm from the throat, ([\\d.]+) mm to ([\\d.]+) mm "
    "from the axis; reference line ([\\d.]+) mm from the axis\\."));

double Captured(const QRegularExpressionMatch& match, int i) {
  return match.captured(i).toDouble();
}

// Each sheet's check values, read back from the PDF, lie on the tractrix
// computed here: a height above the reference line at exactly the stated
// distance from the throat, or a distance at exactly the stated height, to
// the printed two decimals. The 150 Hz horn's wall leaves its sheets steeply
// near the mouth.
TEST(TemplatePdf, EachSheetsCheckValuesLieOnTheTractrix) {
  struct Case {
    HornProfile profile;
    Tractrix tractrix;
    bool steep;
  };
  const std::vector<Case> cases{
      {BassHorn(), Tractrix(40.0L, 25.0L), false},
      {MakeCircularProfile(CircularHorn("150", "10", LengthUnit::Millimetre), 1.0L, {}, {}),
       Tractrix(150.0L, 10.0L), true}};
  static const QRegularExpression check(QStringLiteral(
      "at exactly ([\\d.]+) mm (from the throat|above|below), ([\\d.]+) mm "
      "(from the throat|above|below)"));
  for (const Case& c : cases) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList pages = PdfPageTexts(c.profile, dir);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Assembly map: %1 sheets").arg(pages.size() - 1)));
    int exactHeights = 0;
    for (int number = 2; number <= pages.size(); ++number) {
      const QString& page = pages[number - 1];
      EXPECT_TRUE(page.contains(QStringLiteral("page %1 of %2").arg(number).arg(pages.size())));
      const QRegularExpressionMatch range = kSheetRange.match(page);
      ASSERT_TRUE(range.hasMatch()) << "page " << number;
      const long double reference = Captured(range, 5);
      auto values = check.globalMatch(page);
      int found = 0;
      for (; values.hasNext(); ++found) {
        const QRegularExpressionMatch m = values.next();
        const bool atDistance = m.captured(2) == "from the throat";
        const QString side = atDistance ? m.captured(4) : m.captured(2);
        const long double height = Captured(m, atDistance ? 3 : 1);
        const long double y = reference + (side == "below" ? -height : height);
        const long double x = Captured(m, atDistance ? 1 : 3);
        if (atDistance) {
          EXPECT_NEAR(static_cast<double>(c.tractrix.RadiusAt(x)), static_cast<double>(y), 0.0055)
              << "page " << number << " at " << static_cast<double>(x);
        } else {
          ++exactHeights;
          EXPECT_NEAR(static_cast<double>(c.tractrix.Length() - c.tractrix.FromMouth(y)),
                      static_cast<double>(x), 0.0055)
              << "page " << number << " at height " << static_cast<double>(y);
        }
      }
      EXPECT_EQ(found, 2) << "page " << number;
    }
    if (c.steep) {
      EXPECT_GT(exactHeights, 0);
    }
  }
}

// Each sheet's notes name PDF pages: the sheets it is glued over and that
// continue it share part of its drawing, and the map names the throat's page.
TEST(TemplatePdf, JoinNotesNameThePdfPagesOfTheNeighbours) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList pages = PdfPageTexts(BassHorn(), dir);
  ASSERT_GT(pages.size(), 3);
  EXPECT_TRUE(pages[0].contains(QStringLiteral("page 2 is at the throat")));
  const auto range = [&pages](int number) {
    const QRegularExpressionMatch m = kSheetRange.match(pages[number - 1]);
    EXPECT_TRUE(m.hasMatch()) << "page " << number;
    return QRectF(QPointF(Captured(m, 1), Captured(m, 3)), QPointF(Captured(m, 2), Captured(m, 4)));
  };
  EXPECT_EQ(range(2).left(), 0.0);
  static const QRegularExpression note(
      QStringLiteral("(?:glue over|continues on) pages? ((?:\\d+(?:, | and )?)+)"));
  static const QRegularExpression number(QStringLiteral("\\d+"));
  int named = 0;
  for (int k = 2; k <= pages.size(); ++k) {
    const QRectF sheet = range(k).adjusted(-0.01, -0.01, 0.01, 0.01);
    for (auto notes = note.globalMatch(pages[k - 1]); notes.hasNext();) {
      for (auto n = number.globalMatch(notes.next().captured(1)); n.hasNext(); ++named) {
        const int other = n.next().captured(0).toInt();
        ASSERT_GE(other, 2) << "page " << k;
        ASSERT_LE(other, pages.size()) << "page " << k;
        EXPECT_NE(other, k);
        EXPECT_TRUE(sheet.intersects(range(other))) << "page " << k << " names " << other;
      }
    }
  }
  EXPECT_GT(named, pages.size());
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
