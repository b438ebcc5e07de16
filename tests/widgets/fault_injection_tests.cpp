// The window program under faults and hostile input: saves that cannot create
// their file or run out of disk part way, Quit over several unsaved reports,
// Abort and Quit in the middle of a 610,000-row table, many reports opened and
// closed, and any text in every field of both dialogs.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>

#include "app/main_form.h"
#include "file_size_limit.h"
#include "long_lived_forms.h"
#include "report/report_generator.h"
#include "report_window/export_dialog.h"
#include "report_window/profile_window.h"
#include "report_window/text_form.h"
#include "report_window/waitform.h"
#include "report_windows.h"
#include "scripted_prompt.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "test_files.h"
#include "ui/locale_separators.h"
#include "ui/prompt.h"

using namespace vortalis::ui;
using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

namespace {

using Answer = Prompt::Answer;

const QString kAbortNote = QString::fromLatin1(vortalis::report::kAbortNote);

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A small tmpfs at `folder` while the object lives; mounting needs root.
class SmallDisk {
 public:
  SmallDisk(const QString& folder, int kib) : folder_(QFile::encodeName(folder)) {
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kib) + "k";
    mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount(folder_.constData());
  }
  bool Mounted() const { return mounted_; }

 private:
  QByteArray folder_;
  bool mounted_ = false;
};

QStringList FolderEntries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                QDir::NoDotAndDotDot);
}

TTextForm* SmallReport() {
  return CalculateCircular(QStringLiteral("300"), QStringLiteral("10"), SettCircForm->T100);
}

// The largest table in millimetres: 1 Hz, 0.5 mm throat radius, 1 mm steps
// (610,667 stations; the largest of all, in inches, has 2,404,042).
TTextForm* LargestMmReport() {
  return CalculateCircular(QStringLiteral("1"), QStringLiteral("0.5"), SettCircForm->T1);
}

QStringList Lines(const TTextForm& form) {
  return form.reportText->toPlainText().split(QLatin1Char('\n'));
}

// Runs `action` from the event processing of the running calculation, on its
// `pass`-th pass, as a click or a key press of the user would arrive.
class DuringCalculation {
 public:
  DuringCalculation(int pass, std::function<void()> action) : action_(std::move(action)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this, pass] {
      if (++passes_ < pass) return;
      timer_.stop();
      calculating_ = waitform->Calculating();
      action_();
    });
    timer_.start();
  }
  bool RanDuringCalculation() const { return calculating_; }

 private:
  QTimer timer_;
  std::function<void()> action_;
  int passes_ = 0;
  bool calculating_ = false;
};

}  // namespace

