// The report window's profile items: the File menu's three new entries, the
// profile window and its drawing, the export dialog and the full-size template.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_form.h"
#include "app/startup.h"
#include "buildkit/rings.h"
#include "export/full_size_template.h"
#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "report/drawing_grid.h"
#include "report_window/build_kit_dialog.h"
#include "report_window/export_dialog.h"
#include "report_window/profile_window.h"
#include "report_window/report_profile.h"
#include "report_window/text_form.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "test_files.h"
#include "ui/forms.h"
#include "ui/locale_separators.h"

namespace {

using vortalis::report::HornProfile;
using vortalis::report::MouthLimit;
using vortalis::report::MouthLimitKind;

TTextForm* LastReport() {
  return Reports().isEmpty() ? nullptr : qobject_cast<TTextForm*>(Reports().constLast()->widget());
}

TTextForm* CircularReport(const QString& frequency, const QString& throat, bool diameter = false) {
  (diameter ? SettCircForm->diameter : SettCircForm->radius)->setChecked(true);
  SettCircForm->Freq->setText(frequency);
  SettCircForm->Throat->setText(throat);
  SettCircForm->T10->setChecked(true);
  SettCircForm->Calculate->click();
  return LastReport();
}

// The flat-sided horn against three walls: sides 1A - 1B open from 40 to 3000 mm.
TTextForm* FlatRectangularReport() {
  SettRecForm->Freq->setText(QStringLiteral("32"));
  SettRecForm->Side1->setText(QStringLiteral("40"));
  SettRecForm->Side2->setText(QStringLiteral("50"));
  SettRecForm->OneSide->setChecked(true);
  SettRecForm->MouthS1->setText(QStringLiteral("3000"));
  SettRecForm->Location8->setChecked(true);
  SettRecForm->T100->setChecked(true);
  SettRecForm->Calculate->click();
  return LastReport();
}

TTextForm* ReportOf(const QString& horn) {
  if (horn == QStringLiteral("bass")) return CircularReport(QStringLiteral("32"), QStringLiteral("25"));
  if (horn == QStringLiteral("tweeter")) return CircularReport(QStringLiteral("3000"), QStringLiteral("5"));
  return FlatRectangularReport();
}

// Captions as the menu shows them, "-" for a separator.
QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) {
    captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return captions;
}

// The walls are drawn dark blue; the inside, the grid and the text are not.
bool WallNear(const QImage& image, QPointF point) {
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      const QPoint at = point.toPoint() + QPoint(dx, dy);
      if (!image.rect().contains(at)) continue;
      const QColor color = image.pixelColor(at);
      if (color.blue() - color.red() > 60 && color.green() < 140) return true;
    }
  }
  return false;
}

}  // namespace

class ProfileWindowTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<QTemporaryDir> folder_;

 private slots:
  void initTestCase() {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    std::uint32_t clock = 0;
    CreateLongLivedForms([&clock] { return clock += 1000; });
    Mainform->resize(1000, 800);
    Mainform->show();
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
    SettCircForm->radius->setChecked(true);
    SettCircForm->Freq->setText(QStringLiteral("300"));
    SettCircForm->Throat->setText(QStringLiteral("10"));
    SettRecForm->OneSide->setChecked(false);
    SettRecForm->Location1->setChecked(true);
    SettCircForm->hide();
    SettRecForm->hide();
    prompt_.reset();
    folder_.reset();
    RefreshSeparators();
  }

  void fileMenuEndsWithTheProfileItems() {
    TTextForm* form = ReportOf(QStringLiteral("tweeter"));
    QVERIFY(form);
    QCOMPARE(Captions(form->File1),
             (QStringList{"&Save", "Save &as...", "-", "&Print...", "Printer &setup...", "-",
                          "&Close", "&Quit", "-", "Show &profile...", "E&xport profile...",
                          "Export pa&nels...", "Print full-size &template...",
                          "Acoustic &loading...", "&Build kit..."}));
    for (const QAction* item : {form->Showprofile1, form->Exportprofile1, form->Exportpanels1,
                                form->Printtemplate1, form->Acousticloading1, form->Buildkit1}) {
      QVERIFY(item->shortcut().isEmpty());
      QVERIFY(item->isEnabled());
    }
    QCOMPARE(Captions(form->Edit1), (QStringList{"&Undo", "-", "Cu&t", "&Copy", "&Paste",
                                                 "Select &all"}));
  }

  // Circular horns: rings saved as the core's cutting list; rectangular
  // horns: STL only, in pieces named from the throat.
  void buildKitSavesTheChosenKit() {
    for (const QString& horn : {QStringLiteral("bass"), QStringLiteral("flat")}) {
      TTextForm* form = ReportOf(horn);
      QVERIFY(form);
      form->Buildkit1->trigger();
      QPointer<TBuildKitForm> dialog = form->BuildKitDialog();
      QVERIFY(dialog && dialog->isVisible());
      const bool flat = horn == QStringLiteral("flat");
      QCOMPARE(dialog->RectangularNote->isVisibleTo(dialog), flat);
      QCOMPARE(dialog->Rings->isEnabled(), !flat);
      QCOMPARE(dialog->Stl->isChecked(), flat);
      QString path;
      if (flat) {
        dialog->PrinterHeight->setText(QStringLiteral("2000"));
        path = folder_->filePath(QStringLiteral("horn.stl"));
      } else {
        dialog->Board->setText(QStringLiteral("19"));
        dialog->BoardWall->setText(QStringLiteral("15"));
        dialog->Format->setCurrentIndex(dialog->Format->findData(QStringLiteral("csv")));
        path = folder_->filePath(QStringLiteral("rings.csv"));
      }
      prompt_->exportAnswers = {path};
      dialog->SaveButton->click();
      QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
      QCOMPARE(prompt_->exportPresets.constLast(),
               flat ? QStringLiteral("horn.stl") : QStringLiteral("rings.csv"));
      if (flat) {
        for (const char* piece : {"horn-1.stl", "horn-2.stl"})
          QVERIFY(QFile::exists(folder_->filePath(QLatin1String(piece))));
        QVERIFY(!QFile::exists(path));
      } else {
        const auto& input =
            std::get<vortalis::report::CircularReportInput>(*form->Source().horn);
        const std::string expected = vortalis::buildkit::RingsCsv(
            vortalis::buildkit::StackedRings(input, {}, form->Source().separators, 19.0L, 15.0L),
            input.unit);
        QCOMPARE(ReadFile(path), QByteArray::fromStdString(expected));
        // The template: the cutting list, then every board.
        const QString pdf = folder_->filePath(QStringLiteral("rings.pdf"));
        prompt_->printAnswers = {true};
        prompt_->configurePrinter = [&pdf](QPrinter& printer) {
          printer.setOutputFormat(QPrinter::PdfFormat);
          printer.setOutputFileName(pdf);
          printer.setPageSize(QPageSize(QPageSize::A4));
        };
        dialog->PrintButton->click();
        QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
        QVERIFY(ReadFile(pdf).startsWith("%PDF"));
        QVERIFY(dialog->Status->text().startsWith(QStringLiteral("Printed ")));
      }
      dialog->CloseButton->click();
      QTRY_VERIFY(!dialog);
    }
  }

  // A rectangular horn's four walls as one DXF; a circular horn's report
  // says why it has none, before any file is asked for.
  void exportPanelsWritesTheWallsOrRefuses() {
    for (const QString& horn : {QStringLiteral("flat"), QStringLiteral("bass")}) {
      TTextForm* form = ReportOf(horn);
      QVERIFY(form);
      const QString path = folder_->filePath(horn + QStringLiteral(".dxf"));
      prompt_->errors.clear();
      prompt_->exportPresets.clear();
      prompt_->exportAnswers = {path};
      form->Exportpanels1->trigger();
      if (horn == QStringLiteral("flat")) {
        QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
        QCOMPARE(prompt_->exportPresets, QStringList{QStringLiteral("panels.dxf")});
        const QByteArray dxf = ReadFile(path);
        for (const char* layer : {"PANEL_1A", "PANEL_1B", "PANEL_2A", "PANEL_2B"})
          QVERIFY2(dxf.contains(layer), layer);
      } else {
        QCOMPARE(prompt_->errors,
                 QStringList{QStringLiteral(
                     "Panels are drawn for rectangular horns only: the wall of a circular horn "
                     "is curved in two directions and cannot be cut flat")});
        QVERIFY(prompt_->exportPresets.isEmpty());
        QVERIFY(!QFile::exists(path));
        prompt_->exportAnswers.clear();
      }
    }
  }

  void profileWindowDrawsTheReportsHorn_data() {
    QTest::addColumn<QString>("horn");
    QTest::newRow("circular bass horn, 32 Hz") << QStringLiteral("bass");
    QTest::newRow("circular tweeter, 3000 Hz") << QStringLiteral("tweeter");
    QTest::newRow("rectangular with flat sides") << QStringLiteral("flat");
  }

  void profileWindowDrawsTheReportsHorn() {
    QFETCH(QString, horn);
    TTextForm* form = ReportOf(horn);
    QVERIFY(form);
    // The dialog changes after the calculation; the drawing stays the report's horn.
    const QString frequency = QString::fromStdString(std::visit(
        [](const auto& input) { return input.frequencyText; }, *form->Source().horn));
    SettCircForm->Freq->setText(QStringLiteral("100"));
    SettRecForm->Freq->setText(QStringLiteral("100"));

    form->Showprofile1->trigger();
    QPointer<TProfileForm> window = form->ProfileWindow();
    QVERIFY(window && window->isVisible() && window->isWindow());
    const HornProfile& profile = window->Profile();
    QCOMPARE(QString::fromStdString(vortalis::geometry::FixedText(profile.frequency, 8, 0)),
             frequency);
    QCOMPARE(profile.points.back().distance, profile.length);
    QVERIFY(profile.points.size() >= 200 && profile.points.size() <= 2002);
    form->Showprofile1->trigger();
    QCOMPARE(form->ProfileWindow(), window.data());

    QImage image(900, horn == QStringLiteral("flat") ? 900 : 560, QImage::Format_RGB32);
    QPainter painter(&image);
    const QFont font = painter.font();
    PaintHornProfile(painter, image.rect(), profile, CurrentSeparators());
    painter.end();
    const ProfileLayout layout(profile, image.rect(), font, CurrentSeparators());
    const auto curves = vortalis::exports::ProfileCurves(profile);
    QCOMPARE(layout.Panels(), profile.rectangular ? 2 : 1);
    for (int panel = 0; panel < layout.Panels(); ++panel) {
      const auto& points = curves[static_cast<std::size_t>(panel)].points;
      for (std::size_t i = 0; i < points.size(); i += points.size() / 25 + 1) {
        for (const qreal side : {1.0, -1.0}) {
          const QPointF at = layout.Map(panel, points[i].x(), side * points[i].y());
          QVERIFY2(WallNear(image, at), qPrintable(QStringLiteral("panel %1, point %2, side %3")
                                                       .arg(panel).arg(i).arg(side)));
        }
      }
      QVERIFY(WallNear(image, layout.Map(panel, points.back().x(), points.back().y())));
      // Above the walls, halfway along, there is no wall.
      QVERIFY(!WallNear(image, layout.Map(panel, points.back().x() / 2, layout.YHigh() * 0.9)));
    }
    if (profile.flatSides) {
      // The flat sides are straight: halfway along, the wall is halfway open.
      const auto& flat = curves.front().points;
      const QPointF halfway = (flat.front() + flat.back()) / 2;
      QVERIFY(WallNear(image, layout.Map(0, halfway.x(), halfway.y())));
    }

    // The window goes with its report.
    form->RichEdit1->document()->setModified(false);
    Reports().constLast()->close();
    QTRY_VERIFY(!window);
  }

  void exportWritesTheProfile_data() {
    QTest::addColumn<QString>("horn");
    QTest::addColumn<bool>("diameter");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("limit");  // "size" or "length"
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("limitValue");
    QTest::newRow("circular in diameters, cut at a 200 mm diameter")
        << "circular" << true << "18" << "size" << "200" << int(MouthLimitKind::Radius) << 100.0;
    QTest::newRow("flat rectangular, side 1 cut at 1000 mm")
        << "flat" << false << "18" << "size" << "1000" << int(MouthLimitKind::Side1) << 1000.0;
    QTest::newRow("flat rectangular, cut 2.5 m from the throat")
        << "flat" << false << "2.5" << "length" << "2500" << int(MouthLimitKind::Length) << 2500.0;
  }

  void exportWritesTheProfile() {
    QFETCH(QString, horn);
    QFETCH(bool, diameter);
    QFETCH(QString, step);
    QFETCH(QString, limit);
    QFETCH(QString, value);
    QFETCH(int, kind);
    QFETCH(double, limitValue);
    TTextForm* form = horn == QStringLiteral("flat")
                          ? FlatRectangularReport()
                          : CircularReport(QStringLiteral("300"), QStringLiteral("20"), diameter);
    QVERIFY(form);
    form->Exportprofile1->trigger();
    QPointer<TExportForm> dialog = form->ExportDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->Step->text(), horn == QStringLiteral("flat") ? "100" : "10");

    // A step that gives no profile is refused before any file is asked for;
    // the box adds the full stop.
    for (const char* refused : {"18 mm", "0"}) {
      dialog->Step->setText(QString::fromLatin1(refused));
      dialog->ExportButton->click();
    }
    QCOMPARE(prompt_->errors, (QStringList{"The step is not a number",
                                           "The step must be a number greater than 0"}));
    QVERIFY(prompt_->exportPresets.isEmpty());
    QVERIFY(dialog->isVisible());

    dialog->Step->setText(step);
    (limit == QStringLiteral("size") ? dialog->SizeLimit : dialog->LengthLimit)->setChecked(true);
    dialog->LimitValue->setText(value);
    const QString path = folder_->filePath(QStringLiteral("horn.csv"));
    prompt_->exportAnswers = {path};
    dialog->ExportButton->click();
    QCOMPARE(prompt_->errors.size(), 2);
    QCOMPARE(prompt_->exportPresets, QStringList{QStringLiteral("profile.csv")});
    QTRY_VERIFY(!dialog);

    const HornProfile expected = MakeSourceProfile(
        form->Source(), std::stold(step.toStdString()),
        MouthLimit{static_cast<MouthLimitKind>(kind), static_cast<long double>(limitValue)});
    const QByteArray csv = ReadFile(path);
    QCOMPARE(csv, QByteArray::fromStdString(vortalis::exports::ProfileCsv(expected)));
    const QList<QByteArray> rows = csv.trimmed().split('\n');
    QCOMPARE(rows.size(), static_cast<qsizetype>(expected.points.size()) + 1);
    QCOMPARE(rows.value(2).split(',').value(0).toDouble(), step.toDouble());
    QVERIFY(expected.points.back().distance < expected.length);
  }

  void templatePrintsOnSeveralPages() {
    TTextForm* form = CircularReport(QStringLiteral("300"), QStringLiteral("10"));
    QVERIFY(form);
    const QString path = folder_->filePath(QStringLiteral("template.pdf"));
    prompt_->printAnswers = {true};
    prompt_->configurePrinter = [&path](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      printer.setPageSize(QPageSize(QPageSize::A4));
      printer.setPageOrientation(QPageLayout::Portrait);
    };
    form->Printtemplate1->trigger();
    QVERIFY(prompt_->errors.isEmpty());
    const QSizeF printable =
        TTextForm::SharedPrinter().pageLayout().paintRect(QPageLayout::Millimeter).size();
    const auto layout =
        vortalis::exports::LayoutTemplate(MakeDrawingProfile(form->Source()), printable);
    const int pages = PdfPageCount(ReadFile(path));
    QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
    QCOMPARE(pages, static_cast<int>(layout.pages.size()));
  }
};

QTEST_MAIN(ProfileWindowTests)
#include "profile_window_tests.moc"

using namespace vortalis::windows;
