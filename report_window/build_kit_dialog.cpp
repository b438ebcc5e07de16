#include "report_window/build_kit_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "buildkit/kit_horn.h"
#include "buildkit/flat_kits.h"
#include "output/output_error.h"
#include "export/kit_layout.h"
#include "geometry/units.h"
#include "report/drawing_grid.h"
#include "report/number_format.h"
#include "report_window/report_printer.h"
#include "report_window/report_profile.h"
#include "report_window/text_form.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/show_in_front.h"
#include "ui/widgets.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

namespace buildkit = vortalis::buildkit;
namespace exports = vortalis::exports;
using vortalis::geometry::LengthUnit;

const QColor kText(30, 30, 30);
const QColor kPieces[] = {QColor(20, 60, 160), QColor(200, 90, 20)};

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The field's caption, a count's limits added: "&Number of staves (6 to 64):".
QString Caption(const buildkit::KitParameter& parameter) {
  QString caption = Text(parameter.label);
  if (!parameter.count || !std::isfinite(parameter.high)) return caption;
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  return caption + QStringLiteral(" (%1 to %2):")
                       .arg(static_cast<long long>(parameter.low))
                       .arg(static_cast<long long>(parameter.high));
}

// A setting's key in the remembered settings: its option without the dashes.
std::string Key(std::string_view option) {
  return std::string(option.starts_with("--") ? option.substr(2) : option);
}

// Between the values of a list (a flange, a bed), as the tool reads them.
QChar GroupSeparator() { return QLatin1Char(buildkit::ListSeparator(CurrentSeparators())); }

// Every field at least as wide as a typical value with room to edit it, so
// that a small window scrolls rather than squeezing the fields.
void KeepFieldsReadable(QWidget& settings) {
  for (QLineEdit* field : settings.findChildren<QLineEdit*>()) {
    const QFontMetrics metrics(field->font());
    field->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("0000.000")) +
                           4 * metrics.averageCharWidth());
  }
}

// `settings` in a column that scrolls up and down where the screen is too low
// for it, never sideways.
QScrollArea* ScrollingDown(QWidget* settings) {
  auto* area = Named(new QScrollArea, "SettingsArea");
  area->setWidget(settings);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setMinimumWidth(settings->minimumSizeHint().width() +
                        area->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  area->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
  return area;
}

// Maps a rectangle of the horn (x along, y across, y up) to `area` at one scale.
struct Fit {
  qreal scale;
  QPointF origin;  // device point of (left, bottom)
  QRectF shown;
  QPointF operator()(qreal x, qreal y) const {
    return {origin.x() + (x - shown.left()) * scale, origin.y() - (y - shown.top()) * scale};
  }
};

Fit FitTo(const QRectF& shown, const QRectF& area) {
  const qreal scale = std::min(area.width() / std::max(shown.width(), 1e-9),
                               area.height() / std::max(shown.height(), 1e-9));
  const qreal w = shown.width() * scale;
  const qreal h = shown.height() * scale;
  return {scale,
          QPointF(area.left() + (area.width() - w) / 2, area.top() + (area.height() + h) / 2),
          shown};
}

// The horn in one piece cut by a plane through the axis, each piece between
// its cuts in its colour (petals, turned for the bed, are drawn in place),
// the axis across (z along, radial distance up).
void PaintSolids(QPainter& painter, const QRectF& area, const buildkit::HornSolids& solids,
                 long double millimetresPerUnit) {
  const long double angle = 0.0123L;  // off the meshes' own seams
  const long double c = std::cos(angle), s = std::sin(angle);
  std::vector<std::vector<QLineF>> sections(solids.cuts.size() + 1);
  QRectF shown;
  const buildkit::Mesh& mesh =
      solids.whole.triangles.empty() ? solids.segments.front() : solids.whole;
  for (const auto& triangle : mesh.triangles) {
    std::vector<QPointF> cut;
    for (int i = 0; i < 3; ++i) {
      const buildkit::Vertex& a = mesh.vertices[triangle[static_cast<std::size_t>(i)]];
      const buildkit::Vertex& b = mesh.vertices[triangle[static_cast<std::size_t>((i + 1) % 3)]];
      const long double da = a.y * c - a.x * s, db = b.y * c - b.x * s;  // across the plane
      if ((da < 0.0L) == (db < 0.0L)) continue;
      const long double f = da / (da - db);
      const long double x = a.x + f * (b.x - a.x), y = a.y + f * (b.y - a.y);
      const long double radial = x * c + y * s;
      if (radial <= 0.0L) continue;
      cut.emplace_back(static_cast<qreal>(a.z + f * (b.z - a.z)), static_cast<qreal>(radial));
    }
    if (cut.size() == 2) {
      const long double middle = (cut[0].x() + cut[1].x()) / 2.0L;
      const auto piece =
          std::count_if(solids.cuts.begin(), solids.cuts.end(),
                        [&](long double at) { return at * millimetresPerUnit < middle; });
      sections[static_cast<std::size_t>(piece)].emplace_back(cut[0], cut[1]);
      shown = shown.united(QRectF(cut[0], cut[1]).normalized());
    }
  }
  shown.setTop(0.0);
  const Fit map = FitTo(shown, area);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    painter.setPen(QPen(kPieces[i % 2], 1.5));
    for (const QLineF& line : sections[i])
      painter.drawLine(map(line.x1(), line.y1()), map(line.x2(), line.y2()));
  }
  painter.setPen(QPen(Qt::gray, 1.0, Qt::DashDotLine));
  painter.drawLine(map(0.0, 0.0), map(shown.right(), 0.0));
}

