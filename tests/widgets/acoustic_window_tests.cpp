// The report window's acoustic loading window: its plot, its CSV on the
// clipboard and in a file, its mouth load, its print.
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "app/startup.h"
#include "report_window/acoustic_window.h"
#include "report_window/text_form.h"
#include "long_lived_forms.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_rec_form.h"
#include "ui/locale_separators.h"

using namespace vortalis::ui;
using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

namespace {

using vortalis::acoustics::ImpedanceCurve;

TTextForm* HornReport(const QString& horn) {
  if (horn == QStringLiteral("circular")) {
    return CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T10);
  }
  // A 32 Hz horn for a corner.
  SettRecForm->Location4->setChecked(true);
  SettRecForm->T100->setChecked(true);
  const qsizetype before = Reports().size();
  SettRecForm->Calculate->click();
  return NewestReport(before);
}

// The CSV as a spreadsheet reads it; fails the test on a malformed line.
ImpedanceCurve ParseCsv(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.constLast().isEmpty()) lines.removeLast();
  ImpedanceCurve curve;
  if (lines.value(0) != QStringLiteral("frequency_hz,resistance,reactance")) return curve;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(QLatin1Char(','));
    bool ok[3] = {};
    const double f = fields.value(0).toDouble(&ok[0]);
    const double r = fields.value(1).toDouble(&ok[1]);
    const double x = fields.value(2).toDouble(&ok[2]);
    if (fields.size() != 3 || !ok[0] || !ok[1] || !ok[2]) return {};
    curve.push_back({f, r, x});
  }
  return curve;
}

bool SameCurve(const ImpedanceCurve& a, const ImpedanceCurve& b) {
  if (a.size() != b.size() || a.empty()) return false;
  const auto close = [](long double u, long double v) {
    return std::fabs(u - v) <= 1e-9L * (1 + std::fabs(v));
  };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!close(a[i].frequency, b[i].frequency) || !close(a[i].resistance, b[i].resistance) ||
        !close(a[i].reactance, b[i].reactance))
      return false;
  }
  return true;
}

// The resistance is drawn red; nothing else in the plot is.
bool RedNear(const QImage& image, QPointF point) {
  for (int dx = -2; dx <= 2; ++dx) {
    for (int dy = -2; dy <= 2; ++dy) {
      const QPoint at = point.toPoint() + QPoint(dx, dy);
      if (!image.rect().contains(at)) continue;
      const QColor color = image.pixelColor(at);
      if (color.red() - color.blue() > 60 && color.red() - color.green() > 60) return true;
    }
  }
  return false;
}

QString Copied(TAcousticForm& window) {
  window.CopyButton->click();
  return QGuiApplication::clipboard()->text();
}

}  // namespace

class AcousticWindowTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;

 private slots:
  void initTestCase() {
    ShowLongLivedForms();
  }

  void cleanupTestCase() { DestroyLongLivedForms(); }

  void init() {
    SetSeparatorsForTesting({".", ","});
    prompt_ = std::make_unique<ScriptedPrompt>();
  }

  void cleanup() {
    DiscardReports();
    QTRY_VERIFY(Reports().isEmpty());
    SettRecForm->Location1->setChecked(true);
    prompt_.reset();
    RefreshSeparators();
  }

  void plotCopyAndFileShowOneCurve_data() {
    QTest::addColumn<QString>("horn");
    QTest::newRow("circular 300 Hz") << QStringLiteral("circular");
    QTest::newRow("rectangular 32 Hz corner horn") << QStringLiteral("corner");
  }

  void plotCopyAndFileShowOneCurve() {
    QFETCH(QString, horn);
    TTextForm* form = HornReport(horn);
    QVERIFY(form);
    QVERIFY(form->Acousticloading1->isEnabled());
    form->Acousticloading1->trigger();
    QPointer<TAcousticForm> window = form->AcousticWindow();
    QVERIFY(window && window->isVisible() && window->isWindow());
    QVERIFY(window->AsBuilt->Baffle->isChecked());

    // The clipboard holds the plotted numbers.
    const ImpedanceCurve baffle = window->Plot().curve;
    QVERIFY(SameCurve(ParseCsv(Copied(*window)), baffle));
    // Every row of the tool's default curve, peaks included, is a plotted point.
    const auto source =
        vortalis::acoustics::HornAcousticsOf(*form->Source().horn, form->Source().separators);
    const ImpedanceCurve tool = vortalis::acoustics::ThroatImpedanceWithPeaks(
        source, vortalis::acoustics::MouthLoad::Baffle,
        vortalis::acoustics::DefaultSweep(source.cutoff));
    QVERIFY(baffle.size() > tool.size());
    ImpedanceCurve shared;
    for (const auto& point : baffle) {
      for (const auto& row : tool)
        if (row.frequency == point.frequency) shared.push_back(point);
    }
    QVERIFY(SameCurve(shared, tool));
    // The drawing puts the resistance where the layout says.
    QImage image(900, 560, QImage::Format_RGB32);
    QPainter painter(&image);
    const QFont font = painter.font();
    PaintImpedancePlot(painter, image.rect(), window->Plot(), CurrentSeparators());
    painter.end();
    const ImpedanceLayout layout(window->Plot(), image.rect(), font, &image);
    for (std::size_t i = 0; i < baffle.size(); i += 7) {
      QVERIFY2(RedNear(image, {layout.X(baffle[i].frequency), layout.Y(baffle[i].resistance)}),
               qPrintable(QString::number(static_cast<double>(baffle[i].frequency))));
    }

    // Another mouth load, another curve, and the copy follows it.
    window->AsBuilt->Location->click();
    const ImpedanceCurve location = window->Plot().curve;
    QVERIFY(!SameCurve(location, baffle));
    QVERIFY(SameCurve(ParseCsv(Copied(*window)), location));
    QVERIFY(window->Plot().title.contains(horn == QStringLiteral("circular")
                                              ? QStringLiteral("free air")
                                              : QStringLiteral("two walls")));

    // The point under the mouse is read out; leaving the plot clears it.
    QWidget* plot = window->findChild<QWidget*>(QStringLiteral("ImpedancePlot"));
    QVERIFY(plot);
    const ImpedanceLayout onScreen(window->Plot(), plot->rect(), plot->font(), plot);
    const QPointF at(onScreen.X(location.front().frequency), onScreen.Plot().center().y());
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
    QVERIFY2(window->Readout->text().contains(QStringLiteral(" Hz (")) &&
                 window->Readout->text().contains(QStringLiteral("resistance R")),
             qPrintable(window->Readout->text()));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(plot, &leave);
    QCOMPARE(window->Readout->text(), QStringLiteral("Point at the plot to read its values."));

    // Export CSV... writes the same text as Copy.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("z.csv"));
    prompt_->exportAnswers.push_back(path);
    window->ExportButton->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), Copied(*window));
    QCOMPARE(prompt_->exportPresets, QStringList{QStringLiteral("horn-impedance-location.csv")});

    // Print goes through the shared printer.
    const QString pdf = folder.filePath(QStringLiteral("z.pdf"));
    prompt_->printAnswers.push_back(true);
    prompt_->configurePrinter = [&pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
    };
    window->PrintButton->click();
    QVERIFY(prompt_->errors.isEmpty());
    QFile printed(pdf);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QVERIFY(printed.read(5) == "%PDF-");

    window->AsBuilt->Baffle->click();
    QVERIFY(SameCurve(window->Plot().curve, baffle));
    // The model's limit is said and shaded: a circle's first symmetric
    // cross-mode at 3.8317 c / (2 pi r), 1150 Hz at a 300 Hz mouth.
    if (horn == QStringLiteral("circular")) {
      QVERIFY(window->Note->text().contains(QStringLiteral("above 1150 Hz")));
      QVERIFY(std::fabs(window->Plot().planeWaveLimit - 3.8317L * 300.0L) < 0.5L);
    }
    window->AsBuilt->Losses->click();
    QVERIFY(!SameCurve(window->Plot().curve, baffle));
    window->AsBuilt->Losses->click();
    QVERIFY(SameCurve(window->Plot().curve, baffle));
    // Cut at a length: the horn of the template cut there; a cut at the throat
    // is refused with the drawing's message and leaves the whole horn.
    window->AsBuilt->LengthLimit->click();
    window->AsBuilt->LimitValue->setText(QStringLiteral("100"));
    emit window->AsBuilt->LimitValue->editingFinished();
    const vortalis::report::MouthLimit cut{vortalis::report::MouthLimitKind::Length, 100.0L};
    const auto built = vortalis::acoustics::HornAcousticsOf(*form->Source().horn,
                                                            form->Source().separators, cut);
    QCOMPARE(window->Plot().curve.front().reactance,
             vortalis::acoustics::ThroatImpedance(built, vortalis::acoustics::MouthLoad::Baffle,
                                                  vortalis::acoustics::PlotSweep(built))
                 .front()
                 .reactance);
    QVERIFY(window->Plot().title.contains(QStringLiteral("cut to 0.1 m")));
    window->AsBuilt->LimitValue->setText(QStringLiteral("-1"));
    emit window->AsBuilt->LimitValue->editingFinished();
    QCOMPARE(prompt_->errors.size(), 1);
    QVERIFY(window->AsBuilt->FullHorn->isChecked());
    QVERIFY(SameCurve(window->Plot().curve, baffle));
    // The window goes with its report.
    form->reportText->document()->setModified(false);
    Reports().constLast()->close();
    QTRY_VERIFY(!window);
  }
};

QTEST_MAIN(AcousticWindowTests)
#include "acoustic_window_tests.moc"
