#pragma once

#include <QDialog>
#include <QPageSize>
#include <QString>
#include <functional>
#include <optional>

#include "export/kit_files.h"
#include "export/profile_export.h"
#include "report/horn_profile.h"
#include "report_window/report_calculation.h"
#include "report_window/report_printer.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace vortalis::report_window {

// Writes a report's horn profile as a CSV table, a DXF or an SVG drawing, or
// prints its full-size template: the format or the paper, the distance between
// the points (a board thickness, say) and where the mouth is cut short, then
// the file or the print dialog. A rectangular horn's walls can be drawn
// instead as their true-size panels (DXF, SVG or the template), which need no
// step. Belongs to its report window.
class TExportForm : public QDialog {
  Q_OBJECT
 public:
  enum class Purpose { Export, Template };
  // `reportFile` is the report's file name ("Untitled" when never saved); the
  // exported file's name is preset from it.
  TExportForm(ReportSource source, const QString& reportFile, QWidget* report,
              Purpose purpose = Purpose::Export);

  Purpose Kind() const { return purpose_; }

  // Rectangular horns only: the walls' profile or their panels.
  QRadioButton* Walls = nullptr;
  QRadioButton* Panels = nullptr;
  QLabel* StepNote = nullptr;  // why the step is off for panels
  // Export only.
  QRadioButton* Csv = nullptr;
  QRadioButton* Dxf = nullptr;
  QRadioButton* Svg = nullptr;
  // Template only: the paper, and the pages it takes turned the better way.
  QComboBox* Paper = nullptr;
  QLabel* Sheets = nullptr;
  QLineEdit* Step = nullptr;
  QRadioButton* FullHorn = nullptr;
  QRadioButton* SizeLimit = nullptr;    // radius, diameter or side 1A - 1B reaches a size
  QRadioButton* LengthLimit = nullptr;  // length from the throat
  QLineEdit* LimitValue = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* Cancel = nullptr;

  // Checks the step and the limit, asks for the file (or shows the print
  // dialog) and writes it; the dialog closes once the file is written or the
  // template printed, and stays open otherwise.
  void ExportClick();
  void LimitClick();
  // The controls the chosen curves use.
  void CurvesClick();
  // Template: counts the pages again for the paper and the fields as they are.
  void SheetsChange();

 private:
  void BuildControls(const QString& unit);
  bool PanelsChosen() const;
  vortalis::exports::FlatKit PanelsOf(const vortalis::report::MouthLimit& limit) const;
  // Writes the panels' file, or prints their template.
  void ExportPanels(const vortalis::report::MouthLimit& limit);
  // Sets the printer to `sheets`, shows the print dialog and prints; the
  // printer's own layout is back afterwards.
  void PrintOn(const TemplateSheets& sheets, const QString& job,
               const std::function<void(QPrinter&)>& print);
  vortalis::exports::ExportFormat Format() const;
  std::optional<long double> ParseLength(const QLineEdit* field) const;
  // The limit the chosen kind gives `value` (a diameter halved to a radius).
  vortalis::report::MouthLimit LimitOf(long double value) const;
  QPageSize PaperSize() const;
  // The field's number, or nothing after telling the user and focusing the field.
  std::optional<long double> ReadLength(QLineEdit* field, const QString& name);
  std::optional<vortalis::report::MouthLimit> ReadLimit();
  QString PresetName(vortalis::exports::ExportFormat format) const;

  ReportSource source_;
  QString reportFile_;
  Purpose purpose_;
};

}  // namespace vortalis::report_window
