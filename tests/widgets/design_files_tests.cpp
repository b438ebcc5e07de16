// Designs in the program: a design saved by the program gives the tool's
// report byte for byte, a design the tool saved fills the dialog, and a bad
// file is refused with its message and changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

#include "app/design_files.h"
#include "cli/report_tool.h"
#include "long_lived_forms.h"
#include "report_window/acoustic_window.h"
#include "report_window/driver_window.h"
#include "report_window/build_kit_dialog.h"
#include "report_window/export_dialog.h"
#include "report/creation_stamp.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_rec_form.h"
#include "test_files.h"
#include "ui/design_name.h"
#include "ui/locale_separators.h"

namespace {

using vortalis::geometry::LengthUnit;
using vortalis::geometry::MouthLocation;
using vortalis::geometry::SizeMode;
using vortalis::geometry::TableIncrement;
using vortalis::report::CircularReportInput;
using vortalis::report::HornInput;
using vortalis::report::RectangularReportInput;

class NoStamp final : public vortalis::report::StampProvider {
 public:
  vortalis::report::CreationStampPieces CreationStamp() const override { return {"D", "T"}; }
};

// vortalis-report in this process; its exit status.
int RunTool(const QStringList& arguments) {
  std::vector<std::string> args;
  for (const QString& argument : arguments) args.push_back(argument.toStdString());
  const std::vector<std::string_view> views(args.begin(), args.end());
  volatile std::sig_atomic_t interrupted = 0;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const NoStamp stamp;
  vortalis::cli::ToolEnvironment env{out, err, false, &interrupted, [] {}, stamp};
  const int status = vortalis::cli::RunReportTool(views, env);
  std::fclose(out);
  std::fclose(err);
  return status;
}

// The second line carries the clock, which differs between the two runs.
QByteArray WithoutStamp(const QByteArray& report) {
  QList<QByteArray> lines = report.split('\n');
  if (lines.size() > 1) lines[1] = "<stamp>\r";
  return lines.join('\n');
}

HornInput DialogHorns(bool rectangular) {
  return rectangular ? HornInput(SettRecForm->ReadInput()) : HornInput(SettCircForm->ReadInput());
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class DesignFilesTests : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  QString In(const QString& name) const { return folder_.filePath(name); }

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    // The recent designs go to the test's folder, not the user's.
    qputenv("XDG_STATE_HOME", QFile::encodeName(In(QStringLiteral("state"))));
  }
  void cleanup() { SetSeparatorsForTesting({".", ","}); }
  void ProgramDesignGivesTheToolsReport();
  void ToolDesignFillsTheDialog();
  void SettingsTheDialogsDoNotTakeAreWrittenBack();
  void TemplateDialogStartsWithTheDesignsMouthLimit();
  void BadFilesAreRefusedAndChangeNothing();
  void DriverWindowGivesTheToolsResponseThroughADesign();
  void BuildKitStartsFromTheDesignsKitAndSavesItsOwn();
};

