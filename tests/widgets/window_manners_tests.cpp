// How the windows behave under a window manager: access keys, keys that act
// on their own window, modal boxes that stay findable, where new windows go.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <utility>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/about_form.h"
#include "app/help_forms.h"
#include "app/main_form.h"
#include "app/startup.h"
#include "report_window/acoustic_window.h"
#include "report_window/driver_window.h"
#include "report_window/build_kit_dialog.h"
#include "report_window/export_dialog.h"
#include "report_window/profile_window.h"
#include "long_lived_forms.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_rec_form.h"
#include "settings/sett_circ_form.h"
#include "ui/locale_separators.h"

namespace {

// The letter after a single '&', lower case; none for a text without one.
QChar AccessKey(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return text[i + 1].toLower();
  }
  return {};
}

// The texts that share an access key with an earlier one.
QStringList Collisions(const QStringList& texts) {
  QHash<QChar, QString> taken;
  QStringList clashes;
  for (const QString& text : texts) {
    const QChar key = AccessKey(text);
    if (key.isNull()) continue;
    if (taken.contains(key)) clashes << taken[key] + " / " + text;
    taken.insert(key, text);
  }
  return clashes;
}

QStringList MenuTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* item : menu->actions()) texts << item->text();
  return texts;
}

// Every caption in a dialog that takes an access key: buttons, group titles
// and the labels that lead to a field.
QStringList DialogTexts(const QWidget* dialog) {
  QStringList texts;
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
    if (!button->isHidden()) texts << button->text();
  for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) texts << group->title();
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (label->buddy()) texts << label->text();
  return texts;
}

TTextForm* RectangularReport() {
  SettRecForm->show();
  const qsizetype before = Reports().size();
  SettRecForm->Calculate->click();
  return NewestReport(before);
}

}  // namespace

