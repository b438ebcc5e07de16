#include "app/design_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMenu>
#include <optional>
#include <string>
#include <vector>
#include <variant>

#include "app/main_form.h"
#include "cli/design_horn.h"
#include "output/output_error.h"
#include "output/output_file.h"
#include "report/input_check.h"
#include "report_window/driver_window.h"
#include "report_window/kit_memory.h"
#include "report_window/text_form.h"
#include "settings/dialog_fill.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "ui/design_name.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/widgets.h"

namespace vortalis::app {

using namespace ui;
using namespace report_window;
using namespace settings;

namespace {

const QString kFilter = QStringLiteral("Vortalis design (*.vortalis)");
const QString kSuffix = QStringLiteral("vortalis");

std::string FileText(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A text typed with the decimal separator `from`, for `to`: the program reads
// numbers with the system's. A list's values (a flange's) stand between ';'
// where ',' is the decimal separator.
std::string TypedFor(std::string text, const std::string& from, const std::string& to) {
  if (from == to) return text;
  const bool toComma = to == ",";
  for (char& c : text) {
    if (toComma)
      c = c == ',' ? ';' : c == '.' ? ',' : c;
    else
      c = c == ',' ? '.' : c == ';' ? ',' : c;
  }
  return text;
}

void TakeSeparators(report::HornInput& horn, std::string& mouthLimit,
                    const geometry::Separators& from) {
  const auto take = [&from](std::string& text) {
    text = TypedFor(text, from.decimal, CurrentSeparators().decimal);
  };
  take(mouthLimit);
  if (auto* circular = std::get_if<report::CircularReportInput>(&horn)) {
    for (std::string* text : {&circular->frequencyText, &circular->throatText}) take(*text);
  } else {
    auto& rectangular = std::get<report::RectangularReportInput>(horn);
    for (std::string* text : {&rectangular.frequencyText, &rectangular.side1Text,
                              &rectangular.side2Text, &rectangular.mouthText})
      take(*text);
  }
}

// The design's acoustic and driver settings, for the windows that start from
// them: the acoustic ones are option values, typed with the design's
// separator; the driver's are as its file has them.
QHash<QString, QString> WindowSettings(const design::Design& design,
                                       const geometry::Separators& from) {
  QHash<QString, QString> settings;
  for (const design::Setting& setting : design.settings) {
    if (setting.section != "acoustics" && setting.section != "driver") continue;
    std::string value = setting.value;
    if (setting.section == "acoustics")
      value = TypedFor(value, from.decimal, CurrentSeparators().decimal);
    settings.insert(QString::fromStdString(setting.section + "." + setting.key),
                    QString::fromStdString(value));
  }
  return settings;
}

// `design` with the driver window's driver, chambers, voltage, mouth limit,
// mouth load and losses, the option values turned to the design's separator. False after a
// message for a field that is not a number.
bool TakeDriverWindow(const TDriverForm& window, design::Design& design) {
  QHash<QString, QString> settings;
  try {
    settings = window.DesignSettings();
  } catch (const std::exception& error) {
    Prompts().Error(QString::fromUtf8(error.what()));
    return false;
  }
  std::erase_if(design.settings,
                [](const design::Setting& setting) { return setting.section == "driver"; });
  const std::string to = design.Value("horn", "decimal-separator").value_or(".");
  for (auto item = settings.cbegin(); item != settings.cend(); ++item) {
    const std::string key = item.key().toStdString();
    const std::size_t dot = key.find('.');
    std::string value = item.value().toStdString();
    if (!key.starts_with("driver.")) value = TypedFor(value, CurrentSeparators().decimal, to);
    design.Set(key.substr(0, dot), key.substr(dot + 1), value);
  }
  return true;
}

// The design's kit section and the sectors' step, for the Build kit dialog.
KitSettings KitOfDesign(const design::Design& design, const geometry::Separators& from) {
  KitSettings kit;
  for (const design::Setting& setting : design.settings)
    if (setting.section == "kit")
      kit[setting.key] = TypedFor(setting.value, from.decimal, CurrentSeparators().decimal);
  if (kit.count("kind") && kit["kind"] == "sectors")
    if (const auto step = design.Value("drawing", "step"))
      kit["step"] = TypedFor(*step, from.decimal, CurrentSeparators().decimal);
  return kit;
}

// `design` with the Build kit dialog's last settings as its kit, typed for `to`.
design::Design WithLastKit(design::Design design, const geometry::Separators& to) {
  const KitSettings kit = LastKitSettings();
  if (kit.empty()) return design;
  for (const design::Setting& setting : std::vector<design::Setting>(design.settings))
    if (setting.section == "kit") design.Set("kit", setting.key, "");
  for (const auto& [key, value] : kit) {
    design.Set(key == "step" ? "drawing" : "kit", key,
               TypedFor(value, CurrentSeparators().decimal, to.decimal));
  }
  return design;
}

// The design's key of a dialog's field.
QString KeyOf(report::InputField field) {
  switch (field) {
    case report::InputField::Throat: return QStringLiteral("throat");
    case report::InputField::Side1: return QStringLiteral("side1");
    case report::InputField::Side2: return QStringLiteral("side2");
    case report::InputField::MouthS1: return QStringLiteral("flat-mouth");
    case report::InputField::Freq:
    case report::InputField::None: break;
  }
  return QStringLiteral("freq");
}

// The horn of the dialog in front: the one shown, else the design's kind.
bool RectangularInFront(const design::Design& design) {
  if (SettRecForm->isVisible() != SettCircForm->isVisible()) return SettRecForm->isVisible();
  return design.Value("horn", "kind") == std::string("rectangular");
}

}  // namespace

DesignFiles::DesignFiles(QWidget* window) : QObject(window), window_(window) {
  OpenDesignAction = new QAction(QStringLiteral("&Open design..."), this);
  OpenDesignAction->setObjectName(QStringLiteral("OpenDesign1"));
  OpenDesignAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  OpenDesignAction->setShortcutContext(Qt::ApplicationShortcut);
  connect(OpenDesignAction, &QAction::triggered, this, &DesignFiles::OpenDesignClick);
  SaveDesignAction = new QAction(QStringLiteral("Save &design"), this);
  SaveDesignAction->setObjectName(QStringLiteral("SaveDesign1"));
  connect(SaveDesignAction, &QAction::triggered, this, &DesignFiles::SaveDesignClick);
  SaveDesignAs1 = new QAction(QStringLiteral("Save design as..."), this);
  SaveDesignAs1->setObjectName(QStringLiteral("SaveDesignAs1"));
  connect(SaveDesignAs1, &QAction::triggered, this, &DesignFiles::SaveDesignAs1Click);
  RecentDesigns1 = NewMenu(window, "RecentDesigns1", QStringLiteral("&Recent designs"));
  connect(RecentDesigns1, &QMenu::aboutToShow, this, &DesignFiles::FillRecentMenu);

  QFile list(RecentListPath());
  if (list.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : list.readAll().split('\n'))
      if (!line.isEmpty() && recent_.size() < kRecentCount) recent_ << QFile::decodeName(line);
  }
  RecentDesigns1->setEnabled(!recent_.isEmpty());
}

void DesignFiles::AddTo(QMenu* menu) {
  if (menu->actions().contains(OpenDesignAction)) return;
  QAction* first = menu->actions().value(0);
  menu->insertAction(first, OpenDesignAction);
  menu->insertMenu(first, RecentDesigns1);
  menu->insertAction(first, SaveDesignAction);
  menu->insertAction(first, SaveDesignAs1);
  menu->insertSeparator(first);
}

bool DesignFiles::Open(const QString& path) {
  // Everything is read and checked before any field changes.
  auto read = cli::ReadDesignedHorn(FileText(path));
  if (const auto* refusal = std::get_if<cli::DesignRefusal>(&read)) {
    Prompts().Message(QString::fromStdString(refusal->message));
    return false;
  }
  cli::DesignedHorn& designed = std::get<cli::DesignedHorn>(read);
  std::string mouthLimit = designed.design.Value("drawing", "mouth-limit").value_or("");
  TakeSeparators(designed.horn, mouthLimit, designed.separators);
  if (const auto problem = report::FindInputProblem(designed.horn, CurrentSeparators())) {
    Prompts().Message(QStringLiteral("\"%1\" could not be opened as a design: its \"horn.%2\" "
                                     "is refused: %3")
                          .arg(path, KeyOf(problem->field),
                               QString::fromStdString(problem->message)));
    return false;
  }

  if (const auto* circular = std::get_if<report::CircularReportInput>(&designed.horn)) {
    FillCircularDialog(*SettCircForm, *circular);
    Mainform->CircularClick();
  } else {
    FillRectangularDialog(*SettRecForm, std::get<report::RectangularReportInput>(designed.horn));
    Mainform->RectangularClick();
  }
  SetLastKitSettings(KitOfDesign(designed.design, designed.separators));
  design_ = std::move(designed.design);
  path_ = path;
  SetCurrentDesignName(QFileInfo(path).fileName());
  SetCurrentDesignMouthLimit(QString::fromStdString(mouthLimit));
  SetCurrentDesignSettings(WindowSettings(design_, designed.separators));
  Remember(path);
  return true;
}

bool DesignFiles::SaveTo(const QString& path) {
  std::optional<report::HornInput> horn;
  geometry::Separators separators = CurrentSeparators();
  const TTextForm* report = Mainform->ActiveReport();
  if (!SettCircForm->isVisible() && !SettRecForm->isVisible() && report &&
      report->Source().horn) {
    // No dialog in front: the horn of the report in front, as it was computed.
    horn = report->Source().horn;
    separators = report->Source().separators;
  } else if (RectangularInFront(design_)) {
    if (!SettRecForm->ValidateRectangularInput()) return false;
    horn = SettRecForm->ReadInput();
  } else {
    if (!SettCircForm->ValidateCircularInput()) return false;
    horn = SettCircForm->ReadInput();
  }
  design::Design saved = cli::DesignOfHorn(*horn, separators, WithLastKit(design_, separators));
  if (const TDriverForm* driver = report ? report->DriverWindow() : nullptr)
    if (!TakeDriverWindow(*driver, saved)) return false;
  try {
    output::OutputFile file(FileText(path));
    file.Write(design::DesignText(saved));
    file.Commit();
  } catch (const output::OutputError& error) {
    Prompts().Error(QString::fromLocal8Bit(error.what()));
    return false;
  }
  design_ = std::move(saved);
  path_ = path;
  SetCurrentDesignName(QFileInfo(path).fileName());
  const std::string mouthLimit = TypedFor(design_.Value("drawing", "mouth-limit").value_or(""),
                                          separators.decimal, CurrentSeparators().decimal);
  SetCurrentDesignMouthLimit(QString::fromStdString(mouthLimit));
  SetCurrentDesignSettings(WindowSettings(design_, separators));
  Remember(path);
  return true;
}

void DesignFiles::OpenDesignClick() {
  const QString path = Prompts().OpenFileName(window_, kFilter);
  if (!path.isEmpty()) Open(path);
}

void DesignFiles::SaveDesignClick() {
  if (path_.isEmpty()) {
    SaveDesignAs1Click();
  } else {
    SaveTo(path_);
  }
}

void DesignFiles::SaveDesignAs1Click() {
  const QString preset = path_.isEmpty() ? QStringLiteral("horn.vortalis") : path_;
  const QString path = Prompts().ExportFileName(window_, preset, kFilter, kSuffix);
  if (!path.isEmpty()) SaveTo(path);
}

QString DesignFiles::RecentListPath() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty()) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/vortalis/recent-designs");
}

void DesignFiles::FillRecentMenu() {
  RecentDesigns1->clear();
  int number = 0;
  for (const QString& path : recent_) {
    QString caption = QFileInfo(path).fileName();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = RecentDesigns1->addAction(QStringLiteral("&%1 %2").arg(++number).arg(caption));
    item->setToolTip(path);
    connect(item, &QAction::triggered, this, [this, path] { Open(path); });
  }
}

void DesignFiles::Remember(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  recent_.removeAll(absolute);
  recent_.prepend(absolute);
  while (recent_.size() > kRecentCount) recent_.removeLast();
  RecentDesigns1->setEnabled(true);
  // A list that cannot be kept costs only the next run's menu: no message.
  const QString listPath = RecentListPath();
  if (!QDir().mkpath(QFileInfo(listPath).absolutePath())) return;
  try {
    output::OutputFile file(FileText(listPath));
    for (const QString& recent : recent_) file.Write(FileText(recent) + "\n");
    file.Commit();
  } catch (const output::OutputError&) {
  }
}

}  // namespace vortalis::app
