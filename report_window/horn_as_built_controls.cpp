#include "report_window/horn_as_built_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

#include "report_window/design_limit.h"
#include "report_window/report_profile.h"
#include "ui/design_name.h"
#include "ui/locale_separators.h"
#include "ui/widgets.h"

namespace vortalis::report_window {

using namespace ui;

using vortalis::acoustics::MouthLoad;
using vortalis::acoustics::WallLosses;

QString Placement(long double locationFactor) {
  switch (static_cast<int>(locationFactor)) {
    case 2:
      return QStringLiteral("against one wall");
    case 4:
      return QStringLiteral("against two walls");
    case 8:
      return QStringLiteral("against three walls");
    default:
      return QStringLiteral("in free air");
  }
}

vortalis::acoustics::FrequencySweep DesignSweep(vortalis::acoustics::FrequencySweep sweep,
                                                long double cutoff) {
  const auto typed = [](const char* key) {
    return vortalis::geometry::ParseNumber(
        CurrentDesignSetting(QLatin1String(key)).toStdString(), CurrentSeparators());
  };
  vortalis::acoustics::FrequencySweep designed = sweep;
  designed.from = typed("acoustics.from").value_or(sweep.from);
  designed.to = typed("acoustics.to").value_or(sweep.to);
  if (const auto points = typed("acoustics.points-per-octave")) {
    if (*points != std::floor(*points) || *points < 1 || *points > 1000) return sweep;
    designed.pointsPerOctave = static_cast<int>(*points);
  }
  try {
    vortalis::acoustics::CheckSweep(designed, cutoff);
  } catch (const std::invalid_argument&) {
    return sweep;
  }
  return designed;
}

HornAsBuiltControls::HornAsBuiltControls(const ReportSource& source, QWidget* parent)
    : QWidget(parent),
      source_(source),
      rectangular_(vortalis::report::IsRectangular(source.horn.value())),
      horn_(vortalis::acoustics::HornAcousticsOf(*source.horn, source.separators)) {
  setObjectName(QStringLiteral("HornAsBuilt"));
  Baffle = Named(new QRadioButton(QStringLiteral("&Infinite baffle"), this), "Baffle");
  Unflanged =
      Named(new QRadioButton(QStringLiteral("&Unflanged (free-standing)"), this), "Unflanged");
  Location = Named(new QRadioButton(this), "Location");
  // A circular horn has no placement of its own: its location is free air.
  Location->setText(rectangular_
                        ? QStringLiteral("&Location: mouth ") + Placement(horn_.locationFactor)
                        : QStringLiteral("&Location: free air (circular horns)"));
  Losses = Named(new QCheckBox(QStringLiteral("Wall l&osses"), this), "Losses");
  FullHorn = Named(new QRadioButton(QStringLiteral("&Whole horn"), this), "FullHorn");
  SizeLimit = Named(new QRadioButton(MouthSizeCaption(source_), this), "SizeLimit");
  LengthLimit = Named(new QRadioButton(QStringLiteral("Cut at a len&gth from the throat"), this),
                      "LengthLimit");
  LimitValue = Named(new QLineEdit(this), "LimitValue");
  auto* loads = new QButtonGroup(this);
  for (QRadioButton* button : {Baffle, Unflanged, Location}) loads->addButton(button);
  auto* cut = new QButtonGroup(this);
  for (QRadioButton* button : {FullHorn, SizeLimit, LengthLimit}) cut->addButton(button);
  Baffle->setChecked(true);
  FullHorn->setChecked(true);
  LimitValue->setEnabled(false);

  auto* load = new QHBoxLayout;
  load->addWidget(Named(new QLabel(QStringLiteral("Mouth load:"), this), "LoadLabel"));
  for (QWidget* control : std::initializer_list<QWidget*>{Baffle, Unflanged, Location, Losses})
    load->addWidget(control);
  load->addStretch(1);
  auto* mouth = new QHBoxLayout;
  mouth->addWidget(Named(new QLabel(QStringLiteral("Horn as built:"), this), "LimitLabel"));
  for (QWidget* control : std::initializer_list<QWidget*>{FullHorn, SizeLimit, LengthLimit})
    mouth->addWidget(control);
  mouth->addWidget(Named(new QLabel(QStringLiteral("%1:").arg(QLatin1String(
                                        vortalis::geometry::UnitName(SourceUnit(source_)))),
                                    this),
                         "LimitUnit"));
  mouth->addWidget(LimitValue);
  mouth->addStretch(1);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addLayout(load);
  rows->addLayout(mouth);

  TakeDesign();
  for (QRadioButton* button : {Baffle, Unflanged, Location})
    connect(button, &QRadioButton::toggled, this, &HornAsBuiltControls::LoadChange);
  for (QRadioButton* button : {SizeLimit, LengthLimit})
    connect(button, &QRadioButton::toggled, this, &HornAsBuiltControls::LimitChange);
  connect(LimitValue, &QLineEdit::editingFinished, this, &HornAsBuiltControls::LimitChange);
  connect(Losses, &QCheckBox::toggled, this, [this](bool on) {
    built_.losses = on ? WallLosses::On : WallLosses::Off;
    emit Changed();
  });
}

// The design's mouth load, losses and mouth limit, before anything is connected.
void HornAsBuiltControls::TakeDesign() {
  const auto load =
      vortalis::acoustics::MouthLoadNamed(CurrentDesignSetting(QStringLiteral("acoustics.mouth-load"))
                                              .toStdString());
  if (load) {
    (*load == MouthLoad::Baffle ? Baffle : *load == MouthLoad::Unflanged ? Unflanged : Location)
        ->setChecked(true);
    built_.load = *load;
  }
  if (CurrentDesignSetting(QStringLiteral("acoustics.losses")) == QStringLiteral("on")) {
    Losses->setChecked(true);
    built_.losses = WallLosses::On;
  }
  TakeDesignMouthLimit(source_, SizeLimit, LengthLimit, LimitValue);
  if (!FullHorn->isChecked()) {
    // A design's limit that gives no horn is said, and the whole horn taken.
    const QSignalBlocker blocker(this);
    LimitChange();
  }
}

QString HornAsBuiltControls::ToolMouthLimit() const {
  if (built_.limit.kind == vortalis::report::MouthLimitKind::None) return {};
  const QString word = LengthLimit->isChecked() ? QStringLiteral("length") : DesignSizeWord(source_);
  return word + QLatin1Char('=') + LimitValue->text().trimmed();
}

void HornAsBuiltControls::LoadChange() {
  const MouthLoad load = Baffle->isChecked()      ? MouthLoad::Baffle
                         : Unflanged->isChecked() ? MouthLoad::Unflanged
                                                  : MouthLoad::Location;
  if (load == built_.load) return;
  built_.load = load;
  emit Changed();
}

void HornAsBuiltControls::LimitChange() {
  const MouthCut cut = SizeLimit->isChecked()     ? MouthCut::Size
                       : LengthLimit->isChecked() ? MouthCut::Length
                                                  : MouthCut::WholeHorn;
  LimitValue->setEnabled(cut != MouthCut::WholeHorn);
  // A cut waits for its value.
  if (cut != MouthCut::WholeHorn && LimitValue->text().trimmed().isEmpty()) return;
  try {
    const auto value =
        vortalis::geometry::ParseNumber(LimitValue->text().toStdString(), CurrentSeparators());
    if (cut != MouthCut::WholeHorn && !value)
      throw vortalis::report::ProfileError("The mouth limit is not a number");
    const vortalis::report::MouthLimit limit =
        SourceMouthLimit(source_, cut, value.value_or(0.0L));
    horn_ = vortalis::acoustics::HornAcousticsOf(*source_.horn, source_.separators, limit);
    built_.limit = limit;
  } catch (const std::exception& error) {
    horn_ = vortalis::acoustics::HornAcousticsOf(*source_.horn, source_.separators);
    built_.limit = {};
    {
      const QSignalBlocker size(SizeLimit);
      const QSignalBlocker length(LengthLimit);
      FullHorn->setChecked(true);
    }
    LimitValue->setEnabled(false);
    ShowProfileFailure(error);
  }
  emit Changed();
}

}  // namespace vortalis::report_window
