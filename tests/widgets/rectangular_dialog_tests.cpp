// The rectangular horn settings dialog: quick test, flat sides, unit switching,
// validation messages with their focus, remembered values and Calculate.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "report/report_generator.h"
#include "report_window/text_form.h"
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

// The default horn (32 Hz, 40 mm by 50 mm, free air) is 6591.9467 mm long with
// a mouth of 2680.8283 mm by 3351.0354 mm.
const QString kDefaultLength = QStringLiteral("6591.947 mm");
const QString kDefaultSide1 = QStringLiteral("2680.83 mm");
const QString kDefaultSide2 = QStringLiteral("3351.04 mm");

const QString kMismatch = QStringLiteral(
    "Frequency and Throat don\u00B4t match!  (Freq too large or Throat area too big)");

QStringList Results(const TSettRecForm& form) {
  return {form.Label4->text(), form.Label7->text(), form.Label9->text()};
}

QStringList Remembered(const TSettRecForm& form) {
  return {RememberedText(form.Freq), RememberedText(form.Side1), RememberedText(form.Side2),
          RememberedText(form.MouthS1)};
}

QStringList Texts(const TSettRecForm& form) {
  return {form.Freq->text(), form.Side1->text(), form.Side2->text(), form.MouthS1->text()};
}

QRadioButton* LocationButton(TSettRecForm& form, int factor) {
  switch (factor) {
    case 2:
      return form.Location2;
    case 4:
      return form.Location4;
    case 8:
      return form.Location8;
    default:
      return form.Location1;
  }
}

class LineCollector final : public vortalis::report::ReportLineSink {
 public:
  QStringList lines;
  void AppendLine(std::string_view line) override {
    lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  }
  void ReplaceLine(std::size_t index, std::string_view line) override {
    if (index < static_cast<std::size_t>(lines.size())) {
      lines[static_cast<qsizetype>(index)] =
          QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
  }
};

class SilentProgress final : public vortalis::report::ProgressPort {
 public:
  void SetPosition(int) override {}
  void Show() override {}
  void Hide() override {}
  bool AbortRequested() const override { return false; }
};

class FixedStamp final : public vortalis::report::StampProvider {
 public:
  vortalis::report::CreationStampPieces CreationStamp() const override { return {"D", "T"}; }
};

// The second line carries the clock, which differs between the two runs.
QStringList MaskStamp(QStringList lines) {
  if (lines.size() > 1) lines[1] = QStringLiteral("<stamp>");
  return lines;
}

QStringList CoreReport(const vortalis::report::RectangularReportInput& input) {
  LineCollector sink;
  SilentProgress progress;
  const FixedStamp stamp;
  vortalis::report::ReportEnvironment env{sink, progress, [] {}, stamp, CurrentSeparators()};
  vortalis::report::GenerateRectangularReport(input, env);
  return MaskStamp(sink.lines);
}

QStringList ReportLines(const TTextForm& report) {
  QStringList lines = report.reportText->toPlainText().split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();  // after the last break
  return MaskStamp(lines);
}

// Without a main window the report stands alone as a top-level window.
TTextForm* OpenedReport() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* report = qobject_cast<TTextForm*>(window)) return report;
  }
  return nullptr;
}

}  // namespace

class RectangularDialogTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<TSettRecForm> form_;

  TSettRecForm& Form() { return *form_; }

  // Shows the dialog as the program does and waits until it can take the focus.
  void ShowForm() {
    ShowInFront(form_.get());
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

 private slots:
  void initTestCase() {
    waitform = new Twaitform;
    SettCircForm = new TSettCircForm;
  }

  void cleanupTestCase() {
    delete SettCircForm;
    SettCircForm = nullptr;
    delete waitform;
    waitform = nullptr;
  }

  void init() {
    SetSeparatorsForTesting({".", ","});
    prompt_ = std::make_unique<ScriptedPrompt>();
    form_ = std::make_unique<TSettRecForm>();
    form_->FormCreate();
    SettRecForm = form_.get();
  }

  void cleanup() {
    SettRecForm = nullptr;
    form_.reset();
    prompt_.reset();
    SettCircForm->hide();
    RefreshSeparators();
  }

  void creationShowsTheDefaultHorn_data() {
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("point") << "." << QStringList{kDefaultLength, kDefaultSide1, kDefaultSide2};
    QTest::newRow("comma") << "," << QStringList{"6591,947 mm", "2680,83 mm", "3351,04 mm"};
  }
  void creationShowsTheDefaultHorn() {
    QFETCH(QString, decimal);
    QFETCH(QStringList, results);
    SetSeparatorsForTesting({decimal.toStdString(), decimal == "." ? "," : "."});
    TSettRecForm form;
    form.FormCreate();
    QCOMPARE(Results(form), results);
    QCOMPARE(Remembered(form), (QStringList{"32", "40", "50", "3000"}));
    QVERIFY(prompt_->messages.isEmpty());
  }

  // Each wall halves the built horn's share of the full horn: a larger
  // equivalent throat makes the horn shorter and the mouth smaller.
  void locationFactors_data() {
    QTest::addColumn<int>("factor");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("free air") << 1 << QStringList{kDefaultLength, kDefaultSide1, kDefaultSide2};
    QTest::newRow("one wall") << 2 << QStringList{"6005.978 mm", "1895.63 mm", "2369.54 mm"};
    QTest::newRow("two walls") << 4 << QStringList{"5420.102 mm", "1340.41 mm", "1675.52 mm"};
    QTest::newRow("three walls") << 8 << QStringList{"4834.416 mm", "947.82 mm", "1184.77 mm"};
  }
  void locationFactors() {
    QFETCH(int, factor);
    QFETCH(QStringList, results);
    Form().Location8->setChecked(true);  // away from the default first
    LocationButton(Form(), factor)->setChecked(true);
    Form().button3Click();
    QCOMPARE(Results(Form()), results);
    QCOMPARE(static_cast<int>(Form().ReadInput().location), factor);
    QVERIFY(prompt_->messages.isEmpty());
  }

  void flatSidesEnableTheMouthField() {
    QWidget* const flatControls[] = {Form().Label15, Form().Label18, Form().Label10,
                                     Form().MouthS1};
    for (QWidget* control : flatControls) QVERIFY(!control->isEnabled());
    Form().OneSide->click();
    for (QWidget* control : flatControls) QVERIFY(control->isEnabled());
    QCOMPARE(Form().MouthS1->text(), QStringLiteral("3000"));
    QVERIFY(Form().ReadInput().flatSides);
    QCOMPARE(Results(Form()), (QStringList{kDefaultLength, kDefaultSide1, kDefaultSide2}));
    Form().OneSide->click();
    for (QWidget* control : flatControls) QVERIFY(!control->isEnabled());
  }

  // With two flat sides the mouth distance between them is given and the
  // other follows from the mouth area; it may equal the throat distance.
  void flatSideMouthDistances_data() {
    QTest::addColumn<QString>("mouth");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("3000") << "3000" << QStringList{kDefaultLength, "3000.00 mm", "2994.52 mm"};
    QTest::newRow("equal to the throat")
        << "40" << QStringList{kDefaultLength, "40.00 mm", "224588.76 mm"};
  }
  void flatSideMouthDistances() {
    QFETCH(QString, mouth);
    QFETCH(QStringList, results);
    Form().OneSide->setChecked(true);
    Form().MouthS1->setText(mouth);
    Form().button3Click();
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(Results(Form()), results);
    QCOMPARE(RememberedText(Form().MouthS1), mouth);
  }

  // Every refusal shows one message, moves the focus to the field named and
  // leaves labels and remembered values alone.
  void refusedInput_data() {
    QTest::addColumn<bool>("inches");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QStringList>("texts");  // Freq, Side1, Side2, MouthS1
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("frequency not a number, side too")
        << false << false << QStringList{"3 2", "x", "50", "3000"} << "Error in Frequency value"
        << "Freq";
    QTest::newRow("side 1 not a number")
        << false << false << QStringList{"32", "40 mm", "50", "3000"}
        << "Error in Side 1A - 1B value!"
        << "Side1";
    QTest::newRow("flat mouth not a number")
        << false << true << QStringList{"32", "40", "50", "abc"}
        << "Error in Side 1A - 1B value! (Mouth) "
        << "MouthS1";
    QTest::newRow("side 2 below 0.0394 inch")
        << true << false << QStringList{"32", "1.5748", "0.0393", "118.1102"}
        << "Side 2A - 2B to small!  (Throat opening distance >= 0.0394 inch)"
        << "Side2";
    QTest::newRow("flat mouth below the throat, mm")
        << false << true << QStringList{"32", "40", "50", "39.99"}
        << "Mouth distance Side 1A - 1B to small! (Mouth distance >= Throat distance)"
        << "MouthS1";
    QTest::newRow("flat mouth below the throat, inch")
        << true << true << QStringList{"32", "1.5748", "1.9685", "1.5747"}
        << "Mouth distance Side 1A - 1B too small! (Mouth distance >= Throat distance)"
        << "MouthS1";
  }
  void refusedInput() {
    QFETCH(bool, inches);
    QFETCH(bool, flat);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    ShowForm();
    Form().inch->setChecked(inches);
    Form().OneSide->setChecked(flat);
    const QStringList remembered = Remembered(Form());
    const QStringList results = Results(Form());
    QLineEdit* fields[] = {Form().Freq, Form().Side1, Form().Side2, Form().MouthS1};
    for (int i = 0; i < 4; ++i) fields[i]->setText(texts[i]);
    Form().button3->setFocus();

    Form().button3Click();
    QCOMPARE(prompt_->messages, QStringList{message});
    QCOMPARE(Form().focusWidget(), Form().findChild<QLineEdit*>(focus));
    QCOMPARE(Results(Form()), results);
    QCOMPARE(Remembered(Form()), remembered);
    QCOMPARE(Texts(Form()), texts);

    Form().CalculateClick();  // refused the same way, and nothing starts
    QCOMPARE(prompt_->messages, (QStringList{message, message}));
    QVERIFY(Form().isVisible());
  }

  // At 300 Hz the full mouth is 102212.84 mm²: a 300 mm square throat fits in
  // free air, but against one wall the full horn's throat is 180000 mm².
  void throatAgainstMouthArea() {
    ShowForm();
    QLineEdit* fields[] = {Form().Freq, Form().Side1, Form().Side2};
    for (QLineEdit* field : fields) field->setText(QStringLiteral("300"));
    Form().button3Click();
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(Remembered(Form()).mid(0, 3), (QStringList{"300", "300", "300"}));
    const QStringList freeAir = Results(Form());
    QVERIFY(freeAir.constFirst() != kDefaultLength);

    Form().Location2->setChecked(true);
    Form().Side2->setFocus();
    Form().button3Click();
    QCOMPARE(prompt_->messages, QStringList{kMismatch});
    QCOMPARE(Form().focusWidget(), Form().Side2);  // the mismatch names no field
    QCOMPARE(Results(Form()), freeAir);
  }

  // Each field converts on its own, the disabled mouth field too; the
  // frequency and the results stay until the next quick test.
  void switchingToInches() {
    QVERIFY(!Form().MouthS1->isEnabled());
    Form().inch->setChecked(true);
    QCOMPARE(Texts(Form()), (QStringList{"32", "1.5748", "1.9685", "118.1102"}));
    QCOMPARE(Remembered(Form()), Texts(Form()));
    QCOMPARE(Form().Label1->text(), QStringLiteral("Side 1A - 1B  (inch)"));
    QCOMPARE(Form().Label2->text(), QStringLiteral("Side 2A - 2B  (inch)"));
    QCOMPARE(Form().Label10->text(), QStringLiteral("Side 1A - 1B  (inch)"));
    QCOMPARE((QStringList{Form().T1->text(), Form().T10->text(), Form().T100->text()}),
             (QStringList{"0.01", "0.1", "1"}));
    QVERIFY(Form().T10->isChecked());
    QCOMPARE(Results(Form()), (QStringList{kDefaultLength, kDefaultSide1, kDefaultSide2}));

    Form().button3Click();
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(Results(Form()), (QStringList{"259.52559 inch", "105.5444 inch", "131.9305 inch"}));

    Form().mm->setChecked(true);
    QCOMPARE(Texts(Form()), (QStringList{"32", "40.00", "50.00", "3000.00"}));
    QCOMPARE(Form().Label1->text(), QStringLiteral("Side 1A - 1B  (mm)"));
    QCOMPARE(Form().T100->text(), QStringLiteral("100"));
  }

  // Without flat sides the mouth text is never read: not reported, not
  // converted, yet remembered like the other fields.
  void mouthTextIgnoredWithoutFlatSides() {
    Form().MouthS1->setText(QStringLiteral("abc"));
    Form().Side2->setText(QStringLiteral("five"));
    Form().inch->setChecked(true);
    QCOMPARE(Texts(Form()), (QStringList{"32", "1.5748", "five", "abc"}));
    QCOMPARE(Remembered(Form()), (QStringList{"32", "1.5748", "50", "3000"}));
    QVERIFY(prompt_->messages.isEmpty());

    Form().Side2->setText(QStringLiteral("1.9685"));
    Form().button3Click();
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(Remembered(Form()), (QStringList{"32", "1.5748", "1.9685", "abc"}));
  }

  void showingRestoresTheAcceptedTexts() {
    ShowForm();
    Form().Side1->setText(QStringLiteral("77"));
    Form().Side2->setText(QStringLiteral("88"));
    Form().Freq->setText(QStringLiteral("99"));
    Form().Button1Click();
    QVERIFY(!Form().isVisible());
    QVERIFY(SettCircForm->isVisible());
    QCOMPARE(Texts(Form()), (QStringList{"99", "77", "88", "3000"}));

    SettCircForm->Button1Click();  // and back
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QVERIFY(!SettCircForm->isVisible());
    QCOMPARE(Texts(Form()), (QStringList{"32", "40", "50", "3000"}));
    QCOMPARE(Form().focusWidget(), Form().button3);

    // A passed quick test is what the next showing brings back; Escape closes.
    Form().Side1->setText(QStringLiteral("45"));
    Form().button3Click();
    Form().Side1->setText(QStringLiteral("46"));
    QTest::keyClick(&Form(), Qt::Key_Escape);
    QVERIFY(!Form().isVisible());
    ShowForm();
    QCOMPARE(Form().Side1->text(), QStringLiteral("45"));
  }

  // Calculate hands the dialog's input to the report window, which runs the
  // rectangular generator and brings this dialog back.
  void calculateMakesTheRectangularReport() {
    ShowForm();
    waitform->SetHornKind(QStringLiteral("Circ"));
    waitform->Button1Click();  // an Abort left over from an earlier calculation
    Form().inch->setChecked(true);
    Form().T100->setChecked(true);
    Form().Location8->setChecked(true);
    Form().OneSide->setChecked(true);
    Form().Side2->setText(QStringLiteral("2.5"));
    Form().Freq->setText(QStringLiteral(" 32"));  // echoed in the report as typed
    vortalis::report::RectangularReportInput input;
    input.unit = vortalis::geometry::LengthUnit::Inch;
    input.increment = vortalis::geometry::TableIncrement::T100;
    input.location = vortalis::geometry::MouthLocation::ThreeWalls;
    input.flatSides = true;
    input.frequencyText = " 32";
    input.side1Text = "1.5748";
    input.side2Text = "2.5";
    input.mouthText = "118.1102";

    Form().CalculateClick();
    std::unique_ptr<TTextForm> report(OpenedReport());
    QVERIFY(report);
    QVERIFY(prompt_->messages.isEmpty());
    QCOMPARE(waitform->HornKind(), QStringLiteral("Rec"));
    QVERIFY(!waitform->AbortRequested());
    const QStringList expected = CoreReport(input);
    QVERIFY(expected.size() > 100);  // one row per inch of a horn some 190 inches long
    QCOMPARE(ReportLines(*report), expected);
    QVERIFY(Form().isVisible());
    QVERIFY(!SettCircForm->isVisible());
    QCOMPARE(Texts(Form()), (QStringList{" 32", "1.5748", "2.5", "118.1102"}));
    // Calculate leaves the quick test's results as they were.
    QCOMPARE(Results(Form()), (QStringList{kDefaultLength, kDefaultSide1, kDefaultSide2}));
  }
};

QTEST_MAIN(RectangularDialogTests)
#include "rectangular_dialog_tests.moc"