// The flat pieces in as many columns as fit them largest.
void PaintFlat(QPainter& painter, const QRectF& area, const exports::FlatKit& kit) {
  const exports::KitDrawing drawing = exports::DrawKit(kit);
  const std::size_t n = drawing.pieces.size();
  if (n == 0) return;
  const qreal mmPer = static_cast<qreal>(buildkit::MillimetresPer(drawing.unit));
  std::vector<QPointF> best;
  QRectF bestExtent;
  qreal bestScale = -1.0;
  for (std::size_t columns = 1; columns <= n; ++columns) {
    const std::size_t perColumn = (n + columns - 1) / columns;
    std::vector<QPointF> offsets;
    qreal x = 0.0, y = 0.0, width = 0.0, height = 0.0, gap = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      const QRectF b = exports::ToQt(drawing.pieces[i].bounds);
      gap = std::max(gap, 0.05 * std::max(b.width(), b.height()));
      if (i > 0 && i % perColumn == 0) {
        x += width + gap;
        y = 0.0;
        width = 0.0;
      }
      offsets.emplace_back(x - b.left(), y - b.bottom());
      y -= b.height() + gap;
      width = std::max(width, b.width());
      height = std::max(height, -y);
    }
    const QRectF extent(0.0, -height, x + width, height);
    const qreal scale = std::min(area.width() / extent.width(), area.height() / extent.height());
    if (scale > bestScale) {
      bestScale = scale;
      best = offsets;
      bestExtent = extent;
    }
  }
  const qreal u = bestScale / mmPer;  // pixels per mm
  const qreal left =
      (bestExtent.left() - (area.width() / bestScale - bestExtent.width()) / 2) * mmPer -
      area.left() / u;
  const qreal top =
      (bestExtent.bottom() + (area.height() / bestScale - bestExtent.height()) / 2) * mmPer +
      area.top() / u;
  const exports::KitMapping map{mmPer, left, top, u};
  for (std::size_t i = 0; i < n; ++i)
    exports::PaintPiece(painter, drawing.pieces[i], best[i], map, false);
}

}  // namespace

TKitPreview::TKitPreview(QWidget* parent) : QWidget(parent) {
  setMinimumSize(240, 160);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
}

