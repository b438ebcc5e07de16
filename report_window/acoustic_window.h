#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "geometry/number_text.h"
#include "plot/axis.h"
#include "report/drawing_grid.h"
#include "report_window/horn_as_built_controls.h"
#include "report_window/report_calculation.h"

class QLabel;
class QPaintDevice;
class QPainter;
class QPushButton;

namespace vortalis::report_window {

class PlotView;

// What an impedance plot shows: the curve, the horn's cut-off and a title.
struct ImpedancePlot {
  vortalis::acoustics::ImpedanceCurve curve;
  long double cutoff = 0.0L;
  // Hertz; shaded above: the first cross-mode, where the plane-wave model ends.
  long double planeWaveLimit = 0.0L;
  QString title;
};

// Where an impedance plot puts frequency (a log axis, an octave a grid line)
// and normalised impedance inside a rectangle of a device.
class ImpedanceLayout {
 public:
  ImpedanceLayout(const ImpedancePlot& plot, const QRectF& area, const QFont& font,
                  QPaintDevice* device);

  QRectF Plot() const { return plot_; }
  qreal X(long double frequency) const;
  qreal Y(long double value) const;
  // The curve's point nearest to the device x, none outside the plot.
  std::optional<std::size_t> PointAt(qreal x) const;

  // The grid lines: the sweep's octaves, and values on a 1-2-5 grid.
  const std::vector<long double>& Octaves() const { return octaves_; }
  vortalis::report::GridStep ValueGrid() const { return grid_; }
  long double Low() const { return low_; }
  long double High() const { return high_; }
  // Device pixels per screen pixel (1 on screen, dpi / 96 on paper).
  qreal Scale() const { return scale_; }
  const vortalis::plot::Axis& XAxis() const { return x_; }
  const vortalis::plot::Axis& YAxis() const { return y_; }

 private:
  QRectF plot_;
  qreal scale_ = 1;
  vortalis::plot::Axis x_{1.0L, 2.0L, 0, 1, vortalis::plot::AxisScale::Log};
  vortalis::plot::Axis y_{0.0L, 1.0L, 1, 0};
  std::vector<long double> frequencies_;
  long double low_ = 0.0L;
  long double high_ = 1.0L;
  std::vector<long double> octaves_;
  vortalis::report::GridStep grid_{1.0L, 0};
};

// Resistance and reactance against frequency, with the octaves labelled, fc
// marked and a legend, and the values of point `marked` read out; fills `area`
// of any painter (a window, an image, a printer).
void PaintImpedancePlot(QPainter& painter, const QRectF& area, const ImpedancePlot& plot,
                        const vortalis::geometry::Separators& separators,
                        std::optional<std::size_t> marked = std::nullopt);

// The acoustic loading window of a report: the throat impedance of the
// report's horn for the mouth load chosen in it. A top-level window that
// belongs to the report window, so that it closes and is destroyed with it.
class TAcousticForm : public QWidget {
  Q_OBJECT
 public:
  // Throws what the core throws for a horn it cannot compute.
  TAcousticForm(const ReportSource& source, QWidget* report);

  const ImpedancePlot& Plot() const { return plot_; }
  vortalis::acoustics::MouthLoad Load() const;
  // Follows the report's caption ("Untiteld", then the saved file's name).
  void SetReportTitle(const QString& title);

  // The mouth load, the losses and where the horn as built ends.
  HornAsBuiltControls* AsBuilt = nullptr;
  QPushButton* CopyButton = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QLabel* Readout = nullptr;
  QLabel* Note = nullptr;       // the plane-wave limit, and the losses when they matter

  void CopyClick();
  void ExportClick();
  void PrintClick();

 private:
  void Recalculate();
  void ShowReadout(std::optional<std::size_t> point);

  bool rectangular_ = false;
  ImpedancePlot plot_;
  PlotView* view_ = nullptr;
};

}  // namespace vortalis::report_window
