#include "report_window/export_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "geometry/units.h"
#include "report/drawing_grid.h"
#include "report/horn_model.h"
#include "report_window/report_profile.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/widgets.h"

namespace vortalis::windows {

namespace {

using vortalis::exports::ExportFormat;
using vortalis::geometry::SizeMode;
using vortalis::report::MouthLimit;
using vortalis::report::MouthLimitKind;

QRadioButton* AddRadio(QLayout* layout, const char* name, const QString& caption) {
  auto* button = Named(new QRadioButton(caption), name);
  TabToCheckedOnly(button);
  layout->addWidget(button);
  return button;
}

QString SizeCaption(const ReportSource& source) {
  if (source.horn && vortalis::report::IsRectangular(*source.horn)) return QStringLiteral("Cut where side &1A - 1B reaches");
  return SourceSizeMode(source) == SizeMode::Diameter
             ? QStringLiteral("Cut where the &diameter reaches")
             : QStringLiteral("Cut where the &radius reaches");
}

}  // namespace

TExportForm::TExportForm(ReportSource source, const QString& reportFile, QWidget* report)
    : QDialog(report), source_(std::move(source)), reportFile_(reportFile) {
  setObjectName(QStringLiteral("ExportForm"));
  setWindowTitle(QStringLiteral("Export profile"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  BuildControls(QString::fromLatin1(UnitName(SourceUnit(source_))));
  connect(ExportButton, &QPushButton::clicked, this, &TExportForm::ExportClick);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
  for (QRadioButton* button : {FullHorn, SizeLimit, LengthLimit}) {
    connect(button, &QRadioButton::toggled, this, &TExportForm::LimitClick);
  }
  LimitClick();
}

void TExportForm::BuildControls(const QString& unit) {
  auto* format = new QGroupBox(QStringLiteral("Format"));
  auto* formats = new QHBoxLayout(format);
  Csv = AddRadio(formats, "Csv", QStringLiteral("&CSV table"));
  Dxf = AddRadio(formats, "Dxf", QStringLiteral("D&XF drawing"));
  Svg = AddRadio(formats, "Svg", QStringLiteral("&SVG drawing"));
  Csv->setChecked(true);

  auto* points = new QGroupBox(QStringLiteral("Points"));
  auto* pointRows = new QFormLayout(points);
  Step = Named(new QLineEdit(QString::fromStdString(vortalis::report::ShortNumberText(
                   SourceIncrement(source_), CurrentSeparators()))),
               "Step");
  pointRows->addRow(QStringLiteral("S&tep (%1):").arg(unit), Step);

  auto* mouth = new QGroupBox(QStringLiteral("Mouth"));
  auto* mouthRows = new QVBoxLayout(mouth);
  FullHorn = AddRadio(mouthRows, "FullHorn", QStringLiteral("&Full horn to the mouth"));
  SizeLimit = AddRadio(mouthRows, "SizeLimit", SizeCaption(source_));
  LengthLimit = AddRadio(mouthRows, "LengthLimit", QStringLiteral("Cut at a &length from the throat"));
  FullHorn->setChecked(true);
  auto* valueRow = new QFormLayout;
  LimitValue = Named(new QLineEdit, "LimitValue");
  valueRow->addRow(QStringLiteral("&Value (%1):").arg(unit), LimitValue);
  mouthRows->addLayout(valueRow);

  auto* buttons = new QDialogButtonBox;
  ExportButton = buttons->addButton(QStringLiteral("&Export..."), QDialogButtonBox::AcceptRole);
  ExportButton->setObjectName(QStringLiteral("ExportButton"));
  ExportButton->setDefault(true);
  Cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  Cancel->setObjectName(QStringLiteral("Cancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(format);
  layout->addWidget(points);
  layout->addWidget(mouth);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TExportForm::LimitClick() { LimitValue->setEnabled(!FullHorn->isChecked()); }

ExportFormat TExportForm::Format() const {
  if (Dxf->isChecked()) return ExportFormat::Dxf;
  if (Svg->isChecked()) return ExportFormat::Svg;
  return ExportFormat::Csv;
}

std::optional<long double> TExportForm::ReadLength(QLineEdit* field, const QString& name) {
  const auto value =
      vortalis::geometry::ParseNumber(field->text().toStdString(), CurrentSeparators());
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
  if (LengthLimit->isChecked()) return MouthLimit{MouthLimitKind::Length, *value};
  if (source_.horn && vortalis::report::IsRectangular(*source_.horn)) return MouthLimit{MouthLimitKind::Side1, *value};
  // The limit is a radius; a report in diameters is cut at the diameter it shows.
  return MouthLimit{MouthLimitKind::Radius,
                    vortalis::report::RadiusOfSize(*value, SourceSizeMode(source_))};
}

QString TExportForm::PresetName(ExportFormat format) const {
  const QString suffix = QString::fromLatin1(vortalis::report::FormatName(format));
  if (reportFile_ == QStringLiteral("Untitled")) return QStringLiteral("profile.") + suffix;
  const QFileInfo report(reportFile_);
  return QDir(report.path()).filePath(report.completeBaseName() + QLatin1Char('.') + suffix);
}

void TExportForm::ExportClick() {
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
  const ExportFormat format = Format();
  const QString path =
      Prompts().ExportFileName(this, PresetName(format), vortalis::exports::FormatFilter(format),
                               QString::fromLatin1(vortalis::report::FormatName(format)));
  if (path.isEmpty()) return;
  try {
    vortalis::exports::ExportProfile(profile, format, path);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  accept();
}

}  // namespace vortalis::windows
