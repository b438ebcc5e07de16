#include "report_window/acoustic_window.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

#include "export/profile_export.h"
#include "plot/page_cells.h"
#include "plot/plot_paint.h"
#include "report_window/plot_window_actions.h"
#include "report_window/report_printer.h"
#include "report_window/response_plot.h"
#include "report_window/report_file.h"
#include "report_window/report_profile.h"
#include "report_window/text_form.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"
#include "ui/widgets.h"
#include "ui/window_keys.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

using vortalis::acoustics::ImpedanceCurve;
using vortalis::acoustics::MouthLoad;
using vortalis::geometry::Separators;
using vortalis::plot::kGap;
using vortalis::report::GridValues;

// Drawing style, in screen pixels (scaled on paper).
constexpr qreal kMinGridPixels = 40;
constexpr qreal kHeadroom = 0.06;  // above and below the curves, a share of their range
const QColor kResistance(200, 40, 40);
const QColor kReactance(20, 70, 180);
const QColor kCutoff(60, 140, 60);
const QColor kUnity(190, 190, 190);
const QColor kFrame = vortalis::plot::kFrameColor;
const QColor kText = vortalis::plot::kTextColor;
const QColor kBeyondModel(120, 120, 120, 40);

QString Text(const std::string& text) { return QString::fromStdString(text); }

// `digits` significant digits, at most six decimals: readouts and tick labels.
QString Significant(long double value, int digits, const Separators& separators) {
  const long double magnitude = std::fabs(value);
  const int exponent = magnitude > 0.0L ? static_cast<int>(std::floor(std::log10(magnitude))) : 0;
  const int decimals = std::clamp(digits - 1 - exponent, 0, 6);
  return Text(vortalis::geometry::FixedText(value, 18, decimals, separators));
}

QString Frequency(long double hertz, const Separators& separators) {
  return Text(vortalis::report::ShortNumberText(hertz, separators));
}

// "fc/4", "fc", "8fc" for an octave that is fc times a power of two.
QString OctaveOfCutoff(long double frequency, long double cutoff) {
  const long double octaves = std::log2(frequency / cutoff);
  const long double whole = std::round(octaves);
  if (std::fabs(octaves - whole) > 1e-6L) return {};
  const int n = static_cast<int>(whole);
  if (n == 0) return QStringLiteral("fc");
  if (n > 0) return QStringLiteral("%1fc").arg(1 << std::min(n, 30));
  return QStringLiteral("fc/%1").arg(1 << std::min(-n, 30));
}

}  // namespace

ImpedanceLayout::ImpedanceLayout(const ImpedancePlot& plot, const QRectF& area, const QFont& font,
                                 QPaintDevice* device) {
  scale_ = vortalis::plot::DeviceScale(device);
  const ImpedanceCurve& curve = plot.curve;
  const long double from = curve.empty() ? 1.0L : curve.front().frequency;
  const long double to = curve.empty() ? 2.0L : std::max(curve.back().frequency, from * 1.01L);
  octaves_ = vortalis::plot::Octaves(from, to);
  frequencies_.reserve(curve.size());
  for (const auto& point : curve) frequencies_.push_back(point.frequency);

  low_ = 0.0L;
  high_ = 1.0L;
  for (const auto& point : curve) {
    low_ = std::min({low_, point.resistance, point.reactance});
    high_ = std::max({high_, point.resistance, point.reactance});
  }
  const long double pad = (high_ - low_) * kHeadroom;
  high_ += pad;
  if (low_ < 0.0L) low_ -= pad;

  const QFontMetricsF metrics(font, device);
  const qreal line = metrics.height();
  const qreal gap = kGap * scale_;
  const qreal left = metrics.horizontalAdvance(QStringLiteral("-00.0")) + line + 3 * gap;
  const qreal top = 2 * line + 3 * gap;
  const qreal bottom = 3 * line + 3 * gap;
  const qreal right = 3 * gap;
  plot_ =
      QRectF(area.left() + left, area.top() + top, std::max<qreal>(area.width() - left - right, 1),
             std::max<qreal>(area.height() - top - bottom, 1));
  x_ = vortalis::plot::Axis(from, to, plot_.left(), plot_.right(),
                            vortalis::plot::AxisScale::Log);
  y_ = vortalis::plot::Axis(low_, high_, plot_.bottom(), plot_.top());
  grid_ = vortalis::plot::LinearTicks(y_, kMinGridPixels * scale_).step;
}