void DesignFilesTests::ProgramDesignGivesTheToolsReport() {
  const struct {
    const char* name;
    vortalis::geometry::Separators separators;
    bool rectangular;
    std::function<void()> type;  // what the user sets in the dialog
  } cases[] = {
      {"circular mm radius", {".", ","}, false,
       [] {
         SettCircForm->T10->setChecked(true);
         SettCircForm->Freq->setText(QStringLiteral(" 150"));
         SettCircForm->Throat->setText(QStringLiteral("12.50"));
       }},
      {"circular inch diameter, comma", {",", "."}, false,
       [] {
         SettCircForm->inch->setChecked(true);
         SettCircForm->diameter->setChecked(true);
         SettCircForm->T10->setChecked(true);
         SettCircForm->Freq->setText(QStringLiteral("220"));
         SettCircForm->Throat->setText(QStringLiteral("1,5"));
       }},
      {"rectangular flat sides in a corner", {".", ","}, true,
       [] {
         SettRecForm->Location4->setChecked(true);
         SettRecForm->OneSide->setChecked(true);
         SettRecForm->Freq->setText(QStringLiteral("45"));
         SettRecForm->Side1->setText(QStringLiteral("60"));
         SettRecForm->Side2->setText(QStringLiteral("80"));
         SettRecForm->MouthS1->setText(QStringLiteral("2000"));
       }},
      {"rectangular inch on a wall", {".", ","}, true,
       [] {
         SettRecForm->inch->setChecked(true);
         SettRecForm->Location2->setChecked(true);
         SettRecForm->T100->setChecked(true);
         SettRecForm->Freq->setText(QStringLiteral("70"));
       }},
  };
  for (const auto& row : cases) {
    LongLivedForms forms;
    ScriptedPrompt prompt;
    SetSeparatorsForTesting(row.separators);
    row.rectangular ? Mainform->RectangularClick() : Mainform->CircularClick();
    row.type();
    const QString design = In(QStringLiteral("%1.vortalis").arg(row.name));
    prompt.exportAnswers = {design};
    Mainform->Designs->SaveDesignAs1Click();

    const qsizetype before = Reports().size();
    (row.rectangular ? SettRecForm->Calculate : SettCircForm->Calculate)->click();
    TTextForm* report = NewestReport(before);
    QVERIFY2(report, row.name);
    QCOMPARE(report->windowTitle(), QFileInfo(design).fileName());
    prompt.saveAnswers = {In(QStringLiteral("program.txt"))};
    report->Saveas1Click();
    // With no dialog in front, the report's own horn is saved: the same design.
    (row.rectangular ? SettRecForm->Freq : SettCircForm->Freq)->setText(QStringLiteral("99"));
    SettCircForm->hide();
    SettRecForm->hide();
    prompt.exportAnswers = {In(QStringLiteral("from report.vortalis"))};
    Mainform->Designs->SaveDesignAs1Click();
    QCOMPARE(ReadFile(In(QStringLiteral("from report.vortalis"))), ReadFile(design));
    DiscardReports();

    QCOMPARE(RunTool({"--design", design, "-o", In(QStringLiteral("tool.txt"))}), 0);
    const QByteArray program = ReadFile(In(QStringLiteral("program.txt")));
    QVERIFY2(program.size() > 200, row.name);
    QCOMPARE(WithoutStamp(ReadFile(In(QStringLiteral("tool.txt")))), WithoutStamp(program));
    QVERIFY2(prompt.messages.isEmpty(), qPrintable(prompt.messages.join('\n')));
  }
}

void DesignFilesTests::ToolDesignFillsTheDialog() {
  const struct {
    QStringList options;
    HornInput expected;
  } cases[] = {
      {{"circular", "--unit", "inch", "--size", "diameter", "--increment", "1", "--freq", "150",
        "--throat", "0.5"},
       CircularReportInput{LengthUnit::Inch, SizeMode::Diameter, TableIncrement::T100, "150",
                           "0.5"}},
      {{"rectangular", "--freq", "40", "--side1", "60", "--side2", "70", "--flat-mouth", "2500",
        "--location", "8", "--increment", "100"},
       RectangularReportInput{LengthUnit::Millimetre, TableIncrement::T100,
                              MouthLocation::ThreeWalls, true, "40", "60", "70", "2500"}},
      // Typed with the other decimal separator: the program reads its own.
      {{"circular", "--decimal-separator", ",", "--freq", "200,0", "--throat", "12,5"},
       CircularReportInput{LengthUnit::Millimetre, SizeMode::Radius, TableIncrement::T1, "200.0",
                           "12.5"}},
  };
  for (const auto& row : cases) {
    LongLivedForms forms;
    ScriptedPrompt prompt;
    const QString design = In(QStringLiteral("tool.vortalis"));
    QCOMPARE(RunTool(QStringList(row.options) << "--save-design" << design), 0);
    prompt.openAnswers = {design};
    Mainform->Designs->OpenDesignClick();
    const bool rectangular = vortalis::report::IsRectangular(row.expected);
    QVERIFY(DialogHorns(rectangular) == row.expected);
    QCOMPARE(SettRecForm->isVisible(), rectangular);
    QCOMPARE(SettCircForm->isVisible(), !rectangular);
    QVERIFY(Reports().isEmpty());  // nothing computed until asked
    QCOMPARE(Mainform->Designs->Recent().value(0), QFileInfo(design).absoluteFilePath());
  }
}

