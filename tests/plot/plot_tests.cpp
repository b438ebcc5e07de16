#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <optional>
#include <vector>

#include "plot/axis.h"
#include "plot/page_cells.h"
#include "plot/plot_paint.h"

namespace {

using vortalis::plot::Axis;
using vortalis::plot::AxisScale;

TEST(PlotAxis, LogAxisPlacesDecadesEvenly) {
  // 10 Hz to 10 kHz over 300 px: a decade is 100 px.
  const Axis axis(10, 10000, 0, 300, AxisScale::Log);
  struct Row {
    long double hertz;
    qreal pixel;
  };
  for (const Row& row : {Row{10, 0}, Row{100, 100}, Row{1000, 200}, Row{10000, 300},
                         Row{std::sqrt(10.0L) * 10, 50}}) {
    EXPECT_NEAR(axis.Pixel(row.hertz), row.pixel, 1e-9) << static_cast<double>(row.hertz);
    EXPECT_NEAR(static_cast<double>(axis.ValueAt(row.pixel)), static_cast<double>(row.hertz),
                1e-9 * static_cast<double>(row.hertz));
  }
}

TEST(PlotAxis, VerticalLinearAxisRunsUpward) {
  const Axis axis(-2, 6, 400, 0);  // 50 px a unit, 0 at 300
  EXPECT_DOUBLE_EQ(axis.Pixel(0), 300);
  EXPECT_DOUBLE_EQ(axis.Pixel(6), 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(axis.UnitsPerPixel()), 0.02);
  EXPECT_TRUE(axis.Covers(0));
  EXPECT_FALSE(axis.Covers(400.5));
}

TEST(PlotAxis, OctavesOfAnAudioSweep) {
  // 10 Hz doubled while it stays within 20 kHz: 10 * 2^0 ... 10 * 2^10 = 10240.
  const auto octaves = vortalis::plot::Octaves(10, 20000);
  ASSERT_EQ(octaves.size(), 11u);
  for (std::size_t k = 0; k < octaves.size(); ++k)
    EXPECT_EQ(octaves[k], 10.0L * (1 << k));
  // An end a rounding error below the last octave keeps it.
  EXPECT_EQ(vortalis::plot::Octaves(20, 160 * (1 - 1e-12L)).size(), 4u);
}

TEST(PlotAxis, LinearTicksAreNiceSteps) {
  struct Row {
    long double low, high;
    qreal pixels, minPixels;
    long double step;
    int decimals;
    std::vector<long double> values;
  };
  const Row rows[] = {
      // 3 units over 300 px: 40 px is 0.4, the next 1-2-5 step is 0.5.
      {-0.3L, 2.7L, 300, 40, 0.5L, 1, {0, 0.5L, 1, 1.5L, 2, 2.5L}},
      // 1000 units over 200 px: 32 px is 160, so 200.
      {0, 1000, 200, 32, 200, 0, {0, 200, 400, 600, 800, 1000}},
      // 0.07 over 700 px: 40 px is 0.004, so 0.005.
      {0.01L, 0.08L, 700, 40, 0.005L, 3, {}},
  };
  for (const Row& row : rows) {
    const auto ticks =
        vortalis::plot::LinearTicks(Axis(row.low, row.high, row.pixels, 0), row.minPixels);
    EXPECT_NEAR(static_cast<double>(ticks.step.step), static_cast<double>(row.step), 1e-15);
    EXPECT_EQ(ticks.step.decimals, row.decimals);
    if (row.values.empty()) {
      EXPECT_EQ(ticks.values.size(), 15u);  // 0.010, 0.015, ... 0.080
      continue;
    }
    ASSERT_EQ(ticks.values.size(), row.values.size());
    for (std::size_t i = 0; i < row.values.size(); ++i)
      EXPECT_NEAR(static_cast<double>(ticks.values[i]), static_cast<double>(row.values[i]),
                  1e-12);
  }
}

TEST(PlotReadout, NearestPointUnderThePixel) {
  // Octaves over 300 px: 10 at 0, 20 at 100, 40 at 200, 80 at 300.
  const std::vector<long double> hertz{10, 20, 40, 80};
  const Axis axis(10, 80, 0, 300, AxisScale::Log);
  struct Row {
    qreal pixel;
    std::optional<std::size_t> index;
  };
  for (const Row& row : {Row{0, 0}, Row{49, 0}, Row{51, 1}, Row{149, 1}, Row{151, 2},
                         Row{300, 3}, Row{-1, std::nullopt}, Row{301, std::nullopt}})
    EXPECT_EQ(vortalis::plot::NearestIndex(hertz, axis, row.pixel), row.index) << row.pixel;
  EXPECT_EQ(vortalis::plot::NearestIndex({}, axis, 10), std::nullopt);
}

TEST(PlotReadout, ReadingRoundsToWhatAPixelCanPointAt) {
  struct Row {
    long double low, high;
    qreal pixel;
    long double value;
    int decimals;
  };
  // 2 units a pixel: two pixels are 4, so a 5 step; pixel 123 is 246, read as 245.
  // 0.01 a pixel: 0.02 is a 1-2-5 step; pixel 77.6 of 500 over 0..5 is 0.776 -> 0.78.
  for (const Row& row : {Row{0, 1000, 123, 245, 0}, Row{0, 5, 77.6, 0.78L, 2}}) {
    const auto reading = vortalis::plot::ReadingAt(Axis(row.low, row.high, 0, 500), row.pixel);
    EXPECT_NEAR(static_cast<double>(reading.value), static_cast<double>(row.value), 1e-12);
    EXPECT_EQ(reading.decimals, row.decimals);
  }
}

TEST(PlotPage, CellsFitThePageAndKeepTheirShape) {
  struct Row {
    QSizeF page;
    int columns, rows, count;
    qreal share;
    QRectF last;
  };
  const Row rows[] = {
      // One plot across 800 x 1100: at most 600 high.
      {{800, 1100}, 1, 1, 1, 0.75, {0, 0, 800, 600}},
      // A landscape page lower than the share allows: the page's height.
      {{1100, 500}, 1, 1, 1, 0.75, {0, 0, 1100, 500}},
      // Five in two columns of 400: 300 high; three rows fit 1100.
      {{800, 1100}, 2, 3, 5, 0.75, {0, 600, 400, 300}},
      // Three rows of a 600 high page: 200 each.
      {{800, 600}, 2, 3, 5, 0.75, {0, 400, 400, 200}},
  };
  for (const Row& row : rows) {
    const auto cells = vortalis::plot::PageCells(row.page, row.columns, row.rows, row.count,
                                                 row.share);
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(row.count));
    EXPECT_EQ(cells.back(), row.last);
    for (const QRectF& cell : cells) EXPECT_TRUE(QRectF(QPointF(), row.page).contains(cell));
  }
}

