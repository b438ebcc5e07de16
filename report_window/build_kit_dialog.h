#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "buildkit/flat_kits.h"
#include "buildkit/kit_parameters.h"
#include "export/kit_files.h"
#include "report_window/kit_memory.h"
#include "report_window/report_calculation.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace vortalis::report_window {

// What the dialog would build now: a flat kit or the solids for 3D printing.
using BuiltKit = vortalis::buildkit::AnyKit;

// The chosen kit, drawn to fit: a flat kit's pieces as its drawing has them,
// solids as the wall's section.
class TKitPreview : public QWidget {
  Q_OBJECT
 public:
  explicit TKitPreview(QWidget* parent = nullptr);
  // Nothing: the values give no kit (the message says why). A horn's
  // lengths are `millimetresPerUnit` mm each (its solids are in millimetres).
  void Show(const std::optional<BuiltKit>& kit, const QString& message,
            long double millimetresPerUnit = 1.0L);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<BuiltKit> kit_;
  QString message_;
  long double millimetresPerUnit_ = 1.0L;
};

// What the status line says after the STL pieces `files` were written: each
// piece by its name, or the first and the last of more than four.
QString SavedPieces(const QStringList& files);

// Cutting data for the report's horn: each kind of kit of buildkit::kKitUnits
// with its values (those for round walls only for a circular horn), a
// preview, and Save / Print template. Modal to its report window only (see
// ShowModalToReport); `owner` is the window that holds the report.
class TBuildKitForm : public QDialog {
  Q_OBJECT
 public:
  TBuildKitForm(ReportSource source, const QString& reportFile, QWidget* owner);

  // Made from the kits' descriptions; these name a few for their callers.
  QRadioButton* Rings = nullptr;
  QRadioButton* Sectors = nullptr;
  QRadioButton* Staves = nullptr;
  QRadioButton* Panels = nullptr;
  QRadioButton* Stl = nullptr;
  QLabel* RectangularNote = nullptr;
  QLineEdit* Board = nullptr;
  QLineEdit* BoardWall = nullptr;  // wood outside the rings' holes
  QLineEdit* Step = nullptr;
  QLineEdit* Seam = nullptr;
  QLineEdit* StaveCount = nullptr;
  QLineEdit* Wall = nullptr;  // of the printed solid
  QLineEdit* PrinterHeight = nullptr;
  QCheckBox* Flange = nullptr;
  QLineEdit* FlangeDiameter = nullptr;
  QLineEdit* FlangeThickness = nullptr;
  QLineEdit* BoltCircle = nullptr;
  QLineEdit* BoltCount = nullptr;
  QLineEdit* HoleDiameter = nullptr;
  QComboBox* StaveFit = nullptr;
  QComboBox* Format = nullptr;
  TKitPreview* Preview = nullptr;
  QLabel* Status = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QPushButton* CloseButton = nullptr;

  // Asks for the file (its extension gives the format) and writes the kit.
  void SaveClick();
  void PrintClick();
  // The fields of the chosen way of building enabled, the preview redrawn.
  void MethodClick();

  // The way of building and the fields that `settings` has; the others keep
  // their values.
  void Preset(const KitSettings& settings);
  // The chosen way of building and its fields' texts.
  KitSettings Settings() const;

 private:
  void BuildControls();
  void SetDefaults();
  void UpdatePreview();
  // Leaves the settings for the design, if they make a kit.
  void RememberSettings();
  // The kit of the fields; throws KitError for a value its kit refuses.
  BuiltKit MakeKit() const;
  QLineEdit* FieldOf(const vortalis::buildkit::KitParameter& parameter) const;
  QRadioButton* ButtonOf(const vortalis::buildkit::KitUnit& unit) const;
  const vortalis::buildkit::KitUnit& Chosen() const;
  // The group's box enabled and ticked.
  bool GroupChecked(const vortalis::buildkit::KitParameterGroup& group) const;
  // The field's number, checked by its parameter.
  long double Value(const vortalis::buildkit::KitParameter& parameter) const;

  // The kits' values, one field each, in the order they were laid out.
  std::vector<std::pair<const vortalis::buildkit::KitParameter*, QLineEdit*>> fields_;
  std::vector<std::pair<const vortalis::buildkit::KitUnit*, QRadioButton*>> kinds_;
  std::vector<std::pair<const vortalis::buildkit::KitParameterGroup*, QCheckBox*>> groups_;
  std::vector<std::pair<const vortalis::buildkit::KitChoice*, QComboBox*>> choices_;
  ReportSource source_;
  QString reportFile_;
  QTimer* refresh_ = nullptr;
};

}  // namespace vortalis::report_window