void TKitPreview::Show(const std::optional<BuiltKit>& kit, const QString& message,
                       long double millimetresPerUnit) {
  kit_ = kit;
  millimetresPerUnit_ = millimetresPerUnit;
  message_ = message;
  update();
}

void TKitPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(rect()).adjusted(12, 12, -12, -30);
  painter.setPen(kText);
  painter.drawText(QRectF(rect()).adjusted(8, 0, -8, -6),
                   Qt::AlignBottom | Qt::AlignLeft | Qt::TextWordWrap, message_);
  if (!kit_) return;
  if (const auto* solids = std::get_if<buildkit::HornSolids>(&*kit_))
    PaintSolids(painter, area, *solids, millimetresPerUnit_);
  else
    PaintFlat(painter, area, std::get<exports::FlatKit>(*kit_));
}

TBuildKitForm::TBuildKitForm(ReportSource source, const QString& reportFile, QWidget* owner)
    : QDialog(owner), source_(std::move(source)), reportFile_(reportFile) {
  setObjectName(QStringLiteral("BuildKitForm"));
  setWindowTitle(QStringLiteral("Build kit"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(kReportDialogFlags);
  BuildControls();
  SetDefaults();
  refresh_ = new QTimer(this);
  refresh_->setSingleShot(true);
  refresh_->setInterval(250);
  connect(refresh_, &QTimer::timeout, this, &TBuildKitForm::UpdatePreview);
  for (const auto& [unit, button] : kinds_)
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on) MethodClick();
    });
  for (QLineEdit* field : findChildren<QLineEdit*>())
    connect(field, &QLineEdit::textChanged, refresh_, qOverload<>(&QTimer::start));
  for (const auto& [choice, list] : choices_)
    connect(list, &QComboBox::currentIndexChanged, refresh_, qOverload<>(&QTimer::start));
  for (const auto& [group, box] : groups_)
    connect(box, &QCheckBox::toggled, this, &TBuildKitForm::MethodClick);
  connect(SaveButton, &QPushButton::clicked, this, &TBuildKitForm::SaveClick);
  connect(PrintButton, &QPushButton::clicked, this, &TBuildKitForm::PrintClick);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(this, &QDialog::finished, this, &TBuildKitForm::RememberSettings);
  MethodClick();
}

