#include "report_window/export_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "buildkit/panels.h"
#include "files/profile_formats.h"
#include "geometry/units.h"
#include "report/drawing_grid.h"
#include "report/horn_model.h"
#include "report_window/design_limit.h"
#include "report_window/report_profile.h"
#include "ui/busy_cursor.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/show_in_front.h"
#include "ui/shared_printer.h"
#include "ui/widgets.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

using vortalis::exports::ExportFormat;
using vortalis::report::MouthLimit;

QRadioButton* AddRadio(QLayout* layout, const char* name, const QString& caption) {
  auto* button = Named(new QRadioButton(caption), name);
  TabToCheckedOnly(button);
  layout->addWidget(button);
  return button;
}

// The command line tool's papers.
constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4, QPageSize::A3, QPageSize::Letter};

// The step a template is drawn with unless changed: the drawing's, fine enough
// for the curve at full size.
long double TemplateStep(const ReportSource& source) {
  const long double length =
      source.horn ? vortalis::report::HornLength(*source.horn, source.separators) : 0.0L;
  return vortalis::report::DrawingStep(length, SourceIncrement(source));
}

}  // namespace

TExportForm::TExportForm(ReportSource source, const QString& reportFile, QWidget* report,
                         Purpose purpose)
    : QDialog(report), source_(std::move(source)), reportFile_(reportFile), purpose_(purpose) {
  const bool exporting = purpose_ == Purpose::Export;
  setObjectName(exporting ? QStringLiteral("ExportForm") : QStringLiteral("TemplateForm"));
  setWindowTitle(exporting ? QStringLiteral("Export profile")
                           : QStringLiteral("Print full-size template"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(kReportDialogFlags);
  BuildControls(QString::fromLatin1(UnitName(SourceUnit(source_))));
  connect(ExportButton, &QPushButton::clicked, this, &TExportForm::ExportClick);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
  for (QRadioButton* button : {FullHorn, SizeLimit, LengthLimit}) {
    connect(button, &QRadioButton::toggled, this, &TExportForm::LimitClick);
  }
  LimitClick();
  if (Panels) {
    connect(Panels, &QRadioButton::toggled, this, &TExportForm::CurvesClick);
    CurvesClick();
  }
  if (Paper) {
    connect(Paper, &QComboBox::currentIndexChanged, this, &TExportForm::SheetsChange);
    // The count follows each keystroke.
    connect(Step, &QLineEdit::textChanged, this, &TExportForm::SheetsChange);
    connect(LimitValue, &QLineEdit::textChanged, this, &TExportForm::SheetsChange);
    SheetsChange();
  }
}

void TExportForm::BuildControls(const QString& unit) {
  const bool exporting = purpose_ == Purpose::Export;
  QGroupBox* curves = nullptr;
  if (source_.horn && vortalis::report::IsRectangular(*source_.horn)) {
    curves = new QGroupBox(QStringLiteral("Curves"));
    auto* choices = new QHBoxLayout(curves);
    Walls = AddRadio(choices, "Walls", QStringLiteral("&Walls (profile)"));
    Panels = AddRadio(choices, "Panels", QStringLiteral("Pa&nels (true size)"));
    Walls->setChecked(true);
  }
  QGroupBox* format = nullptr;
  if (exporting) {
    format = new QGroupBox(QStringLiteral("Format"));
    auto* formats = new QHBoxLayout(format);
    Csv = AddRadio(formats, "Csv", QStringLiteral("&CSV table"));
    Dxf = AddRadio(formats, "Dxf", QStringLiteral("D&XF drawing"));
    Svg = AddRadio(formats, "Svg", QStringLiteral("&SVG drawing"));
    Csv->setChecked(true);
  } else {
    format = new QGroupBox(QStringLiteral("Paper"));
    auto* paperRows = new QFormLayout(format);
    Paper = Named(new QComboBox, "Paper");
    const QPageSize::PageSizeId current = SharedPrinter().pageLayout().pageSize().id();
    for (const QPageSize::PageSizeId id : kPapers) {
      Paper->addItem(QPageSize::name(id), static_cast<int>(id));
      if (id == current) Paper->setCurrentIndex(Paper->count() - 1);
    }
    paperRows->addRow(QStringLiteral("P&aper (10 mm margins):"), Paper);
    Sheets = Named(new QLabel, "Sheets");
    paperRows->addRow(Sheets);
  }

  auto* points = new QGroupBox(QStringLiteral("Points"));
  auto* pointRows = new QFormLayout(points);
  Step = Named(new QLineEdit(QString::fromStdString(vortalis::report::ShortNumberText(
                   exporting ? SourceIncrement(source_) : TemplateStep(source_),
                   CurrentSeparators()))),
               "Step");
  pointRows->addRow(QStringLiteral("S&tep (%1):").arg(unit), Step);
  if (Panels) {
    StepNote = Named(new QLabel(QStringLiteral("Panels are drawn as finely as cutting needs; "
                                                "the step is the profile's.")),
                     "StepNote");
    pointRows->addRow(StepNote);
  }

  auto* mouth = new QGroupBox(QStringLiteral("Mouth"));
  auto* mouthRows = new QVBoxLayout(mouth);
  FullHorn = AddRadio(mouthRows, "FullHorn", QStringLiteral("&Full horn to the mouth"));
  SizeLimit = AddRadio(mouthRows, "SizeLimit", MouthSizeCaption(source_));
  LengthLimit = AddRadio(mouthRows, "LengthLimit", QStringLiteral("Cut at a &length from the throat"));
  FullHorn->setChecked(true);
  auto* valueRow = new QFormLayout;
  LimitValue = Named(new QLineEdit, "LimitValue");
  TakeDesignMouthLimit(source_, SizeLimit, LengthLimit, LimitValue);
  valueRow->addRow(QStringLiteral("&Value (%1):").arg(unit), LimitValue);
  mouthRows->addLayout(valueRow);

  auto* buttons = new QDialogButtonBox;
  ExportButton = buttons->addButton(
      exporting ? QStringLiteral("&Export...") : QStringLiteral("&Print..."),
      QDialogButtonBox::AcceptRole);
  ExportButton->setObjectName(QStringLiteral("ExportButton"));
  ExportButton->setDefault(true);
  Cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  Cancel->setObjectName(QStringLiteral("Cancel"));

  auto* layout = new QVBoxLayout(this);
  if (curves) layout->addWidget(curves);
  layout->addWidget(format);
  layout->addWidget(points);
  layout->addWidget(mouth);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TExportForm::LimitClick() {
  LimitValue->setEnabled(!FullHorn->isChecked());
  if (Paper) SheetsChange();
}

bool TExportForm::PanelsChosen() const { return Panels && Panels->isChecked(); }

void TExportForm::CurvesClick() {
  const bool panels = PanelsChosen();
  if (purpose_ == Purpose::Export)
    setWindowTitle(panels ? QStringLiteral("Export panels") : QStringLiteral("Export profile"));
  Step->setEnabled(!panels);
  StepNote->setVisible(panels);
  if (Csv) {
    // Panels are drawings only.
    Csv->setEnabled(!panels);
    if (panels && Csv->isChecked()) Dxf->setChecked(true);
  }
  if (Paper) SheetsChange();
}

vortalis::exports::FlatKit TExportForm::PanelsOf(const MouthLimit& limit) const {
  return vortalis::exports::PanelsKit{
      SourceUnit(source_),
      vortalis::buildkit::WallPanels(*source_.horn, limit, source_.separators)};
}

ExportFormat TExportForm::Format() const {
  if (Dxf->isChecked()) return ExportFormat::Dxf;
  if (Svg->isChecked()) return ExportFormat::Svg;
  return ExportFormat::Csv;
}

std::optional<long double> TExportForm::ParseLength(const QLineEdit* field) const {
  return vortalis::geometry::ParseNumber(field->text().toStdString(), CurrentSeparators());
}

MouthLimit TExportForm::LimitOf(long double value) const {
  const MouthCut cut = FullHorn->isChecked()     ? MouthCut::WholeHorn
                       : LengthLimit->isChecked() ? MouthCut::Length
                                                  : MouthCut::Size;
  return SourceMouthLimit(source_, cut, value);
}

std::optional<long double> TExportForm::ReadLength(QLineEdit* field, const QString& name) {
  const auto value = ParseLength(field);
  if (value) return value;
  Prompts().Error(QStringLiteral("%1 is not a number").arg(name));
  field->setFocus();
  field->selectAll();
  return std::nullopt;
}

std::optional<MouthLimit> TExportForm::ReadLimit() {
  if (FullHorn->isChecked()) return MouthLimit{};
  const auto value = ReadLength(LimitValue, QStringLiteral("The mouth limit"));
  if (!value) return std::nullopt;
  return LimitOf(*value);
}

QPageSize TExportForm::PaperSize() const {
  return QPageSize(static_cast<QPageSize::PageSizeId>(Paper->currentData().toInt()));
}

void TExportForm::SheetsChange() {
  const bool panels = PanelsChosen();
  const auto step = panels ? std::optional<long double>(0.0L) : ParseLength(Step);
  const auto value =
      FullHorn->isChecked() ? std::optional<long double>(0.0L) : ParseLength(LimitValue);
  if (!step || !value) {
    Sheets->setText(panels ? QStringLiteral("Pages: enter the mouth limit")
                           : QStringLiteral("Pages: enter the step and the mouth limit"));
    return;
  }
  try {
    const TemplateSheets sheets =
        panels ? FewerKitSheets(PanelsOf(LimitOf(*value)), PaperSize())
               : FewerTemplateSheets(MakeSourceProfile(source_, *step, LimitOf(*value)),
                                     PaperSize());
    Sheets->setText(QStringLiteral("%1 %2, %3 (turned to need fewer)")
                        .arg(sheets.pages)
                        .arg(sheets.pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"))
                        .arg(sheets.layout.orientation() == QPageLayout::Landscape
                                 ? QStringLiteral("landscape")
                                 : QStringLiteral("portrait")));
  } catch (const std::exception& error) {
    Sheets->setText(QString::fromUtf8(error.what()));
  }
}

void TExportForm::PrintOn(const TemplateSheets& sheets, const QString& job,
                          const std::function<void(QPrinter&)>& print) {
  try {
    if (PrintOnSheets(this, sheets, job, print)) accept();
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

QString TExportForm::PresetName(ExportFormat format) const {
  const QString suffix = QString::fromLatin1(vortalis::files::FormatName(format));
  const bool panels = PanelsChosen();
  if (reportFile_ == QStringLiteral("Untitled"))
    return (panels ? QStringLiteral("panels.") : QStringLiteral("profile.")) + suffix;
  const QFileInfo report(reportFile_);
  const QString tail = panels ? QStringLiteral("-panels.") : QStringLiteral(".");
  return QDir(report.path()).filePath(report.completeBaseName() + tail + suffix);
}

void TExportForm::ExportPanels(const MouthLimit& limit) {
  vortalis::exports::FlatKit kit;
  try {
    kit = PanelsOf(limit);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  if (purpose_ == Purpose::Template) {
    TemplateSheets sheets;
    try {
      sheets = FewerKitSheets(kit, PaperSize());
    } catch (const std::exception& error) {
      ShowProfileFailure(error);
      return;
    }
    PrintOn(sheets, QStringLiteral("Panels - %1").arg(reportFile_),
            [&kit](QPrinter& printer) { PrintKitTemplate(kit, printer); });
    return;
  }
  const ExportFormat format = Format();
  const QString extension = QString::fromLatin1(vortalis::files::FormatName(format));
  const QString path = Prompts().ExportFileName(
      this, PresetName(format), vortalis::exports::KitFilter(kit, extension), extension);
  if (path.isEmpty()) return;
  try {
    const BusyCursor busy;
    vortalis::exports::WriteKitFile(kit, path, SharedPrinter().pageLayout().pageSize());
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  accept();
}

void TExportForm::ExportClick() {
  if (PanelsChosen()) {
    const auto limit = ReadLimit();
    if (limit) ExportPanels(*limit);
    return;
  }
  const auto step = ReadLength(Step, QStringLiteral("The step"));
  if (!step) return;
  const auto limit = ReadLimit();
  if (!limit) return;
  vortalis::report::HornProfile profile;
  try {
    profile = MakeSourceProfile(source_, *step, *limit);
  } catch (const vortalis::report::ProfileError& error) {
    ShowProfileFailure(error);
    return;
  }
  if (purpose_ == Purpose::Template) {
    TemplateSheets sheets;
    try {
      sheets = FewerTemplateSheets(profile, PaperSize());
    } catch (const std::exception& error) {
      ShowProfileFailure(error);
      return;
    }
    PrintOn(sheets, QStringLiteral("Template - %1").arg(reportFile_),
            [&](QPrinter& printer) { PrintTemplate(profile, printer, CurrentSeparators()); });
    return;
  }
  const ExportFormat format = Format();
  const QString path =
      Prompts().ExportFileName(this, PresetName(format), vortalis::exports::FormatFilter(format),
                               QString::fromLatin1(vortalis::files::FormatName(format)));
  if (path.isEmpty()) return;
  try {
    const BusyCursor busy;
    vortalis::exports::ExportProfile(profile, format, path);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  accept();
}

}  // namespace vortalis::report_window
