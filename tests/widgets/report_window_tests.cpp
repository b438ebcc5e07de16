// The report window and the progress window: Calculate to a filled report,
// Abort from the event pump, Save and Save as, the close question, the Edit
// menu, printing to PDF, and the pieces they are built from.
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "app/main_form.h"
#include "app/startup.h"
#include "file_size_limit.h"
#include "long_lived_forms.h"
#include "report/report_generator.h"
#include "report_window/locale_stamp_provider.h"
#include "report_window/report_calculation.h"
#include "report_window/report_document_sink.h"
#include "report_window/text_form.h"
#include "report_window/waitform.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "test_files.h"
#include "tests/core/report_test_support.h"
#include "ui/locale_separators.h"
#include "ui/printer_setup.h"

using namespace vortalis::ui;
using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

namespace {

using vortalis::report::ReportEnvironment;

// The second line carries the clock; both sides get the same one.
QStringList MaskStamp(QStringList lines) {
  if (lines.size() > 1) lines[1] = QStringLiteral("<stamp>");
  return lines;
}

// The report as the core writes it, for comparison with what the window shows.
template <typename Input>
QStringList CoreReport(void (*generate)(const Input&, ReportEnvironment&), const Input& input,
                       int abortAtPump = 0) {
  QStringList lines;
  for (const std::string& line :
       vortalis::testing::Produce(generate, input, abortAtPump, CurrentSeparators()).lines) {
    lines << QString::fromStdString(line);
  }
  lines << QString();  // the empty paragraph after the last line break
  return MaskStamp(lines);
}

QStringList WindowLines(const TTextForm& form) {
  return MaskStamp(form.reportText->toPlainText().split(QLatin1Char('\n')));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

// The window's text as a saved file must hold it: every line ended by CR LF.
QByteArray AsSaved(const TTextForm& form) {
  QByteArray text = form.reportText->toPlainText().toUtf8();
  if (!text.isEmpty() && !text.endsWith('\n')) text.append('\n');
  return text.replace("\n", "\r\n");
}

}  // namespace

class ReportWindowTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<QTemporaryDir> folder_;