class WindowMannersTests : public QObject {
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
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    prompt_.reset();
  }

  void accessKeysAreUniquePerMenuAndDialog() {
    TTextForm* report = RectangularReport();
    QVERIFY(report);
    report->Exportprofile1Click();
    report->Printtemplate1Click();
    report->Acousticloading1Click();
    report->Showprofile1Click();
    report->Driverresponse1->trigger();
    const QList<const QMenu*> menus{Mainform->FileMenu, Mainform->SettingsMenu, Mainform->WindowsMenu,
                                    Mainform->HelpMenu, report->File1,       report->Edit1,
                                    Help1form->File1};
    for (const QMenu* menu : menus)
      QVERIFY2(Collisions(MenuTexts(menu)).isEmpty(),
               qPrintable(menu->title() + ": " + Collisions(MenuTexts(menu)).join(", ")));
    const QList<const QWidget*> dialogs{SettCircForm,           SettRecForm,
                                        report->ExportDialog(), report->TemplateDialog(),
                                        report->AcousticWindow(), report->ProfileWindow(),
                                        report->DriverWindow()};
    for (const QWidget* dialog : dialogs)
      QVERIFY2(Collisions(DialogTexts(dialog)).isEmpty(),
               qPrintable(dialog->objectName() + ": " + Collisions(DialogTexts(dialog)).join(", ")));
    report->ExportDialog()->reject();
    report->TemplateDialog()->reject();
  }

  // The about box disables the other windows: minimised, it would leave
  // nothing to click, so it comes straight back with the keyboard.
  void minimisedAboutBoxComesBack() {
    Mainform->AboutAction->trigger();
    QVERIFY(QTest::qWaitForWindowActive(AboutForm));
    AboutForm->showMinimized();
    QTRY_VERIFY(!AboutForm->isMinimized());
    QTRY_COMPARE(QGuiApplication::focusWindow(), AboutForm->windowHandle());
    AboutForm->OKBtn->click();
    QVERIFY(Mainform->isEnabled());
  }

  // Ctrl+S right after Calculate: the settings dialog, which stays on top, is
  // in front; the save dialog belongs to it, so that it opens above it.
  void dialogsOpenAboveTheSettingsDialog() {
    TTextForm* report = CalculateCircular(QStringLiteral("300"), QStringLiteral("10"),
                                          SettCircForm->T100);
    QVERIFY(report);
    SettCircForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(SettCircForm));
    SetPrompts(nullptr);
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&owner] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog) return;
      owner = dialog->parentWidget();
      dialog->close();
    });
    report->Save1Click();
    SetPrompts(prompt_.get());
    QCOMPARE(owner, SettCircForm);
  }

  void newReportsNeverCoverAnotherExactly_data() {
    QTest::addColumn<int>("closed");  // which of three reports closes first; -1 none
    QTest::newRow("none closed") << -1;
    QTest::newRow("first closed") << 0;
    QTest::newRow("middle closed") << 1;
    QTest::newRow("last closed") << 2;
  }

  void newReportsNeverCoverAnotherExactly() {
    QFETCH(int, closed);
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < 3; ++i) {
      TTextForm* report = TTextForm::Open(SettCircForm, ReportSource{});
      QVERIFY(report);
      windows << report->SubWindow();
    }
    if (closed >= 0) {
      windows.takeAt(closed)->close();
      QTRY_COMPARE(Reports().size(), 2);
    }
    TTextForm* added = TTextForm::Open(SettCircForm, ReportSource{});
    QVERIFY(added);
    for (const QMdiSubWindow* other : windows)
      QVERIFY(other->pos() != added->SubWindow()->pos());
  }

  // Typed into the template dialog without leaving the field; "" is no count.
  void templatePagesFollowEachKeystroke_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<bool>("counted");
    QTest::newRow("a step") << "25" << "" << true;
    QTest::newRow("a step of 0") << "0" << "" << false;
    QTest::newRow("a step half typed") << "-" << "" << false;
    QTest::newRow("a length inside the horn") << "25" << "300" << true;
    QTest::newRow("a length of 0") << "25" << "0" << false;
  }

  void templatePagesFollowEachKeystroke() {
    QFETCH(QString, step);
    QFETCH(QString, limit);
    QFETCH(bool, counted);
    TTextForm* report = RectangularReport();
    QVERIFY(report);
    report->Printtemplate1Click();
    TExportForm* dialog = report->TemplateDialog();
    QVERIFY(dialog);
    if (!limit.isEmpty()) dialog->LengthLimit->setChecked(true);
    for (const auto& [field, text] : {std::pair{dialog->Step, step}, {dialog->LimitValue, limit}}) {
      field->clear();
      field->setFocus();
      QTest::keyClicks(field, text);
    }
    const QRegularExpression count(QStringLiteral("^\\d+ pages?, "));
    QVERIFY2(count.match(dialog->Sheets->text()).hasMatch() == counted,
             qPrintable(dialog->Sheets->text()));
    dialog->reject();
  }

  // Build kit holds its own report only: no application- or window-modal
  // box, the main window and the other reports take input, and the report
  // answers again once the dialog closes.
  void buildKitHoldsItsReportOnly() {
    TTextForm* held = RectangularReport();
    TTextForm* other = RectangularReport();
    QVERIFY(held && other);
    SettRecForm->hide();
    held->Buildkit1->trigger();
    const QPointer<TBuildKitForm> dialog = held->BuildKitDialog();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(Mainform->isEnabled() && other->SubWindow()->isEnabled());
    QVERIFY(!held->SubWindow()->isEnabled());
    QVERIFY(!held->File1->menuAction()->isEnabled());
    const QString heldText = held->reportText->toPlainText();
    const QString otherText = other->reportText->toPlainText();
    for (TTextForm* report : {held, other}) {
      report->reportText->moveCursor(QTextCursor::End);
      QTest::keyClicks(report->reportText, QStringLiteral("x"));
    }
    QCOMPARE(held->reportText->toPlainText(), heldText);
    QCOMPARE(other->reportText->toPlainText(), otherText + "x");
    dialog->CloseButton->click();
    QTRY_VERIFY(!dialog);
    QVERIFY(held->SubWindow()->isEnabled());
    QVERIFY(held->File1->menuAction()->isEnabled());
  }

  void buildKitFitsALowScreen_data() {
    QTest::addColumn<bool>("rectangular");  // with the note on STL only
    QTest::newRow("circular") << false;
    QTest::newRow("rectangular") << true;
  }

  // 1600 x 1000 at scale 2 is 800 x 500 device-independent pixels, of which a
  // title bar and a panel take about 60; 1280 x 720 at scale 1 leaves more.
  // The values scroll there, the buttons stay, no field is squeezed.
  void buildKitFitsALowScreen() {
    QFETCH(bool, rectangular);
    TTextForm* report = rectangular ? RectangularReport()
                                    : CalculateCircular(QStringLiteral("300"),
                                                        QStringLiteral("10"), SettCircForm->T100);
    QVERIFY(report);
    report->Buildkit1->trigger();
    TBuildKitForm* dialog = report->BuildKitDialog();
    QVERIFY(dialog);
    const QSize least = dialog->minimumSizeHint();
    QVERIFY2(least.width() <= 800 && least.height() <= 440,
             qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
    dialog->resize(least);
    dialog->layout()->activate();
    for (const QPushButton* button : {dialog->SaveButton, dialog->PrintButton, dialog->CloseButton})
      QVERIFY(dialog->rect().contains(QRect(button->mapTo(dialog, QPoint()), button->size())));
    const int typical = QFontMetrics(dialog->Board->font()).horizontalAdvance(
        QStringLiteral("1234.567"));
    for (const QLineEdit* field : dialog->findChildren<QLineEdit*>())
      QVERIFY2(field->width() > typical, qPrintable(field->objectName()));
    dialog->reject();
  }

  void keysActOnTheirOwnWindow_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<bool>("prints");  // the print dialog opens over that window
    QTest::addColumn<bool>("closes");
    const QKeySequence print(Qt::CTRL | Qt::Key_P), save(Qt::CTRL | Qt::Key_S);
    const QKeySequence escape(Qt::Key_Escape);
    QTest::newRow("help: Ctrl+P prints the help") << "help" << print << true << false;
    QTest::newRow("help: Ctrl+S saves no report") << "help" << save << false << false;
    QTest::newRow("profile: Ctrl+P") << "profile" << print << true << false;
    QTest::newRow("profile: Escape") << "profile" << escape << false << true;
    QTest::newRow("acoustic: Ctrl+P") << "acoustic" << print << true << false;
    QTest::newRow("acoustic: Escape") << "acoustic" << escape << false << true;
  }

  void keysActOnTheirOwnWindow() {
    QFETCH(QString, window);
    QFETCH(QKeySequence, key);
    QFETCH(bool, prints);
    QFETCH(bool, closes);
    TTextForm* report = RectangularReport();
    QVERIFY(report);
    report->reportText->document()->setModified(true);  // Ctrl+S would save it at once
    QWidget* target = Help1form;
    if (window == "profile") {
      report->Showprofile1Click();
      target = report->ProfileWindow();
    } else if (window == "acoustic") {
      report->Acousticloading1Click();
      target = report->AcousticWindow();
    } else {
      Help1form->show();
    }
    QVERIFY(target);
    const QPointer<QWidget> alive(target);
    target->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(target));
    prompt_->printAnswers = {false};
    QTest::keySequence(target, key);
    QCOMPARE(prompt_->printParents, prints ? QList<QWidget*>{target} : QList<QWidget*>{});
    QVERIFY(prompt_->savePresets.isEmpty());
    QCOMPARE(!alive || !alive->isVisible(), closes);
    Help1form->hide();
  }
};

QTEST_MAIN(WindowMannersTests)
#include "window_manners_tests.moc"
