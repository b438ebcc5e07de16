// The report window's driver and response window: the response follows each
// edit and is the tool's, driver files go out and come back, the design
// helper's chambers are applied.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/startup.h"
#include "driver/driver_file.h"
#include "driver/system_response.h"
#include "report_window/driver_window.h"
#include "report_window/text_form.h"
#include "long_lived_forms.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_rec_form.h"
#include "ui/locale_separators.h"

namespace {

QString Copied(TDriverForm& window) {
  window.CopyButton->click();
  return QGuiApplication::clipboard()->text();
}

}  // namespace

class DriverWindowTests : public QObject {
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
    prompt_.reset();
    RefreshSeparators();
  }

  void responseFollowsEditsAndIsTheTools() {
    TTextForm* form =
        CalculateCircular(QStringLiteral("100"), QStringLiteral("40"), SettCircForm->T10);
    QVERIFY(form);
    form->Driverresponse1->trigger();
    QPointer<TDriverForm> window = form->DriverWindow();
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->Response().empty());

    // Every third point is the tool's default table for the same driver (the
    // driver file the window saves).
    QTemporaryDir folder;
    const QString driverPath = folder.filePath(QStringLiteral("d.txt"));
    prompt_->exportAnswers.push_back(driverPath);
    window->SaveButton->click();
    const auto horn = vortalis::acoustics::HornAcousticsOf(*form->Source().horn, {});
    vortalis::driver::SystemSetup setup;
    setup.driver =
        vortalis::driver::ResolveDriver(vortalis::driver::ReadDriverFile(driverPath.toStdString()));
    const auto tool =
        vortalis::driver::SystemResponse(horn, vortalis::acoustics::MouthLoad::Baffle, setup,
                                         vortalis::acoustics::DefaultSweep(horn.cutoff));
    QCOMPARE((window->Response().size() - 1) / 3 + 1, tool.size());
    for (std::size_t i = 0; i < tool.size(); ++i) {
      const auto& shown = window->Response()[3 * i];
      QVERIFY(std::fabs(shown.spl - tool[i].spl) < 1e-9L);
      QVERIFY(std::fabs(shown.excursion / tool[i].excursion - 1) < 1e-12L);
    }
    const QString before = Copied(*window);
    // The point under the mouse is read out, with the tool's frequency and SPL.
    QWidget* spl = window->findChild<QWidget*>(QStringLiteral("SplPlot"));
    QVERIFY(spl);
    const QRectF frame = LinePlotFrame(spl->rect(), spl->font(), spl);
    const QPointF at(frame.left(), frame.top() + 5);
    QMouseEvent move(QEvent::MouseMove, at, spl->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(spl, &move);
    QVERIFY2(window->Readout->text().startsWith(
                 QStringLiteral("25.000 Hz:   SPL %1 dB").arg(double(tool[0].spl), 0, 'f', 2)),
             qPrintable(window->Readout->text()));
    QVERIFY(before.startsWith(QStringLiteral("frequency_hz,spl_db,impedance_ohm,")));

    // An edit redraws at once; a mistake says which field and clears the plots.
    window->DriverEdits[10]->setText(QStringLiteral("80"));  // Vas
    QVERIFY(Copied(*window) != before);
    window->DriverEdits[0]->setText(QStringLiteral("six"));  // Re
    QVERIFY(window->Response().empty());
    QVERIFY(window->Status->text().contains(QStringLiteral("Re (ohm) is not a number")));
    QVERIFY(!window->ExportButton->isEnabled());

    // The saved driver comes back; a bad file is refused with its line.
    prompt_->openAnswers.push_back(driverPath);
    window->OpenButton->click();
    QCOMPARE(window->DriverEdits[10]->text(), QStringLiteral("150"));
    QCOMPARE(Copied(*window), before);
    const QString bad = folder.filePath(QStringLiteral("bad.txt"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("re = 6\nqes = -1\n");
    file.close();
    prompt_->openAnswers.push_back(bad);
    window->OpenButton->click();
    QCOMPARE(prompt_->errors.size(), 1);
    QVERIFY(prompt_->errors[0].contains(QStringLiteral("line 2: 'qes' must be above 0")));

    // The suggested chambers go into their fields and into the response.
    QVERIFY(window->RearChamberEdit->text().isEmpty());
    window->ApplyButton->click();
    QVERIFY(!window->ThroatChamberEdit->text().isEmpty());
    QVERIFY(Copied(*window) != before);

    // Export CSV writes what Copy holds; Print makes a PDF.
    const QString csv = folder.filePath(QStringLiteral("r.csv"));
    prompt_->exportAnswers.push_back(csv);
    window->ExportButton->click();
    QFile exported(csv);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(exported.readAll()), Copied(*window));
    const QString pdf = folder.filePath(QStringLiteral("r.pdf"));
    prompt_->printAnswers.push_back(true);
    prompt_->configurePrinter = [&pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
    };
    window->PrintButton->click();
    QFile printed(pdf);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QVERIFY(printed.read(5) == "%PDF-");
    QCOMPARE(prompt_->errors.size(), 1);

    form->reportText->document()->setModified(false);
    form->close();
    QTRY_VERIFY(!window);
  }
};

QTEST_MAIN(DriverWindowTests)
#include "driver_window_tests.moc"
