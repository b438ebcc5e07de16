#include "report_window/profile_window.h"

#include <QAction>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

#include "export/profile_curves.h"
#include "geometry/units.h"
#include "output/output_error.h"
#include "plot/page_cells.h"
#include "plot/plot_paint.h"
#include "report/horn_model.h"
#include "report/number_format.h"
#include "report/table_formats.h"
#include "report_window/plot_window_actions.h"
#include "report_window/report_printer.h"
#include "report_window/report_profile.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/shared_printer.h"
#include "ui/widgets.h"
#include "ui/window_keys.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

using vortalis::exports::ProfileCurve;
using vortalis::plot::DrawFitted;
using vortalis::report::GridValues;
using vortalis::report::HornProfile;
using vortalis::report::NiceGridStep;

// Drawing style, in device pixels.
using vortalis::plot::kGap;
constexpr qreal kMinGridPixels = 48;
constexpr qreal kPadShare = 0.04;  // room around the horn, a share of its length
constexpr qreal kHeadroom = 1.08;  // above the mouth, a share of its size
const QColor kWall(20, 60, 160);
const QColor kInside(226, 234, 248);
const QColor kAxis(110, 110, 110);
const QColor kQuarter(200, 40, 40);
const QColor kText = vortalis::plot::kTextColor;
const QColor kStation(20, 60, 160);
const QColor kCursor(0, 150, 80);
constexpr qreal kTick = 4;           // half a station tick's length
constexpr qreal kMinTickGap = 5;     // ticks closer than this are thinned out

QString Number(long double value, int decimals,
               const vortalis::geometry::Separators& separators) {
  return QString::fromStdString(vortalis::geometry::FixedText(value, 18, decimals, separators));
}

QString Formatted(long double value, vortalis::report::NumberFormat format,
                  const vortalis::geometry::Separators& separators) {
  return QString::fromStdString(vortalis::report::FormatNumber(value, format, separators));
}

QString UnitName(const HornProfile& profile) {
  return QString::fromLatin1(vortalis::geometry::UnitName(profile.unit));
}

qreal WidestLabel(const QFontMetricsF& metrics, qreal low, qreal high,
                  vortalis::report::GridStep grid,
                  const vortalis::geometry::Separators& separators) {
  qreal widest = 0;
  for (const long double value : GridValues(low, high, grid.step)) {
    widest = std::max(widest, metrics.horizontalAdvance(Number(value, grid.decimals, separators)));
  }
  return widest;
}

// The mouth stands where the drawn wall ends; the quarter wavelength is shown
// beyond it only while it keeps the horn at a readable size.
qreal DrawnLength(const HornProfile& profile, qreal end) {
  const auto quarter = static_cast<qreal>(profile.quarterWavelength);
  return quarter > end && quarter <= 2 * end ? quarter : end;
}

}  // namespace

ProfileLayout::ProfileLayout(const HornProfile& profile, const QRectF& area, const QFont& font,
                             const vortalis::geometry::Separators& separators)
    : area_(area) {
  const QRectF extent = vortalis::exports::ProfileExtent(profile);
  panels_ = std::max<int>(1, static_cast<int>(vortalis::exports::ProfileCurveCount(profile)));
  const qreal length = std::max<qreal>(DrawnLength(profile, extent.right()), 1e-9);
  xLow_ = -kPadShare * length;
  xHigh_ = length * (1 + kPadShare);
  yHigh_ = std::max<qreal>(extent.height() * kHeadroom, 1e-9);

  const QFontMetricsF metrics(font);
  // The labels' width depends on the grid, and the grid on the room the labels leave.
  Fit(metrics, metrics.horizontalAdvance(QStringLiteral("-0000")));
  Fit(metrics, WidestLabel(metrics, -yHigh_, yHigh_, grid_, separators));
  const qreal xLabel = WidestLabel(metrics, xLow_, xHigh_, grid_, separators);
  if (xLabel + 2 * kGap > grid_.step * scale_) grid_ = NiceGridStep((xLabel + 2 * kGap) / scale_);
}

