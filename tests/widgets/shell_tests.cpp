// Start-up, the main window's menus and commands, Quit, and the errors that
// reach the event loop.
#include <QAction>
#include <QCloseEvent>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

#include "app/about_form.h"
#include "app/help_forms.h"
#include "app/main_form.h"
#include "app/mdi_arrange.h"
#include "app/startup.h"
#include "app/vortalis_application.h"
#include "long_lived_forms.h"
#include "report_window/text_form.h"
#include "report_window/waitform.h"
#include "scripted_prompt.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "ui/locale_separators.h"

using namespace vortalis::ui;
using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

namespace {

// The long-lived windows by the names of their references.
QHash<const QObject*, QString> ReferenceNames() {
  return {{Mainform, "Mainform"},   {SettCircForm, "SettCircForm"}, {AboutForm, "AboutForm"},
          {waitform, "waitform"},   {SettRecForm, "SettRecForm"},   {Help1form, "Help1form"},
          {Help3Form, "Help3Form"}, {help2form, "help2form"},       {Help5form, "Help5form"}};
}

// Records, in order, which watched windows were hidden, shown, disabled or enabled.
class WindowLog : public QObject {
 public:
  QStringList entries;

  void Watch(QWidget* window) {
    names_[window] = ReferenceNames().value(window);
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QString name = names_.value(watched);
    switch (event->type()) {
      case QEvent::Hide:
        entries << "hide " + name;
        break;
      case QEvent::Show:
        entries << "show " + name;
        break;
      case QEvent::EnabledChange:
        entries << (static_cast<QWidget*>(watched)->isEnabled() ? "enable " : "disable ") + name;
        break;
      default:
        break;
    }
    return false;
  }

 private:
  QHash<QObject*, QString> names_;
};

// A report window stand-in that answers the close question as told and notes
// that it was asked.
class QuestionedReport : public QWidget {
 public:
  enum class Answer { Agree, Refuse, Fail };

  QuestionedReport(const QString& name, Answer answer, QStringList* asked)
      : answer(answer), asked_(asked) {
    setWindowTitle(name);
  }

  Answer answer;

 protected:
  void closeEvent(QCloseEvent* event) override {
    *asked_ << windowTitle();
    switch (answer) {
      case Answer::Agree:
        event->accept();
        break;
      case Answer::Refuse:
        event->ignore();
        break;
      case Answer::Fail:
        throw std::runtime_error("Cannot create file " + windowTitle().toStdString());
    }
  }

 private:
  QStringList* asked_;
};

QMdiSubWindow* AddReport(QWidget* report) {
  QMdiSubWindow* window = Mainform->mdiArea->addSubWindow(report);
  window->show();
  return window;
}

QStringList MenuBarTitles() {
  QStringList titles;
  for (const QAction* menu : Mainform->MenuBar->actions()) titles << menu->text();
  return titles;
}

// The entries that the Windows menu lists after its own three items.
QList<QAction*> WindowListEntries() {
  emit Mainform->WindowsMenu->aboutToShow();
  // The report windows follow the separator after the fixed items.
  QList<QAction*> entries;
  bool listed = false;
  for (QAction* item : Mainform->WindowsMenu->actions()) {
    if (item->isSeparator()) {
      listed = true;
    } else if (listed) {
      entries << item;
    }
  }
  return entries;
}

void ActivateAndWait(QWidget* window) {
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
}

}  // namespace

class ShellTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<LongLivedForms> forms_;

  void StartUp() {
    forms_ = std::make_unique<LongLivedForms>();
    Mainform->show();
    QVERIFY(QTest::qWaitForWindowExposed(Mainform));
  }

 private slots:
  void init() {
    SetSeparatorsForTesting({".", ","});
    prompt_ = std::make_unique<ScriptedPrompt>();
  }

  void cleanup() {
    forms_.reset();
    prompt_.reset();
  }

  void startupShowsOnlyMainWindowAndCircularDialog() {
    forms_ = std::make_unique<LongLivedForms>();
    const auto names = ReferenceNames();
    QCOMPARE(names.size(), 9);  // every reference set, each to its own window
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      QVERIFY2(!window->isVisible(), qPrintable(names.value(window) + " is visible"));
    }

    Mainform->show();
    QStringList visible;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible()) visible << names.value(window, window->metaObject()->className());
    }
    visible.sort();
    QCOMPARE(visible, QStringList({"Mainform", "SettCircForm"}));
    QCOMPARE(Mainform->pos(), QPoint(0, 0));
    QVERIFY(prompt_->messages.isEmpty());
  }

  void startupWait_data() {
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("step");
    QTest::addColumn<quint32>("waited");  // last reading minus the first
    QTest::newRow("on a whole second") << 5000u << 1u << 3000u;
    QTest::newRow("just before a whole second") << 5999u << 1u << 2001u;
    QTest::newRow("within a second") << 123456u << 1u << 2544u;
    QTest::newRow("counter wraps during the wait") << 4294966795u << 1u << 2205u;
    QTest::newRow("coarse counter") << 5500u << 16u << 2512u;
  }

  void startupWait() {
    QFETCH(quint32, first);
    QFETCH(quint32, step);
    QFETCH(quint32, waited);
    std::uint32_t now = first;
    std::uint32_t last = first;
    int readings = 0;
    const TickCounter ticks = [&] {
      // A wait that misses its end would spin for good; stop it instead.
      if (++readings > 1000000) throw std::runtime_error("the start-up wait does not end");
      last = now;
      now += step;
      return last;
    };
    TMainform form;
    try {
      form.FormCreate(ticks);
    } catch (const std::runtime_error& error) {
      QFAIL(error.what());
    }
    QCOMPARE(static_cast<quint32>(last - first), waited);
    QCOMPARE(form.pos(), QPoint(0, 0));
  }

  void menuItems_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");  // name=caption=shortcut, or "-"
    QTest::newRow("File") << "&File"
                          << QStringList{"OpenDesign1=&Open design...=Ctrl+O",
                                         "=&Recent designs=",
                                         "SaveDesign1=Save &design=",
                                         "SaveDesignAs1=Save design as...=",
                                         "-",
                                         "Exit1=&Quit=Ctrl+Q"};
    QTest::newRow("Settings") << "&Settings"
                              << QStringList{"Circular=&Circular=F9", "Rectangular=&Rectangular=F10"};
    QTest::newRow("Windows") << "&Windows"
                             << QStringList{"Tile1=&Tile=", "Cascade1=&Cascade=",
                                            "Arrange1=&Arrange Icons="};
    QTest::newRow("Help") << "&Help"
                          << QStringList{"Help2=&Vortalis Help ...=",
                                         "Tractrixinformation1=&The Tractrix Horn ...=",
                                         "x1=&Design considerations ...=",
                                         "-",
                                         "Legal1=Legal information...=",
                                         "-",
                                         "About1=&About...="};
  }

  void menuItems() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    StartUp();
    QCOMPARE(MenuBarTitles(), QStringList({"&File", "&Settings", "&Windows", "&Help"}));
    const QMenu* found = nullptr;
    for (const QAction* title : Mainform->MenuBar->actions()) {
      if (title->text() == menu) found = title->menu();
    }
    QVERIFY(found);
    QStringList actual;
    for (const QAction* item : found->actions()) {
      if (!item->isCheckable()) {
        actual << (item->isSeparator() ? QStringLiteral("-")
                                       : item->objectName() + "=" + item->text() + "=" +
                                             item->shortcut().toString());
      }
    }
    QCOMPARE(actual, items);
  }

  void settingsKeysSwitchDialogs() {
    StartUp();
    ActivateAndWait(SettCircForm);
    // F9 with the circular dialog already up only keeps it in front.
    QTest::keyClick(SettCircForm, Qt::Key_F9);
    QVERIFY(SettCircForm->isVisible());
    QVERIFY(!SettRecForm->isVisible());
    QTest::keyClick(SettCircForm, Qt::Key_F10);
    QVERIFY(!SettCircForm->isVisible());
    QVERIFY(SettRecForm->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(SettRecForm));
    QTest::keyClick(SettRecForm, Qt::Key_F9);
    QVERIFY(SettCircForm->isVisible());
    QVERIFY(!SettRecForm->isVisible());
  }

  void helpCommands_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("hides");
    QTest::addColumn<QString>("shows");
    QTest::newRow("Vortalis Help") << "Help2"
                                   << QStringList{"Help3Form", "help2form", "Help5form"}
                                   << "Help1form";
    QTest::newRow("The Tractrix Horn") << "Tractrixinformation1"
                                       << QStringList{"Help1form", "Help3Form", "Help5form"}
                                       << "help2form";
    QTest::newRow("Design considerations") << "x1"
                                           << QStringList{"Help1form", "help2form", "Help5form"}
                                           << "Help3Form";
    QTest::newRow("Legal information") << "Legal1"
                                       << QStringList{"Help1form", "help2form", "Help3Form"}
                                       << "Help5form";
  }

  void helpCommands() {
    QFETCH(QString, command);
    QFETCH(QStringList, hides);
    QFETCH(QString, shows);
    StartUp();
    const QList<QWidget*> windows{Help1form, help2form, Help3Form, Help5form};
    QAction* item = Mainform->findChild<QAction*>(command);
    QVERIFY(item);

    WindowLog log;
    for (QWidget* window : windows) log.Watch(window);
    item->trigger();
    QCOMPARE(log.entries, QStringList{"show " + shows});

    // Chosen again with all four open: the other three go, in order, and
    // the chosen one, already open, only comes to the front.
    for (QWidget* window : windows) window->show();
    log.entries.clear();
    item->trigger();
    QStringList expected;
    for (const QString& name : hides) expected << "hide " + name;
    QCOMPARE(log.entries, expected);
    for (const QWidget* window : windows) {
      QCOMPARE(window->isVisible(), ReferenceNames().value(window) == shows);
    }
  }

  void aboutDisablesTheOtherWindowsInOrder() {
    StartUp();
    WindowLog log;
    for (QWidget* window : {static_cast<QWidget*>(Mainform), static_cast<QWidget*>(SettRecForm),
                            static_cast<QWidget*>(SettCircForm), static_cast<QWidget*>(Help1form),
                            static_cast<QWidget*>(help2form), static_cast<QWidget*>(Help3Form),
                            static_cast<QWidget*>(Help5form)}) {
      log.Watch(window);
    }
    Mainform->AboutAction->trigger();
    QVERIFY(AboutForm->isVisible());
    QVERIFY(AboutForm->isEnabled());
    QCOMPARE(log.entries,
             QStringList({"disable Mainform", "disable SettRecForm", "disable SettCircForm",
                          "disable Help1form", "disable help2form", "disable Help3Form",
                          "disable Help5form"}));
    // With the main window disabled neither its menus nor its keys answer.
    QVERIFY(!Mainform->MenuBar->isEnabled());
    SettCircForm->hide();
    ActivateAndWait(AboutForm);
    QTest::keyClick(AboutForm, Qt::Key_F9);
    QVERIFY(!SettCircForm->isVisible());
  }

  void reportMenusTakeThePlaceOfFile() {
    StartUp();
    TTextForm* report = TTextForm::Open(SettCircForm, ReportSource{});  // no generator
    QVERIFY(report);
    QTRY_COMPARE(Mainform->ActiveReport(), report);
    QCOMPARE(MenuBarTitles(), QStringList({"&File", "&Edit", "&Settings", "&Windows", "&Help"}));
    QCOMPARE(Mainform->MenuBar->actions().constFirst(), report->File1->menuAction());

    // Another window in front keeps the report's menus while it is the current child.
    ActivateAndWait(SettCircForm);
    QCOMPARE(Mainform->MenuBar->actions().constFirst(), report->File1->menuAction());

    report->reportText->document()->setModified(false);
    report->SubWindow()->close();
    QTRY_COMPARE(MenuBarTitles(), QStringList({"&File", "&Settings", "&Windows", "&Help"}));
    QCOMPARE(Mainform->MenuBar->actions().constFirst(), Mainform->FileMenu->menuAction());
  }

  void windowsMenuListsReportWindows() {
    StartUp();
    QCOMPARE(WindowListEntries().size(), 0);
    QStringList asked;
    QMdiSubWindow* first = AddReport(
        new QuestionedReport("Untiteld", QuestionedReport::Answer::Agree, &asked));
    QMdiSubWindow* second =
        AddReport(new QuestionedReport("a&b.txt", QuestionedReport::Answer::Agree, &asked));
    Mainform->mdiArea->setActiveSubWindow(first);

    QList<QAction*> entries = WindowListEntries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->text(), QStringLiteral("&1 Untiteld"));
    QCOMPARE(entries[1]->text(), QStringLiteral("&2 a&&b.txt"));
    QVERIFY(entries[0]->isChecked());
    // No empty check box before an inactive window.
    QVERIFY(!entries[1]->isCheckable());

    entries[1]->trigger();
    QCOMPARE(Mainform->mdiArea->currentSubWindow(), second);
    entries = WindowListEntries();
    QVERIFY(!entries[0]->isChecked());
    QVERIFY(entries[1]->isChecked());
  }

  void horizontalTiles_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<QRect>>("tiles");
    QTest::newRow("one fills the area") << 1 << QList<QRect>{{0, 0, 600, 400}};
    QTest::newRow("two stacked") << 2 << QList<QRect>{{0, 0, 600, 200}, {0, 200, 600, 200}};
    QTest::newRow("three stacked")
        << 3 << QList<QRect>{{0, 0, 600, 133}, {0, 133, 600, 133}, {0, 266, 600, 133}};
    QTest::newRow("four in two columns")
        << 4
        << QList<QRect>{{0, 0, 300, 200}, {0, 200, 300, 200}, {300, 0, 300, 200},
                        {300, 200, 300, 200}};
    QTest::newRow("five: the last column takes three")
        << 5
        << QList<QRect>{{0, 0, 300, 200},
                        {0, 200, 300, 200},
                        {300, 0, 300, 133},
                        {300, 133, 300, 133},
                        {300, 266, 300, 133}};
  }

  void horizontalTiles() {
    QFETCH(int, count);
    QFETCH(QList<QRect>, tiles);
    const std::vector<QRect> actual = HorizontalTiles(count, QRect(0, 0, 600, 400));
    QCOMPARE(QList<QRect>(actual.begin(), actual.end()), tiles);
  }

  void iconsLineUpFromTheBottomLeft() {
    const std::vector<QPoint> places =
        IconPositions({{100, 20}, {100, 20}, {100, 24}}, QRect(0, 0, 250, 400));
    QCOMPARE(QList<QPoint>(places.begin(), places.end()),
             QList<QPoint>({{0, 380}, {100, 380}, {0, 356}}));
  }

  void tileStacksTheReportWindows() {
    StartUp();
    QStringList asked;
    QMdiSubWindow* first =
        AddReport(new QuestionedReport("one", QuestionedReport::Answer::Agree, &asked));
    QMdiSubWindow* second =
        AddReport(new QuestionedReport("two", QuestionedReport::Answer::Agree, &asked));
    Mainform->TileAction->trigger();
    const QRect area = Mainform->mdiArea->viewport()->rect();
    QCOMPARE(second->geometry().top(), 0);  // the front window first
    QCOMPARE(first->geometry().top(), area.height() / 2);
    QCOMPARE(first->geometry().width(), area.width());
  }

  void quitAsksEachReportInTurn_data() {
    using Answer = QuestionedReport::Answer;
    QTest::addColumn<QList<Answer>>("answers");  // in creation order; the last is in front
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no report window") << QList<Answer>{} << QStringList{} << true;
    QTest::newRow("all agree") << QList<Answer>{Answer::Agree, Answer::Agree}
                               << QStringList{"report 2", "report 1"} << true;
    QTest::newRow("the second asked refuses")
        << QList<Answer>{Answer::Agree, Answer::Refuse, Answer::Agree}
        << QStringList{"report 3", "report 2"} << false;
    QTest::newRow("a failing question counts as a refusal")
        << QList<Answer>{Answer::Agree, Answer::Fail} << QStringList{"report 2"} << false;
  }

  void quitAsksEachReportInTurn() {
    using Answer = QuestionedReport::Answer;
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, asked);
    QFETCH(bool, closes);
    StartUp();
    QStringList actual;
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < answers.size(); ++i) {
      windows << AddReport(new QuestionedReport(QStringLiteral("report %1").arg(i + 1),
                                                answers[i], &actual));
    }
    QSignalSpy closed(Mainform, &TMainform::Closed);
    Mainform->QuitAction->trigger();
    QCOMPARE(actual, asked);
    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(Mainform->isVisible(), !closes);
    // Nothing closes by the question alone, not even the windows that agreed.
    QCOMPARE(Mainform->mdiArea->subWindowList().size(), answers.size());
    QCOMPARE(prompt_->errors.size(), answers.contains(Answer::Fail) ? 1 : 0);
    if (closes) return;

    // Once every window agrees, Quit goes through.
    for (QMdiSubWindow* window : windows) {
      static_cast<QuestionedReport*>(window->widget())->answer = Answer::Agree;
    }
    Mainform->QuitAction->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!Mainform->isVisible());
  }

  void quitDuringACalculationWaitsForIt() {
    StartUp();
    QSignalSpy closed(Mainform, &TMainform::Closed);
    waitform->SetCalculating(true);
    Mainform->QuitClick();
    QVERIFY(waitform->AbortRequested());
    QVERIFY(Mainform->isVisible());
    // The generator pumps events between its rows; the close keeps waiting.
    QCoreApplication::processEvents();
    QCOMPARE(closed.count(), 0);
    waitform->SetCalculating(false);
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!Mainform->isVisible());
  }

  void errorLeavingAHandlerIsShownAndTheProgramGoesOn_data() {
    QTest::addColumn<bool>("standard");
    QTest::addColumn<QString>("shown");
    QTest::newRow("standard exception") << true << "Cannot create file C:\\data\\horn.txt";
    QTest::newRow("anything else") << false << "Unknown error";
  }

  void errorLeavingAHandlerIsShownAndTheProgramGoesOn() {
    QFETCH(bool, standard);
    QFETCH(QString, shown);
    QWidget window;
    auto* failing = new QPushButton(QStringLiteral("fail"), &window);
    auto* working = new QPushButton(QStringLiteral("work"), &window);
    working->move(0, 40);
    int worked = 0;
    connect(failing, &QPushButton::clicked, [standard] {
      if (standard) throw std::runtime_error("Cannot create file C:\\data\\horn.txt");
      throw 42;
    });
    connect(working, &QPushButton::clicked, [&worked] { ++worked; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(failing, Qt::LeftButton);
    QTest::mouseClick(working, Qt::LeftButton);
    QTest::mouseClick(failing, Qt::LeftButton);
    QCOMPARE(prompt_->errors, QStringList({shown, shown}));
    QCOMPARE(worked, 1);
  }

  void localeChangeRereadsTheSeparators() {
    SetSeparatorsForTesting({"#", "'"});
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &change);
    QCOMPARE(QString::fromStdString(CurrentSeparators().decimal),
             QLocale::system().decimalPoint());
  }

  void realMessageBoxes_data() {
    QTest::addColumn<bool>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("input message") << false << "Frequency value too small!  (Fc >= 1 Hz)"
                                   << "Frequency value too small!  (Fc >= 1 Hz)";
    QTest::newRow("error") << true << "Cannot create file x.txt" << "Cannot create file x.txt.";
  }

  void realMessageBoxes() {
    QFETCH(bool, error);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    prompt_.reset();  // the real boxes

    QString title, boxText;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QStringList buttons;
    bool above = false;
    int polls = 0;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) {
        // Give up rather than hang if no box ever shows.
        if (++polls > 500) closer.stop();
        return;
      }
      closer.stop();
      title = box->windowTitle();
      boxText = box->text();
      icon = box->icon();
      above = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      for (const QAbstractButton* button : box->buttons()) buttons << button->text();
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
        ok->click();
      } else {
        box->reject();
      }
    });
    closer.start();
    if (error) {
      Prompts().Error(text);
    } else {
      Prompts().Message(text);
    }
    QCOMPARE(title, QStringLiteral("Vortalis"));
    QCOMPARE(boxText, shown);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QStringList{"OK"});
    // Above the dialogs that stay on top, or it would open hidden behind them.
    QVERIFY(above);
  }
};

int main(int argc, char* argv[]) {
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  VortalisApplication application(argc, argv);
  ShellTests tests;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&tests, argc, argv);
}

#include "shell_tests.moc"
