#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "acoustics/throat_impedance.h"
#include "driver/driver.h"
#include "driver/horn_design.h"
#include "driver/system_response.h"
#include "report_window/horn_as_built_controls.h"
#include "report_window/report_calculation.h"
#include "report_window/response_plot.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vortalis::report_window {

class PlotView;

// The report's horn with a driver: the driver's parameters (typed, opened or
// saved as a driver file), the chambers, the voltage and the horn as built
// (mouth limit, mouth load, losses), and
// the response they give, redrawn on each edit. A top-level window that
// belongs to the report window.
class TDriverForm : public QWidget {
  Q_OBJECT
 public:
  // The fields of the driver in the driver file's order: re le bl mms cms rms
  // sd fs qes qms vas xmax pe.
  static constexpr std::size_t kDriverFields = 13;

  // Throws what the core throws for a horn it cannot compute.
  TDriverForm(const ReportSource& source, QWidget* report);

  const std::vector<vortalis::driver::SystemPoint>& Response() const { return response_; }
  // SPL, impedance magnitude, impedance phase, excursion, group delay.
  const std::array<LinePlot, 5>& Plots() const { return plots_; }
  vortalis::acoustics::MouthLoad Load() const;
  // What a design keeps of this window, by "section.key": the driver as its
  // driver file has it, the chambers and voltage as typed (empty: none), the
  // mouth limit as the tool takes it (empty: the whole horn), the mouth load
  // and the losses. Throws std::invalid_argument naming a field
  // that is not a number, or a name the driver file cannot hold.
  QHash<QString, QString> DesignSettings() const;

  QLineEdit* NameEdit = nullptr;
  std::array<QLineEdit*, kDriverFields> DriverEdits{};
  QLineEdit* RearChamberEdit = nullptr;
  QLineEdit* ThroatChamberEdit = nullptr;
  QLineEdit* VoltageEdit = nullptr;
  // The mouth load, the losses and where the horn as built ends.
  HornAsBuiltControls* AsBuilt = nullptr;
  QPushButton* OpenButton = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* ApplyButton = nullptr;
  QPushButton* CopyButton = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QLabel* Status = nullptr;      // the first problem of the input, or the response's limits
  QLabel* Suggestion = nullptr;  // the design helper's suggestions
  QLabel* Readout = nullptr;

  void OpenClick();
  void SaveClick();
  void ApplyClick();
  void CopyClick();
  void ExportClick();
  void PrintClick();

 private:
  vortalis::driver::DriverInput ReadDriver() const;
  void ShowDriver(const vortalis::driver::DriverInput& input);
  void Recalculate();
  void Hover(std::optional<std::size_t> point);

  std::vector<vortalis::driver::SystemPoint> response_;
  std::optional<vortalis::driver::HornDesign> design_;
  std::array<LinePlot, 5> plots_;
  std::array<PlotView*, 5> views_{};
  bool filling_ = false;  // ShowDriver's edits recalculate once, at its end
};

}  // namespace vortalis::report_window
