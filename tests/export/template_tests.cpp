#include <gtest/gtest.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
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

const TemplatePage* PageAt(const TemplateLayout& layout, int row, int column) {
  for (const TemplatePage& page : layout.pages)
    if (page.row == row && page.column == column) return &page;
  return nullptr;
}

TEST(TemplateLayout, PagesOverlapAndTogetherShowTheWholeCurve) {
  for (const HornProfile& profile :
       {BassHorn(), MakeRectangularProfile(FlatRectangularHorn(LengthUnit::Inch), 0.1L, {}, {})}) {
    const TemplateLayout layout = LayoutTemplate(profile, kA4Landscape);
    ASSERT_GT(layout.pages.size(), 2u);
    for (const TemplatePage& page : layout.pages) {
      EXPECT_EQ(page.window.size(), layout.drawingArea.size());
      // Neighbours share exactly the overlap, across columns and across rows.
      if (const TemplatePage* right = PageAt(layout, page.row, page.column + 1)) {
        EXPECT_DOUBLE_EQ(right->window.left(), page.window.right() - kTemplateOverlapMm);
        EXPECT_EQ(right->window.top(), page.window.top());
      }
      if (const TemplatePage* below = PageAt(layout, page.row + 1, page.column)) {
        EXPECT_DOUBLE_EQ(below->window.bottom(), page.window.top() + kTemplateOverlapMm);
        EXPECT_EQ(below->window.left(), page.window.left());
      }
    }
    const qreal scale = profile.unit == LengthUnit::Millimetre ? 1.0 : 25.4;
    for (const auto& curve : ProfileCurves(profile)) {
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
    qreal mmPerUnit;
  };
  const std::vector<Case> cases{
      {BassHorn(), 100.0, 1.0},
      {MakeCircularProfile(CircularHorn("200", "0.5", LengthUnit::Inch), 0.5L, {}, {}), 101.6,
       25.4},
  };
  for (const Case& c : cases) {
    const TemplateLayout layout = LayoutTemplate(c.profile, kA4Portrait);
    const std::vector<QPointF> curve = ProfileCurves(c.profile).front().points;
    for (int i = 0; i < static_cast<int>(layout.pages.size()); ++i) {
      const TemplatePage& page = layout.pages[static_cast<std::size_t>(i)];
      const TemplatePageDrawing drawing = DrawTemplatePage(c.profile, layout, i, unitsPerMm, {});
      EXPECT_NEAR(drawing.ruler.length(), c.rulerMm * unitsPerMm, 1e-6) << i;
      EXPECT_EQ(drawing.ruler.dy(), 0.0);
      const QString label = QStringLiteral("row %1, column %2").arg(page.row).arg(page.column);
      EXPECT_TRUE(std::any_of(drawing.texts.begin(), drawing.texts.end(),
                              [&label](const auto& text) { return text.text == label; }))
          << label.toStdString();
      // The page shows a run of the curve's points, as far apart on paper as on the horn.
      const QPolygonF& wall = drawing.curves.front().points;
      std::size_t first = 0;
      while (first + 1 < curve.size() && curve[first + 1].x() * c.mmPerUnit < page.window.left())
        ++first;
      for (qsizetype k = 1; k < wall.size(); ++k) {
        const qreal alongMm = (curve[first + static_cast<std::size_t>(k)].x() - curve[first].x()) *
                              c.mmPerUnit;
        EXPECT_NEAR(wall[k].x() - wall[0].x(), alongMm * unitsPerMm, 1e-6) << k;
      }
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
  const std::size_t expected = std::min(LayoutTemplate(profile, kA4Portrait).pages.size(),
                                        LayoutTemplate(profile, kA4Landscape).pages.size());
  EXPECT_EQ(static_cast<std::size_t>(written), expected);
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
  EXPECT_EQ(static_cast<std::size_t>(printed), LayoutTemplate(profile, kA4Landscape).pages.size());
  EXPECT_EQ(PdfPages(printer.outputFileName()), printed);
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