qreal ImpedanceLayout::X(long double frequency) const { return x_.Pixel(frequency); }

qreal ImpedanceLayout::Y(long double value) const { return y_.Pixel(value); }

std::optional<std::size_t> ImpedanceLayout::PointAt(qreal x) const {
  return vortalis::plot::NearestIndex(frequencies_, x_, x);
}

namespace {

void PaintGrid(QPainter& painter, const ImpedanceLayout& layout, const ImpedancePlot& plot,
               const Separators& separators) {
  const QRectF area = layout.Plot();
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal line = metrics.height();
  const qreal gap = kGap * layout.Scale();
  const auto values = GridValues(layout.Low(), layout.High(), layout.ValueGrid().step);

  vortalis::plot::PaintGrid(painter, area, layout.XAxis(), layout.Octaves(), layout.YAxis(),
                            values, layout.Scale());
  // Zero, and 1: the resistance of a horn that passes everything on.
  painter.setPen(QPen(kUnity, layout.Scale()));
  painter.drawLine(QPointF(area.left(), layout.Y(0.0L)), QPointF(area.right(), layout.Y(0.0L)));
  painter.setPen(QPen(kUnity, layout.Scale(), Qt::DashLine));
  painter.drawLine(QPointF(area.left(), layout.Y(1.0L)), QPointF(area.right(), layout.Y(1.0L)));
  painter.setPen(QPen(kFrame, layout.Scale()));
  painter.drawRect(area);

  painter.setPen(kText);
  QStringList valueTexts;
  for (const long double value : values)
    valueTexts << Text(vortalis::geometry::FixedText(value, 18, layout.ValueGrid().decimals,
                                                     separators));
  vortalis::plot::PaintYLabels(painter, area.left() - gap, layout.YAxis(), values, valueTexts);
  // Every octave labelled in hertz and, below, as a multiple of fc; every
  // second one when they do not fit.
  qreal widest = 0;
  for (const long double octave : layout.Octaves())
    widest = std::max(widest, metrics.horizontalAdvance(Frequency(octave, separators)));
  const std::size_t octaves = layout.Octaves().size();
  const qreal spacing =
      octaves > 1 ? layout.X(layout.Octaves()[1]) - layout.X(layout.Octaves()[0]) : area.width();
  const std::size_t every = widest + 2 * gap > spacing ? 2 : 1;
  std::vector<long double> labelled;
  QStringList hertz;
  QStringList multiples;
  for (std::size_t i = 0; i < octaves; i += every) {
    labelled.push_back(layout.Octaves()[i]);
    hertz << Frequency(labelled.back(), separators);
    multiples << OctaveOfCutoff(labelled.back(), plot.cutoff);
  }
  vortalis::plot::PaintXLabels(painter, area, layout.XAxis(), labelled, hertz,
                               area.bottom() + gap / 2);
  painter.setPen(kCutoff);
  vortalis::plot::PaintXLabels(painter, area, layout.XAxis(), labelled, multiples,
                               area.bottom() + gap / 2 + line);
  painter.setPen(kText);
  painter.drawText(QRectF(area.left(), area.bottom() + 2 * line + gap, area.width(), line),
                   Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Frequency (Hz), octaves"));
  // The vertical title reads upward along the left edge; the brief form where
  // the plot is too low for the full one.
  vortalis::plot::PaintUpwardTitle(
      painter, area.left() - metrics.horizontalAdvance(QStringLiteral("-00.0")) - line - 2 * gap,
      area.center().y(), area.height(),
      {QStringLiteral("Throat impedance / (\u03c1c/S throat)"), QStringLiteral("Z / (\u03c1c/S)")});
}

void PaintTitleAndLegend(QPainter& painter, const ImpedanceLayout& layout,
                         const ImpedancePlot& plot) {
  const QRectF area = layout.Plot();
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal line = metrics.height();
  const qreal gap = kGap * layout.Scale();
  QFont bold = painter.font();
  bold.setBold(true);
  painter.save();
  painter.setFont(bold);
  painter.setPen(kText);
  painter.drawText(QRectF(area.left(), area.top() - 2 * line - 2 * gap, area.width(), line),
                   Qt::AlignLeft | Qt::AlignBottom, plot.title);
  painter.restore();

  const qreal width = 2 * layout.Scale();
  vortalis::plot::PaintLegend(
      painter, QPointF(area.left(), area.top() - line / 2 - gap),
      {{QStringLiteral("resistance R"), QPen(kResistance, width)},
       {QStringLiteral("reactance X"), QPen(kReactance, width)},
       {QStringLiteral("cut-off fc"), QPen(kCutoff, 1.5 * layout.Scale(), Qt::DashLine)}},
      3 * line, gap, 4 * gap);
}

void PaintCurves(QPainter& painter, const ImpedanceLayout& layout, const ImpedancePlot& plot) {
  const long double cutoff = plot.cutoff;
  const QRectF area = layout.Plot();
  if (cutoff > 0.0L && layout.X(cutoff) >= area.left() && layout.X(cutoff) <= area.right()) {
    painter.setPen(QPen(kCutoff, 1.5 * layout.Scale(), Qt::DashLine));
    painter.drawLine(QPointF(layout.X(cutoff), area.top()),
                     QPointF(layout.X(cutoff), area.bottom()));
  }
  if (plot.planeWaveLimit > 0.0L)
    vortalis::plot::PaintBand(painter, area, layout.XAxis(), plot.planeWaveLimit,
                              layout.XAxis().High(), kBeyondModel);
  std::vector<long double> frequencies;
  std::vector<long double> resistance;
  std::vector<long double> reactance;
  for (const auto& point : plot.curve) {
    frequencies.push_back(point.frequency);
    resistance.push_back(point.resistance);
    reactance.push_back(point.reactance);
  }
  const auto pen = [&](const QColor& color) {
    return QPen(color, 2 * layout.Scale(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  };
  painter.setPen(pen(kReactance));
  painter.drawPolyline(
      vortalis::plot::Polyline(layout.XAxis(), frequencies, layout.YAxis(), reactance));
  painter.setPen(pen(kResistance));
  painter.drawPolyline(
      vortalis::plot::Polyline(layout.XAxis(), frequencies, layout.YAxis(), resistance));
}

// The marked point: a line through it, a dot on each curve and its values.
void PaintMarked(QPainter& painter, const ImpedanceLayout& layout, const ImpedancePlot& plot,
                 std::size_t marked, const Separators& separators) {
  if (marked >= plot.curve.size()) return;
  const auto& point = plot.curve[marked];
  const qreal x = layout.X(point.frequency);
  const qreal scale = layout.Scale();
  vortalis::plot::PaintMarker(painter, layout.Plot(), x,
                              {{layout.Y(point.resistance), kResistance},
                               {layout.Y(point.reactance), kReactance}},
                              3.5 * scale, scale);
  vortalis::plot::PaintReadout(
      painter, layout.Plot(), x,
      {QStringLiteral("%1 Hz").arg(Significant(point.frequency, 4, separators)),
       QStringLiteral("R %1").arg(Significant(point.resistance, 3, separators)),
       QStringLiteral("X %1").arg(Significant(point.reactance, 3, separators))},
      {kText, kResistance, kReactance}, scale);
}

}  // namespace

void PaintImpedancePlot(QPainter& painter, const QRectF& area, const ImpedancePlot& plot,
                        const Separators& separators, std::optional<std::size_t> marked) {
  painter.save();
  vortalis::plot::BeginPlot(painter, area);
  const ImpedanceLayout layout(plot, area, painter.font(), painter.device());
  PaintGrid(painter, layout, plot, separators);
  PaintTitleAndLegend(painter, layout, plot);
  painter.save();
  painter.setClipRect(layout.Plot());
  PaintCurves(painter, layout, plot);
  if (marked) PaintMarked(painter, layout, plot, *marked, separators);
  painter.restore();
  painter.restore();
}

namespace {

// The one place the window writes a file: the one writer of every output.
}  // namespace

TAcousticForm::TAcousticForm(const ReportSource& source, QWidget* report)
    : QWidget(report, Qt::Window | Qt::WindowStaysOnTopHint),
      rectangular_(vortalis::report::IsRectangular(source.horn.value())) {
  setObjectName(QStringLiteral("AcousticForm"));
  setAttribute(Qt::WA_DeleteOnClose);
  AsBuilt = new HornAsBuiltControls(source, this);
  plot_.cutoff = AsBuilt->Horn().cutoff;

  CopyButton = Named(new QPushButton(QStringLiteral("&Copy"), this), "CopyButton");
  CopyButton->setToolTip(QStringLiteral("Copy the values as CSV text"));
  ExportButton = Named(new QPushButton(QStringLiteral("&Export CSV..."), this), "ExportButton");
  PrintButton = Named(new QPushButton(QStringLiteral("&Print..."), this), "PrintButton");
  (new WindowKeys(this))->Bind(QKeySequence::Print, [this] { PrintClick(); }).EscapeCloses();
  Readout = Named(new QLabel(this), "Readout");
  Note = Named(new QLabel(this), "Note");
  Note->setWordWrap(true);
  view_ = Named(
      new PlotView(
          [this](QPainter& painter, const QRectF& area, std::optional<std::size_t> marked) {
            PaintImpedancePlot(painter, area, plot_, CurrentSeparators(), marked);
          },
          [this](QWidget& view, qreal x) {
            return ImpedanceLayout(plot_, view.rect(), view.font(), &view).PointAt(x);
          },
          [this](std::optional<std::size_t> point) { ShowReadout(point); }, QSize(360, 240), this),
      "ImpedancePlot");

  auto* controls = new QHBoxLayout;
  controls->addWidget(AsBuilt, 1);
  controls->addWidget(CopyButton, 0, Qt::AlignTop);
  controls->addWidget(ExportButton, 0, Qt::AlignTop);
  controls->addWidget(PrintButton, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(view_, 1);
  layout->addWidget(Readout);
  layout->addWidget(Note);

  connect(AsBuilt, &HornAsBuiltControls::Changed, this, &TAcousticForm::Recalculate);
  connect(CopyButton, &QPushButton::clicked, this, &TAcousticForm::CopyClick);
  connect(ExportButton, &QPushButton::clicked, this, &TAcousticForm::ExportClick);
  connect(PrintButton, &QPushButton::clicked, this, &TAcousticForm::PrintClick);

  Recalculate();
  if (report) SetReportTitle(report->windowTitle());
  const QRect screen = (report ? report->screen() : QWidget::screen())->availableGeometry();
  resize(QSize(860, 560).boundedTo(screen.size() * 9 / 10));
  move(screen.center() - rect().center());
}

vortalis::acoustics::MouthLoad TAcousticForm::Load() const { return AsBuilt->Read().load; }

void TAcousticForm::SetReportTitle(const QString& title) {
  setWindowTitle(QStringLiteral("Acoustic loading - %1 (%2 horn, %3 Hz)")
                     .arg(title,
                          rectangular_ ? QStringLiteral("rectangular") : QStringLiteral("circular"),
                          Frequency(AsBuilt->Horn().cutoff, CurrentSeparators())));
}

void TAcousticForm::Recalculate() {
  namespace acoustics = vortalis::acoustics;
  const acoustics::HornAcoustics& horn = AsBuilt->Horn();
  const auto [limit, load, losses] = AsBuilt->Read();
  const acoustics::FrequencySweep sweep = DesignSweep(acoustics::PlotSweep(horn), horn.cutoff);
  plot_.curve = acoustics::ThroatImpedanceWithPeaks(horn, load, sweep, losses);
  const acoustics::CrossModes modes = acoustics::FirstCrossModes(horn);
  plot_.planeWaveLimit = modes.Lowest();
  QString note = QStringLiteral(
                     "Shaded: above %1 Hz, the first cross-mode (throat %2 Hz, mouth %3 Hz), the "
                     "plane-wave model does not hold.")
                     .arg(Significant(modes.Lowest(), 4, CurrentSeparators()),
                          Significant(modes.throat, 4, CurrentSeparators()),
                          Significant(modes.mouth, 4, CurrentSeparators()));
  const acoustics::LossEffect effect =
      acoustics::LossEffectOver(horn, load, acoustics::DefaultSweep(horn.cutoff));
  if (effect.change > acoustics::kNotableLossEffect) {
    note += QStringLiteral(" Wall losses %1 the impedance by up to %2 % (at %3 Hz).")
                .arg(losses == acoustics::WallLosses::On ? QStringLiteral("change")
                                                         : QStringLiteral("would change"),
                     QString::number(static_cast<double>(100.0L * effect.change), 'f', 0),
                     Significant(effect.frequency, 4, CurrentSeparators()));
  }
  Note->setText(note);
  const QString cut = limit.kind == vortalis::report::MouthLimitKind::None
                          ? QString()
                          : QStringLiteral(" cut to %1 m")
                                .arg(Text(vortalis::report::ShortNumberText(horn.length,
                                                                            CurrentSeparators())));
  plot_.title = QStringLiteral("Throat impedance of the %1 horn%2, fc %3 Hz, %4")
                    .arg(rectangular_ ? QStringLiteral("rectangular") : QStringLiteral("circular"),
                         cut, Frequency(horn.cutoff, CurrentSeparators()),
                         load == MouthLoad::Baffle ? QStringLiteral("mouth in an infinite baffle")
                         : load == MouthLoad::Unflanged
                             ? QStringLiteral("unflanged mouth in free air")
                             : QStringLiteral("mouth ") + Placement(horn.locationFactor));
  ShowReadout(std::nullopt);  // the curve changed: the mark follows the mouse again
}

void TAcousticForm::ShowReadout(std::optional<std::size_t> point) {
  if (view_) view_->Mark(point);
  if (!point || *point >= plot_.curve.size()) {
    Readout->setText(QStringLiteral("Point at the plot to read its values."));
    return;
  }
  const auto& at = plot_.curve[*point];
  const Separators& separators = CurrentSeparators();
  Readout->setText(QStringLiteral("%1 Hz (%2 fc):   resistance R %3,   reactance X %4")
                       .arg(Significant(at.frequency, 5, separators),
                            Significant(at.frequency / AsBuilt->Horn().cutoff, 3, separators),
                            Significant(at.resistance, 4, separators),
                            Significant(at.reactance, 4, separators)));
}

void TAcousticForm::CopyClick() {
  QGuiApplication::clipboard()->setText(Text(vortalis::acoustics::ImpedanceCsv(plot_.curve)));
}

void TAcousticForm::ExportClick() {
  const QString suffix = QStringLiteral("-impedance-%1.csv")
                             .arg(QLatin1String(vortalis::acoustics::MouthLoadName(Load())));
  ExportCsvText(this, FileBesideReport(parentWidget(), suffix),
                vortalis::acoustics::ImpedanceCsv(plot_.curve));
}

void TAcousticForm::PrintClick() {
  PrintPlotPage(this, [this](QPainter& painter, const QPagedPaintDevice& device) {
    painter.setFont(font());
    // Across the page, at most three quarters of its width high.
    PaintImpedancePlot(
        painter, vortalis::plot::PageCells(QSizeF(device.width(), device.height()), 1, 1, 1, 0.75)[0],
        plot_, CurrentSeparators());
  });
}

}  // namespace vortalis::report_window
