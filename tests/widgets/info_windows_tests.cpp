// The four information windows and the about box.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/about_form.h"
#include "app/help_forms.h"
#include "app/help_printing.h"
#include "app/help_texts.h"
#include "app/memory_status.h"
#include "scripted_prompt.h"
#include "ui/locale_separators.h"

using namespace vortalis::ui;
using namespace vortalis::app;

namespace {

// Creates the four information windows behind their process-wide references.
struct HelpWindows {
  HelpWindows() {
    Help1form = new THelp1form;
    help2form = new Thelp2form;
    Help3Form = new THelp3Form;
    Help5form = new THelp5form;
  }
  ~HelpWindows() {
    delete Help1form;
    delete help2form;
    delete Help3Form;
    delete Help5form;
    Help1form = nullptr;
    help2form = nullptr;
    Help3Form = nullptr;
    Help5form = nullptr;
  }
  QList<THelpWindow*> All() const { return {Help1form, help2form, Help3Form, Help5form}; }
};

QAction* CloseItem(THelpWindow* window) {
  return window->findChild<QAction*>(window == Help1form ? QStringLiteral("N1")
                                                         : QStringLiteral("Close1"));
}

int PdfPageCount(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString pdf = QString::fromLatin1(file.readAll());
  if (!pdf.startsWith(QLatin1String("%PDF"))) return -1;
  return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// Records the order in which watched widgets become enabled.
class EnableRecorder : public QObject {
 public:
  QStringList order;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange && static_cast<QWidget*>(watched)->isEnabled())
      order << watched->objectName();
    return false;
  }
};

}  // namespace

