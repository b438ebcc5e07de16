#pragma once

#include <QDialog>

#include "report/input_check.h"
#include "report/report_input.h"

class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace vortalis::settings {

// The circular horn settings dialog: cut-off frequency, throat radius or
// diameter, unit and table increment; the quick test and the start of the
// circular report. Created once at start-up, then shown and hidden.
class TSettCircForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSettCircForm(QWidget* parent = nullptr);

  QGroupBox* HornPara = nullptr;
  QRadioButton* mm = nullptr;
  QRadioButton* inch = nullptr;
  QGroupBox* hornsize = nullptr;
  QRadioButton* radius = nullptr;
  QRadioButton* diameter = nullptr;
  QGroupBox* meter = nullptr;
  QRadioButton* T1 = nullptr;
  QRadioButton* T10 = nullptr;
  QRadioButton* T100 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Throat = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* Freq = nullptr;
  QFrame* Bevel1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label6 = nullptr;
  QPushButton* button3 = nullptr;
  QPushButton* Calculate = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Cancel = nullptr;

  // The quick test on the initial texts, so that the results show before the
  // dialog is first shown.
  void FormCreate();
  // Puts the remembered texts back and gives the Test button the focus.
  void FormShow();
  void button3Click();
  void CalculateClick();
  void CancelClick();
  void Button1Click();
  void mmClick();
  void inchClick();
  void radiusClick();
  void diameterClick();

  // Reports the first input problem, if any; true when the input may be computed.
  bool ValidateCircularInput();
  // The controls as the circular report reads them, texts exactly as typed.
  vortalis::report::CircularReportInput ReadInput() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void SetTabOrder();
  void ConnectHandlers();
  void ShowQuickTestResult();
  void RememberInputs();
  void SetUnitCaptions(vortalis::geometry::LengthUnit unit);
  // Throat after the size mode switched to `target`; a text that is not a number stays.
  void ConvertThroatSize(vortalis::geometry::SizeMode target);
  QWidget* FieldWidget(vortalis::report::InputField field) const;
  QRadioButton* IncrementButton(vortalis::geometry::TableIncrement increment) const;
};

// The process-wide reference to the window, assigned before its own create
// handler runs; it lives until the program ends.
extern TSettCircForm* SettCircForm;

}  // namespace vortalis::settings