void ProfileLayout::Fit(const QFontMetricsF& metrics, qreal yLabelWidth) {
  const qreal line = metrics.height();
  top_ = line + 2 * kGap;
  bottom_ = 2 * line + 3 * kGap;
  left_ = yLabelWidth + line + 3 * kGap;
  right_ = 2 * kGap;
  const qreal width = area_.width() - left_ - right_;
  const qreal height = area_.height() / panels_ - top_ - bottom_;
  scale_ = std::max<qreal>(std::min(width / (xHigh_ - xLow_), height / (2 * yHigh_)), 1e-9);
  grid_ = NiceGridStep(kMinGridPixels / scale_);
}

QRectF ProfileLayout::Plot(int panel) const {
  const qreal slot = area_.height() / panels_;
  const qreal width = scale_ * (xHigh_ - xLow_);
  const qreal height = scale_ * 2 * yHigh_;
  const qreal freeWidth = area_.width() - left_ - right_ - width;
  const qreal freeHeight = slot - top_ - bottom_ - height;
  return {area_.left() + left_ + std::max<qreal>(freeWidth, 0) / 2,
          area_.top() + panel * slot + top_ + std::max<qreal>(freeHeight, 0) / 2, width, height};
}

vortalis::plot::Axis ProfileLayout::XAxis(int panel) const {
  const QRectF plot = Plot(panel);
  return {xLow_, xHigh_, plot.left(), plot.right()};
}

vortalis::plot::Axis ProfileLayout::YAxis(int panel) const {
  const QRectF plot = Plot(panel);
  return {-yHigh_, yHigh_, plot.bottom(), plot.top()};
}

QPointF ProfileLayout::Map(int panel, qreal x, qreal y) const {
  return {XAxis(panel).Pixel(x), YAxis(panel).Pixel(y)};
}

int ProfileLayout::PanelAt(qreal y) const {
  const qreal slot = area_.height() / panels_;
  return std::clamp(static_cast<int>(std::floor((y - area_.top()) / slot)), 0, panels_ - 1);
}

qreal ProfileLayout::DistanceAt(int panel, qreal x) const {
  return static_cast<qreal>(XAxis(panel).ValueAt(x));
}

namespace {

QPolygonF Mapped(const ProfileLayout& layout, int panel, const std::vector<QPointF>& points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const QPointF& point : points) polygon << layout.Map(panel, point.x(), point.y());
  return polygon;
}

void PaintGrid(QPainter& painter, const ProfileLayout& layout, int panel,
               const vortalis::geometry::Separators& separators) {
  const QRectF plot = layout.Plot(panel);
  const auto grid = layout.Grid();
  const vortalis::plot::Axis x = layout.XAxis(panel);
  const vortalis::plot::Axis y = layout.YAxis(panel);
  // Both axes at one scale share one grid step.
  const auto xs = GridValues(layout.XLow(), layout.XHigh(), grid.step);
  const auto ys = GridValues(-layout.YHigh(), layout.YHigh(), grid.step);
  vortalis::plot::PaintGrid(painter, plot, x, xs, y, ys, 0);
  const auto labels = [&](const std::vector<long double>& values) {
    QStringList texts;
    for (const long double value : values) texts << Number(value, grid.decimals, separators);
    return texts;
  };
  painter.setPen(kText);
  vortalis::plot::PaintXLabels(painter, plot, x, xs, labels(xs), plot.bottom() + kGap / 2);
  vortalis::plot::PaintYLabels(painter, plot.left() - kGap, y, ys, labels(ys));
}

