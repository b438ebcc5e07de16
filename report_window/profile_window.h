#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <vector>

#include "geometry/number_text.h"
#include "report/drawing_grid.h"
#include "report/horn_profile.h"

class QPainter;

// Where a profile drawing puts its panels inside a rectangle: one panel per
// wall shape (the circular wall, or sides 1A - 1B and 2A - 2B), stacked, each
// showing the wall on both sides of the axis, all at one scale in both
// directions, so that the drawing has the horn's true shape.
class ProfileLayout {
 public:
  ProfileLayout(const vortalis::report::HornProfile& profile, const QRectF& area, const QFont& font,
                const vortalis::geometry::Separators& separators);

  int Panels() const { return panels_; }
  QRectF Area() const { return area_; }
  // The grid's frame of a panel, in device pixels.
  QRectF Plot(int panel) const;
  // A point `x` from the throat along the axis and `y` up from it, in the
  // profile's unit, as a device point in `panel`.
  QPointF Map(int panel, qreal x, qreal y) const;

  vortalis::report::GridStep Grid() const { return grid_; }
  qreal XLow() const { return xLow_; }
  qreal XHigh() const { return xHigh_; }
  qreal YHigh() const { return yHigh_; }
  qreal LeftMargin() const { return left_; }

 private:
  void Fit(const QFontMetricsF& metrics, qreal yLabelWidth);

  QRectF area_;
  int panels_ = 1;
  qreal xLow_ = 0;
  qreal xHigh_ = 1;
  qreal yHigh_ = 1;
  qreal top_ = 0;
  qreal bottom_ = 0;
  qreal left_ = 0;
  qreal right_ = 0;
  qreal scale_ = 1;
  vortalis::report::GridStep grid_{1.0L, 0};
};

// The horn's side profile from throat to mouth, with a grid, both axes
// labelled in the profile's unit, and the throat, the mouth and the quarter
// wavelength marked; fills `area` of any painter (a window, an image, a printer).
void PaintHornProfile(QPainter& painter, const QRectF& area,
                      const vortalis::report::HornProfile& profile,
                      const vortalis::geometry::Separators& separators);

// The profile window of a report: a top-level window that belongs to the
// report window, so that it closes and is destroyed with it.
class TProfileForm : public QWidget {
  Q_OBJECT
 public:
  TProfileForm(vortalis::report::HornProfile profile, QWidget* report);

  const vortalis::report::HornProfile& Profile() const { return profile_; }
  // Follows the report's caption ("Untiteld", then the saved file's name).
  void SetReportTitle(const QString& title);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  vortalis::report::HornProfile profile_;
};