void TBuildKitForm::BuildControls() {
  const QString unit = QString::fromLatin1(UnitName(SourceUnit(source_)));
  auto* method = new QGroupBox(QStringLiteral("Way of building"));
  auto* methods = new QVBoxLayout(method);
  for (const buildkit::KitUnit* kit : buildkit::kKitUnits) {
    auto* button = Named(new QRadioButton(Text(kit->label)), kit->field.data());
    methods->addWidget(button);
    kinds_.emplace_back(kit, button);
  }
  RectangularNote = Named(
      new QLabel(QStringLiteral("The kits greyed out are made for round walls, not for a "
                                "rectangular horn.")),
      "RectangularNote");
  RectangularNote->setWordWrap(true);
  methods->addWidget(RectangularNote);

  auto* values = new QGroupBox(QStringLiteral("Values (%1)").arg(unit));
  auto* rows = new QFormLayout(values);
  // A field for each of the kits' values, a check box over a group's, a list
  // for a choice.
  const auto addField = [this, rows](const buildkit::KitParameter* parameter) {
    for (const auto& [known, field] : fields_)
      if (known == parameter) return;
    auto* field = Named(new QLineEdit, parameter->field.data());
    field->setToolTip(Text(parameter->help).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    rows->addRow(Caption(*parameter), field);
    fields_.emplace_back(parameter, field);
  };
  for (const buildkit::KitUnit* kit : buildkit::kKitUnits) {
    for (const buildkit::KitParameter* parameter : kit->parameters) addField(parameter);
    if (const buildkit::KitParameterGroup* group = kit->group) {
      auto* box = Named(new QCheckBox(Text(group->label)), group->field.data());
      box->setToolTip(Text(group->help).replace(QLatin1Char('\n'), QLatin1Char(' ')));
      rows->addRow(box);
      groups_.emplace_back(group, box);
      for (const buildkit::KitParameter* parameter : group->parameters) addField(parameter);
    }
    if (const buildkit::KitChoice* choice = kit->choice) {
      auto* list = Named(new QComboBox, choice->field.data());
      for (const std::string_view word : choice->words) list->addItem(Text(word));
      list->setToolTip(Text(choice->help).replace(QLatin1Char('\n'), QLatin1Char(' ')));
      rows->addRow(Text(choice->label), list);
      choices_.emplace_back(choice, list);
    }
  }
  Rings = ButtonOf(buildkit::kRingsUnit);
  Sectors = ButtonOf(buildkit::kSectorsUnit);
  Staves = ButtonOf(buildkit::kStavesUnit);
  Panels = ButtonOf(buildkit::kPanelsUnit);
  Stl = ButtonOf(buildkit::kSolidUnit);
  Flange = groups_.front().second;
  StaveFit = choices_.front().second;
  Board = FieldOf(buildkit::kBoardThickness);
  BoardWall = FieldOf(buildkit::kRingWall);
  Step = FieldOf(buildkit::kSectorStep);
  Seam = FieldOf(buildkit::kSeamAllowance);
  StaveCount = FieldOf(buildkit::kStaveCount);
  Wall = FieldOf(buildkit::kSolidWall);
  PrinterHeight = FieldOf(buildkit::kSegmentHeight);
  FlangeDiameter = FieldOf(buildkit::kFlangeDiameter);
  FlangeThickness = FieldOf(buildkit::kFlangeThickness);
  BoltCircle = FieldOf(buildkit::kBoltCircle);
  BoltCount = FieldOf(buildkit::kBoltCount);
  HoleDiameter = FieldOf(buildkit::kHoleDiameter);

  auto* settings = new QWidget;
  auto* left = new QVBoxLayout(settings);
  left->setContentsMargins(0, 0, 0, 0);
  left->addWidget(method);
  left->addWidget(values);
  auto* formatRow = new QFormLayout;
  Format = Named(new QComboBox, "Format");
  formatRow->addRow(QStringLiteral("File &format:"), Format);
  left->addLayout(formatRow);
  left->addStretch();
  KeepFieldsReadable(*settings);

  Preview = Named(new TKitPreview, "Preview");
  Status = Named(new QLabel, "Status");
  Status->setWordWrap(true);
  auto* right = new QVBoxLayout;
  right->addWidget(Preview, 1);
  right->addWidget(Status);

  auto* buttons = new QDialogButtonBox;
  SaveButton = buttons->addButton(QStringLiteral("&Save..."), QDialogButtonBox::AcceptRole);
  SaveButton->setObjectName(QStringLiteral("SaveButton"));
  SaveButton->setDefault(true);
  PrintButton =
      buttons->addButton(QStringLiteral("&Print template..."), QDialogButtonBox::ActionRole);
  PrintButton->setObjectName(QStringLiteral("PrintButton"));
  CloseButton = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));

  auto* columns = new QHBoxLayout;
  columns->addWidget(ScrollingDown(settings));
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(buttons);
  // The size it always had where the screen is large enough.
  resize(QSize(980, 620).boundedTo(screen()->availableGeometry().size() * 0.9));
}

