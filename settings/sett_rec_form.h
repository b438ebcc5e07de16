#pragma once

#include <QDialog>

#include "report/input_check.h"
#include "report/report_input.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace vortalis::settings {

// The rectangular horn settings dialog: throat distances, mouth location,
// optional flat sides, unit and table increment; the quick test and the start
// of the rectangular report. Created once at start-up, then shown and hidden.
class TSettRecForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSettRecForm(QWidget* parent = nullptr);

  QGroupBox* HornPara = nullptr;
  QRadioButton* mm = nullptr;
  QRadioButton* inch = nullptr;
  QGroupBox* meter = nullptr;
  QRadioButton* T1 = nullptr;
  QRadioButton* T10 = nullptr;
  QRadioButton* T100 = nullptr;

  QFrame* Bevel2 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label17 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Side1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Side2 = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* Freq = nullptr;

  QGroupBox* GroupBox1 = nullptr;
  QRadioButton* Location1 = nullptr;
  QRadioButton* Location2 = nullptr;
  QRadioButton* Location4 = nullptr;
  QLabel* Label16 = nullptr;
  QRadioButton* Location8 = nullptr;
  QLabel* Label12 = nullptr;

  QFrame* Bevel3 = nullptr;
  QCheckBox* OneSide = nullptr;
  QLabel* Label14 = nullptr;
  QLabel* Label15 = nullptr;
  QLabel* Label18 = nullptr;
  QLabel* Label10 = nullptr;
  QLineEdit* MouthS1 = nullptr;

  QFrame* Bevel1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;

  QPushButton* button3 = nullptr;
  QPushButton* Calculate = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* CancelBtn = nullptr;

  // The quick test on the initial texts, so that the results show before the
  // dialog is first shown. Run by start-up once SettRecForm refers to this window.
  void FormCreate();
  // Puts the remembered texts back and gives the Test button the focus.
  void FormShow();
  void button3Click();
  void CalculateClick();
  void CancelBtnClick();
  void Button1Click();
  void mmClick();
  void inchClick();
  void OneSideClick();

  // Reports the first input problem, if any; true when the input may be computed.
  bool ValidateRectangularInput();
  // The controls as the rectangular report reads them, texts exactly as typed.
  vortalis::report::RectangularReportInput ReadInput() const;

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
  QWidget* FieldWidget(vortalis::report::InputField field) const;
  QRadioButton* IncrementButton(vortalis::geometry::TableIncrement increment) const;
  QRadioButton* LocationButton(vortalis::geometry::MouthLocation location) const;
};

// The process-wide reference to the window, assigned before its own create
// handler runs; it lives until the program ends.
extern TSettRecForm* SettRecForm;

}  // namespace vortalis::settings