class InfoWindowsTests : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { RefreshSeparators(); }

  void informationWindowsOpenAgainstTheRightEdgeOnce() {
    HelpWindows windows;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QList<QSize> outerSizes = {{318, 471}, {413, 473}, {424, 352}, {377, 435}};
    const QStringList captions = {"Vortalis Help", "The Tractrix Horn", "Design considerations",
                                  "Legal information"};
    for (int i = 0; i < 4; ++i) {
      THelpWindow* window = windows.All()[i];
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window));
      QCOMPARE(window->windowTitle(), captions[i]);
      QCOMPARE(window->frameGeometry().size(), outerSizes[i]);
      QCOMPARE(window->frameGeometry().right(), screen.right());
      QCOMPARE(window->frameGeometry().top(), screen.top() + 32);
      QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);

      // The user's place and size survive closing and opening again.
      const QRect moved(40 + i, 60, 250, 300);
      window->setGeometry(moved);
      CloseItem(window)->trigger();
      QVERIFY(!window->isVisible());
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window));
      QCOMPARE(window->geometry(), moved);
      window->hide();
    }
  }

  void legalTextIsShownOnceAndAtTheTopAfterReopening() {
    HelpWindows windows;
    Help5form->show();
    QVERIFY(QTest::qWaitForWindowExposed(Help5form));
    QScrollBar* bar = Help5form->helpText->verticalScrollBar();
    QCOMPARE(Help5form->helpText->toPlainText(), LegalText());
    QVERIFY(bar->maximum() > 0);  // else scrolling proves nothing
    Help5form->helpText->moveCursor(QTextCursor::End);
    bar->setValue(bar->maximum());
    Help5form->Close1->trigger();
    Help5form->show();
    QCOMPARE(Help5form->helpText->toPlainText(), LegalText());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(Help5form->helpText->textCursor().position(), 0);
    for (const char* heading : {"TERMS OF USE", "TERMINATION", "DISCLAIMER OF WARRANTY",
                                "LIMITATION OF LIABILITY", "GOVERNING LAW", "SEVERABILITY",
                                "ENTIRE AGREEMENT", "TRADEMARKS", "OWNERSHIP RIGHTS"})
      QCOMPARE(Help5form->helpText->toPlainText().count(QLatin1String(heading)), 1);
  }

  void copyTakesTheSelectionAndNothingWithoutOne() {
    HelpWindows windows;
    Help3Form->show();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("kept"));
    Help3Form->Copy1->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("kept"));

    QTextCursor cursor = Help3Form->helpText->textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    Help3Form->helpText->setTextCursor(cursor);
    Help3Form->Copy1->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("DESIGN"));
    QCOMPARE(Help3Form->Copy1->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
  }

  void printedLinesFollowTheHeadingAndTheScreenLayout_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<QStringList>("heading");
    QTest::newRow("program description") << 0 << QStringList{"", "", "\tVortalis Help", "", ""};
    QTest::newRow("tractrix history") << 1 << QStringList{"", "", "", ""};
    QTest::newRow("design considerations")
        << 2 << QStringList{"", "", "\tVortalis Design considerations", "", ""};
    QTest::newRow("legal information")
        << 3 << QStringList{"", "", "\tVortalis legal information.", "", ""};
  }
  void printedLinesFollowTheHeadingAndTheScreenLayout() {
    QFETCH(int, window);
    QFETCH(QStringList, heading);
    HelpWindows windows;
    THelpWindow* form = windows.All()[window];
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const QString text = form->helpText->toPlainText();
    const int paragraphs = int(text.count(QLatin1Char('\n'))) + 1;

    const QStringList wide = form->PrintedLines();
    QCOMPARE(wide.mid(0, heading.size()), heading);
    const QStringList body = wide.mid(heading.size());
    QVERIFY(!body.isEmpty());
    QVERIFY(body.constLast() != QLatin1String("\t"));
    QString joined;
    for (const QString& line : body) {
      QVERIFY(line.startsWith(QLatin1Char('\t')));
      joined += line.mid(1);
    }
    // Rows of one paragraph join back into it; only the paragraph ends are lost.
    QCOMPARE(joined, QString(text).remove(QLatin1Char('\n')));
    QVERIFY(body.size() > paragraphs);  // the window wraps the long paragraphs

    form->resize(form->width() / 2, form->height());
    QTRY_VERIFY(form->PrintedLines().size() > wide.size());
  }

  void trailingEmptyLineIsNotPrinted() {
    HelpWindows windows;
    Help1form->show();
    Help1form->helpText->setPlainText(QStringLiteral("one\n\ntwo\n"));
    const QStringList body = Help1form->PrintedLines().mid(5);
    QCOMPARE(body, (QStringList{"\tone", "\t", "\ttwo"}));
  }

  void lineLayoutUsesTabStopsWrapsAndStartsPages() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    const QFontMetricsF metrics(font, &printer);
    const qreal tab = 8 * metrics.averageCharWidth();
    const qreal line = metrics.lineSpacing();
    const QSizeF page(20 * tab, 3.5 * line);  // three lines a page

    const QString word = QStringLiteral("horn");
    const QString longLine = QString(word + QLatin1Char(' ')).repeated(60);
    const QList<PrintedText> placed = LayOutPrintedLines(
        {QString(), QStringLiteral("\tthroat\tmouth"), QStringLiteral("a\t\tb"), longLine}, metrics,
        page);

    QCOMPARE(placed[0], (PrintedText{0, 0, 0, QString()}));
    QCOMPARE(placed[1], (PrintedText{0, tab, line, QStringLiteral("throat")}));
    QCOMPARE(placed[2], (PrintedText{0, 2 * tab, line, QStringLiteral("mouth")}));
    QCOMPARE(placed[3], (PrintedText{0, 0, 2 * line, QStringLiteral("a")}));
    QCOMPARE(placed[4], (PrintedText{0, 2 * tab, 2 * line, QStringLiteral("b")}));
    // The long line starts the second page and goes on over rows of full width.
    QString rejoined;
    for (qsizetype i = 5; i < placed.size(); ++i) {
      const PrintedText& piece = placed[i];
      QCOMPARE(piece.x, 0.0);
      QCOMPARE(piece.y, ((i - 5) % 3) * line);
      QCOMPARE(piece.page, 1 + int(i - 5) / 3);
      QVERIFY(metrics.horizontalAdvance(piece.text) <= page.width());
      if (i + 1 < placed.size())  // only the last row has room to spare
        QVERIFY(metrics.horizontalAdvance(piece.text + QLatin1Char('h')) > page.width() * 0.9);
      rejoined += piece.text;
    }
    QVERIFY(placed.size() > 6);
    QCOMPARE(rejoined, longLine);
  }

  void printWritesAPdfWithThePagesOfTheLayout() {
    HelpWindows windows;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (THelpWindow* form : windows.All()) {
      form->show();
      QVERIFY(QTest::qWaitForWindowExposed(form));
      const QString fileName = folder.filePath(form->objectName() + QStringLiteral(".pdf"));
      ScriptedPrompt prompt;
      prompt.configurePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
      };

      prompt.printAnswers = {false};
      form->Print1->trigger();
      QVERIFY(!QFile::exists(fileName));

      prompt.printAnswers = {true};
      form->Print1->trigger();
      QCOMPARE(prompt.printDialogs, 2);
      QVERIFY(prompt.errors.isEmpty());

      QPrinter same(QPrinter::HighResolution);
      prompt.configurePrinter(same);
      QFont font = form->helpText->font();
      font.setFamily(QStringLiteral("Times New Roman"));
      font.setPointSize(12);
      const QList<PrintedText> placed = LayOutPrintedLines(
          form->PrintedLines(), QFontMetricsF(font, &same), QSizeF(same.width(), same.height()));
      QCOMPARE(PdfPageCount(fileName), placed.constLast().page + 1);
      form->hide();
    }
  }

  void aPrinterThatCannotStartIsReportedAndNothingElseChanges() {
    HelpWindows windows;
    help2form->show();
    const QString before = help2form->helpText->toPlainText();
    ScriptedPrompt prompt;
    prompt.printAnswers = {true};
    prompt.configurePrinter = [](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QStringLiteral("/nonexistent-folder/help.pdf"));
    };
    help2form->Print1->trigger();
    QCOMPARE(prompt.errors, QStringList{QStringLiteral("Printer is not available")});
    QCOMPARE(help2form->helpText->toPlainText(), before);
    QVERIFY(help2form->isVisible());
  }

  void memoryTextsFollowTheSeparators_data() {
    QTest::addColumn<unsigned long long>("bytes");
    QTest::addColumn<QString>("thousands");
    QTest::addColumn<QString>("expected");
    QTest::newRow("16 GiB, comma") << 17179869184ULL << "," << "16,777,216 KB";
    QTest::newRow("16 GiB, blank") << 17179869184ULL << " " << "16 777 216 KB";
    QTest::newRow("half a kilobyte rounds up") << 15253ULL * 1024 + 512 << "," << "15,254 KB";
    QTest::newRow("below half rounds down") << 15253ULL * 1024 + 511 << "," << "15,253 KB";
  }
  void memoryTextsFollowTheSeparators() {
    QFETCH(unsigned long long, bytes);
    QFETCH(QString, thousands);
    QFETCH(QString, expected);
    const vortalis::geometry::Separators separators{".", thousands.toStdString()};
    QCOMPARE(QString::fromStdString(PhysicalMemoryText(bytes, separators)), expected);
  }

  void meminfoGivesTotalAndLoad() {
    const auto status = ParseMeminfo(
        "MemTotal:       16777216 kB\nMemFree:         1000000 kB\n"
        "MemAvailable:    4194304 kB\nBuffers:          123456 kB\n");
    QVERIFY(status.has_value());
    QCOMPARE(status->totalPhysicalBytes, 17179869184ULL);
    QCOMPARE(QString::fromStdString(MemoryLoadText(status->memoryLoadPercent)),
             QStringLiteral("75 %"));
    QVERIFY(!ParseMeminfo("MemFree: 10 kB\n").has_value());
    const auto live = ReadMemoryStatus();
    QVERIFY(live.has_value());
    QVERIFY(live->totalPhysicalBytes > 0);
    QVERIFY(live->memoryLoadPercent >= 0 && live->memoryLoadPercent <= 100);
  }

  void aboutBoxReadsFreshFiguresAtEachShowing() {
    SetSeparatorsForTesting({".", ","});
    TAboutForm about;
    QList<MemoryStatus> figures = {{17179869184ULL, 37}, {8589934592ULL, 90}};
    about.readMemory = [&]() -> std::optional<MemoryStatus> { return figures.takeFirst(); };
    QCOMPARE(about.windowTitle(), QStringLiteral("About Vortalis"));
    QVERIFY(!(about.windowFlags() & Qt::WindowCloseButtonHint));

    about.show();
    QCOMPARE(about.PhysMem->text(), QStringLiteral("16,777,216 KB"));
    QCOMPARE(about.FreeRes->text(), QStringLiteral("37 %"));
    QCOMPARE(about.size(), QSize(313, 239));
    QVERIFY(about.OKBtn->isDefault());
    about.OKBtn->click();
    QVERIFY(!about.isVisible());

    SetSeparatorsForTesting({",", " "});
    about.show();
    QCOMPARE(about.PhysMem->text(), QStringLiteral("8 388 608 KB"));
    QCOMPARE(about.FreeRes->text(), QStringLiteral("90 %"));
    about.hide();
  }

  void okEnablesTheWindowsInOrder() {
    HelpWindows windows;
    TAboutForm about;
    about.readMemory = [] { return std::optional<MemoryStatus>(MemoryStatus{1024, 1}); };
    EnableRecorder recorder;
    for (THelpWindow* form : windows.All()) {
      form->setEnabled(false);
      form->installEventFilter(&recorder);
    }
    about.show();
    // The main window and the settings dialogs are not created here; OK skips them.
    QTest::keyClick(&about, Qt::Key_Return);
    QVERIFY(!about.isVisible());
    QCOMPARE(recorder.order, (QStringList{"Help1form", "help2form", "Help3Form", "Help5form"}));

    // Escape must not leave the program disabled behind a hidden box.
    for (THelpWindow* form : windows.All()) form->setEnabled(false);
    recorder.order.clear();
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
    QCOMPARE(recorder.order.size(), 4);
  }
};

QTEST_MAIN(InfoWindowsTests)
#include "info_windows_tests.moc"