void TBuildKitForm::SetDefaults() {
  const LengthUnit unit = SourceUnit(source_);
  const auto& separators = CurrentSeparators();
  const auto set = [&separators](QLineEdit* field, long double value) {
    field->setText(QString::fromStdString(vortalis::report::ShortNumberText(value, separators)));
  };
  const bool rectangular = vortalis::report::IsRectangular(*source_.horn);
  buildkit::KitStart start{unit, 0.0L};
  if (!rectangular) {
    try {
      start.throatDiameter =
          2.0L * buildkit::MakeKitHorn(
                     std::get<vortalis::report::CircularReportInput>(*source_.horn), {},
                     source_.separators)
                     .throatRadius;
    } catch (const std::exception&) {
    }
  }
  for (const auto& [parameter, field] : fields_) set(field, parameter->initial(start));
  for (const auto& [choice, list] : choices_)
    list->setCurrentText(Text(choice->initial ? choice->initial(start) : choice->unset));
  QRadioButton* first = nullptr;
  for (const auto& [unit, button] : kinds_) {
    button->setEnabled(rectangular ? !unit->circularOnly : !unit->rectangularOnly);
    if (!first && button->isEnabled()) first = button;
  }
  for (const auto& [group, box] : groups_) box->setEnabled(!(rectangular && group->circularOnly));
  RectangularNote->setVisible(rectangular);
  first->setChecked(true);
}

void TBuildKitForm::Preset(const KitSettings& settings) {
  const auto found = [&settings](std::string_view option) -> std::optional<QString> {
    const auto at = settings.find(Key(option));
    if (at == settings.end()) return std::nullopt;
    return QString::fromStdString(at->second);
  };
  const auto kind = settings.find("kind");
  const buildkit::KitUnit* chosen = nullptr;
  for (const auto& [unit, button] : kinds_)
    if (kind != settings.end() && kind->second == Key(unit->option)) chosen = unit;
  if (!chosen || !ButtonOf(*chosen)->isEnabled()) return;
  ButtonOf(*chosen)->setChecked(true);
  for (const buildkit::KitParameter* parameter : chosen->parameters) {
    const std::string_view option = buildkit::OptionOf(*chosen, *parameter);
    const auto together = buildkit::ParametersOf(*chosen, option);
    const auto text = found(option);
    if (!text || together.front() != parameter) continue;
    const QStringList values = text->split(GroupSeparator());
    if (values.size() != static_cast<qsizetype>(together.size())) continue;
    for (std::size_t i = 0; i < together.size(); ++i)
      FieldOf(*together[i])->setText(values[static_cast<qsizetype>(i)]);
  }
  for (const auto& [choice, list] : choices_)
    if (choice == chosen->choice)
      if (const auto word = found(choice->option); word && list->findText(*word) >= 0)
        list->setCurrentText(*word);
  for (const auto& [group, box] : groups_) {
    const auto typed = found(group->option);
    if (group != chosen->group || !typed) continue;
    const QStringList values = typed->split(GroupSeparator());
    if (values.size() != static_cast<qsizetype>(group->leading) &&
        values.size() != static_cast<qsizetype>(group->parameters.size()))
      continue;
    box->setChecked(true);
    // The values left out are 0, as the tool takes them.
    for (std::size_t i = 0; i < group->parameters.size(); ++i)
      if (i < static_cast<std::size_t>(values.size()))
        FieldOf(*group->parameters[i])->setText(values[static_cast<qsizetype>(i)]);
      else if (group->parameters[i]->count)
        FieldOf(*group->parameters[i])->setText(QStringLiteral("0"));
  }
}

KitSettings TBuildKitForm::Settings() const {
  KitSettings settings;
  const buildkit::KitUnit& chosen = Chosen();
  settings["kind"] = Key(chosen.option);
  for (const buildkit::KitParameter* parameter : chosen.parameters) {
    const std::string_view option = buildkit::OptionOf(chosen, *parameter);
    QStringList values;
    for (const buildkit::KitParameter* each : buildkit::ParametersOf(chosen, option))
      values << FieldOf(*each)->text().trimmed();
    settings[Key(option)] = values.join(GroupSeparator()).toStdString();
  }
  for (const auto& [choice, list] : choices_)
    if (choice == chosen.choice) settings[Key(choice->option)] = list->currentText().toStdString();
  for (const auto& [group, box] : groups_) {
    if (group != chosen.group || !box->isEnabled() || !box->isChecked()) continue;
    QStringList values;
    for (const buildkit::KitParameter* parameter : group->parameters)
      values << FieldOf(*parameter)->text().trimmed();
    // Without a count for the rest (a flange without bolt holes) the tool
    // takes the leading values alone.
    if (std::any_of(group->parameters.begin() + static_cast<std::ptrdiff_t>(group->leading),
                    group->parameters.end(), [&](const buildkit::KitParameter* parameter) {
                      return parameter->count &&
                             FieldOf(*parameter)->text().trimmed() == QStringLiteral("0");
                    }))
      values = values.mid(0, static_cast<qsizetype>(group->leading));
    settings[Key(group->option)] = values.join(GroupSeparator()).toStdString();
  }
  return settings;
}