class FaultInjectionTests : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<LongLivedForms> forms_;
  std::unique_ptr<ScriptedPrompt> prompt_;
  std::unique_ptr<QTemporaryDir> folder_;

  QString InFolder(const QString& name) const { return folder_->filePath(name); }

 private slots:
  void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

  void init() {
    SetSeparatorsForTesting({".", ","});
    prompt_ = std::make_unique<ScriptedPrompt>();
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    // Fresh windows for every test: a Quit that went through leaves the old ones closed.
    forms_ = std::make_unique<LongLivedForms>();
    Mainform->resize(1000, 800);
    Mainform->show();
  }

  void cleanup() {
    // Every failure leaves the cursor as it found it, and its box is not busy.
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(prompt_->busyErrors, QStringList{});
    DiscardReports();
    QTRY_VERIFY(Reports().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    forms_.reset();
    prompt_.reset();
    folder_.reset();
    RefreshSeparators();
  }

  // ---- Save ----------------------------------------------------------------

  void failedSaveLeavesEverythingAsItWas_data() {
    QTest::addColumn<QString>("path");       // %1: the test's folder
    QTest::addColumn<bool>("existingFile");  // an older report already has the name
    QTest::addColumn<int>("sizeLimit");      // bytes a file may grow to; 0: no limit
    QTest::addColumn<bool>("largeReport");   // several write chunks rather than one
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("diskKiB");  // a tmpfs of this size at %1/disk; 0: none
    // Tests run as root, for whom permission bits stop nothing; these refuse root too.
    QTest::newRow("folder that refuses new files (/proc)")
        << QStringLiteral("/proc/vortalis-horn.txt") << false << 0 << false
        << QStringLiteral("Cannot create file /proc/vortalis-horn.txt") << 0;
    QTest::newRow("a file where the folder should be")
        << QStringLiteral("%1/report.txt/horn.txt") << false << 0 << false
        << QStringLiteral("Cannot create file %1/report.txt/horn.txt") << 0;
    QTest::newRow("name longer than the file system allows")
        << QStringLiteral("%1/") + QString(300, QLatin1Char('h')) + QStringLiteral(".txt") << false
        << 0 << false
        << QStringLiteral("Cannot create file %1/") + QString(300, QLatin1Char('h')) +
               QStringLiteral(".txt") << 0;
    QTest::newRow("disk full in the first write, over an older report")
        << QStringLiteral("%1/horn.txt") << true << 100 << false
        << QStringLiteral("Failed to Save Stream") << 0;
    QTest::newRow("disk full part way through a long report, over an older report")
        << QStringLiteral("%1/horn.txt") << true << 1200000 << true
        << QStringLiteral("Failed to Save Stream") << 0;
    QTest::newRow("disk full part way through a long report, new file")
        << QStringLiteral("%1/horn.txt") << false << 1200000 << true
        << QStringLiteral("Failed to Save Stream") << 0;
    QTest::newRow("a small disk full part way through a long report, over an older report")
        << QStringLiteral("%1/disk/horn.txt") << true << 0 << true
        << QStringLiteral("Failed to Save Stream") << 1024;
  }

  // The old file stays intact, no temporary file is left, the report stays
  // changed and named after the chosen file, the error box appears; a close
  // question answered Yes then keeps the window; and once the fault is gone,
  // Save writes the whole report.
  void failedSaveLeavesEverythingAsItWas() {
    QFETCH(QString, path);
    QFETCH(bool, existingFile);
    QFETCH(int, sizeLimit);
    QFETCH(bool, largeReport);
    QFETCH(QString, error);
    QFETCH(int, diskKiB);
    std::unique_ptr<SmallDisk> disk;
    if (diskKiB > 0) {
      disk = std::make_unique<SmallDisk>(InFolder(QStringLiteral("disk")), diskKiB);
      if (!disk->Mounted()) QSKIP("mounting a tmpfs needs root; the size-limit rows stand in");
    }
    if (path.contains(QStringLiteral("%1"))) path = path.arg(folder_->path());
    if (error.contains(QStringLiteral("%1"))) error = error.arg(folder_->path());
    QVERIFY(WriteFile(InFolder(QStringLiteral("report.txt")), "not a folder\r\n"));
    const QByteArray old = "an older report\r\n";
    if (existingFile) QVERIFY(WriteFile(path, old));
    const QFileInfo parent(QFileInfo(path).absolutePath());
    const QString folder = parent.isDir() && parent.filePath().startsWith(folder_->path())
                               ? parent.filePath()
                               : folder_->path();
    const QStringList before = FolderEntries(folder);

    // 5 Hz with a 0.5 mm throat radius: about 105,000 rows, some 3 MB of text,
    // written in chunks of 1 MiB: the limit stops the second one part way.
    TTextForm* form = largeReport ? CalculateCircular(QStringLiteral("5"), QStringLiteral("0.5"),
                                                      SettCircForm->T1)
                                  : SmallReport();
    QVERIFY(form);
    if (largeReport) QVERIFY(form->reportText->toPlainText().toUtf8().size() > 2 * sizeLimit);
    const auto save = [&](const std::function<void()>& action) {
      std::unique_ptr<FileSizeLimit> limit;
      if (sizeLimit > 0) limit = std::make_unique<FileSizeLimit>(static_cast<rlim_t>(sizeLimit));
      action();
    };
    prompt_->saveAnswers = {path};
    save([form] { form->Save1Click(); });
    QCOMPARE(prompt_->errors, QStringList{error});
    QVERIFY(form->reportText->document()->isModified());
    QCOMPARE(form->FileName(), path);
    QCOMPARE(form->windowTitle(), QFileInfo(path).fileName());
    QCOMPARE(FolderEntries(folder), before);
    if (existingFile) QCOMPARE(ReadFile(path), old);
    if (!existingFile) QVERIFY(!QFileInfo::exists(path));

    prompt_->confirmAnswers = {Answer::Yes};
    save([form] { form->Close1Click(); });
    QCoreApplication::processEvents();
    QCOMPARE(Reports().size(), 1);
    QCOMPARE(prompt_->errors.size(), 2);
    QCOMPARE(FolderEntries(folder), before);

    if (sizeLimit == 0) return;  // the other faults do not go away
    form->Save1Click();
    QCOMPARE(prompt_->errors.size(), 2);
    QVERIFY(!form->reportText->document()->isModified());
    QByteArray expected = form->reportText->toPlainText().toUtf8().replace("\n", "\r\n");
    if (!expected.endsWith("\r\n")) expected.append("\r\n");
    QCOMPARE(ReadFile(path), expected);
  }

  void everyWindowOutputOnAFullDisk_data() {
    QTest::addColumn<QString>("output");
    for (const char* output : {"save", "export csv", "export dxf", "export svg", "print report",
                               "print template", "print profile"})
      QTest::newRow(output) << QString::fromLatin1(output);
  }

  // A disk with room for less than the new file, over an older file: the
  // error names the reason, the old file and the folder stay as they were.
  // PDF prints are files too when the printer prints into one.
  void everyWindowOutputOnAFullDisk() {
    QFETCH(QString, output);
    const QString folder = InFolder(QStringLiteral("disk"));
    const SmallDisk disk(folder, 8);
    std::unique_ptr<FileSizeLimit> limit;
    const QString path = folder + QStringLiteral("/horn");
    QVERIFY(WriteFile(path, "an older file\r\n"));
    // Room for one more page of 4 KiB; every output here is larger.
    if (!disk.Mounted()) limit = std::make_unique<FileSizeLimit>(4096);
    const QStringList before = FolderEntries(folder);
    TTextForm* form = CalculateCircular(QStringLiteral("300"), QStringLiteral("10"),
                                        SettCircForm->T1);
    QVERIFY(form);
    prompt_->printAnswers = {true};
    prompt_->configurePrinter = [&path](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
    };
    if (output == QStringLiteral("save")) {
      prompt_->saveAnswers = {path};
      form->Save1Click();
    } else if (output == QStringLiteral("print report")) {
      form->Print1->trigger();
    } else if (output == QStringLiteral("print template")) {
      form->Printtemplate1->trigger();
      QPointer<TExportForm> dialog = form->TemplateDialog();
      QVERIFY(dialog);
      dialog->ExportButton->click();
      if (dialog) dialog->reject();
    } else if (output == QStringLiteral("print profile")) {
      form->Showprofile1->trigger();
      QVERIFY(form->ProfileWindow());
      form->ProfileWindow()->PrintClick();
    } else {
      form->Exportprofile1->trigger();
      QPointer<TExportForm> dialog = form->ExportDialog();
      QVERIFY(dialog);
      (output.endsWith(QStringLiteral("csv"))   ? dialog->Csv
       : output.endsWith(QStringLiteral("dxf")) ? dialog->Dxf
                                                : dialog->Svg)
          ->setChecked(true);
      dialog->Step->setText(QStringLiteral("1"));
      prompt_->exportAnswers = {path};
      dialog->ExportButton->click();
      if (dialog) dialog->reject();
    }
    limit.reset();
    QCOMPARE(prompt_->errors.size(), 1);
    const QString reason = disk.Mounted() ? QStringLiteral(": No space left on device")
                                          : QStringLiteral(": File too large");
    QCOMPARE(prompt_->errors.constFirst(), output == QStringLiteral("save")
                                               ? QStringLiteral("Failed to Save Stream")
                                               : QStringLiteral("Cannot write ") + path + reason);
    QCOMPARE(ReadFile(path), QByteArray("an older file\r\n"));
    QCOMPARE(FolderEntries(folder), before);
  }

  void saveWritesThroughOrKeepsTheOwner_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("device node") << QStringLiteral("device");
    QTest::newRow("FIFO") << QStringLiteral("fifo");
    QTest::newRow("file of another owner") << QStringLiteral("owned");
  }

  // A device or a FIFO is written through and stays what it is; a file of
  // another owner keeps its owner, group and mode.
  void saveWritesThroughOrKeepsTheOwner() {
    QFETCH(QString, kind);
    if (::geteuid() != 0) QSKIP("device nodes and other owners need root");
    const QString path = InFolder(kind);
    const QByteArray name = QFile::encodeName(path);
    if (kind == QStringLiteral("device")) QCOMPARE(::mknod(name, S_IFCHR | 0666, makedev(1, 3)), 0);
    if (kind == QStringLiteral("fifo")) QCOMPARE(::mkfifo(name, 0644), 0);
    if (kind == QStringLiteral("owned")) {
      QVERIFY(WriteFile(path, "an older report\r\n"));
      QCOMPARE(::chown(name, 65534, 65534), 0);
      QCOMPARE(::chmod(name, 0640), 0);
    }
    struct stat before {};
    QCOMPARE(::stat(name, &before), 0);
    QByteArray received;
    std::thread reader;
    if (kind == QStringLiteral("fifo")) {
      reader = std::thread([&received, name] {
        const int fd = ::open(name.constData(), O_RDONLY);
        char buffer[4096];
        for (ssize_t got; fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0;)
          received.append(buffer, got);
        if (fd >= 0) ::close(fd);
      });
    }

    TTextForm* form = SmallReport();
    QVERIFY(form);
    prompt_->saveAnswers = {path};
    form->Save1Click();
    if (reader.joinable()) reader.join();
    QCOMPARE(prompt_->errors, QStringList{});
    QVERIFY(!form->reportText->document()->isModified());
    struct stat after {};
    QCOMPARE(::stat(name, &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QByteArray expected = form->reportText->toPlainText().toUtf8().replace("\n", "\r\n");
    if (!expected.endsWith("\r\n")) expected.append("\r\n");
    if (kind == QStringLiteral("fifo")) QCOMPARE(received, expected);
    if (kind == QStringLiteral("owned")) QCOMPARE(ReadFile(path), expected);
    QCOMPARE(FolderEntries(folder_->path()), QStringList{kind});
  }

  void saveDialogRefusesWhatCannotBeWritten_data() {
    QTest::addColumn<QString>("path");  // %1: the test's folder
    QTest::addColumn<int>("mode");      // of the file, or of the folder "ro" when the name is new
    QTest::addColumn<bool>("accepted");
    QTest::newRow("new file") << QStringLiteral("%1/new.txt") << 0 << true;
    QTest::newRow("writable file") << QStringLiteral("%1/old.txt") << 0644 << true;
    QTest::newRow("read-only file") << QStringLiteral("%1/old.txt") << 0444 << false;
    QTest::newRow("write-protected folder") << QStringLiteral("%1/ro/new.txt") << 0555 << false;
    QTest::newRow("missing folder") << QStringLiteral("%1/missing/new.txt") << 0 << false;
    QTest::newRow("folder that takes no new files") << QStringLiteral("/proc/new.txt") << 0
                                                    << false;
  }

  void saveDialogRefusesWhatCannotBeWritten() {
    QFETCH(QString, path);
    QFETCH(int, mode);
    QFETCH(bool, accepted);
    if (path.contains(QStringLiteral("%1"))) path = path.arg(folder_->path());
    if (path.contains(QStringLiteral("/ro/"))) {
      QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("ro")));
      QCOMPARE(::chmod(QFile::encodeName(InFolder(QStringLiteral("ro"))), 0555), 0);
    } else if (mode != 0) {
      QVERIFY(WriteFile(path, "old"));
      QCOMPARE(::chmod(QFile::encodeName(path), static_cast<mode_t>(mode)), 0);
    }
    const QStringList before = FolderEntries(folder_->path());
    const QString refusal = SaveNameRefusal(path);
    QCOMPARE(refusal.isEmpty(), accepted);
    if (!accepted) QVERIFY2(refusal.contains(QFileInfo(path).absolutePath()), qPrintable(refusal));
    QCOMPARE(FolderEntries(folder_->path()), before);
  }

  // The real save dialog, shown on /proc: Qt's own icon provider would read
  // /proc/kmsg and never return. Nothing of the dialog is kept for later runs,
  // and its icons warn of nothing.
  void realSaveDialogOnProcReturnsAndKeepsNoHistory() {
    if (!QFileInfo(QStringLiteral("/proc/kmsg")).isReadable()) QSKIP("/proc/kmsg needs root");
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QPixmap")));
    SetPrompts(nullptr);
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      shown = true;
      // Typed as a user types it: the completer and the file model list /proc.
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (name) {
        name->clear();
        QTest::keyClicks(name, QStringLiteral("/proc/km"));
      }
      QTest::qWait(1500);
      dialog->reject();
    });
    const QString chosen = Prompts().SaveFileName(nullptr, QStringLiteral("/proc/horn.txt"));
    SetPrompts(prompt_.get());
    QVERIFY(shown);
    QVERIFY(chosen.isEmpty());
    // Where Qt keeps it by default, and wherever it is kept now.
    const QString conf = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/QtProject.conf");
    QVERIFY2(!ReadFile(conf).contains("proc"), qPrintable(conf));
    QSettings qtSettings(QSettings::UserScope, QStringLiteral("QtProject"));
    QVERIFY2(!qtSettings.value(QStringLiteral("FileDialog/lastVisited")).toString().contains(
                 QStringLiteral("proc")),
             qPrintable(qtSettings.fileName()));
  }

  // ---- Quit ----------------------------------------------------------------

  void quitOverSeveralUnsavedReports_data() {
    QTest::addColumn<QList<int>>("answers");       // Answer values, front report first
    QTest::addColumn<QStringList>("saveAnswers");  // names in the folder; "" cancels
    QTest::addColumn<bool>("quits");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<bool>("fromReportMenu");  // the report's File > Quit, else the main window's
    const int yes = static_cast<int>(Answer::Yes);
    const int no = static_cast<int>(Answer::No);
    const int cancel = static_cast<int>(Answer::Cancel);
    QTest::newRow("no to each") << QList<int>{no, no, no} << QStringList{} << true
                                << QStringList{} << false;
    QTest::newRow("yes saves the front report, no to the others")
        << QList<int>{yes, no, no} << QStringList{QStringLiteral("front.txt")} << true
        << QStringList{} << true;
    QTest::newRow("yes to each")
        << QList<int>{yes, yes, yes}
        << QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")}
        << true << QStringList{} << false;
    QTest::newRow("cancel at the second stops the quit")
        << QList<int>{no, cancel} << QStringList{} << false << QStringList{} << true;
    QTest::newRow("yes, save dialog cancelled, stops the quit")
        << QList<int>{yes} << QStringList{QString()} << false << QStringList{} << false;
    QTest::newRow("yes, failed save stops the quit")
        << QList<int>{no, yes} << QStringList{QStringLiteral("missing/horn.txt")} << false
        << QStringList{QStringLiteral("Cannot create file %1/missing/horn.txt")} << false;
  }

  void quitOverSeveralUnsavedReports() {
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, saveAnswers);
    QFETCH(bool, quits);
    QFETCH(QStringList, errors);
    QFETCH(bool, fromReportMenu);
    QList<QPointer<TTextForm>> reports;
    for (int i = 0; i < 3; ++i) reports << SmallReport();
    for (const auto& report : reports) QVERIFY(report && report->reportText->document()->isModified());
    for (const int answer : answers) prompt_->confirmAnswers.push_back(Answer(answer));
    for (const QString& name : saveAnswers)
      prompt_->saveAnswers.push_back(name.isEmpty() ? name : InFolder(name));
    QSignalSpy closed(Mainform, &TMainform::Closed);

    if (fromReportMenu) {
      reports.constLast()->Exit1Click();
    } else {
      Mainform->QuitAction->trigger();
    }
    QCoreApplication::processEvents();
    // Each report is asked in turn from the front, until one refuses.
    QCOMPARE(prompt_->confirmations,
             QStringList(answers.size(), QStringLiteral("Save changes to Untitled?")));
    QVERIFY(prompt_->confirmAnswers.empty() && prompt_->saveAnswers.empty());
    for (QString& error : errors) error = error.arg(folder_->path());
    QCOMPARE(prompt_->errors, errors);
    QCOMPARE(closed.count(), quits ? 1 : 0);
    QCOMPARE(Mainform->isVisible(), !quits);
    for (const QString& name : saveAnswers) {
      const QString path = InFolder(name);
      if (name.isEmpty() || !QFileInfo(path).dir().exists()) continue;
      QVERIFY2(ReadFile(path).endsWith("90.00\r\n"), qPrintable(path));
    }
    if (quits) return;

    // Nothing was lost: every report is still there, the ones not saved still changed;
    // a second Quit asks only those and, answered No, goes through.
    QCOMPARE(Reports().size(), 3);
    int unsaved = 0;
    for (const auto& report : reports) {
      QVERIFY(report);
      if (report->reportText->document()->isModified()) ++unsaved;
    }
    QCOMPARE(unsaved, 3);
    prompt_->confirmations.clear();
    prompt_->confirmAnswers.assign(3, Answer::No);
    Mainform->QuitAction->trigger();
    QCOMPARE(prompt_->confirmations.size(), 3);
    QCOMPARE(closed.count(), 1);
  }

  // ---- A 610,000-row table interrupted -----------------------------------

  void abortInTheLargestMmTable() {
    DuringCalculation abort(100, [] { QTest::mouseClick(waitform->Button1, Qt::LeftButton); });
    TTextForm* form = LargestMmReport();
    QVERIFY(form);
    QVERIFY(abort.RanDuringCalculation());
    QVERIFY(!waitform->isVisible());
    QVERIFY(!waitform->Calculating());
    QVERIFY(SettCircForm->Calculate->isEnabled());
    const QStringList lines = Lines(*form);
    QCOMPARE(lines.value(2), kAbortNote);
    QVERIFY(lines.contains(QStringLiteral("Horn length: \t\t610668.000 mm")));
    // The table ends after the station that took the click, with the mouth row.
    const qsizetype header = lines.indexOf(QRegularExpression(QStringLiteral("^Distance \\(mm\\)\t.*")));
    QVERIFY(header > 0);
    const qsizetype stations = lines.size() - header - 4;  // throat, mouth, empty end
    QVERIFY2(stations >= 1 && stations < 10000, qPrintable(QString::number(stations)));
    QCOMPARE(lines.value(header + stations + 1).section(QLatin1Char('\t'), 0, 0),
             QString::number(stations));
    QVERIFY(lines.value(header + stations + 2).startsWith(QStringLiteral("610668.000\t\t54112.68\t")));

    // The next calculation runs to its end: its Calculate cleared the marker.
    TTextForm* next = SmallReport();
    QVERIFY(next);
    QCOMPARE(Lines(*next).value(2), QString());
  }

  void quitInTheLargestMmTable_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("quits");
    QTest::newRow("no: the program ends") << static_cast<int>(Answer::No) << true;
    QTest::newRow("cancel: the program goes on") << static_cast<int>(Answer::Cancel) << false;
  }

  // Quit stops the table as Abort does; the cut report is then asked about
  // like any other, together with a report that was open before.
  void quitInTheLargestMmTable() {
    QFETCH(int, answer);
    QFETCH(bool, quits);
    QPointer<TTextForm> earlier = SmallReport();
    QVERIFY(earlier);
    QSignalSpy closed(Mainform, &TMainform::Closed);
    prompt_->confirmAnswers = {Answer(answer), Answer(answer)};
    DuringCalculation quit(60, [] { Mainform->QuitClick(); });
    QPointer<TTextForm> form = LargestMmReport();
    QVERIFY(quit.RanDuringCalculation());
    // The front report, the cut one, is asked first; No goes on to the earlier one.
    QTRY_COMPARE(prompt_->confirmations.size(), quits ? 2 : 1);
    QTRY_COMPARE(closed.count(), quits ? 1 : 0);
    QCOMPARE(Mainform->isVisible(), !quits);
    QVERIFY(!waitform->Calculating());
    QVERIFY(form);
    QCOMPARE(Lines(*form).value(2), kAbortNote);
    QVERIFY(form->reportText->document()->isModified());
    QVERIFY(earlier && earlier->reportText->document()->isModified());
  }

  // ---- Many reports ----------------------------------------------------------

  void twentyReportsOpenedAndClosedLeaveNothingBehind() {
    // One report first, so that whatever Qt creates once for the first child window exists.
    QPointer<TTextForm> first = SmallReport();
    QVERIFY(first);
    prompt_->confirmAnswers = {Answer::No};
    first->Close1Click();
    QTRY_VERIFY(first.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qsizetype widgets = QApplication::allWidgets().size();
    const qsizetype mainChildren = Mainform->findChildren<QObject*>().size();

    QList<QPointer<TTextForm>> reports;
    for (int i = 0; i < 20; ++i) {
      if (i % 2 == 0) {
        reports << SmallReport();
      } else {
        const qsizetype before = Reports().size();
        SettRecForm->T100->setChecked(true);
        SettRecForm->Calculate->click();
        reports << NewestReport(before);
      }
      QVERIFY(reports.constLast());
    }
    QCOMPARE(Reports().size(), 20);
    // Closed in every way a report closes: File > Close, the close box, saved first or not.
    for (int i = 0; i < 20; ++i) {
      TTextForm* report = reports[i];
      if (i % 4 == 3) {
        prompt_->saveAnswers = {InFolder(QStringLiteral("report%1.txt").arg(i))};
        report->Saveas1Click();
      } else {
        prompt_->confirmAnswers = {Answer::No};
      }
      if (i % 2 == 0) {
        report->Close1Click();
      } else {
        report->SubWindow()->close();
      }
    }
    QTRY_VERIFY(Reports().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& report : reports) QVERIFY(report.isNull());
    QCOMPARE(QApplication::allWidgets().size(), widgets);
    QCOMPARE(Mainform->findChildren<QObject*>().size(), mainChildren);
    QCOMPARE(prompt_->confirmations.size(), 15 + 1);  // the first report's question too
  }

  // ---- Any text in every field ------------------------------------------------

  void anyTextInEveryField_data() {
    QTest::addColumn<QString>("field");  // dialog and field
    QTest::addColumn<QString>("text");   // "<value>": a value the field accepts
    QTest::addColumn<bool>("accepted");
    const QStringList fields{"circular Freq", "circular Throat", "rectangular Freq",
                             "rectangular Side1", "rectangular Side2", "rectangular MouthS1"};
    const QString controls = QStringLiteral("3\t0\n0\r\x01\x1b[2J\x7f") + QChar(0) + QStringLiteral("0");
    const struct {
      const char* name;
      QString text;
      bool accepted;
    } texts[] = {
        {"empty", QString(), false},
        {"100,000 letters", QString(100000, QLatin1Char('x')), false},
        {"100,000 nines (too large for any number)", QString(100000, QLatin1Char('9')), false},
        {"250,000 zeros before the number", QString(250000, QLatin1Char('0')) + "<value>", true},
        {"a letter after 200,000 characters",
         QStringLiteral("<value>.") + QString(199998, QLatin1Char('0')) + QLatin1Char('x'), false},
        {"control characters", controls, false},
        {"Arabic-Indic digits", QStringLiteral("\u0663\u0660\u0660"), false},
        {"full-width digits", QStringLiteral("\uff13\uff10\uff10"), false},
        {"Chinese", QStringLiteral("\u4e09\u767e"), false},
        {"Cyrillic unit after the number", QStringLiteral("300 \u0413\u0446"), false},
        {"right-to-left override", QStringLiteral("\u202e003"), false},
        {"emoji", QStringLiteral("\U0001F3BA"), false},
        {"lone surrogate", QString(QChar(0xD800)), false},
        {"blanks around the number", QStringLiteral("  <value>  "), true},
        {"exponent form", QStringLiteral("<value>e0"), true},
    };
    for (const QString& field : fields) {
      for (const auto& text : texts) {
        QTest::newRow(qPrintable(field + QStringLiteral(", ") + QLatin1String(text.name)))
            << field << text.text << text.accepted;
      }
    }
  }

  // Test, the unit switches and Calculate with the text in place: either the
  // dialog refuses it with a message and no report, or the report echoes it
  // exactly as the field holds it.
  void anyTextInEveryField() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const bool circular = field.startsWith(QStringLiteral("circular"));
    const QString name = field.section(QLatin1Char(' '), 1);
    QWidget* dialog = circular ? static_cast<QWidget*>(SettCircForm) : SettRecForm;
    auto* edit = dialog->findChild<QLineEdit*>(name);
    QVERIFY(edit);
    // Values the default horns accept, each in its own field.
    const QString value = name == QStringLiteral("Freq")       ? (circular ? "300" : "32")
                          : name == QStringLiteral("Throat")   ? "10"
                          : name == QStringLiteral("Side1")    ? "40"
                          : name == QStringLiteral("Side2")    ? "50"
                                                               : "3000";
    text.replace(QStringLiteral("<value>"), value);
    if (!circular) {
      SettRecForm->OneSide->setChecked(name == QStringLiteral("MouthS1"));
      SettRecForm->T100->setChecked(true);
    } else {
      SettCircForm->T100->setChecked(true);
    }
    circular ? SettCircForm->mm->setChecked(true) : SettRecForm->mm->setChecked(true);

    edit->setText(text);
    // However long, a pasted text reaches the validation whole.
    QCOMPARE(edit->text(), text);
    const QString held = edit->text();
    auto* test = dialog->findChild<QPushButton*>(QStringLiteral("button3"));
    QVERIFY(test);
    test->click();
    QCOMPARE(prompt_->messages.size(), accepted ? 0 : 1);

    // Switching the unit converts a number and leaves anything else as it is.
    QRadioButton* inch = circular ? SettCircForm->inch : SettRecForm->inch;
    QRadioButton* mm = circular ? SettCircForm->mm : SettRecForm->mm;
    inch->setChecked(true);
    mm->setChecked(true);
    if (accepted) {
      edit->setText(held);  // a converted number reads differently; type it again
    } else {
      QCOMPARE(edit->text(), held);
    }
    const QString& typed = held;

    prompt_->messages.clear();
    const qsizetype before = Reports().size();
    (circular ? SettCircForm->Calculate : SettRecForm->Calculate)->click();
    if (!accepted) {
      QCOMPARE(prompt_->messages.size(), 1);
      QCOMPARE(Reports().size(), before);
      return;
    }
    QVERIFY2(prompt_->messages.isEmpty(), qPrintable(prompt_->messages.value(0)));
    TTextForm* form = NewestReport(before);
    QVERIFY(form);
    const QString unit = QStringLiteral(" mm");
    const QString echo = name == QStringLiteral("Freq") ? "Horn cut off frequency fc: \t" + typed + " Hz"
                         : name == QStringLiteral("Throat") ? "Throat   (radius):\t\t" + typed + unit
                         : name == QStringLiteral("Side2")  ? "Side 2A - 2B: \t\t" + typed + unit
                                                            : "Side 1A - 1B: \t\t" + typed + unit;
    QVERIFY2(Lines(*form).contains(echo), qPrintable(echo.left(200)));
  }
};

QTEST_MAIN(FaultInjectionTests)
#include "fault_injection_tests.moc"
