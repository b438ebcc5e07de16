// The report window's profile items: the File menu's three new entries, the
// profile window and its drawing, the export dialog and the full-size template.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_form.h"
#include "app/startup.h"
#include "buildkit/panels.h"
#include "buildkit/rings.h"
#include "buildkit/solid_kit.h"
#include "buildkit/staves.h"
#include "export/full_size_template.h"
#include "export/kit_files.h"
#include "export/profile_curves.h"
#include "export/profile_export.h"
#include "files/kit_files.h"
#include "report/drawing_grid.h"
#include "report_window/build_kit_dialog.h"
#include "report_window/export_dialog.h"
#include "report_window/profile_window.h"
#include "report_window/report_profile.h"
#include "report_window/text_form.h"
#include "long_lived_forms.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "test_files.h"
#include "ui/locale_separators.h"

using namespace vortalis::ui;
using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

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

// The first page's size in points, as the PDF gives it.
QString MediaBox(const QByteArray& pdf) {
  const qsizetype at = pdf.indexOf("/MediaBox");
  return at < 0 ? QString() : QString::fromLatin1(pdf.mid(at, pdf.indexOf(']', at) - at));
}

}  // namespace

class ProfileWindowTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<QTemporaryDir> folder_;

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
             (QStringList{"&Open design...", "&Recent designs", "Save &design", "Save design as...",
                          "-", "&Save", "Save &as...", "-", "&Print...", "Printer set&up...", "-",
                          "&Close", "&Quit", "-", "Sho&w profile...", "E&xport profile...",
                          "Export pa&nels...", "Print full-size &template...",
                          "Acoustic &loading...", "Dri&ver and response...", "&Build kit..."}));
    for (const QAction* item : {form->Showprofile1, form->Exportprofile1, form->Exportpanels1,
                                form->Printtemplate1, form->Acousticloading1, form->Buildkit1}) {
      QVERIFY(item->shortcut().isEmpty());
      // A circular horn has no flat panels.
      QCOMPARE(item->isEnabled(), item != form->Exportpanels1);
    }
    QCOMPARE(Captions(form->Edit1), (QStringList{"&Undo", "-", "Cu&t", "&Copy", "&Paste",
                                                 "Select &all"}));
  }

  // Circular horns: rings saved as the core's cutting list; rectangular
  // horns: STL in pieces named from the throat.
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
      QCOMPARE(dialog->Rings->isChecked(), !flat);
      QVERIFY(dialog->Stl->isEnabled());
      QString path;
      if (flat) {
        dialog->Stl->setChecked(true);
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
        const QStringList written =
            QDir(folder_->path()).entryList({QStringLiteral("horn-*.stl")}, QDir::Files);
        QCOMPARE(dialog->Status->text(), QStringLiteral("Saved %1 pieces: %2.")
                                             .arg(written.size())
                                             .arg(written.join(QStringLiteral(", "))));
        QVERIFY(!QFile::exists(path));
      } else {
        const auto& input =
            std::get<vortalis::report::CircularReportInput>(*form->Source().horn);
        const auto rings =
            vortalis::buildkit::StackedRings(input, {}, form->Source().separators, 19.0L, 15.0L);
        const std::string expected = vortalis::buildkit::RingsCsv(rings, input.unit);
        QCOMPARE(ReadFile(path), QByteArray::fromStdString(expected));
        // The template: the cutting list, then every board; thick boards keep
        // the bass horn's tiled rings to a few hundred pages.
        dialog->Board->setText(QStringLiteral("400"));
        const auto thick =
            vortalis::buildkit::StackedRings(input, {}, form->Source().separators, 400.0L, 15.0L);
        const QString pdf = folder_->filePath(QStringLiteral("rings.pdf"));
        prompt_->printAnswers = {true};
        prompt_->configurePrinter = [&pdf](QPrinter& printer) {
          printer.setOutputFormat(QPrinter::PdfFormat);
          printer.setOutputFileName(pdf);
          printer.setPageSize(QPageSize(QPageSize::A4));
        };
        dialog->PrintButton->click();
        QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
        // As many pages as the tool's PDF of the same kit, turned the same way.
        QCOMPARE(PdfPageCount(ReadFile(pdf)),
                 vortalis::exports::FewerKitPages(vortalis::exports::RingsKit{input.unit, thick},
                                                  QPageSize(QPageSize::A4))
                     .pages);
        QVERIFY(dialog->Status->text().startsWith(QStringLiteral("Printed ")));
      }
      dialog->CloseButton->click();
      QTRY_VERIFY(!dialog);
    }
  }

  // A value the kit refuses is refused by the dialog with the kit's own
  // sentence, the same the tool gives; a flange without holes is a flange.
  void buildKitRefusesAValueAsTheKitDoes() {
    namespace kit = vortalis::buildkit;
    TTextForm* form = ReportOf(QStringLiteral("bass"));
    QVERIFY(form);
    form->Buildkit1->trigger();
    QPointer<TBuildKitForm> dialog = form->BuildKitDialog();
    QVERIFY(dialog);
    const auto& horn = std::get<vortalis::report::CircularReportInput>(*form->Source().horn);
    const auto& separators = form->Source().separators;
    const auto said = [](const auto& make) {
      try {
        make();
      } catch (const kit::KitError& e) {
        return QString::fromUtf8(e.what()).chopped(1);  // an error box ends with no stop
      }
      return QStringLiteral("accepted");
    };
    const auto solids = [&](kit::SolidOptions options) {
      return [&, options] { kit::CircularHornSolids(horn, {}, separators, options); };
    };
    const struct {
      QRadioButton* method;
      QLineEdit* field;
      const char* typed;
      QString kitSaid;
    } rows[] = {
        {dialog->Rings, dialog->Board, "0",
         said([&] { kit::StackedRings(horn, {}, separators, 0.0L, 20.0L); })},
        {dialog->Staves, dialog->StaveCount, "65",
         said([&] { kit::Staves(horn, {}, separators, 65); })},
        {dialog->Stl, dialog->BoltCount, "400",
         said(solids({3.0L, 0.0L, kit::Flange{200.0L, 6.0L, 150.0L, 400, 5.5L}}))},
        {dialog->Stl, dialog->BoltCount, "0", QStringLiteral("accepted")},
    };
    dialog->Flange->setChecked(true);
    for (const auto& row : rows) {
      row.method->setChecked(true);
      const QString before = row.field->text();
      row.field->setText(QLatin1String(row.typed));
      prompt_->errors.clear();
      prompt_->exportAnswers = {QString()};  // the file dialog cancelled
      dialog->SaveButton->click();
      QCOMPARE(prompt_->errors.isEmpty() ? QStringLiteral("accepted") : prompt_->errors.join('\n'),
               row.kitSaid);
      row.field->setText(before);
    }
    dialog->CloseButton->click();
    QTRY_VERIFY(!dialog);
  }

  // Any kit's preview draws its pieces; the staves' fit reaches the file.
  void buildKitPreviewsAndSavesEveryKind() {
    for (const QString& horn : {QStringLiteral("bass"), QStringLiteral("flat")}) {
      TTextForm* form = ReportOf(horn);
      QVERIFY(form);
      form->Buildkit1->trigger();
      QPointer<TBuildKitForm> dialog = form->BuildKitDialog();
      QVERIFY(dialog);
      const bool flat = horn == QStringLiteral("flat");
      (flat ? dialog->Panels : dialog->Staves)->setChecked(true);
      dialog->Status->clear();
      QTRY_VERIFY(!dialog->Status->text().isEmpty());
      const QImage shown = dialog->Preview->grab().toImage();
      int inked = 0;
      for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) inked += qGray(shown.pixel(x, y)) < 160;
      QVERIFY2(inked > 200, qPrintable(dialog->Status->text()));
      if (!flat) {
        dialog->StaveCount->setText(QStringLiteral("8"));
        dialog->StaveFit->setCurrentText(QStringLiteral("inscribed"));
        dialog->Format->setCurrentIndex(dialog->Format->findData(QStringLiteral("csv")));
        const QString path = folder_->filePath(QStringLiteral("staves.csv"));
        prompt_->exportAnswers = {path};
        dialog->SaveButton->click();
        QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
        const auto& input = std::get<vortalis::report::CircularReportInput>(*form->Source().horn);
        const auto pattern = vortalis::buildkit::Staves(input, {}, form->Source().separators, 8,
                                                        vortalis::buildkit::StaveFit::Inscribed);
        QCOMPARE(ReadFile(path),
                 QByteArray::fromStdString(vortalis::buildkit::StavesCsv(pattern, input.unit)));
      }
      dialog->CloseButton->click();
      QTRY_VERIFY(!dialog);
    }
  }

  // Every piece named, or the first and the last of a long row.
  void savedPiecesNameThemAll() {
    const auto pieces = [](int count) {
      QStringList files;
      for (int i = 1; i <= count; ++i) files << QStringLiteral("/tmp/x/horn-%1.stl").arg(i);
      return count == 1 ? QStringList{QStringLiteral("/tmp/x/horn.stl")} : files;
    };
    QCOMPARE(SavedPieces(pieces(1)), QStringLiteral("Saved horn.stl."));
    QCOMPARE(SavedPieces(pieces(4)),
             QStringLiteral("Saved 4 pieces: horn-1.stl, horn-2.stl, horn-3.stl, horn-4.stl."));
    QCOMPARE(SavedPieces(pieces(7)), QStringLiteral("Saved 7 pieces: horn-1.stl to horn-7.stl."));
  }

  // "Export panels..." is the export dialog with the panels chosen: drawings
  // only, no step, and the mouth limit reaches the file. A circular horn's
  // report says why it has none, before any dialog.
  void exportPanelsWritesTheWallsOrRefuses_data() {
    QTest::addColumn<QString>("horn");
    QTest::addColumn<QString>("limit");  // "", "size" or "length"
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("file");
    QTest::newRow("flat, cut 2.5 m from the throat, DXF") << "flat" << "length" << "2500"
                                                          << "panels.dxf";
    QTest::newRow("flat, cut where 1A - 1B reaches 1500, SVG") << "flat" << "size" << "1500"
                                                               << "panels.svg";
    QTest::newRow("circular") << "bass" << "" << "" << "";
  }

  void exportPanelsWritesTheWallsOrRefuses() {
    QFETCH(QString, horn);
    QFETCH(QString, limit);
    QFETCH(QString, value);
    QFETCH(QString, file);
    TTextForm* form = ReportOf(horn);
    QVERIFY(form);
    prompt_->exportPresets.clear();
    form->Exportpanels1->trigger();
    if (horn != QStringLiteral("flat")) {
      QVERIFY(!form->Exportpanels1->isEnabled());
      QVERIFY2(form->Exportpanels1->toolTip().contains(QStringLiteral("rectangular horns only")),
               qPrintable(form->Exportpanels1->toolTip()));
      QVERIFY(!form->ExportDialog());
      return;
    }
    QPointer<TExportForm> dialog = form->ExportDialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(dialog->Panels->isChecked());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Export panels"));
    QVERIFY(dialog->Dxf->isChecked());
    QVERIFY(!dialog->Csv->isEnabled());
    QVERIFY(!dialog->Step->isEnabled());
    dialog->Step->setText(QStringLiteral("not a number"));  // no step for panels
    (limit == QStringLiteral("size") ? dialog->SizeLimit : dialog->LengthLimit)->setChecked(true);
    dialog->LimitValue->setText(value);
    if (file.endsWith(QStringLiteral(".svg"))) dialog->Svg->setChecked(true);
    const QString path = folder_->filePath(file);
    prompt_->exportAnswers = {path};
    dialog->ExportButton->click();
    QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
    QCOMPARE(prompt_->exportPresets, QStringList{file});
    QTRY_VERIFY(!dialog);

    const MouthLimit mouth{limit == QStringLiteral("size") ? MouthLimitKind::Side1
                                                            : MouthLimitKind::Length,
                           std::stold(value.toStdString())};
    const auto& source = form->Source();
    const vortalis::exports::PanelsKit kit{
        SourceUnit(source), vortalis::buildkit::WallPanels(*source.horn, mouth, source.separators)};
    const bool svg = file.endsWith(QStringLiteral(".svg"));
    QCOMPARE(ReadFile(path), svg ? vortalis::exports::KitSvg(kit) : QByteArray::fromStdString(vortalis::files::KitDxf(kit)));

    // The walls' profile is what "Export profile..." shows next, CSV again possible.
    form->Exportprofile1->trigger();
    dialog = form->ExportDialog();
    QVERIFY(dialog && dialog->Walls->isChecked() && dialog->Csv->isEnabled() &&
            dialog->Step->isEnabled());
    dialog->Cancel->click();
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
    form->reportText->document()->setModified(false);
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
    QCOMPARE(dialog->Panels != nullptr, horn == QStringLiteral("flat"));

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

  // The readout under the mouse gives the report's row at that distance.
  void readoutEqualsTheReportRow_data() {
    QTest::addColumn<QString>("horn");
    QTest::addColumn<double>("distance");
    QTest::newRow("circular in radii") << "radius" << 100.0;
    QTest::newRow("circular in diameters") << "diameter" << 150.0;
    QTest::newRow("flat rectangular") << "flat" << 1000.0;
  }

  void readoutEqualsTheReportRow() {
    QFETCH(QString, horn);
    QFETCH(double, distance);
    TTextForm* form = horn == QStringLiteral("flat")
                          ? FlatRectangularReport()
                          : CircularReport(QStringLiteral("300"), QStringLiteral("20"),
                                           horn == QStringLiteral("diameter"));
    QVERIFY(form);
    QStringList row;
    for (const QString& line : form->reportText->toPlainText().split(QLatin1Char('\n'))) {
      const QStringList fields = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
      if (fields.size() >= 4 && fields[0].trimmed().remove(QLatin1Char(',')).toDouble() == distance)
        row = fields;
    }
    QVERIFY2(!row.isEmpty(), "no report row at the distance");
    for (QString& field : row) field = field.trimmed();

    form->Showprofile1->trigger();
    TProfileForm* window = form->ProfileWindow();
    QVERIFY(window && QTest::qWaitForWindowExposed(window));
    const ProfileLayout layout(window->Profile(), window->View->rect(), window->View->font(),
                               CurrentSeparators());
    const QPointF at = layout.Map(0, distance, 0).toPoint();
    QMouseEvent move(QEvent::MouseMove, at, window->View->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->View, &move);
    const QString readout = window->Readout->text();
    QString shown = readout.section(QLatin1Char(' '), 1, 1);
    QCOMPARE(shown.remove(QLatin1Char(',')).toDouble(), distance);
    const QString expected =
        horn == QStringLiteral("flat")
            ? QStringLiteral("side 1A - 1B %1 mm,  side 2A - 2B %2 mm,  along the flat side %3 mm")
                  .arg(row[1], row[2], row[4])
            : QStringLiteral("%1 %2 mm,  flare angle %3\u00b0").arg(horn, row[1], row[3]);
    QCOMPARE(readout.section(QStringLiteral(":  "), 1), expected);

    // Ctrl+P in the window prints the drawing on one page.
    const QString pdf = folder_->filePath(QStringLiteral("profile.pdf"));
    prompt_->printAnswers = {true};
    prompt_->configurePrinter = [&pdf](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
    };
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(prompt_->printDialogs, 1);
    QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
    QCOMPARE(PdfPageCount(ReadFile(pdf)), 1);
  }

  // The template dialog's paper, step and mouth limit reach the printed file,
  // which has the pages and the page size of the command line tool's template.
  void templateDialogPrintsAsTheTool_data() {
    QTest::addColumn<QString>("horn");
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("limit");  // "", "size" or "length"
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("limitValue");
    QTest::newRow("40 Hz, A4, whole horn")
        << "radius" << int(QPageSize::A4) << "" << "" << int(MouthLimitKind::None) << 0.0;
    QTest::newRow("40 Hz in diameters, A3, cut at a 600 mm diameter")
        << "diameter" << int(QPageSize::A3) << "size" << "600" << int(MouthLimitKind::Radius)
        << 300.0;
    QTest::newRow("flat rectangular, Letter, cut 2.5 m from the throat")
        << "flat" << int(QPageSize::Letter) << "length" << "2500" << int(MouthLimitKind::Length)
        << 2500.0;
    QTest::newRow("flat rectangular's panels, A3, cut 2.5 m from the throat")
        << "panels" << int(QPageSize::A3) << "length" << "2500" << int(MouthLimitKind::Length)
        << 2500.0;
  }

  void templateDialogPrintsAsTheTool() {
    QFETCH(QString, horn);
    QFETCH(int, paper);
    QFETCH(QString, limit);
    QFETCH(QString, value);
    QFETCH(int, kind);
    QFETCH(double, limitValue);
    const bool panels = horn == QStringLiteral("panels");
    const bool rectangular = panels || horn == QStringLiteral("flat");
    TTextForm* form = rectangular ? FlatRectangularReport()
                                  : CircularReport(QStringLiteral("40"), QStringLiteral("25"),
                                                   horn == QStringLiteral("diameter"));
    QVERIFY(form);
    QPrinter& printer = TTextForm::SharedPrinter();
    const QPageLayout before = printer.pageLayout();
    form->Printtemplate1->trigger();
    QPointer<TExportForm> dialog = form->TemplateDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->Panels != nullptr, rectangular);
    if (panels) dialog->Panels->setChecked(true);
    dialog->Paper->setCurrentIndex(dialog->Paper->findData(paper));
    dialog->Step->setText(QStringLiteral("7.5"));
    if (!limit.isEmpty()) {
      (limit == QStringLiteral("size") ? dialog->SizeLimit : dialog->LengthLimit)->setChecked(true);
      dialog->LimitValue->setText(value);
    }

    dialog->SheetsChange();
    const int announced = dialog->Sheets->text().section(QLatin1Char(' '), 0, 0).toInt();
    const QString path = folder_->filePath(QStringLiteral("template.pdf"));
    prompt_->printAnswers = {true};
    prompt_->configurePrinter = [&path](QPrinter& chosen) {
      chosen.setOutputFormat(QPrinter::PdfFormat);
      chosen.setOutputFileName(path);
    };
    dialog->ExportButton->click();
    QVERIFY2(prompt_->errors.isEmpty(), qPrintable(prompt_->errors.join('\n')));
    QTRY_VERIFY(!dialog);
    QCOMPARE(printer.pageLayout().pageSize().id(), before.pageSize().id());
    QCOMPARE(printer.pageLayout().orientation(), before.orientation());

    const QPageSize size(static_cast<QPageSize::PageSizeId>(paper));
    const QString toolPath = folder_->filePath(QStringLiteral("tool.pdf"));
    const MouthLimit mouth{static_cast<MouthLimitKind>(kind), static_cast<long double>(limitValue)};
    const auto& source = form->Source();
    int toolPages = 0;
    if (panels) {
      // The panels' own PDF; the step does not reach them.
      vortalis::exports::WriteKitFile(
          vortalis::exports::PanelsKit{
              SourceUnit(source),
              vortalis::buildkit::WallPanels(*source.horn, mouth, source.separators)},
          toolPath, size);
      toolPages = PdfPageCount(ReadFile(toolPath));
    } else {
      toolPages = vortalis::exports::WriteTemplatePdf(MakeSourceProfile(source, 7.5L, mouth),
                                                      toolPath, size);
    }
    const QByteArray printed = ReadFile(path);
    QCOMPARE(PdfPageCount(printed), toolPages);
    QCOMPARE(announced, toolPages);
    QCOMPARE(MediaBox(printed), MediaBox(ReadFile(toolPath)));
    if (mouth.kind != MouthLimitKind::None && !panels) {
      // The limit is what makes the count: the whole horn takes more pages.
      QVERIFY(vortalis::exports::WriteTemplatePdf(MakeSourceProfile(form->Source(), 7.5L, {}),
                                                  toolPath, size) > toolPages);
    }
  }
};

QTEST_MAIN(ProfileWindowTests)
#include "profile_window_tests.moc"