void DesignFilesTests::SettingsTheDialogsDoNotTakeAreWrittenBack() {
  LongLivedForms forms;
  ScriptedPrompt prompt;
  const QString design = In(QStringLiteral("kept.vortalis"));
  QCOMPARE(RunTool({"circular", "--freq", "60", "--mouth-limit", "radius=300", "--rings",
                    In(QStringLiteral("r.csv")), "--board", "18", "--save-design", design}),
           0);
  QVERIFY(Mainform->Designs->Open(design));
  SettCircForm->Freq->setText(QStringLiteral("80"));
  Mainform->Designs->SaveDesignClick();
  const auto saved = vortalis::design::ParseDesign(ReadFile(design).toStdString(), "kept");
  QCOMPARE(saved.Value("horn", "freq"), std::optional<std::string>("80"));
  QCOMPARE(saved.Value("drawing", "mouth-limit"), std::optional<std::string>("radius=300"));
  QCOMPARE(saved.Value("kit", "kind"), std::optional<std::string>("rings"));
  QCOMPARE(saved.Value("kit", "board"), std::optional<std::string>("18"));
}

void DesignFilesTests::TemplateDialogStartsWithTheDesignsMouthLimit() {
  const struct {
    QStringList options;
    const char* chosen;  // the limit's radio button
    QString value;
  } cases[] = {
      {{"circular", "--mouth-limit", "radius=150"}, "SizeLimit", "150"},
      {{"rectangular", "--decimal-separator", ",", "--mouth-limit", "length=900,5"}, "LengthLimit",
       "900.5"},
      // A radius cannot be cut where the diameter reaches: the full horn.
      {{"circular", "--size", "diameter", "--throat", "20", "--mouth-limit", "radius=150"},
       "FullHorn", ""},
  };
  for (const auto& row : cases) {
    LongLivedForms forms;
    ScriptedPrompt prompt;
    const QString design = In(QStringLiteral("limit.vortalis"));
    QCOMPARE(RunTool(QStringList(row.options) << "--save-design" << design), 0);
    QVERIFY(Mainform->Designs->Open(design));
    const bool rectangular = row.options[0] == QStringLiteral("rectangular");
    const qsizetype before = Reports().size();
    (rectangular ? SettRecForm->Calculate : SettCircForm->Calculate)->click();
    TTextForm* report = NewestReport(before);
    QVERIFY(report);
    report->Printtemplate1->trigger();
    const TExportForm* dialog = report->TemplateDialog();
    QVERIFY(dialog);
    QVERIFY2(dialog->findChild<QRadioButton*>(row.chosen)->isChecked(), row.chosen);
    QCOMPARE(dialog->LimitValue->text(), row.value);
    DiscardReports();
  }
}