void PaintAxisTitles(QPainter& painter, const ProfileLayout& layout, int panel,
                     const HornProfile& profile, const QString& title) {
  const QRectF plot = layout.Plot(panel);
  const QRectF area = layout.Area();
  const QFontMetricsF metrics(painter.font());
  const qreal line = metrics.height();
  const QString unit = UnitName(profile);
  const qreal low = area.left() + kGap;
  const qreal high = area.right() - kGap;
  painter.setPen(kText);
  DrawFitted(painter, QStringLiteral("Distance from the throat (%1)").arg(unit), low, high,
             plot.bottom() + line + kGap, std::nullopt, plot.center().x());
  QFont bold = painter.font();
  bold.setBold(true);
  painter.save();
  painter.setFont(bold);
  DrawFitted(painter, title, low, high, plot.top() - line - kGap / 2 - (QFontMetricsF(bold).height() - line),
             plot.left(), 0);
  painter.restore();
  // The vertical title reads upward along the left edge of the panel, within
  // the panel's own height.
  painter.save();
  const qreal slot = area.height() / layout.Panels();
  const qreal slotTop = area.top() + panel * slot;
  painter.translate(plot.left() - layout.LeftMargin() + kGap, plot.center().y());
  painter.rotate(-90);
  const qreal below = plot.center().y() - (slotTop + slot);
  const qreal above = plot.center().y() - slotTop;
  DrawFitted(painter, QStringLiteral("Distance from the axis (%1)").arg(unit), below + kGap,
             above - kGap, 0, std::nullopt, 0);
  painter.restore();
}

