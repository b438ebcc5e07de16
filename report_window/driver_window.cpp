#include "report_window/driver_window.h"

#include <QClipboard>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

#include "driver/driver_file.h"
#include "export/profile_export.h"
#include "plot/page_cells.h"
#include "report/drawing_grid.h"
#include "report_window/plot_window_actions.h"
#include "report_window/report_printer.h"
#include "report_window/report_file.h"
#include "report_window/report_profile.h"
#include "report_window/text_form.h"
#include "ui/design_name.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/widgets.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

using vortalis::driver::DriverInput;
using vortalis::driver::SystemPoint;
using vortalis::geometry::Separators;

// Points an octave of the window's sweep (fc / 4 to 16 fc: 433 points), a
// multiple of the tool's 24 so that its default table is every third point.
constexpr int kPointsPerOctave = 72;

struct Field {
  const char* name;     // object name of the edit
  const char* caption;  // with its unit
  const char* key;      // in the driver file and a design's "driver" section
  std::optional<long double> DriverInput::*value;
};

// In the driver file's order.
const std::array<Field, TDriverForm::kDriverFields> kFields{{
    {"ReEdit", "Re (ohm)", "re", &DriverInput::re},
    {"LeEdit", "Le (mH)", "le", &DriverInput::le},
    {"BlEdit", "Bl (T m)", "bl", &DriverInput::bl},
    {"MmsEdit", "Mms (g)", "mms", &DriverInput::mms},
    {"CmsEdit", "Cms (mm/N)", "cms", &DriverInput::cms},
    {"RmsEdit", "Rms (kg/s)", "rms", &DriverInput::rms},
    {"SdEdit", "Sd (cm\u00b2)", "sd", &DriverInput::sd},
    {"FsEdit", "fs (Hz)", "fs", &DriverInput::fs},
    {"QesEdit", "Qes", "qes", &DriverInput::qes},
    {"QmsEdit", "Qms", "qms", &DriverInput::qms},
    {"VasEdit", "Vas (litres)", "vas", &DriverInput::vas},
    {"XmaxEdit", "Xmax (mm)", "xmax", &DriverInput::xmax},
    {"PeEdit", "Pe (W)", "pe", &DriverInput::pe},
}};

// The current design's driver (checked when the design was opened), if it has one.
std::optional<DriverInput> DesignDriver() {
  DriverInput input;
  bool any = false;
  std::vector<const char*> keys{"name"};
  for (const Field& field : kFields) keys.push_back(field.key);
  for (const char* key : keys) {
    const QString value = CurrentDesignSetting(QStringLiteral("driver.") + QLatin1String(key));
    if (value.isEmpty()) continue;
    vortalis::driver::SetDriverValue(input, key, value.toStdString());
    any = true;
  }
  return any ? std::optional(input) : std::nullopt;
}

const QColor kSpl(200, 40, 40);
const QColor kLimit(230, 140, 20);
const QColor kImpedance(20, 70, 180);
const QColor kPhase(120, 40, 160);
const QColor kExcursion(20, 130, 80);
const QColor kDelay(60, 60, 60);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Number(long double value, int digits, const Separators& separators) {
  const long double magnitude = std::fabs(value);
  const int exponent = magnitude > 0.0L ? static_cast<int>(std::floor(std::log10(magnitude))) : 0;
  const int decimals = std::clamp(digits - 1 - exponent, 0, 6);
  return Text(vortalis::geometry::FixedText(value, 18, decimals, separators));
}

// A typed value: none when empty; throws naming the field when not a number.
std::optional<long double> Typed(const QLineEdit* edit, const QString& caption) {
  const QString text = edit->text().trimmed();
  if (text.isEmpty()) return std::nullopt;
  const auto value = vortalis::geometry::ParseNumber(text.toStdString(), CurrentSeparators());
  if (!value)
    throw std::invalid_argument((caption + QStringLiteral(" is not a number")).toStdString());
  return value;
}

}  // namespace