void DesignFilesTests::BadFilesAreRefusedAndChangeNothing() {
  const QByteArray head = R"({"format": "vortalis-design", "version": "1.0", "horn": )";
  const struct {
    QByteArray text;  // empty: no file at all
    QString message;
  } cases[] = {
      {"", "No such file or directory"},
      {"horn = 300\n", "(line 1): it is not valid JSON"},
      {head + R"({"kind": "circular", "freq": "1)", "it is not valid JSON"},
      {head + R"({"kind": "circular", "freq": 300}})", "\"horn.freq\" is not a text in quotes"},
      {head + R"({"kind": "circular", "freq": "0.5"}})",
       "its \"horn.freq\" is refused: Frequency value too small!"},
      {head + R"({"kind": "rectangular", "side2": "x"}})",
       "its \"horn.side2\" is refused: Error in Side 2A - 2B value!"},
      {head + R"({"kind": "rectangular", "throat": "10"}})", "--throat"},
      {head + R"({"kind": "conical"}})", "\"horn.kind\" is not"},
      {R"({"format": "vortalis-design", "version": "2.0"})", "saved by a newer Vortalis"},
      {head + R"({"kind": "circular"}, "driver": {"qes": "-1"}})",
       "the setting \"driver.qes\" is refused: 'qes' must be above 0"},
      {QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10), "binary data"},
      {QByteArray(2 * 1024 * 1024, ' '), "a design is at most"},
  };
  LongLivedForms forms;
  ScriptedPrompt prompt;
  const QString good = In(QStringLiteral("good.vortalis"));
  QCOMPARE(RunTool({"rectangular", "--freq", "50", "--save-design", good}), 0);
  QVERIFY(Mainform->Designs->Open(good));
  const HornInput circular = DialogHorns(false);
  const HornInput rectangular = DialogHorns(true);
  const QStringList recent = Mainform->Designs->Recent();
  const QString path = In(QStringLiteral("bad.vortalis"));
  for (const auto& row : cases) {
    QFile::remove(path);
    if (!row.text.isEmpty()) WriteBytes(path, row.text);
    prompt.messages.clear();
    QVERIFY(!Mainform->Designs->Open(path));
    QCOMPARE(prompt.messages.size(), 1);
    QVERIFY2(prompt.messages[0].contains(row.message) && prompt.messages[0].contains(path),
             qPrintable(prompt.messages[0]));
    QVERIFY(DialogHorns(false) == circular);
    QVERIFY(DialogHorns(true) == rectangular);
    QVERIFY(SettRecForm->isVisible() && !SettCircForm->isVisible());
    QCOMPARE(Mainform->Designs->Path(), good);
    QCOMPARE(Mainform->Designs->Recent(), recent);
  }
}

// The driver window on a horn cut short, unflanged, with wall losses: its CSV
// is the tool's --response for the same options; the design the program saves
// from it gives the tool that response, and a design the tool saved presets
// a new window to it.
void DesignFilesTests::DriverWindowGivesTheToolsResponseThroughADesign() {
  LongLivedForms forms;
  ScriptedPrompt prompt;
  SetCurrentDesignMouthLimit({});
  SetCurrentDesignSettings({});
  const QString driver = In(QStringLiteral("woofer.txt"));
  WriteBytes(driver, "name = test woofer\nre = 5.8\nle = 1.2\nfs = 35\nqes = 0.35\nqms = 5\n"
                     "vas = 150\nsd = 855\nxmax = 6\npe = 300\n");
  const QStringList options{"circular", "--freq", "100", "--throat", "40", "--mouth-limit",
                            "length=500", "--mouth-load", "unflanged", "--losses", "on",
                            "--driver", driver, "--rear-chamber", "20", "--voltage", "4",
                            "--points-per-octave", "72"};
  const auto windowCsv = [&prompt, this](TDriverForm& window, const QString& name) {
    prompt.exportAnswers.push_back(In(name));
    window.ExportButton->click();
    return ReadFile(In(name));
  };
  const auto openWindow = [] {
    TTextForm* report = CalculateCircular(QStringLiteral("100"), QStringLiteral("40"),
                                          SettCircForm->T10);
    if (report) report->Driverresponse1->trigger();
    return report ? report->DriverWindow() : nullptr;
  };

  TDriverForm* window = openWindow();
  QVERIFY(window);
  window->AsBuilt->LengthLimit->click();
  window->AsBuilt->LimitValue->setText(QStringLiteral("500"));
  emit window->AsBuilt->LimitValue->editingFinished();
  window->AsBuilt->Unflanged->click();
  window->AsBuilt->Losses->click();
  prompt.openAnswers.push_back(driver);
  window->OpenButton->click();
  window->RearChamberEdit->setText(QStringLiteral("20"));
  window->VoltageEdit->setText(QStringLiteral("4"));
  const QByteArray shown = windowCsv(*window, QStringLiteral("window.csv"));
  QCOMPARE(RunTool(QStringList(options) << "--response" << In(QStringLiteral("tool.csv"))), 0);
  QCOMPARE(shown, ReadFile(In(QStringLiteral("tool.csv"))));

  const QString saved = In(QStringLiteral("program.vortalis"));
  prompt.exportAnswers.push_back(saved);
  Mainform->Designs->SaveDesignAs1Click();
  QVERIFY(prompt.errors.isEmpty());
  QCOMPARE(RunTool({"--design", saved, "--points-per-octave", "72", "--response",
                    In(QStringLiteral("saved.csv"))}),
           0);
  QCOMPARE(ReadFile(In(QStringLiteral("saved.csv"))), shown);

  DiscardReports();
  const QString design = In(QStringLiteral("tool.vortalis"));
  QCOMPARE(RunTool(QStringList(options) << "--save-design" << design), 0);
  QVERIFY(Mainform->Designs->Open(design));
  window = openWindow();
  QVERIFY(window);
  QVERIFY(window->AsBuilt->LengthLimit->isChecked() && window->AsBuilt->Losses->isChecked());
  QCOMPARE(window->NameEdit->text(), QStringLiteral("test woofer"));
  QCOMPARE(windowCsv(*window, QStringLiteral("opened.csv")), shown);
  // The acoustic loading window starts from the same horn as built.
  TTextForm* report = Mainform->ActiveReport();
  report->Acousticloading1Click();
  QVERIFY(report->AcousticWindow());
  const HornAsBuiltControls& acoustic = *report->AcousticWindow()->AsBuilt;
  QVERIFY(acoustic.Unflanged->isChecked() && acoustic.Losses->isChecked());
  QCOMPARE(acoustic.LimitValue->text(), QStringLiteral("500"));
  DiscardReports();
  SetCurrentDesignMouthLimit({});
  SetCurrentDesignSettings({});
}