// Painting: the curve lands on the pixels its axes give, the band is shaded
// only over its range, and the readout box turns left at the frame's right edge.
TEST(PlotPaint, CurveBandAndReadoutOnAnImage) {
  QImage image(400, 300, QImage::Format_RGB32);
  const QRectF frame(50, 20, 300, 200);
  const Axis x(100, 800, frame.left(), frame.right(), AxisScale::Log);
  const Axis y(0, 10, frame.bottom(), frame.top());
  {
    QPainter painter(&image);
    vortalis::plot::BeginPlot(painter, image.rect());
    vortalis::plot::PaintBand(painter, frame, x, 400, 1600, QColor(0, 0, 0, 60));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawPolyline(vortalis::plot::Polyline(x, {100, 200, 800}, y, {5, 5, NAN}));
  }
  // 5 of 10 is half-way up: y 120; 100 to 200 Hz is the first third of the width.
  EXPECT_EQ(image.pixelColor(60, 120), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(140, 120), QColor(Qt::red));
  EXPECT_NE(image.pixelColor(200, 120), QColor(Qt::red));  // no line to the NaN
  // 400 Hz is two octaves of three in: x 250; the band runs to the frame's edge.
  EXPECT_EQ(image.pixelColor(245, 60), QColor(Qt::white));
  EXPECT_NE(image.pixelColor(255, 60), QColor(Qt::white));
  EXPECT_NE(image.pixelColor(349, 60), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(355, 60), QColor(Qt::white));

  const QRectF right = vortalis::plot::ReadoutBox(frame, 100, 60, 3, 12, 6);
  const QRectF left = vortalis::plot::ReadoutBox(frame, 320, 60, 3, 12, 6);
  EXPECT_EQ(right.left(), 106);
  EXPECT_EQ(left.right(), 314);
  EXPECT_TRUE(frame.contains(left));
}

}  // namespace