void PaintHorn(QPainter& painter, const ProfileLayout& layout, int panel,
               const ProfileCurve& curve) {
  if (curve.points.empty()) return;
  const QPolygonF upper = Mapped(layout, panel, curve.points);
  const QPolygonF lower = Mapped(layout, panel, vortalis::exports::Mirrored(curve.points));
  QPolygonF inside = upper;
  for (auto point = lower.crbegin(); point != lower.crend(); ++point) inside << *point;
  painter.setPen(Qt::NoPen);
  painter.setBrush(kInside);
  painter.drawPolygon(inside);
  painter.setBrush(Qt::NoBrush);

  const QRectF plot = layout.Plot(panel);
  painter.setPen(QPen(kAxis, 1, Qt::DashDotLine));
  const qreal axis = layout.Map(panel, 0, 0).y();
  painter.drawLine(QPointF(plot.left(), axis), QPointF(plot.right(), axis));

  // The throat and the mouth close the outline; the walls go over them.
  painter.setPen(QPen(kWall, 1.5));
  painter.drawLine(upper.constFirst(), lower.constFirst());
  painter.drawLine(upper.constLast(), lower.constLast());
  painter.setPen(QPen(kWall, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(upper);
  painter.drawPolyline(lower);
}

void PaintMarks(QPainter& painter, const ProfileLayout& layout, int panel,
                const HornProfile& profile, const ProfileCurve& curve,
                const vortalis::geometry::Separators& separators) {
  if (curve.points.empty()) return;
  const QRectF plot = layout.Plot(panel);
  const QFontMetricsF metrics(painter.font());
  const qreal line = metrics.height();
  const qreal throat = layout.Map(panel, 0, 0).x();
  const qreal mouth = layout.Map(panel, curve.points.back().x(), 0).x();
  painter.setPen(kWall);
  painter.drawText(QRectF(throat + kGap / 2, plot.top() + kGap / 2, plot.width(), line),
                   Qt::AlignLeft | Qt::AlignTop, QStringLiteral("throat"));
  const bool cut = profile.limit.kind != vortalis::report::MouthLimitKind::None;
  painter.drawText(QRectF(mouth - plot.width() - kGap / 2, plot.top() + kGap / 2, plot.width(), line),
                   Qt::AlignRight | Qt::AlignTop,
                   cut ? QStringLiteral("mouth (cut short)") : QStringLiteral("mouth"));

  // The report's "Minimum recommended length": a rule for the horn, not a part of it.
  const QString value =
      QStringLiteral("%1 %2")
          .arg(Formatted(profile.quarterWavelength,
                         vortalis::report::CircularTableFormats(profile.unit).minimumLength,
                         separators)
                   .trimmed(),
               UnitName(profile));
  // The brief form where the full one would be cut off (a short horn, a small window).
  const QString captions[] = {QStringLiteral("\u03bb/4 minimum length (%1)").arg(value),
                              QStringLiteral("\u03bb/4 (%1)").arg(value)};
  const qreal at = layout.Map(panel, static_cast<qreal>(profile.quarterWavelength), 0).x();
  const qreal labelTop = plot.bottom() - line - kGap / 2;
  painter.setPen(kQuarter);
  if (at > plot.right()) {
    // Far beyond the mouth of a horn that is too short: named, not drawn.
    QString named = captions[0] + QStringLiteral(" \u2192");
    if (metrics.horizontalAdvance(named) > plot.width() - kGap)
      named = captions[1] + QStringLiteral(" \u2192");
    painter.drawText(QRectF(plot.left(), labelTop, plot.width() - kGap, line),
                     Qt::AlignRight | Qt::AlignTop, named);
    return;
  }
  painter.setPen(QPen(kQuarter, 1.5, Qt::DashLine));
  painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
  painter.setPen(kQuarter);
  for (const QString& caption : captions) {
    const qreal width = metrics.horizontalAdvance(caption);
    const bool right = at + kGap + width <= plot.right();
    const bool left = at - kGap - width >= plot.left();
    if (!right && !left && &caption != &captions[1]) continue;
    painter.drawText(
        QRectF(right || !left ? at + kGap / 2 : at - kGap / 2 - width, labelTop, width + 1, line),
        Qt::AlignLeft | Qt::AlignTop, caption);
    return;
  }
}

QString DistanceText(long double distance, const HornProfile& profile,
                     const vortalis::geometry::Separators& separators) {
  const auto format = profile.rectangular
                          ? vortalis::report::RectangularTableFormats(profile.unit).distance
                          : vortalis::report::CircularTableFormats(profile.unit).distance;
  return Formatted(distance, format, separators).trimmed();
}

// The step's stations between the throat and the end as short ticks across
// both walls, thinned out where they would run together, and their distances
// at an interval that leaves room for the numbers.
void PaintStations(QPainter& painter, const ProfileLayout& layout, int panel,
                   const HornProfile& stations, const ProfileCurve& curve,
                   const vortalis::geometry::Separators& separators) {
  const std::size_t count = stations.points.size();
  if (count < 3 || curve.points.size() < 2) return;
  // A flat side is drawn from its two ends; its stations lie on that line.
  const auto wall = [&](std::size_t i) {
    if (!curve.straight) return curve.points[i];
    const QPointF& a = curve.points.front();
    const QPointF& b = curve.points.back();
    const auto x = static_cast<qreal>(stations.points[i].distance);
    return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
  };
  // Ticks and numbers at round multiples of the step (1, 2 or 5 times a power of ten).
  const long double step = stations.step;
  const auto stride = [step](qreal pixels, qreal unitsPerPixel) {
    const long double nice = vortalis::report::NiceGridStep(pixels * unitsPerPixel).step;
    return std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(nice / step - 1e-9L)));
  };
  const std::size_t every = stride(kMinTickGap, layout.UnitsPerPixel());
  const QFontMetricsF metrics(painter.font());
  const qreal widest = metrics.horizontalAdvance(
      DistanceText(stations.points[count - 2].distance, stations, separators));
  const std::size_t numbered = stride(widest + 2 * kGap, layout.UnitsPerPixel());
  const std::size_t labelled = (numbered + every - 1) / every * every;

  painter.setPen(QPen(kStation, 1));
  for (std::size_t i = every; i + 1 < count; i += every) {
    const QPointF before = layout.Map(panel, wall(i - 1).x(), wall(i - 1).y());
    const QPointF after = layout.Map(panel, wall(i + 1).x(), wall(i + 1).y());
    const QLineF along(before, after);
    const QPointF normal = along.length() > 0 ? QPointF(-along.dy(), along.dx()) / along.length()
                                              : QPointF(0, 1);
    const QPointF upper = layout.Map(panel, wall(i).x(), wall(i).y());
    const QPointF lower = layout.Map(panel, wall(i).x(), -wall(i).y());
    const QPointF mirrored(normal.x(), -normal.y());
    painter.drawLine(upper - kTick * normal, upper + kTick * normal);
    painter.drawLine(lower - kTick * mirrored, lower + kTick * mirrored);
    // The last number before the end would run into the mouth's name.
    if (i % labelled != 0 || i + labelled / 2 >= count - 1) continue;
    const qreal top = std::min(upper.y() - kTick * std::abs(normal.y()), upper.y()) - kTick;
    painter.drawText(QRectF(upper.x() - 100, top - metrics.height(), 200, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     DistanceText(stations.points[i].distance, stations, separators));
  }
}

// The first panel also names the horn, with the report's numbers.
QString PanelTitle(const HornProfile& profile, const ProfileCurve& curve, int panel,
                   const vortalis::geometry::Separators& separators) {
  QString title = profile.rectangular ? QString::fromStdString(curve.label)
                                      : QStringLiteral("Circular horn");
  if (profile.flatSides && curve.straight) title += QStringLiteral(" (flat)");
  if (panel > 0) return title;
  return title + QStringLiteral("      fc %1 Hz, length %2 %3")
                     .arg(QString::fromStdString(profile.frequencyText))
                     .arg(Formatted(profile.length, vortalis::report::LengthFormat(profile.unit),
                                    separators))
                     .arg(UnitName(profile));
}

}  // namespace

