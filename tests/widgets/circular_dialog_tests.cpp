// The circular horn settings dialog: the results after creation, the
// validation order with its messages and focus, unit and size switching,
// remembered values, Enter, and Calculate.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "long_lived_forms.h"
#include "report_window/waitform.h"
#include "scripted_prompt.h"
#include "settings/field_memory.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "ui/locale_separators.h"
#include "ui/show_in_front.h"

using namespace vortalis::ui;
using namespace vortalis::report_window;
using namespace vortalis::settings;

namespace {

const QString kMismatch = QStringLiteral(
    "Frequency and Throat don\u00B4t match!  (Freq too large or Throat too big)");

// The 300 Hz horn with a 10 mm throat radius is 466.518431 mm long, its mouth
// radius 180.375602 mm.
const QStringList kDefaultResults{"466.518 mm", "180.38 mm"};

TSettCircForm& Form() { return *SettCircForm; }

QStringList Results() { return {Form().Label4->text(), Form().Label6->text()}; }

QStringList Remembered() { return {RememberedText(Form().Freq), RememberedText(Form().Throat)}; }

QRadioButton* Choice(const QString& name) {
  return Form().findChild<QRadioButton*>(name);
}

}  // namespace

class CircularDialogTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<LongLivedForms> forms_;

  void ShowDialog() {
    ShowInFront(SettCircForm);
    QVERIFY(QTest::qWaitForWindowActive(SettCircForm));
  }

  // The forms as start-up creates them, with the given decimal separator.
  void StartWith(const std::string& decimal) {
    forms_.reset();
    SetSeparatorsForTesting({decimal, decimal == "," ? "." : ","});
    forms_ = std::make_unique<LongLivedForms>();
    ShowDialog();
  }

 private slots:
  void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

  void init() {
    prompt_ = std::make_unique<ScriptedPrompt>();
    StartWith(".");
  }

  void cleanup() {
    forms_.reset();
    prompt_.reset();
  }

  // vortalis-report starts from the same records.
  void bothDialogsStartAtTheCoresDefaultInput() {
    QVERIFY(SettCircForm->ReadInput() == vortalis::report::CircularReportInput{});
    QVERIFY(SettRecForm->ReadInput() == vortalis::report::RectangularReportInput{});
  }

  void resultsAfterCreation_data() {
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("point") << "." << kDefaultResults;
    QTest::newRow("comma") << "," << QStringList{"466,518 mm", "180,38 mm"};
  }

  void resultsAfterCreation() {
    QFETCH(QString, decimal);
    QFETCH(QStringList, results);
    StartWith(decimal.toStdString());
    QCOMPARE(Results(), results);
    QCOMPARE(Remembered(), QStringList({"300", "10"}));
    QCOMPARE(Form().focusWidget(), Form().button3);
    QVERIFY(prompt_->messages.isEmpty());
  }

  void validation_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("throat");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<QString>("focus");    // empty: where it was
    QTest::newRow("0.5 Hz") << "mm" << "radius" << "0.5" << "10"
                            << "Frequency value too small!  (Fc >= 1 Hz)" << "Freq";
    QTest::newRow("25000 Hz passes the limits, not the 10 mm throat")
        << "mm" << "radius" << "25000" << "10" << kMismatch << "";
    QTest::newRow("25000 Hz with a 2 mm throat") << "mm" << "radius" << "25000" << "2" << ""
                                                 << "";
    QTest::newRow("25000.01 Hz") << "mm" << "radius" << "25000.01" << "2"
                                 << "Frequency value too large!  (Fc <= 25000 Hz)" << "Freq";
    QTest::newRow("throat radius equal to the mouth radius")
        << "mm" << "radius" << "5411.2681" << "10" << kMismatch << "";
    QTest::newRow("letters in the throat")
        << "mm" << "radius" << "300" << "ten" << "Error in Throat size value!" << "Throat";
    QTest::newRow("neither a number") << "mm" << "radius" << "three" << "ten"
                                      << "Error in Frequency value!" << "Freq";
    QTest::newRow("mm diameter below 1") << "mm" << "diameter" << "300" << "0.99"
                                         << "Throat to small!  (diameter >= 1 mm)" << "Throat";
    QTest::newRow("mm radius below 0.5") << "mm" << "radius" << "300" << "0.49"
                                         << "Throat to small!  (radius >= 0.5 mm)" << "Throat";
    QTest::newRow("inch diameter below 0.0394")
        << "inch" << "diameter" << "300" << "0.0393"
        << "Throat to small!  (diameter >= 0.0394 inch)" << "Throat";
    QTest::newRow("inch radius below 0.0197")
        << "inch" << "radius" << "300" << "0.0196"
        << "Throat to small!  (radius >= 0.0197 inch)" << "Throat";
    QTest::newRow("inch radius 0.0197") << "inch" << "radius" << "300" << "0.0197" << "" << "";
  }

  void validation() {
    QFETCH(QString, unit);
    QFETCH(QString, size);
    QFETCH(QString, frequency);
    QFETCH(QString, throat);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Choice(unit)->click();
    Choice(size)->click();
    const QStringList remembered = Remembered();
    const QStringList results = Results();
    Form().Freq->setText(frequency);
    Form().Throat->setText(throat);
    Form().Calculate->setFocus();

    Form().button3->click();
    if (message.isEmpty()) {
      QVERIFY(prompt_->messages.isEmpty());
      QCOMPARE(Remembered(), QStringList({frequency, throat}));
      QVERIFY(Results() != results);
      return;
    }
    QCOMPARE(prompt_->messages, QStringList{message});
    QWidget* expectedFocus = focus.isEmpty() ? static_cast<QWidget*>(Form().Calculate)
                                             : Form().findChild<QLineEdit*>(focus);
    QCOMPARE(Form().focusWidget(), expectedFocus);
    QCOMPARE(Results(), results);
    QCOMPARE(Remembered(), remembered);

    // Calculate refuses the same input with the same words and starts nothing.
    Form().CalculateClick();
    QCOMPARE(prompt_->messages, QStringList({message, message}));
    QCOMPARE(waitform->HornKind(), QString());
    QVERIFY(Form().isVisible());
  }

  void conversions_data() {
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("throat");
    QTest::addColumn<QStringList>("choices");  // clicked in turn
    QTest::addColumn<QStringList>("texts");    // the throat after each
    QTest::addColumn<QString>("remembered");
    QTest::newRow("radius to diameter and back")
        << "." << "10" << QStringList{"diameter", "radius"} << QStringList{"20.00", "10.00"}
        << "10.00";
    QTest::newRow("millimetres to inches and back")
        << "." << "10" << QStringList{"inch", "mm"} << QStringList{"0.3937", "10.00"} << "10.00";
    QTest::newRow("rounded at every switch")
        << "." << "0.5" << QStringList{"inch", "mm"} << QStringList{"0.0197", "0.50"} << "0.50";
    QTest::newRow("diameter in inches")
        << "." << "10" << QStringList{"inch", "diameter"} << QStringList{"0.3937", "0.7874"}
        << "0.7874";
    QTest::newRow("comma locale") << "," << "0,5" << QStringList{"inch", "mm"}
                                  << QStringList{"0,0197", "0,50"} << "0,50";
    QTest::newRow("the selected button again") << "." << "10" << QStringList{"mm", "radius"}
                                               << QStringList{"10", "10"} << "10";
    QTest::newRow("letters stay") << "." << "ten" << QStringList{"inch", "diameter", "mm"}
                                  << QStringList{"ten", "ten", "ten"} << "10";
  }

  void conversions() {
    QFETCH(QString, decimal);
    QFETCH(QString, throat);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, texts);
    QFETCH(QString, remembered);
    StartWith(decimal.toStdString());
    Form().Throat->setText(throat);
    QStringList actual;
    for (const QString& choice : choices) {
      Choice(choice)->click();
      actual << Form().Throat->text();
    }
    QCOMPARE(actual, texts);
    QCOMPARE(RememberedText(Form().Throat), remembered);
    // Switching never reports anything and leaves the results alone.
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(Results(), QStringList({"466" + decimal + "518 mm", "180" + decimal + "38 mm"}));
  }

  void unitSwitchChangesCaptionsOnly() {
    Form().T10->click();
    Form().inch->click();
    QCOMPARE(QStringList({Form().T1->text(), Form().T10->text(), Form().T100->text()}),
             QStringList({"0.01", "0.1", "1"}));
    QCOMPARE(Form().Label2->text(), QStringLiteral("Throat size (inch)"));
    QVERIFY(Form().T10->isChecked());
    QCOMPARE(Form().Freq->text(), QStringLiteral("300"));
    QCOMPARE(Results(), kDefaultResults);

    Form().mm->click();
    QCOMPARE(QStringList({Form().T1->text(), Form().T10->text(), Form().T100->text()}),
             QStringList({"1", "10", "100"}));
    QCOMPARE(Form().Label2->text(), QStringLiteral("Throat size (mm)"));
    QVERIFY(Form().T10->isChecked());
  }

  void lettersAreReportedByTheNextTest() {
    Form().Throat->setText(QStringLiteral("ten"));
    Form().inch->click();
    QCOMPARE(Form().Label2->text(), QStringLiteral("Throat size (inch)"));
    QVERIFY(prompt_->messages.isEmpty());
    Form().button3->click();
    QCOMPARE(prompt_->messages, QStringList{"Error in Throat size value!"});
  }

  void diameterTestShowsTheMouthDiameter() {
    Form().diameter->click();
    Form().button3->click();
    QCOMPARE(Results(), QStringList({"466.518 mm", "360.75 mm"}));
  }

  void showingRestoresTheRememberedValues() {
    Form().Freq->setText(QStringLiteral("500"));
    Form().Throat->setText(QStringLiteral("12"));
    Form().Button1->click();
    QVERIFY(!Form().isVisible());
    QVERIFY(SettRecForm->isVisible());
    SettRecForm->Button1->click();
    QVERIFY(Form().isVisible());
    QCOMPARE(Form().Freq->text(), QStringLiteral("300"));
    QCOMPARE(Form().Throat->text(), QStringLiteral("10"));
    QCOMPARE(Form().focusWidget(), Form().button3);

    // After a passed test the new texts are the ones that come back.
    Form().Freq->setText(QStringLiteral("500"));
    Form().button3->click();
    Form().Freq->setText(QStringLiteral("700"));
    Form().Cancel->click();
    QVERIFY(!Form().isVisible());
    ShowDialog();
    QCOMPARE(Form().Freq->text(), QStringLiteral("500"));
  }

  void enterTestsAndEscapeStays() {
    Form().Freq->setFocus();
    Form().Freq->setText(QStringLiteral("500"));
    QTest::keyClick(Form().Freq, Qt::Key_Return);
    QCOMPARE(RememberedText(Form().Freq), QStringLiteral("500"));
    QVERIFY(Results() != kDefaultResults);
    QTest::keyClick(Form().Freq, Qt::Key_Escape);
    QVERIFY(Form().isVisible());
  }

  void calculateStartsACircularReport() {
    waitform->Button1Click();  // an Abort left over from an earlier calculation
    Form().Freq->setText(QStringLiteral("5000"));
    Form().CalculateClick();
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(waitform->HornKind(), QStringLiteral("Circ"));
    QVERIFY(!waitform->AbortRequested());
    QCOMPARE(Remembered(), QStringList({"5000", "10"}));
    // Calculate leaves the quick test's results as they were.
    QCOMPARE(Results(), kDefaultResults);
  }

  void tabOrder() {
    QStringList order;
    QWidget* widget = Form().button3;
    do {
      if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
      widget = widget->nextInFocusChain();
    } while (widget != Form().button3);
    // A group of radio buttons is entered on its checked button only.
    QCOMPARE(order, QStringList({"button3", "Calculate", "Cancel", "radius", "T1", "mm", "Freq",
                                 "Throat", "Button1"}));
    Form().diameter->setChecked(true);
    QVERIFY(Form().diameter->focusPolicy() & Qt::TabFocus);
    QVERIFY(!(Form().radius->focusPolicy() & Qt::TabFocus));
  }
};

QTEST_MAIN(CircularDialogTests)

#include "circular_dialog_tests.moc"
