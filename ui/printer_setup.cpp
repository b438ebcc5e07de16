#include "ui/printer_setup.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/widgets.h"

namespace vortalis::ui {

namespace {

// A PDF file takes any paper; these are the ones people print templates on.
QList<QPageSize> PdfPapers() {
  QList<QPageSize> papers;
  for (const QPageSize::PageSizeId id :
       {QPageSize::A5, QPageSize::A4, QPageSize::A3, QPageSize::A2, QPageSize::A1, QPageSize::A0,
        QPageSize::B5, QPageSize::B4, QPageSize::Letter, QPageSize::Legal, QPageSize::Tabloid,
        QPageSize::Executive})
    papers << QPageSize(id);
  return papers;
}

QList<QPageSize> PapersOf(const QString& printerName) {
  if (printerName.isEmpty()) return PdfPapers();
  const QList<QPageSize> papers = QPrinterInfo::printerInfo(printerName).supportedPageSizes();
  return papers.isEmpty() ? PdfPapers() : papers;
}

}  // namespace

PrinterChoice CurrentChoice(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  return {printer.outputFormat() == QPrinter::PdfFormat ? QString() : printer.printerName(),
          layout.pageSize(), layout.orientation()};
}

void ApplyChoice(QPrinter& printer, const PrinterChoice& choice) {
  if (choice.printerName.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
  } else {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(choice.printerName);
  }
  printer.setPageSize(choice.paper);
  printer.setPageOrientation(choice.orientation);
}

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer) {
  setObjectName(QStringLiteral("PrinterSetupDialog"));
  setWindowTitle(QStringLiteral("Printer setup"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  const PrinterChoice current = CurrentChoice(printer);

  auto* printerGroup = Named(new QGroupBox(QStringLiteral("Printer")), "PrinterGroup");
  auto* printerRows = new QFormLayout(printerGroup);
  printers_ = Named(new QComboBox, "Printers");
  for (const QString& name : QPrinterInfo::availablePrinterNames()) printers_->addItem(name, name);
  printers_->addItem(QStringLiteral("PDF file"), QString());
  const int index = printers_->findData(current.printerName);
  printers_->setCurrentIndex(index >= 0 ? index : printers_->count() - 1);
  printerRows->addRow(QStringLiteral("&Name:"), printers_);

  auto* paperGroup = Named(new QGroupBox(QStringLiteral("Paper")), "PaperGroup");
  auto* paperRows = new QFormLayout(paperGroup);
  papers_ = Named(new QComboBox, "Papers");
  paperRows->addRow(QStringLiteral("Si&ze:"), papers_);
  FillPapers(current.paper);

  auto* orientationGroup =
      Named(new QGroupBox(QStringLiteral("Orientation")), "OrientationGroup");
  auto* orientations = new QHBoxLayout(orientationGroup);
  portrait_ = Named(new QRadioButton(QStringLiteral("P&ortrait")), "Portrait");
  landscape_ = Named(new QRadioButton(QStringLiteral("&Landscape")), "Landscape");
  orientations->addWidget(portrait_);
  orientations->addWidget(landscape_);
  TabToCheckedOnly(portrait_);
  TabToCheckedOnly(landscape_);
  (current.orientation == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("Ok"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(printers_, &QComboBox::currentIndexChanged, this,
          [this] { FillPapers(Choice().paper); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(printerGroup);
  layout->addWidget(paperGroup);
  layout->addWidget(orientationGroup);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The chosen printer's papers, keeping `wanted` selected when that printer takes it.
void PrinterSetupDialog::FillPapers(const QPageSize& wanted) {
  const QString printerName = printers_->currentData().toString();
  QList<QPageSize> papers = PapersOf(printerName);
  if (printerName.isEmpty() && wanted.isValid() &&
      std::none_of(papers.cbegin(), papers.cend(),
                   [&wanted](const QPageSize& paper) { return paper.isEquivalentTo(wanted); }))
    papers << wanted;
  papers_->clear();
  int selected = -1;
  for (const QPageSize& paper : papers) {
    if (paper.isEquivalentTo(wanted)) selected = papers_->count();
    papers_->addItem(paper.name(), QVariant::fromValue(paper));
  }
  if (selected < 0) {
    const int a4 = papers.indexOf(QPageSize(QPageSize::A4));
    selected = a4 >= 0 ? a4 : 0;
  }
  papers_->setCurrentIndex(selected);
}

PrinterChoice PrinterSetupDialog::Choice() const {
  return {printers_->currentData().toString(), papers_->currentData().value<QPageSize>(),
          landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait};
}

void PrinterSetupDialog::accept() {
  ApplyChoice(printer_, Choice());
  QDialog::accept();
}

}  // namespace vortalis::ui