ProfilePaintCurves CurvesToPaint(const HornProfile& profile, const HornProfile* stations) {
  return {vortalis::exports::ProfileCurves(profile),
          stations ? vortalis::exports::ProfileCurves(*stations) : std::vector<ProfileCurve>()};
}

void PaintHornProfile(QPainter& painter, const QRectF& area, const HornProfile& profile,
                      const vortalis::geometry::Separators& separators,
                      const HornProfile* stations) {
  PaintHornProfile(painter, area, profile, separators, stations, CurvesToPaint(profile, stations));
}

void PaintHornProfile(QPainter& painter, const QRectF& area, const HornProfile& profile,
                      const vortalis::geometry::Separators& separators,
                      const HornProfile* stations, const ProfilePaintCurves& paintCurves) {
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const ProfileLayout layout(profile, area, painter.font(), separators);
  const std::vector<ProfileCurve>& curves = paintCurves.walls;
  const std::vector<ProfileCurve>& stationCurves = paintCurves.stations;
  for (int panel = 0; panel < static_cast<int>(curves.size()); ++panel) {
    const ProfileCurve& curve = curves[static_cast<std::size_t>(panel)];
    PaintGrid(painter, layout, panel, separators);
    painter.save();
    painter.setClipRect(layout.Plot(panel));
    PaintHorn(painter, layout, panel, curve);
    if (panel < static_cast<int>(stationCurves.size())) {
      QFont small = painter.font();
      // A print lays out in pixels of a 96 dpi screen, so its font has a pixel size.
      if (small.pixelSize() > 0)
        small.setPixelSize(std::max(1, qRound(small.pixelSize() * 0.85)));
      else
        small.setPointSizeF(small.pointSizeF() * 0.85);
      painter.save();
      painter.setFont(small);
      PaintStations(painter, layout, panel, *stations,
                    stationCurves[static_cast<std::size_t>(panel)], separators);
      painter.restore();
    }
    PaintMarks(painter, layout, panel, profile, curve, separators);
    painter.restore();
    PaintAxisTitles(painter, layout, panel, profile, PanelTitle(profile, curve, panel, separators));
  }
  painter.restore();
}

