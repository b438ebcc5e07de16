#pragma once

#include <QWidget>

#include "acoustics/throat_impedance.h"
#include "report/horn_profile.h"
#include "report_window/report_calculation.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vortalis::report_window {

// The horn as the acoustic and driver windows compute it: where it ends, what
// its mouth radiates into and whether its walls lose energy; the options
// --mouth-limit, --mouth-load and --losses of the tool.
struct HornAsBuilt {
  vortalis::report::MouthLimit limit;  // none: the whole horn
  vortalis::acoustics::MouthLoad load = vortalis::acoustics::MouthLoad::Baffle;
  vortalis::acoustics::WallLosses losses = vortalis::acoustics::WallLosses::Off;
};

// The controls of HornAsBuilt for one report's horn, in two rows: the mouth
// load with the losses box, and the mouth limit with its value. They start
// with the current design's settings and emit Changed after each edit that
// changes the horn; a limit that gives no horn is said in an error box and the
// whole horn is taken.
class HornAsBuiltControls : public QWidget {
  Q_OBJECT
 public:
  HornAsBuiltControls(const ReportSource& source, QWidget* parent);

  HornAsBuilt Read() const { return built_; }
  // The limit as the tool's --mouth-limit takes it ("length=500", "radius=300"),
  // its value as typed; empty for the whole horn.
  QString ToolMouthLimit() const;
  // The report's horn cut at the limit.
  const vortalis::acoustics::HornAcoustics& Horn() const { return horn_; }
  bool Rectangular() const { return rectangular_; }

  QRadioButton* Baffle = nullptr;
  QRadioButton* Unflanged = nullptr;
  QRadioButton* Location = nullptr;
  QCheckBox* Losses = nullptr;  // the walls' visco-thermal losses
  QRadioButton* FullHorn = nullptr;
  QRadioButton* SizeLimit = nullptr;
  QRadioButton* LengthLimit = nullptr;
  QLineEdit* LimitValue = nullptr;

  void LoadChange();
  // The mouth choice or its value changed: the horn is cut there, or an error
  // box says why not and the whole horn is taken.
  void LimitChange();

 signals:
  void Changed();

 private:
  void TakeDesign();

  ReportSource source_;
  bool rectangular_ = false;
  HornAsBuilt built_;
  vortalis::acoustics::HornAcoustics horn_;
};

// `sweep` with the current design's acoustics.from, .to and
// .points-per-octave where it has them; `sweep` itself when they make no
// sweep the tool would take.
vortalis::acoustics::FrequencySweep DesignSweep(vortalis::acoustics::FrequencySweep sweep,
                                                long double cutoff);

// Where a mouth radiates for the k of its solid angle 4 pi / k: "in free air",
// "against one wall", ...
QString Placement(long double locationFactor);

}  // namespace vortalis::report_window