void TBuildKitForm::RememberSettings() {
  try {
    MakeKit();
  } catch (const std::exception&) {
    return;
  }
  SetLastKitSettings(Settings());
}

void TBuildKitForm::MethodClick() {
  const buildkit::KitUnit& chosen = Chosen();
  const bool grouped = chosen.group != nullptr && GroupChecked(*chosen.group);
  for (const auto& [parameter, field] : fields_) {
    const bool inGroup = chosen.group != nullptr &&
                         std::ranges::find(chosen.group->parameters, parameter) !=
                             chosen.group->parameters.end();
    field->setEnabled(inGroup ? grouped
                              : std::ranges::find(chosen.parameters, parameter) !=
                                    chosen.parameters.end());
  }
  for (const auto& [choice, list] : choices_) list->setEnabled(choice == chosen.choice);
  const auto files = buildkit::KitFileExtensions(chosen);
  Format->clear();
  if (files.empty()) Format->addItem(QStringLiteral("STL (binary, mm)"), QStringLiteral("stl"));
  for (const std::string_view extension : files)
    Format->addItem(Text(extension).toUpper(), Text(extension));
  PrintButton->setEnabled(!files.empty());
  refresh_->start();
}

const buildkit::KitUnit& TBuildKitForm::Chosen() const {
  for (const auto& [unit, button] : kinds_)
    if (button->isChecked()) return *unit;
  return *kinds_.front().first;
}

QRadioButton* TBuildKitForm::ButtonOf(const buildkit::KitUnit& unit) const {
  for (const auto& [known, button] : kinds_)
    if (known == &unit) return button;
  return nullptr;
}

bool TBuildKitForm::GroupChecked(const buildkit::KitParameterGroup& group) const {
  for (const auto& [known, box] : groups_)
    if (known == &group) return box->isEnabled() && box->isChecked();
  return false;
}

QLineEdit* TBuildKitForm::FieldOf(const buildkit::KitParameter& parameter) const {
  for (const auto& [known, field] : fields_)
    if (known == &parameter) return field;
  return nullptr;
}

long double TBuildKitForm::Value(const buildkit::KitParameter& parameter) const {
  return buildkit::Checked(parameter, FieldOf(parameter)->text().toStdString(),
                           CurrentSeparators());
}

BuiltKit TBuildKitForm::MakeKit() const {
  const buildkit::KitUnit& chosen = Chosen();
  buildkit::KitValues values;
  for (const buildkit::KitParameter* parameter : chosen.parameters)
    values.given.emplace_back(parameter, Value(*parameter));
  if (chosen.group && GroupChecked(*chosen.group)) {
    // Each typed as a number or not; the group's own check decides which count.
    for (const buildkit::KitParameter* parameter : chosen.group->parameters)
      values.group.push_back(
          vortalis::geometry::ParseNumber(FieldOf(*parameter)->text().toStdString(),
                                          CurrentSeparators())
              .value_or(std::nanl("")));
  }
  for (const auto& [choice, list] : choices_)
    if (choice == chosen.choice)
      for (const std::string_view word : choice->words)
        if (Text(word) == list->currentText()) values.choice = word;
  const vortalis::report::MouthLimit full;
  return buildkit::MakeKit(chosen, {*source_.horn, full, source_.separators}, values);
}