ReadoutDistance RoundedDistance(const ProfileLayout& layout, int panel, qreal x) {
  const vortalis::plot::Reading reading = vortalis::plot::ReadingAt(layout.XAxis(panel), x);
  return {reading.value, reading.decimals};
}

QString ReadoutText(const vortalis::report::HornInput& horn,
                    const vortalis::geometry::Separators& hornSeparators,
                    const HornProfile& stations,
                    const ReadoutDistance& at,
                    const vortalis::geometry::Separators& separators) {
  namespace report = vortalis::report;
  const report::ProfilePoint point =
      report::ProfilePointAt(horn, stations, at.distance, hornSeparators);
  const auto unit = report::UnitOf(horn);
  const QString name = QString::fromLatin1(vortalis::geometry::UnitName(unit));
  const QString distance =
      QStringLiteral("Distance %1 %2:  ")
          .arg(Number(at.distance, at.decimals, separators).trimmed(), name);
  const auto text = [&](long double value, report::NumberFormat format) {
    return Formatted(value, format, separators).trimmed();
  };
  if (report::IsRectangular(horn)) {
    const auto formats = report::RectangularTableFormats(unit);
    QString sides = QStringLiteral("side 1A - 1B %1 %3,  side 2A - 2B %2 %3")
                        .arg(text(point.side1, formats.side), text(point.side2, formats.side),
                             name);
    if (std::get<report::RectangularReportInput>(horn).flatSides) {
      sides += QStringLiteral(",  along the flat side %1 %2")
                   .arg(text(point.flatSideDistance, formats.flatDistance), name);
    }
    return distance + sides;
  }
  const auto formats = report::CircularTableFormats(unit);
  const auto mode = report::SizeModeOf(horn);
  return distance +
         QStringLiteral("%1 %2 %3,  flare angle %4\u00b0")
             .arg(mode == vortalis::geometry::SizeMode::Diameter ? QStringLiteral("diameter")
                                                                 : QStringLiteral("radius"),
                  text(report::SizeOfRadius(point.radius, mode), formats.size), name,
                  text(point.flareAngle, formats.flare));
}