// The design's kit presets the dialog of a report computed from it (the
// flange's values as the tool reads them in either decimal separator); the
// dialog's last kit goes back into the design, from which the tool makes the
// same file.
void DesignFilesTests::BuildKitStartsFromTheDesignsKitAndSavesItsOwn() {
  const struct {
    vortalis::geometry::Separators system;
    QString hole;
  } cases[] = {{{".", ","}, "5.5"}, {{",", "."}, "5,5"}};
  for (const auto& row : cases) {
    LongLivedForms forms;
    ScriptedPrompt prompt;
    SetSeparatorsForTesting(row.system);
    const QString design = In(QStringLiteral("kit.vortalis"));
    QCOMPARE(RunTool({"circular", "--freq", "300", "--throat", "10", "--stl",
                      In(QStringLiteral("kit.stl")), "--wall", "4", "--segment-height", "150",
                      "--flange", "90,8,70,6,5.5", "--save-design", design}),
             0);
    QVERIFY(Mainform->Designs->Open(design));
    const qsizetype before = Reports().size();
    SettCircForm->Calculate->click();
    TTextForm* report = NewestReport(before);
    QVERIFY(report);
    report->Buildkit1->trigger();
    const QPointer<TBuildKitForm> dialog = report->BuildKitDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->Stl->isChecked() && dialog->Flange->isChecked());
    QStringList texts;
    for (const QLineEdit* field : {dialog->Wall, dialog->PrinterHeight, dialog->FlangeDiameter,
                                   dialog->FlangeThickness, dialog->BoltCircle, dialog->BoltCount,
                                   dialog->HoleDiameter})
      texts << field->text();
    QCOMPARE(texts, (QStringList{"4", "150", "90", "8", "70", "6", row.hole}));

    dialog->Rings->setChecked(true);
    dialog->Board->setText(QStringLiteral("19"));
    dialog->Format->setCurrentIndex(dialog->Format->findData(QStringLiteral("csv")));
    prompt.exportAnswers = {In(QStringLiteral("dialog.csv"))};
    dialog->SaveButton->click();
    dialog->CloseButton->click();
    QTRY_VERIFY(!dialog);
    Mainform->Designs->SaveDesignClick();
    QVERIFY2(prompt.errors.isEmpty(), qPrintable(prompt.errors.join('\n')));
    QCOMPARE(RunTool({"--design", design, "--rings", In(QStringLiteral("tool.csv"))}), 0);
    QCOMPARE(ReadFile(In(QStringLiteral("tool.csv"))), ReadFile(In(QStringLiteral("dialog.csv"))));
    DiscardReports();
  }
}

QTEST_MAIN(DesignFilesTests)
#include "design_files_tests.moc"
