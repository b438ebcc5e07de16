#pragma once

#include <QDialog>
#include <QPageSize>
#include <QString>
#include <optional>

#include "export/profile_export.h"
#include "report/horn_profile.h"
#include "report_window/report_calculation.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vortalis::windows {

// Writes a report's horn profile as a CSV table, a DXF or an SVG drawing, or
// prints its full-size template: the format or the paper, the distance between
// the points (a board thickness, say) and where the mouth is cut short, then
// the file or the print dialog. Belongs to its report window.
class TExportForm : public QDialog {
  Q_OBJECT
 public:
  enum class Purpose { Export, Template };
  // `reportFile` is the report's file name ("Untitled" when never saved); the
  // exported file's name is preset from it.
  TExportForm(ReportSource source, const QString& reportFile, QWidget* report,
              Purpose purpose = Purpose::Export);

  Purpose Kind() const { return purpose_; }

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
  // Template: counts the pages again for the paper and the fields as they are.
  void SheetsChange();

 private:
  void BuildControls(const QString& unit);
  void PrintTemplateClick(const vortalis::report::HornProfile& profile);
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

}  // namespace vortalis::windows