namespace {

// The drawing on screen, with the distance under the mouse marked and read out.
class ProfileView : public QWidget {
 public:
  ProfileView(const HornProfile& profile, const HornProfile* stations,
              std::function<void(std::optional<ReadoutDistance>)> readout, QWidget* parent)
      : QWidget(parent),
        profile_(profile),
        stations_(stations),
        curves_(CurvesToPaint(profile, stations)),
        readout_(std::move(readout)) {
    setObjectName(QStringLiteral("ProfileView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(320, 200);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    PaintHornProfile(painter, rect(), profile_, CurrentSeparators(), stations_, curves_);
    if (!marked_) return;
    const ProfileLayout layout(profile_, rect(), font(), CurrentSeparators());
    painter.setPen(QPen(kCursor, 1, Qt::DotLine));
    for (int panel = 0; panel < layout.Panels(); ++panel) {
      const QRectF plot = layout.Plot(panel);
      const qreal x = layout.Map(panel, static_cast<qreal>(marked_->distance), 0).x();
      painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    const ProfileLayout layout(profile_, rect(), font(), CurrentSeparators());
    const QPointF at = event->position();
    const int panel = layout.PanelAt(at.y());
    std::optional<ReadoutDistance> marked = RoundedDistance(layout, panel, at.x());
    const long double end = profile_.points.empty() ? 0.0L : profile_.points.back().distance;
    if (!layout.Plot(panel).contains(at) || marked->distance < 0.0L || marked->distance > end)
      marked.reset();
    Mark(marked);
  }

  void leaveEvent(QEvent*) override { Mark(std::nullopt); }

 private:
  void Mark(std::optional<ReadoutDistance> marked) {
    const bool same = marked.has_value() == marked_.has_value() &&
                      (!marked || marked->distance == marked_->distance);
    if (same) return;
    marked_ = marked;
    readout_(marked_);
    update();
  }

  const HornProfile& profile_;
  const HornProfile* stations_;
  const ProfilePaintCurves curves_;
  std::function<void(std::optional<ReadoutDistance>)> readout_;
  std::optional<ReadoutDistance> marked_;
};

}  // namespace

TProfileForm::TProfileForm(const ReportSource& source, QWidget* report)
    : QWidget(report, Qt::Window | Qt::WindowStaysOnTopHint),
      source_(source),
      profile_(MakeDrawingProfile(source)) {
  setObjectName(QStringLiteral("ProfileForm"));
  setAttribute(Qt::WA_DeleteOnClose);
  setMinimumSize(320, 240);
  try {
    stations_ = MakeSourceProfile(source_, SourceIncrement(source_), {});
  } catch (const vortalis::report::ProfileError&) {
    // A step too fine for this horn: the drawing shows no stations.
  }
  View = new ProfileView(
      profile_, stations_.points.empty() ? nullptr : &stations_,
      [this](std::optional<ReadoutDistance> at) { ShowReadout(at); }, this);
  Readout = Named(new QLabel(this), "Readout");
  Readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
  PrintButton = Named(new QPushButton(QStringLiteral("&Print..."), this), "PrintButton");
  connect(PrintButton, &QPushButton::clicked, this, &TProfileForm::PrintClick);
  auto* menu = NewMenu(this, "Profile1", QStringLiteral("&Profile"));
  Print1 = NewAction(menu, "Print1", QStringLiteral("&Print..."), this, &TProfileForm::PrintClick,
                     QKeySequence(Qt::CTRL | Qt::Key_P), Qt::WindowShortcut);
  View->addAction(Print1);
  (new WindowKeys(this))->Bind(Print1->shortcut(), [this] { PrintClick(); }).EscapeCloses();
  View->setContextMenuPolicy(Qt::ActionsContextMenu);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Readout, 1);
  bottom->addWidget(PrintButton);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->addWidget(View, 1);
  bottom->setContentsMargins(8, 0, 8, 0);
  layout->addLayout(bottom);
  ShowReadout(std::nullopt);

  if (report) SetReportTitle(report->windowTitle());
  // Centred on the report's screen, and never larger than it: a window the
  // window manager places half off the screen hides its mouth.
  const QRect screen = (report ? report->screen() : QWidget::screen())->availableGeometry();
  const QSize wanted(820, profile_.rectangular ? 790 : 550);
  resize(wanted.boundedTo(screen.size() * 9 / 10));
  move(screen.center() - rect().center());
}

void TProfileForm::SetReportTitle(const QString& title) {
  setWindowTitle(QStringLiteral("Profile - %1 (%2 horn, %3 Hz)")
                     .arg(title,
                          profile_.rectangular ? QStringLiteral("rectangular")
                                               : QStringLiteral("circular"),
                          QString::fromStdString(profile_.frequencyText)));
}

void TProfileForm::ShowReadout(std::optional<ReadoutDistance> at) {
  if (!at) {
    Readout->setText(QStringLiteral("Point at the horn to read its size."));
    return;
  }
  Readout->setText(ReadoutText(*source_.horn, source_.separators, stations_, *at, CurrentSeparators()));
}

void TProfileForm::PrintClick() {
  // Laid out as on a 96 dpi screen and scaled to the page, so that lines and
  // text keep their proportions at any printer resolution.
  QFont font = this->font();
  font.setPixelSize(QFontInfo(font).pixelSize());
  const bool tall = profile_.rectangular;
  PrintPlotPage(this, [&](QPainter& painter, const QPagedPaintDevice& device) {
    const QSizeF page = vortalis::plot::LayOutAsScreen(painter, device);
    painter.setFont(font);
    PaintHornProfile(painter, vortalis::plot::PageCells(page, 1, 1, 1, tall ? 1.0 : 0.62)[0],
                     profile_, CurrentSeparators(), stations_.points.empty() ? nullptr : &stations_);
  });
}

}  // namespace vortalis::report_window
