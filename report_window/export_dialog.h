#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "export/profile_export.h"
#include "report/horn_profile.h"
#include "report_window/report_calculation.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vortalis::windows {

// Writes a report's horn profile as a CSV table, a DXF or an SVG drawing: the
// format, the distance between the points (a board thickness, say) and where
// the mouth is cut short, then the file. Belongs to its report window.
class TExportForm : public QDialog {
  Q_OBJECT
 public:
  // `reportFile` is the report's file name ("Untitled" when never saved); the
  // exported file's name is preset from it.
  TExportForm(ReportSource source, const QString& reportFile, QWidget* report);

  QRadioButton* Csv = nullptr;
  QRadioButton* Dxf = nullptr;
  QRadioButton* Svg = nullptr;
  QLineEdit* Step = nullptr;
  QRadioButton* FullHorn = nullptr;
  QRadioButton* SizeLimit = nullptr;    // radius, diameter or side 1A - 1B reaches a size
  QRadioButton* LengthLimit = nullptr;  // length from the throat
  QLineEdit* LimitValue = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* Cancel = nullptr;

  // Checks the step and the limit, asks for the file and writes it; the dialog
  // closes once the file is written and stays open otherwise.
  void ExportClick();
  void LimitClick();

 private:
  void BuildControls(const QString& unit);
  vortalis::exports::ExportFormat Format() const;
  // The field's number, or nothing after telling the user and focusing the field.
  std::optional<long double> ReadLength(QLineEdit* field, const QString& name);
  std::optional<vortalis::report::MouthLimit> ReadLimit();
  QString PresetName(vortalis::exports::ExportFormat format) const;

  ReportSource source_;
  QString reportFile_;
};

}  // namespace vortalis::windows