namespace {

QString Summary(const BuiltKit& kit, LengthUnit unit) {
  const vortalis::geometry::Separators& separators = CurrentSeparators();
  const auto length = [&](long double value) {
    return QString::fromStdString(vortalis::report::FormatNumber(
               value, vortalis::report::LengthFormat(unit), separators)) +
           " " + vortalis::geometry::UnitName(unit);
  };
  if (const auto* solids = std::get_if<buildkit::HornSolids>(&kit)) {
    return solids->segments.size() <= 1
               ? QStringLiteral("One solid, %1 triangles.").arg(solids->whole.triangles.size())
               : QStringLiteral("%1 pieces from the throat, cut at %2 ...")
                     .arg(solids->segments.size())
                     .arg(length(solids->cuts.front()));
  }
  return QString::fromStdString(buildkit::KitSummary(std::get<exports::FlatKit>(kit), separators));
}

}  // namespace

QString SavedPieces(const QStringList& files) {
  QStringList names;
  for (const QString& file : files) names << QFileInfo(file).fileName();
  if (names.size() == 1) return QStringLiteral("Saved %1.").arg(names.front());
  // Numbered from the throat without a gap: the first and the last say them all.
  const QString listed = names.size() <= 4 ? names.join(QStringLiteral(", "))
                                           : names.front() + " to " + names.back();
  return QStringLiteral("Saved %1 pieces: %2.").arg(names.size()).arg(listed);
}

void TBuildKitForm::UpdatePreview() {
  try {
    const BuiltKit kit = MakeKit();
    const QString summary = Summary(kit, SourceUnit(source_));
    Preview->Show(kit, QString(), buildkit::MillimetresPer(SourceUnit(source_)));
    Status->setText(summary);
  } catch (const std::exception& error) {
    Preview->Show(std::nullopt, QString::fromUtf8(error.what()));
    Status->setText(QString::fromUtf8(error.what()));
  }
}

void TBuildKitForm::SaveClick() {
  BuiltKit kit;
  try {
    kit = MakeKit();
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  const QString extension = Format->currentData().toString();
  const QString base = Text(Chosen().fileName);
  QString preset = base + QLatin1Char('.') + extension;
  if (reportFile_ != QStringLiteral("Untitled")) {
    const QFileInfo report(reportFile_);
    preset = QDir(report.path()).filePath(report.completeBaseName() + QLatin1Char('-') + preset);
  }
  const auto* flat = std::get_if<exports::FlatKit>(&kit);
  const QString filter =
      flat ? exports::KitFilter(*flat, extension) : QStringLiteral("STL solid (*.stl)");
  const QString path = Prompts().ExportFileName(this, preset, filter, extension);
  if (path.isEmpty()) return;
  try {
    if (flat) {
      exports::WriteKitFile(*flat, path, TTextForm::SharedPrinter().pageLayout().pageSize());
      Status->setText(QStringLiteral("Saved %1.").arg(QFileInfo(path).fileName()));
    } else {
      const QStringList names = exports::WriteStlFiles(std::get<buildkit::HornSolids>(kit), path);
      Status->setText(SavedPieces(names));
    }
    SetLastKitSettings(Settings());
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

void TBuildKitForm::PrintClick() {
  BuiltKit kit;
  try {
    kit = MakeKit();
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  const auto* flat = std::get_if<exports::FlatKit>(&kit);
  if (!flat) return;
  try {
    // On the printer's paper, turned the way that needs fewer pages.
    const TemplateSheets sheets =
        FewerKitSheets(*flat, TTextForm::SharedPrinter().pageLayout().pageSize());
    int pages = 0;
    if (PrintOnSheets(this, sheets, QStringLiteral("Build kit - %1").arg(reportFile_),
                      [&](QPrinter& printer) { pages = PrintKitTemplate(*flat, printer); })) {
      Status->setText(QStringLiteral("Printed %1 page%2.").arg(pages).arg(pages == 1 ? "" : "s"));
      SetLastKitSettings(Settings());
    }
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

}  // namespace vortalis::report_window
