#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "buildkit/horn_solid.h"
#include "buildkit/kit_parameters.h"
#include "export/kit_files.h"
#include "report_window/report_calculation.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace vortalis::windows {

// What the dialog would build now: a flat kit (rings, sectors, staves) or the
// solids for 3D printing.
using BuiltKit = std::variant<vortalis::exports::FlatKit, vortalis::buildkit::HornSolids>;

// The chosen kit, drawn to fit: rings as boards over the wall, sectors and
// staves as their flat outlines, solids as the wall's section.
class TKitPreview : public QWidget {
  Q_OBJECT
 public:
  explicit TKitPreview(QWidget* parent = nullptr);
  // Nothing: the values give no kit (the message says why).
  void Show(const std::optional<BuiltKit>& kit, const QString& message);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<BuiltKit> kit_;
  QString message_;
};

// Cutting data for the report's horn: stacked rings, sheet developments,
// staves (circular horns) or STL for 3D printing, with their values, a
// preview, and Save / Print template. Belongs to its report window.
class TBuildKitForm : public QDialog {
  Q_OBJECT
 public:
  TBuildKitForm(ReportSource source, const QString& reportFile, QWidget* report);

  QRadioButton* Rings = nullptr;
  QRadioButton* Sectors = nullptr;
  QRadioButton* Staves = nullptr;
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

 private:
  void BuildControls();
  void SetDefaults();
  void UpdatePreview();
  // The kit of the fields; throws KitError for a value its kit refuses.
  BuiltKit MakeKit() const;
  QLineEdit* FieldOf(const vortalis::buildkit::KitParameter& parameter) const;
  // The field's number, checked by its parameter.
  long double Value(const vortalis::buildkit::KitParameter& parameter) const;

  // The kits' values, one field each, in the order they were laid out.
  std::vector<std::pair<const vortalis::buildkit::KitParameter*, QLineEdit*>> fields_;
  ReportSource source_;
  QString reportFile_;
  QTimer* refresh_ = nullptr;
};

}  // namespace vortalis::windows