TDriverForm::TDriverForm(const ReportSource& source, QWidget* report)
    : QWidget(report, Qt::Window) {
  setObjectName(QStringLiteral("DriverForm"));
  setAttribute(Qt::WA_DeleteOnClose);
  AsBuilt = new HornAsBuiltControls(source, this);

  auto* fields = new QGridLayout;
  int row = 0;
  const auto add = [&](const QString& caption, QLineEdit* edit) {
    fields->addWidget(new QLabel(caption, this), row, 0);
    fields->addWidget(edit, row++, 1);
    connect(edit, &QLineEdit::textChanged, this, [this] {
      if (!filling_) Recalculate();
    });
  };
  NameEdit = Named(new QLineEdit(this), "NameEdit");
  add(QStringLiteral("Name"), NameEdit);
  for (std::size_t i = 0; i < kDriverFields; ++i) {
    DriverEdits[i] = Named(new QLineEdit(this), kFields[i].name);
    add(QString::fromUtf8(kFields[i].caption), DriverEdits[i]);
  }
  RearChamberEdit = Named(new QLineEdit(this), "RearChamberEdit");
  RearChamberEdit->setPlaceholderText(QStringLiteral("none"));
  add(QStringLiteral("Rear chamber (litres)"), RearChamberEdit);
  ThroatChamberEdit = Named(new QLineEdit(this), "ThroatChamberEdit");
  ThroatChamberEdit->setPlaceholderText(QStringLiteral("none"));
  add(QStringLiteral("Throat chamber (litres)"), ThroatChamberEdit);
  VoltageEdit = Named(new QLineEdit(this), "VoltageEdit");
  add(QStringLiteral("Voltage (V RMS)"), VoltageEdit);
  connect(AsBuilt, &HornAsBuiltControls::Changed, this, &TDriverForm::Recalculate);
  OpenButton = Named(new QPushButton(QStringLiteral("Open &driver..."), this), "OpenButton");
  SaveButton = Named(new QPushButton(QStringLiteral("&Save driver..."), this), "SaveButton");
  ApplyButton = Named(new QPushButton(QStringLiteral("&Apply chambers"), this), "ApplyButton");
  CopyButton = Named(new QPushButton(QStringLiteral("&Copy"), this), "CopyButton");
  CopyButton->setToolTip(QStringLiteral("Copy the response as CSV text"));
  ExportButton = Named(new QPushButton(QStringLiteral("&Export CSV..."), this), "ExportButton");
  PrintButton = Named(new QPushButton(QStringLiteral("&Print..."), this), "PrintButton");
  Status = Named(new QLabel(this), "Status");
  Status->setWordWrap(true);
  Suggestion = Named(new QLabel(this), "Suggestion");
  Suggestion->setWordWrap(true);
  Readout = Named(new QLabel(this), "Readout");

  auto* left = new QVBoxLayout;
  auto* files = new QHBoxLayout;
  files->addWidget(OpenButton);
  files->addWidget(SaveButton);
  left->addLayout(files);
  left->addLayout(fields);
  left->addWidget(Suggestion);
  left->addWidget(ApplyButton);
  left->addStretch(1);

  auto* plots = new QGridLayout;
  for (std::size_t i = 0; i < plots_.size(); ++i) {
    static const char* const kNames[] = {"SplPlot", "ImpedancePlot", "PhasePlot", "ExcursionPlot",
                                         "DelayPlot"};
    views_[i] = Named(
        NewLinePlotView(plots_[i], [this](std::optional<std::size_t> p) { Hover(p); }, this),
        kNames[i]);
    plots->addWidget(views_[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
  }
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Status, 1);
  buttons->addWidget(CopyButton);
  buttons->addWidget(ExportButton);
  buttons->addWidget(PrintButton);
  auto* right = new QVBoxLayout;
  right->addWidget(AsBuilt);
  right->addLayout(buttons);
  right->addLayout(plots, 1);
  right->addWidget(Readout);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  connect(OpenButton, &QPushButton::clicked, this, &TDriverForm::OpenClick);
  connect(SaveButton, &QPushButton::clicked, this, &TDriverForm::SaveClick);
  connect(ApplyButton, &QPushButton::clicked, this, &TDriverForm::ApplyClick);
  connect(CopyButton, &QPushButton::clicked, this, &TDriverForm::CopyClick);
  connect(ExportButton, &QPushButton::clicked, this, &TDriverForm::ExportClick);
  connect(PrintButton, &QPushButton::clicked, this, &TDriverForm::PrintClick);

  filling_ = true;
  VoltageEdit->setText(Text(vortalis::geometry::FixedText(vortalis::driver::kDefaultVoltage, 18, 2,
                                                          CurrentSeparators())));
  // A design's chambers and voltage, as typed in it.
  for (const auto& [edit, key] : {std::pair{RearChamberEdit, "acoustics.rear-chamber"},
                                  std::pair{ThroatChamberEdit, "acoustics.throat-chamber"},
                                  std::pair{VoltageEdit, "acoustics.voltage"}}) {
    const QString value = CurrentDesignSetting(QLatin1String(key));
    if (!value.isEmpty()) edit->setText(value);
  }
  filling_ = false;
  ShowDriver(DesignDriver().value_or(vortalis::driver::ExampleDriver()));

  setWindowTitle(
      QStringLiteral("Driver and response - %1 Hz horn")
          .arg(Text(vortalis::report::ShortNumberText(AsBuilt->Horn().cutoff,
                                                      CurrentSeparators()))));
  const QRect screen = (report ? report->screen() : QWidget::screen())->availableGeometry();
  resize(QSize(1200, 760).boundedTo(screen.size() * 9 / 10));
  move(screen.center() - rect().center());
}

vortalis::acoustics::MouthLoad TDriverForm::Load() const { return AsBuilt->Read().load; }

QHash<QString, QString> TDriverForm::DesignSettings() const {
  QHash<QString, QString> settings;
  for (const auto& line :
       vortalis::driver::ReadDriverLines(vortalis::driver::DriverFileText(ReadDriver())))
    settings.insert(QStringLiteral("driver.") + Text(line.key), Text(line.value));
  for (const auto& [edit, key] : {std::pair{RearChamberEdit, "acoustics.rear-chamber"},
                                  std::pair{ThroatChamberEdit, "acoustics.throat-chamber"},
                                  std::pair{VoltageEdit, "acoustics.voltage"}})
    settings.insert(QLatin1String(key), edit->text().trimmed());
  const HornAsBuilt built = AsBuilt->Read();
  settings.insert(QStringLiteral("drawing.mouth-limit"), AsBuilt->ToolMouthLimit());
  settings.insert(QStringLiteral("acoustics.mouth-load"),
                  QLatin1String(vortalis::acoustics::MouthLoadName(built.load)));
  settings.insert(QStringLiteral("acoustics.losses"),
                  built.losses == vortalis::acoustics::WallLosses::On ? QStringLiteral("on")
                                                                      : QStringLiteral("off"));
  return settings;
}

DriverInput TDriverForm::ReadDriver() const {
  DriverInput input;
  input.name = NameEdit->text().trimmed().toStdString();
  for (std::size_t i = 0; i < kDriverFields; ++i)
    input.*kFields[i].value = Typed(DriverEdits[i], QString::fromUtf8(kFields[i].caption));
  return input;
}

void TDriverForm::ShowDriver(const DriverInput& input) {
  filling_ = true;
  NameEdit->setText(Text(input.name));
  for (std::size_t i = 0; i < kDriverFields; ++i) {
    const auto& value = input.*kFields[i].value;
    DriverEdits[i]->setText(
        value ? Text(vortalis::report::ShortNumberText(*value, CurrentSeparators())) : QString());
  }
  filling_ = false;
  Recalculate();
}

void TDriverForm::Recalculate() {
  using namespace vortalis::driver;
  response_.clear();
  design_.reset();
  std::optional<long double> xmaxMm;
  try {
    SystemSetup setup;
    setup.driver = ResolveDriver(ReadDriver());
    if (setup.driver.xmax) xmaxMm = *setup.driver.xmax * 1e3L;
    const auto litres = [](const std::optional<long double>& value) -> std::optional<long double> {
      if (!value) return std::nullopt;
      return *value * 1e-3L;
    };
    setup.rearChamber = litres(Typed(RearChamberEdit, QStringLiteral("The rear chamber")));
    setup.throatChamber = litres(Typed(ThroatChamberEdit, QStringLiteral("The throat chamber")));
    setup.voltage = Typed(VoltageEdit, QStringLiteral("The voltage")).value_or(kDefaultVoltage);
    const vortalis::acoustics::HornAcoustics& horn = AsBuilt->Horn();
    const HornAsBuilt built = AsBuilt->Read();
    vortalis::acoustics::FrequencySweep sweep = vortalis::acoustics::DefaultSweep(horn.cutoff);
    sweep.pointsPerOctave = kPointsPerOctave;
    sweep = DesignSweep(sweep, horn.cutoff);
    response_ = SystemResponse(horn, built.load, setup, sweep, built.losses);
    design_ = SuggestHornDesign(setup.driver, horn);
    Status->setText(setup.driver.xmax || setup.driver.pe
                        ? QString()
                        : QStringLiteral("Give Xmax or Pe to see the highest SPL."));
  } catch (const std::exception& error) {
    QString message = QString::fromUtf8(error.what());
    if (!message.isEmpty()) message[0] = message[0].toUpper();
    Status->setText(message);
  }

  const Separators& separators = CurrentSeparators();
  if (design_) {
    const auto cm2 = [&](long double area) { return Number(area * 1e4L, 3, separators); };
    Suggestion->setText(
        QStringLiteral(
            "Suggested for this driver: throat area %1 cm\u00b2 (this horn %2 cm\u00b2), "
            "rear chamber %3, throat chamber %4 litres.")
            .arg(cm2(design_->throatArea), cm2(AsBuilt->Horn().shape.throatArea),
                 design_->rearChamber ? Number(*design_->rearChamber * 1e3L, 3, separators) +
                                            QStringLiteral(" litres")
                                      : QStringLiteral("none"),
                 Number(design_->throatChamber * 1e3L, 3, separators)));
  } else {
    Suggestion->clear();
  }
  ApplyButton->setEnabled(design_.has_value());
  for (QPushButton* button : {CopyButton, ExportButton, PrintButton})
    button->setEnabled(!response_.empty());

  for (LinePlot& plot : plots_) {
    plot.frequencies.clear();
    plot.lines.clear();
  }
  plots_[0].title = QStringLiteral("SPL at 1 m (dB)");
  plots_[1].title = QStringLiteral("Impedance (ohm)");
  plots_[2].title = QStringLiteral("Impedance phase (degrees)");
  plots_[3].title = QStringLiteral("Excursion, peak (mm)");
  plots_[4].title = QStringLiteral("Group delay (ms)");
  PlotLine spl{QStringLiteral("SPL"), kSpl, {}, {}, false};
  PlotLine limit{QStringLiteral("highest SPL (Xmax, Pe)"), kLimit, {}, {}, true};
  PlotLine impedance{QStringLiteral("|Z|"), kImpedance, {}, {}, false};
  PlotLine phase{QStringLiteral("phase"), kPhase, {}, {}, false};
  PlotLine excursion{QStringLiteral("excursion"), kExcursion, {}, {}, false};
  PlotLine delay{QStringLiteral("group delay"), kDelay, {}, {}, false};
  std::vector<long double> frequencies;
  for (const SystemPoint& point : response_) {
    frequencies.push_back(point.frequency);
    spl.values.push_back(point.spl);
    if (point.maxSpl) limit.values.push_back(*point.maxSpl);
    impedance.values.push_back(std::abs(point.electricalImpedance));
    phase.values.push_back(vortalis::driver::PhaseDegrees(point.electricalImpedance));
    excursion.values.push_back(point.excursion * 1e3L);
    delay.values.push_back(point.groupDelay * 1e3L);
  }
  if (!response_.empty()) {
    plots_[0].lines.push_back(spl);
    if (!limit.values.empty()) plots_[0].lines.push_back(limit);
    plots_[1].lines.push_back(impedance);
    plots_[2].lines.push_back(phase);
    plots_[3].lines.push_back(excursion);
    if (xmaxMm) plots_[3].lines.push_back({QStringLiteral("Xmax"), kLimit, {}, *xmaxMm, true});
    plots_[4].lines.push_back(delay);
  }
  for (LinePlot& plot : plots_) plot.frequencies = frequencies;
  Hover(std::nullopt);
}

void TDriverForm::Hover(std::optional<std::size_t> point) {
  for (PlotView* view : views_)
    if (view) view->Mark(point);
  if (!point || *point >= response_.size()) {
    Readout->setText(response_.empty() ? QString()
                                       : QStringLiteral("Point at a plot to read its values."));
    return;
  }
  const SystemPoint& at = response_[*point];
  const Separators& s = CurrentSeparators();
  QString text =
      QStringLiteral("%1 Hz:   SPL %2 dB").arg(Number(at.frequency, 5, s), Number(at.spl, 4, s));
  if (at.maxSpl) text += QStringLiteral(" (highest %1 dB)").arg(Number(*at.maxSpl, 4, s));
  text += QStringLiteral(",   |Z| %1 ohm at %2\u00b0,   excursion %3 mm,   group delay %4 ms")
              .arg(Number(std::abs(at.electricalImpedance), 4, s),
                   Number(vortalis::driver::PhaseDegrees(at.electricalImpedance), 3, s),
                   Number(at.excursion * 1e3L, 3, s), Number(at.groupDelay * 1e3L, 3, s));
  Readout->setText(text);
}

void TDriverForm::OpenClick() {
  const QString path = Prompts().OpenFileName(this, QStringLiteral("driver files (*.txt)"));
  if (path.isEmpty()) return;
  try {
    ShowDriver(vortalis::driver::ReadDriverFile(QFile::encodeName(path).toStdString()));
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

void TDriverForm::SaveClick() {
  DriverInput input;
  try {
    input = ReadDriver();
    vortalis::driver::DriverFileText(input);  // refuses a name it could not read back
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  QString name = NameEdit->text().trimmed();
  name.replace(QLatin1Char('/'), QLatin1Char('-'));
  const QString path = Prompts().ExportFileName(
      this, (name.isEmpty() ? QStringLiteral("driver") : name) + QStringLiteral(".txt"),
      QStringLiteral("driver files (*.txt)"), QStringLiteral("txt"));
  if (path.isEmpty()) return;
  try {
    vortalis::driver::WriteDriverFile(QFile::encodeName(path).toStdString(), input);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

void TDriverForm::ApplyClick() {
  if (!design_) return;
  const Separators& s = CurrentSeparators();
  filling_ = true;
  RearChamberEdit->setText(design_->rearChamber ? Number(*design_->rearChamber * 1e3L, 4, s)
                                                : QString());
  ThroatChamberEdit->setText(Number(design_->throatChamber * 1e3L, 4, s));
  filling_ = false;
  Recalculate();
}

void TDriverForm::CopyClick() {
  QGuiApplication::clipboard()->setText(Text(vortalis::driver::ResponseCsv(response_)));
}

void TDriverForm::ExportClick() {
  ExportCsvText(this, FileBesideReport(parentWidget(), QStringLiteral("-response.csv")),
                vortalis::driver::ResponseCsv(response_));
}

void TDriverForm::PrintClick() {
  PrintPlotPage(this, [this](QPainter& painter, const QPagedPaintDevice& device) {
    painter.setFont(font());
    // Two across, three down, each at most three quarters of its width high.
    const auto cells = vortalis::plot::PageCells(QSizeF(device.width(), device.height()), 2, 3,
                                                 static_cast<int>(plots_.size()), 0.75);
    for (std::size_t i = 0; i < plots_.size(); ++i)
      PaintLinePlot(painter, cells[i], plots_[i], CurrentSeparators());
  });
}

}  // namespace vortalis::report_window
