#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QComboBox;
class QPrinter;
class QRadioButton;

namespace vortalis::ui {

// What Printer setup chooses: a printer by name (empty: a PDF file, named when
// printing), the paper and the orientation.
struct PrinterChoice {
  QString printerName;
  QPageSize paper;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The printer's present choice, and the choice set on the printer.
PrinterChoice CurrentChoice(const QPrinter& printer);
void ApplyChoice(QPrinter& printer, const PrinterChoice& choice);

// The printer-setup dialog: the printers of the system and "PDF file", the
// papers the chosen printer takes, portrait or landscape. OK sets the choice
// on the printer; Cancel leaves it as it was.
class PrinterSetupDialog final : public QDialog {
 public:
  PrinterSetupDialog(QPrinter& printer, QWidget* parent);

  void accept() override;
  PrinterChoice Choice() const;

 private:
  void FillPapers(const QPageSize& wanted);

  QPrinter& printer_;
  QComboBox* printers_;
  QComboBox* papers_;
  QRadioButton* portrait_;
  QRadioButton* landscape_;
};

}  // namespace vortalis::ui
