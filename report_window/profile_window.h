#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <optional>
#include <vector>

#include "geometry/number_text.h"
#include "report/drawing_grid.h"
#include "export/profile_curves.h"
#include "plot/axis.h"
#include "report/horn_profile.h"
#include "report_window/report_calculation.h"

class QAction;
class QLabel;
class QPainter;
class QPushButton;

namespace vortalis::report_window {

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
  // The axes of `panel`: the distance along it, the distance up from the axis.
  vortalis::plot::Axis XAxis(int panel) const;
  vortalis::plot::Axis YAxis(int panel) const;
  // The panel whose slot holds the device y, and the distance at the device x of a panel.
  int PanelAt(qreal y) const;
  qreal DistanceAt(int panel, qreal x) const;
  qreal UnitsPerPixel() const { return 1 / scale_; }

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
// labelled in the profile's unit, the throat, the mouth and the minimum-length
// rule (a quarter wavelength) marked, and the points of `stations` (the
// report's step) as short ticks across the walls; fills `area` of any painter
// (a window, an image, a printer).
void PaintHornProfile(QPainter& painter, const QRectF& area,
                      const vortalis::report::HornProfile& profile,
                      const vortalis::geometry::Separators& separators,
                      const vortalis::report::HornProfile* stations = nullptr);

// The curves of such a drawing, computed once for a window that paints it
// often: the walls' points between the stations cost a solver call each.
struct ProfilePaintCurves {
  std::vector<vortalis::exports::ProfileCurve> walls;
  std::vector<vortalis::exports::ProfileCurve> stations;
};
ProfilePaintCurves CurvesToPaint(const vortalis::report::HornProfile& profile,
                                 const vortalis::report::HornProfile* stations);
void PaintHornProfile(QPainter& painter, const QRectF& area,
                      const vortalis::report::HornProfile& profile,
                      const vortalis::geometry::Separators& separators,
                      const vortalis::report::HornProfile* stations,
                      const ProfilePaintCurves& curves);

// The distance a readout shows for a device x: rounded to a 1-2-5 step of at
// least two pixels, so that it shows no more digits than the mouse can point at.
struct ReadoutDistance {
  long double distance;
  int decimals;
};
ReadoutDistance RoundedDistance(const ProfileLayout& layout, int panel, qreal x);

// "Distance 100 mm:  radius 45.3 mm,  flare angle 30.12°" for the section at
// `distance` as the report computes its rows (its row itself at one of
// `stations`), or the sides of a rectangular horn.
QString ReadoutText(const vortalis::report::HornInput& horn,
                    const vortalis::geometry::Separators& hornSeparators,
                    const vortalis::report::HornProfile& stations,
                    const ReadoutDistance& at,
                    const vortalis::geometry::Separators& separators);

// The profile window of a report: a top-level window that belongs to the
// report window, so that it closes and is destroyed with it.
class TProfileForm : public QWidget {
  Q_OBJECT
 public:
  // Throws ProfileError for a source without a horn.
  TProfileForm(const ReportSource& source, QWidget* report);

  // The whole horn as drawn, and its points at the report's step (none when
  // the step would give too many).
  const vortalis::report::HornProfile& Profile() const { return profile_; }
  const vortalis::report::HornProfile& Stations() const { return stations_; }
  // Follows the report's caption ("Untiteld", then the saved file's name).
  void SetReportTitle(const QString& title);

  QWidget* View = nullptr;  // the drawing; the mouse over it is read out
  QLabel* Readout = nullptr;
  QPushButton* PrintButton = nullptr;
  QAction* Print1 = nullptr;  // Ctrl+P, and the drawing's context menu

  void PrintClick();

 private:
  void ShowReadout(std::optional<ReadoutDistance> at);

  ReportSource source_;
  vortalis::report::HornProfile profile_;
  vortalis::report::HornProfile stations_;
};

}  // namespace vortalis::report_window