  // A short report (the default horn in steps of 100 mm).
  static TTextForm* SmallReport() {
    return CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T100);
  }

  QString PathInFolder(const QString& name) const { return folder_->filePath(name); }

 private slots:
  void initTestCase() {
    ShowLongLivedForms();
  }

  void cleanupTestCase() { DestroyLongLivedForms(); }

  void init() {
    SetSeparatorsForTesting({".", ","});
    prompt_ = std::make_unique<ScriptedPrompt>();
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
  }

  void cleanup() {
    DiscardReports();
    QTRY_VERIFY(Reports().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    prompt_.reset();
    folder_.reset();
    QGuiApplication::clipboard()->clear();
    RefreshSeparators();
  }

  void calculateFillsANewReport_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("circular, default horn at 1 mm") << QStringLiteral("Circ");
    QTest::newRow("rectangular, default horn at 10 mm") << QStringLiteral("Rec");
  }

  void calculateFillsANewReport() {
    QFETCH(QString, kind);
    const bool circular = kind == QStringLiteral("Circ");
    if (circular) {
      SettCircForm->Freq->setText(QStringLiteral("300"));
      SettCircForm->Throat->setText(QStringLiteral("10"));
      SettCircForm->T1->setChecked(true);
      SettCircForm->Calculate->click();
    } else {
      SettRecForm->Calculate->click();
    }
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(Reports().size(), 1);
    auto* form = qobject_cast<TTextForm*>(Reports().constFirst()->widget());
    QVERIFY(form);

    QCOMPARE(form->windowTitle(), QStringLiteral("Untiteld"));
    QCOMPARE(Reports().constFirst()->size(), QSize(537, 322));
    QCOMPARE(form->FileName(), QStringLiteral("Untitled"));
    QVERIFY(form->reportText->document()->isModified());
    const QStringList expected =
        circular ? CoreReport(&vortalis::report::GenerateCircularReport, SettCircForm->ReadInput())
                 : CoreReport(&vortalis::report::GenerateRectangularReport, SettRecForm->ReadInput());
    QCOMPARE(WindowLines(*form), expected);
    const QString stampLine = form->reportText->document()->findBlockByNumber(1).text();
    QVERIFY2(stampLine.startsWith(QStringLiteral("Created ")) &&
                 stampLine.endsWith(QStringLiteral(" with Vortalis from Kestrowan.")),
             qPrintable(stampLine));
    // The third line was replaced last: the caret stands there, and the view
    // shows the beginning of the report.
    QCOMPARE(form->reportText->textCursor().blockNumber(), 2);
    QCOMPARE(form->reportText->verticalScrollBar()->value(), 0);

    // The dialog that started the calculation is back in front; the other is hidden.
    QWidget* shown = circular ? static_cast<QWidget*>(SettCircForm) : SettRecForm;
    QWidget* hidden = circular ? static_cast<QWidget*>(SettRecForm) : SettCircForm;
    QVERIFY(shown->isVisible());
    QVERIFY(!hidden->isVisible());
    QVERIFY(!waitform->isVisible());
    QVERIFY(!waitform->Calculating());
    QVERIFY(SettCircForm->Calculate->isEnabled());
    QVERIFY(SettRecForm->Calculate->isEnabled());

    // The report is where the document starts: Undo cannot take it away.
    const QString report = form->reportText->toPlainText();
    form->Undo1Click();
    QCOMPARE(form->reportText->toPlainText(), report);
    form->reportText->moveCursor(QTextCursor::End);
    form->reportText->insertPlainText(QStringLiteral("typed"));
    form->Undo1Click();
    QCOMPARE(form->reportText->toPlainText(), report);
    SettRecForm->hide();
    SettCircForm->hide();
  }

  void secondReportIsUntitledToo() {
    TTextForm* first = SmallReport();
    TTextForm* second = SmallReport();
    QVERIFY(first && second && first != second);
    QCOMPARE(first->windowTitle(), QStringLiteral("Untiteld"));
    QCOMPARE(second->windowTitle(), QStringLiteral("Untiteld"));
    // Each new child window starts further down and right than the one before.
    QVERIFY(second->SubWindow()->pos().y() > first->SubWindow()->pos().y());
  }

  void abortFromTheEventPump() {
    // Abort is pressed by the 10th pass through the event processing of the
    // 466-station default horn; the state seen then is recorded.
    int passes = 0;
    bool calculateEnabled = true;
    bool calculating = false;
    bool progressShown = false;
    QTimer presser;
    presser.setInterval(0);
    connect(&presser, &QTimer::timeout, this, [&] {
      if (++passes < 10) return;
      presser.stop();
      calculateEnabled = SettCircForm->Calculate->isEnabled() || SettRecForm->Calculate->isEnabled();
      calculating = waitform->Calculating();
      progressShown = waitform->isVisible();
      QTest::mouseClick(waitform->Button1, Qt::LeftButton);
    });
    presser.start();
    TTextForm* form =
        CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T1);
    QVERIFY(form);
    QCOMPARE(passes, 10);
    QVERIFY(!calculateEnabled);
    QVERIFY(calculating);
    QVERIFY(progressShown);
    QVERIFY(waitform->AbortRequested());
    QVERIFY(!waitform->isVisible());
    QVERIFY(SettCircForm->Calculate->isEnabled());
    QVERIFY(!waitform->Calculating());

    const QStringList lines = WindowLines(*form);
    QCOMPARE(lines.value(2), QString::fromLatin1(vortalis::report::kAbortNote));
    const qsizetype header =
        lines.indexOf(QRegularExpression(QStringLiteral("Distance \\(mm\\)\t.*")));
    QVERIFY(header > 0);
    // Rows after the header: the throat, the stations, the mouth, then the empty end.
    const int stations = static_cast<int>(lines.size() - header - 4);
    QVERIFY2(stations >= 1 && stations < 466, qPrintable(QString::number(stations)));
    QVERIFY(lines.value(lines.size() - 2).startsWith(QStringLiteral("466.518\t\t")));
    // The station whose event processing took the click is the last one written.
    QCOMPARE(lines, CoreReport(&vortalis::report::GenerateCircularReport,
                               SettCircForm->ReadInput(), stations));
  }

  void quitDuringCalculation() {
    // Quit while the table is computed stops the calculation as Abort does;
    // the report still appears, and then the quit asks about it.
    int passes = 0;
    QTimer quitter;
    quitter.setInterval(0);
    connect(&quitter, &QTimer::timeout, this, [&] {
      if (++passes < 5) return;
      quitter.stop();
      Mainform->QuitClick();
    });
    quitter.start();
    prompt_->confirmAnswers = {Prompt::Answer::Cancel};
    TTextForm* form =
        CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T1);
    QVERIFY(form);
    QTRY_COMPARE(prompt_->confirmations, QStringList{QStringLiteral("Save changes to Untitled?")});
    QVERIFY(Mainform->isVisible());
    QCOMPARE(Reports().size(), 1);
    QCOMPARE(WindowLines(*form).value(2), QString::fromLatin1(vortalis::report::kAbortNote));
    QVERIFY(SettCircForm->Calculate->isEnabled());
  }

  void failingGeneratorRestoresTheCalculationState() {
    // A document that refuses its 30th line ends the generator with an error.
    class FullSink final : public vortalis::report::ReportLineSink {
     public:
      int lines = 0;
      void AppendLine(std::string_view) override {
        if (++lines == 30) throw std::length_error("The report is too long");
      }
      void ReplaceLine(std::size_t, std::string_view) override {}
    } sink;
    waitform->SetHornKind(QStringLiteral("Circ"));
    waitform->ClearAbort();
    SettCircForm->T1->setChecked(true);
    const ReportSource source{SettCircForm->ReadInput(), CurrentSeparators()};
    QCOMPARE(RunReportGenerator(source, sink), QStringLiteral("The report is too long"));
    QCOMPARE(sink.lines, 30);
    QVERIFY(!waitform->Calculating());
    QVERIFY(!waitform->isVisible());
    QVERIFY(SettCircForm->Calculate->isEnabled());
    QVERIFY(SettRecForm->Calculate->isEnabled());
  }

  void saveAsThenSave() {
    TTextForm* form = SmallReport();
    QVERIFY(form);
    const QString path = PathInFolder(QStringLiteral("horn.txt"));
    prompt_->saveAnswers = {path};
    form->Save1Click();
    QCOMPARE(prompt_->savePresets, QStringList{QStringLiteral("Untitled")});
    QCOMPARE(form->FileName(), path);
    QCOMPARE(form->windowTitle(), QStringLiteral("horn.txt"));
    QVERIFY(!form->reportText->document()->isModified());
    const QByteArray saved = ReadFile(path);
    QCOMPARE(saved, AsSaved(*form));
    QVERIFY(saved.endsWith("90.00\r\n"));
    QCOMPARE(saved.count("\n"), saved.count("\r\n"));

    // A later Save writes the same file without asking.
    form->reportText->moveCursor(QTextCursor::End);
    form->reportText->insertPlainText(QStringLiteral("note"));
    QVERIFY(form->reportText->document()->isModified());
    form->Save1Click();
    QCOMPARE(prompt_->savePresets.size(), 1);
    QCOMPARE(ReadFile(path), saved + "note\r\n");
    QVERIFY(!form->reportText->document()->isModified());

    // A line break typed with Shift+Enter is a line of its own in the file.
    QTest::keyClick(form->reportText, Qt::Key_Return, Qt::ShiftModifier);
    form->reportText->insertPlainText(QStringLiteral("more"));
    form->Save1Click();
    QCOMPARE(ReadFile(path), saved + "note\r\nmore\r\n");

    // Save as presets the current name; cancelling changes nothing.
    prompt_->saveAnswers = {QString()};
    form->Saveas1Click();
    QCOMPARE(prompt_->savePresets.constLast(), path);
    QCOMPARE(form->FileName(), path);
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), QStringList{QStringLiteral("horn.txt")});
  }

  void closeQuestion_data() {
    QTest::addColumn<bool>("savedFirst");
    QTest::addColumn<QList<int>>("answers");  // Prompt::Answer values, in order
    QTest::addColumn<QStringList>("saveAnswers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("fileWritten");
    QTest::addColumn<bool>("closeBox");  // else File > Close
    const int yes = static_cast<int>(Prompt::Answer::Yes);
    const int no = static_cast<int>(Prompt::Answer::No);
    const int cancel = static_cast<int>(Prompt::Answer::Cancel);
    QTest::newRow("saved and unchanged: no question")
        << true << QList<int>{} << QStringList{} << 0 << true << true << false;
    QTest::newRow("yes, then the save dialog") << false << QList<int>{yes}
                                               << QStringList{QStringLiteral("horn.txt")} << 1
                                               << true << true << false;
    QTest::newRow("yes, save dialog cancelled: stays")
        << false << QList<int>{yes} << QStringList{QString()} << 1 << false << false << false;
    QTest::newRow("no: closes unsaved")
        << false << QList<int>{no} << QStringList{} << 1 << true << false << false;
    QTest::newRow("cancel: stays")
        << false << QList<int>{cancel} << QStringList{} << 1 << false << false << false;
    QTest::newRow("close box, no: closes unsaved")
        << false << QList<int>{no} << QStringList{} << 1 << true << false << true;
    QTest::newRow("close box, cancel: stays")
        << false << QList<int>{cancel} << QStringList{} << 1 << false << false << true;
  }

  void closeQuestion() {
    QFETCH(bool, savedFirst);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, saveAnswers);
    QFETCH(int, questions);
    QFETCH(bool, closes);
    QFETCH(bool, fileWritten);
    QFETCH(bool, closeBox);
    TTextForm* form = SmallReport();
    QVERIFY(form);
    const QString path = PathInFolder(QStringLiteral("horn.txt"));
    if (savedFirst) {
      prompt_->saveAnswers = {path};
      form->Saveas1Click();
      QVERIFY(!form->reportText->document()->isModified());
    }
    for (const int answer : answers) prompt_->confirmAnswers.push_back(Prompt::Answer(answer));
    for (const QString& name : saveAnswers) {
      prompt_->saveAnswers.push_back(name.isEmpty() ? name : PathInFolder(name));
    }
    const QPointer<TTextForm> alive(form);
    if (closeBox) {
      form->SubWindow()->close();
    } else {
      form->Close1Click();
    }
    QCOMPARE(prompt_->confirmations.size(), questions);
    if (questions > 0) {
      QCOMPARE(prompt_->confirmations.constFirst(), QStringLiteral("Save changes to Untitled?"));
    }
    QCOMPARE(QFile::exists(path), fileWritten);
    if (closes) {
      QTRY_VERIFY(Reports().isEmpty());
      QTRY_VERIFY(alive.isNull());
    } else {
      QCoreApplication::processEvents();
      QCOMPARE(Reports().size(), 1);
      QVERIFY(form->isVisible());
      QVERIFY(form->reportText->document()->isModified());
    }
  }

  void failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folderInPlace");
    QTest::addColumn<int>("sizeLimit");  // bytes a file may grow to; 0: no limit
    QTest::addColumn<QString>("error");
    QTest::newRow("folder missing") << QStringLiteral("missing/horn.txt") << false << 0
                                    << QStringLiteral("Cannot create file %1");
    QTest::newRow("a folder in the file's place")
        << QStringLiteral("horn.txt") << true << 0 << QStringLiteral("Cannot create file %1");
    QTest::newRow("disk full while writing")
        << QStringLiteral("horn.txt") << false << 100 << QStringLiteral("Failed to Save Stream");
  }

  void failedSaveKeepsTheOldFile() {
    QFETCH(QString, name);
    QFETCH(bool, folderInPlace);
    QFETCH(int, sizeLimit);
    QFETCH(QString, error);
    const QString path = PathInFolder(name);
    const QByteArray old = "an earlier report\r\n";
    if (folderInPlace) {
      QVERIFY(QDir(folder_->path()).mkdir(name));
    } else if (QFileInfo(path).dir().exists()) {
      WriteFile(path, old);
    }
    const QStringList before = QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    TTextForm* form = SmallReport();
    QVERIFY(form);
    prompt_->saveAnswers = {path};
    {
      std::unique_ptr<FileSizeLimit> limit;
      if (sizeLimit > 0) limit = std::make_unique<FileSizeLimit>(static_cast<rlim_t>(sizeLimit));
      form->Save1Click();
    }
    QCOMPARE(prompt_->errors, QStringList{error.contains(QStringLiteral("%1")) ? error.arg(path) : error});
    QVERIFY(form->reportText->document()->isModified());
    // Save as went through: name and caption follow the chosen file.
    QCOMPARE(form->FileName(), path);
    QCOMPARE(form->windowTitle(), QStringLiteral("horn.txt"));
    // The old file is untouched and no temporary file is left behind.
    QCOMPARE(QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (!folderInPlace && QFileInfo::exists(path)) QCOMPARE(ReadFile(path), old);

    // A failed save inside the close question keeps the window.
    prompt_->confirmAnswers = {Prompt::Answer::Yes};
    {
      std::unique_ptr<FileSizeLimit> limit;
      if (sizeLimit > 0) limit = std::make_unique<FileSizeLimit>(static_cast<rlim_t>(sizeLimit));
      form->Close1Click();
    }
    QCoreApplication::processEvents();
    QCOMPARE(Reports().size(), 1);
    QCOMPARE(prompt_->errors.size(), 2);
  }

  void editMenuEnablement_data() {
    QTest::addColumn<bool>("selection");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("nothing selected, empty clipboard") << false << QString();
    QTest::newRow("selection, empty clipboard") << true << QString();
    QTest::newRow("nothing selected, text on the clipboard") << false << QStringLiteral("x");
    QTest::newRow("selection and text") << true << QStringLiteral("x");
  }

  void editMenuEnablement() {
    QFETCH(bool, selection);
    QFETCH(QString, clipboard);
    TTextForm* form = SmallReport();
    QVERIFY(form);
    if (clipboard.isEmpty()) {
      QGuiApplication::clipboard()->clear();
    } else {
      QGuiApplication::clipboard()->setText(clipboard);
    }
    QTextCursor cursor = form->reportText->textCursor();
    cursor.setPosition(0);
    if (selection) cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 3);
    form->reportText->setTextCursor(cursor);
    // Opening the menu sets the items, whatever they showed before.
    for (QAction* item : {form->Cut1, form->Copy1, form->Paste1}) item->setEnabled(!selection);
    emit form->Edit1->aboutToShow();
    QCOMPARE(form->Cut1->isEnabled(), selection);
    QCOMPARE(form->Copy1->isEnabled(), selection);
    QCOMPARE(form->Paste1->isEnabled(), !clipboard.isEmpty());
    QVERIFY(form->Undo1->isEnabled());
    QVERIFY(form->Selectall1->isEnabled());
  }

  void printWritesEveryPage() {
    TTextForm* form =
        CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T1);
    QVERIFY(form);
    const QString pdf = PathInFolder(QStringLiteral("report.pdf"));
    prompt_->printAnswers = {true};
    prompt_->configurePrinter = [&pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
    };
    form->Print1Click();
    QPrinter& printer = TTextForm::SharedPrinter();
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal lineHeight = QFontMetricsF(QFont(form->reportText->font(), &printer)).height();
    printer.setOutputFileName(QString());
    QCOMPARE(prompt_->printDialogs, 1);
    QVERIFY(prompt_->errors.isEmpty());
    QCOMPARE(printer.docName(), QStringLiteral("Untitled"));

    // Every report line fits the width, so the pages hold whole pagefuls of lines.
    const int lines = form->reportText->document()->blockCount() - 1;
    const int perPage = static_cast<int>(area.height() / lineHeight);
    const int expected = (lines + perPage - 1) / perPage;
    const QByteArray written = ReadFile(pdf);
    QVERIFY(written.startsWith("%PDF"));
    const int pages = PdfPageCount(written);
    QVERIFY2(pages >= expected && pages <= expected + 1,
             qPrintable(QStringLiteral("%1 pages for %2 lines").arg(pages).arg(lines)));
    QVERIFY(written.size() > pages * 2000);

    // A cancelled print dialog prints nothing.
    QFile::remove(pdf);
    prompt_->printAnswers = {false};
    form->Print1Click();
    QVERIFY(!QFile::exists(pdf));
  }

  // The real dialogs: paper and orientation chosen in Printer setup reach the
  // pages of a later print; a PDF file is offered no copies, which it would not
  // get, and no print offers a page range or a reversed order, which it would not get.
  void printerSetupReachesLaterPrintsAndPdfGetsNoCopies() {
    TTextForm* form =
        CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T1);
    QVERIFY(form);
    QPrinter& printer = TTextForm::SharedPrinter();
    const PrinterChoice before = CurrentChoice(printer);
    SetPrompts(nullptr);
    bool setupShown = false;
    QTimer::singleShot(0, [&setupShown] {
      auto* dialog = dynamic_cast<PrinterSetupDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      setupShown = true;
      auto* papers = dialog->findChild<QComboBox*>(QStringLiteral("Papers"));
      papers->setCurrentIndex(papers->findText(QPageSize(QPageSize::A3).name()));
      dialog->findChild<QRadioButton*>(QStringLiteral("Landscape"))->click();
      dialog->findChild<QPushButton*>(QStringLiteral("Ok"))->click();
    });
    form->Printersetup1Click();
    QVERIFY(setupShown);

    bool copiesOffered = true;
    QStringList unhonoured;
    QTimer::singleShot(0, [&copiesOffered, &unhonoured] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("copies"));
      copiesOffered = copies && copies->isEnabled();
      // Shown on its page of the options, which are folded away at first.
      const auto offered = [](const QWidget* control) {
        for (; control && control->objectName() != QStringLiteral("copiesTab");
             control = control->parentWidget()) {
          if (control->isHidden()) return false;
        }
        return control != nullptr;
      };
      for (const char* name : {"printRange", "from", "to", "reverse"}) {
        if (offered(dialog->findChild<QWidget*>(QLatin1String(name))))
          unhonoured << QLatin1String(name);
      }
      dialog->reject();
    });
    form->Print1Click();
    SetPrompts(prompt_.get());
    QVERIFY(!copiesOffered);
    QCOMPARE(unhonoured, QStringList{});

    const QString pdf = PathInFolder(QStringLiteral("setup.pdf"));
    prompt_->printAnswers = {true};
    prompt_->configurePrinter = [&pdf](QPrinter& chosen) { chosen.setOutputFileName(pdf); };
    form->Print1Click();
    printer.setOutputFileName(QString());
    ApplyChoice(printer, before);
    // An A3 page turned: 420 mm wide, 297 mm high (Qt writes whole points).
    const QByteArray written = ReadFile(pdf);
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
            .match(QString::fromLatin1(written));
    QVERIFY(box.hasMatch());
    QVERIFY2(std::abs(box.captured(1).toDouble() - 420.0 * 72.0 / 25.4) < 1.0 &&
                 std::abs(box.captured(2).toDouble() - 297.0 * 72.0 / 25.4) < 1.0,
             qPrintable(box.captured(0)));
  }

  void progressWindow() {
    Twaitform window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Calculation in action"));
    QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window.tick->value(), 100);
    for (const auto& [position, shown] : {std::pair{0, 0}, {37, 37}, {139, 100}, {100, 100}}) {
      window.SetPosition(position);
      QCOMPARE(window.tick->value(), shown);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QVERIFY(!window.AbortRequested());
    window.Button1->click();
    QVERIFY(window.AbortRequested());
    QVERIFY(!window.isVisible());
    window.ClearAbort();
    QVERIFY(!window.AbortRequested());
  }

  // Minimised by the window manager, the progress window comes back at the next
  // calculation, where its Abort can be reached.
  void progressWindowReturnsAfterMinimising() {
    waitform->showMinimized();
    bool shownNormal = false;
    // The generator shows the window, then pumps events: look at it there.
    QMetaObject::invokeMethod(
        waitform,
        [&shownNormal] { shownNormal = waitform->isVisible() && !waitform->isMinimized(); },
        Qt::QueuedConnection);
    QVERIFY(CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T1));
    QVERIFY(shownNormal);
    DiscardReports();
  }

  void documentSink() {
    {
      QPlainTextEdit editor;
      ReportDocumentSink sink(editor);
      sink.Finish();
      QVERIFY(!editor.document()->isModified());  // nothing written, nothing changed
    }
    // A short report, and one whose early lines are in the document already
    // when they are replaced.
    for (const int count : {4, 9000}) {
      QPlainTextEdit editor;
      ReportDocumentSink sink(editor);
      QStringList expected;
      for (int i = 0; i < count; ++i) {
        const std::string line = i == 2 ? std::string() : "line " + std::to_string(i);
        sink.AppendLine(line);
        expected << QString::fromStdString(line);
      }
      sink.ReplaceLine(static_cast<std::size_t>(count), "none");  // names no line
      sink.ReplaceLine(2, "a longer third line");
      sink.ReplaceLine(1, "2");
      sink.ReplaceLine(static_cast<std::size_t>(count) - 1, "last");
      sink.ReplaceLine(2, "");
      sink.ReplaceLine(1, "second");
      expected[1] = QStringLiteral("second");
      expected.last() = QStringLiteral("last");
      QCOMPARE(sink.LineCount(), static_cast<std::size_t>(count));
      sink.Finish();
      sink.AppendLine("after the end");
      QCOMPARE(editor.toPlainText(), expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
      QVERIFY(editor.document()->isModified());
      QCOMPARE(editor.textCursor().blockNumber(), 1);
      QCOMPARE(editor.textCursor().positionInBlock(), 6);
      QVERIFY(!editor.document()->isUndoAvailable());
    }
  }

  void creationStamp_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("clock");
    // Swedish writes year-month-day and a 24-hour clock; American English a
    // short month/day/year and a 12-hour clock with AM and PM.
    QTest::newRow("sv, morning") << "sv_SE" << QTime(4, 30, 59) << "2026-12-07" << "04:30";
    QTest::newRow("sv, midnight") << "sv_SE" << QTime(0, 0) << "2026-12-07" << "00:00";
    QTest::newRow("de, afternoon") << "de_DE" << QTime(16, 5) << "07.12.26" << "16:05";
    QTest::newRow("en_US, afternoon") << "en_US" << QTime(16, 5) << "12/7/26" << "4:05 PM";
  }

  void creationStamp() {
    QFETCH(QString, locale);
    QFETCH(QTime, time);
    QFETCH(QString, date);
    QFETCH(QString, clock);
    const auto pieces =
        LocaleStampProvider::Format(QDateTime(QDate(2026, 12, 7), time), QLocale(locale));
    QCOMPARE(QString::fromStdString(pieces.date), date);
    QCOMPARE(QString::fromStdString(pieces.time), clock);
  }
};

QTEST_MAIN(ReportWindowTests)
#include "report_window_tests.moc"
