// The window rows of the benchmark table: the real windows, offscreen, driven
// as a user would drive them. Calculate of the 610,683-line circular table to
// the report window shown, the program's peak memory and the longest time
// without event processing, Ctrl+End, one keystroke and its Undo at the end of
// that report, Save, and Print to a PDF file; then Calculate of the largest
// valid table (2,404,058 lines, inch) to its window shown, with its memory,
// its longest time without event processing and its saved file.
#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTextDocument>
#include <QTimer>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/startup.h"
#include "app/vortalis_application.h"
#include "bench/bench_prompt.h"
#include "bench/bench_table.h"
#include "report_window/text_form.h"
#include "settings/sett_circ_form.h"

using namespace vortalis::report_window;
using namespace vortalis::settings;
using namespace vortalis::app;

namespace {

using vortalis::bench::Fixed;
using vortalis::bench::Median;
using vortalis::bench::Seconds;

struct Options {
  int runs = 5;
  int printRuns = 3;  // a print of the 610k-line report takes tens of seconds
  int bigRuns = 3;    // Calculate of the 2.4M-line report
  QString reference;  // the tool's output for the same horn
  QString bigReference;  // the tool's output for the 2.4M-line horn
  QString outputDir = QStringLiteral("/tmp");
};

Options ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
    if (name == "--print-runs") options.printRuns = std::max(0, std::atoi(argv[i + 1]));
    if (name == "--big-runs") options.bigRuns = std::max(0, std::atoi(argv[i + 1]));
    if (name == "--big-reference") options.bigReference = QString::fromLocal8Bit(argv[i + 1]);
    if (name == "--reference") options.reference = QString::fromLocal8Bit(argv[i + 1]);
    if (name == "--output-dir") options.outputDir = QString::fromLocal8Bit(argv[i + 1]);
  }
  options.printRuns = std::min(options.printRuns, options.runs);
  return options;
}

// Counts the paint events of every report editor's viewport, so that a timed
// step ends only once its effect is on the screen.
class PaintCounter final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && qobject_cast<QPlainTextEdit*>(watched->parent()))
      ++paints;
    return false;
  }
  std::uint64_t paints = 0;
};

// Processes events until a report editor has painted since `before`; a step
// whose effect needed no paint at all ends when nothing is left to process.
void ProcessUntilPainted(const PaintCounter& counter, std::uint64_t before) {
  for (int i = 0; i < 1000 && counter.paints == before; ++i) QCoreApplication::processEvents();
}

// The longest time between two passes of the event processing, seen by a
// 10 ms timer: a pass that comes later than that delays the timer's tick.
class GapMeter {
 public:
  GapMeter() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  }
  void Start() {
    longest_ = 0;
    clock_.start();
    last_ = 0;
    timer_.start();
  }
  // The longest gap in seconds, the last one ending now.
  double Stop() {
    Tick();
    timer_.stop();
    return static_cast<double>(longest_) * 1e-9;
  }

 private:
  void Tick() {
    const qint64 now = clock_.nsecsElapsed();
    if (now - last_ > longest_) longestEnd_ = now;
    longest_ = std::max(longest_, now - last_);
    last_ = now;
  }
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;

 public:
  qint64 longestEnd_ = 0;
};

TTextForm* NewestReport(const QList<TTextForm*>& before) {
  for (TTextForm* form : Mainform->findChildren<TTextForm*>())
    if (!before.contains(form)) return form;
  return nullptr;
}

// A key as the keyboard gives it, press and release, then its repaint.
double TimeKey(QWidget* editor, const PaintCounter& counter, Qt::Key key,
               Qt::KeyboardModifiers modifiers, const QString& text = {}) {
  const std::uint64_t before = counter.paints;
  QElapsedTimer timer;
  timer.start();
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(editor, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(editor, &release);
  ProcessUntilPainted(counter, before);
  return static_cast<double>(timer.nsecsElapsed()) * 1e-9;
}

// A digest of the file with its second line (the creation stamp) left out, and
// its line count; nothing of it stays in memory to swell the program's peak.
struct FileDigest {
  QByteArray hash;  // empty when the file could not be read
  qsizetype lines = 0;
  friend bool operator==(const FileDigest&, const FileDigest&) = default;
};

FileDigest DigestWithoutStamp(const QString& path) {
  QFile file(path);
  FileDigest digest;
  if (!file.open(QIODevice::ReadOnly)) return digest;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  while (!file.atEnd()) {
    const QByteArray line = file.readLine();
    if (digest.lines != 1) hash.addData(line);
    ++digest.lines;
  }
  digest.hash = hash.result();
  return digest;
}

int PdfPages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const QByteArray pdf = file.readAll();
  int pages = 0;
  const QByteArray marker("/Type /Page");
  for (qsizetype at = pdf.indexOf(marker); at >= 0; at = pdf.indexOf(marker, at + 1)) {
    const qsizetype next = at + marker.size();
    if (next < pdf.size() && pdf[next] != 's') ++pages;  // not "/Type /Pages"
  }
  return pages;
}

// The pages a print needs when no line wraps: as many lines as fit the
// printable height of the shared printer, in the editor's font.
int PagesWithoutWrapping(qsizetype lines, const QFont& font) {
  QPrinter& printer = TTextForm::SharedPrinter();
  const qreal height = printer.pageLayout().paintRectPixels(printer.resolution()).height();
  const QFontMetricsF metrics(QFont(font, &printer), &printer);
  const auto perPage = static_cast<qsizetype>(height / metrics.height());
  return perPage > 0 ? static_cast<int>((lines + perPage - 1) / perPage) : 0;
}

double ResidentMiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

std::string Range(const std::vector<double>& values, double scale, const char* unit, int decimals) {
  return std::to_string(values.size()) + " runs, " +
         Fixed(vortalis::bench::Minimum(values) * scale, decimals) + "–" +
         Fixed(vortalis::bench::Maximum(values) * scale, decimals) + " " + unit;
}

struct Horn {
  bool inch;
  QString throat;
};

struct CalculateRun {
  TTextForm* form = nullptr;
  double seconds = 0;
  double cpuSeconds = 0;
  double peakMiB = 0;
  double gap = 0;
};

// Calculate of a 1 Hz circular horn at the smallest increment, until the new
// report window has painted.
CalculateRun Calculate(const Horn& horn, const PaintCounter& counter, GapMeter& gaps) {
  (horn.inch ? SettCircForm->inch : SettCircForm->mm)->setChecked(true);
  SettCircForm->radius->setChecked(true);
  SettCircForm->T1->setChecked(true);
  SettCircForm->Freq->setText(QStringLiteral("1"));
  SettCircForm->Throat->setText(horn.throat);
  const QList<TTextForm*> before = Mainform->findChildren<TTextForm*>();

  CalculateRun run;
  vortalis::bench::ResetPeakResident();
  const std::uint64_t paintsBefore = counter.paints;
  const double cpuBefore = vortalis::bench::ProcessCpuSeconds();
  QElapsedTimer timer;
  timer.start();
  gaps.Start();
  SettCircForm->CalculateClick();
  run.form = NewestReport(before);
  if (!run.form) return run;
  ProcessUntilPainted(counter, paintsBefore);
  run.gap = gaps.Stop();
  std::fprintf(stderr, "gap %.0f ms ending at %.3f s of %.3f s\n", run.gap * 1e3,
               static_cast<double>(gaps.longestEnd_) * 1e-9,
               static_cast<double>(timer.nsecsElapsed()) * 1e-9);
  run.seconds = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
  run.cpuSeconds = vortalis::bench::ProcessCpuSeconds() - cpuBefore;
  run.peakMiB = vortalis::bench::PeakResidentMiB();
  return run;
}

void CloseReport(TTextForm* form) {
  form->Close1Click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ReadOptions(argc, argv);
  int qtArgc = 1;
  VortalisApplication application(qtArgc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vortalis"));
  QApplication::setQuitOnLastWindowClosed(false);
  BenchPrompt prompt;
  PaintCounter counter;
  GapMeter gaps;
  application.installEventFilter(&counter);

  // The start-up wait reads a counter that advances a millisecond a reading.
  auto now = std::make_shared<std::uint32_t>(0);
  CreateLongLivedForms([now] { return (*now)++; });
  Mainform->resize(1024, 768);
  Mainform->show();
  QCoreApplication::processEvents();

  const FileDigest reference = DigestWithoutStamp(options.reference);
  std::vector<double> calculate, peak, ctrlEnd, keystroke, undo, save, print, printGrowth;
  int pages = 0;
  int expectedPages = 0;
  double pdfMiB = 0;
  qsizetype lines = 0;
  bool identical = !reference.hash.isEmpty();
  bool undone = true;
  std::vector<double> gap, cpu;
  for (int run = 0; run < options.runs; ++run) {
    const CalculateRun calculated = Calculate({false, QStringLiteral("0.5")}, counter, gaps);
    TTextForm* form = calculated.form;
    if (!form) {
      std::fprintf(stderr, "Calculate made no report window\n");
      return 1;
    }
    calculate.push_back(calculated.seconds);
    peak.push_back(calculated.peakMiB);
    gap.push_back(calculated.gap);
    cpu.push_back(calculated.cpuSeconds);
    QElapsedTimer timer;

    QPlainTextEdit* editor = form->reportText;
    ctrlEnd.push_back(TimeKey(editor, counter, Qt::Key_End, Qt::ControlModifier));
    const int characters = editor->document()->characterCount();
    keystroke.push_back(TimeKey(editor, counter, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    undo.push_back(TimeKey(editor, counter, Qt::Key_Z, Qt::ControlModifier));
    undone = undone && editor->document()->characterCount() == characters;

    prompt.savePath = options.outputDir + QStringLiteral("/window-save-%1.txt").arg(run);
    timer.start();
    form->Save1Click();
    save.push_back(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
    const FileDigest saved = DigestWithoutStamp(prompt.savePath);
    lines = saved.lines;
    identical = identical && saved == reference;
    QFile::remove(prompt.savePath);

    if (run < options.printRuns) {
      prompt.pdfPath = options.outputDir + QStringLiteral("/window-print-%1.pdf").arg(run);
      const double resident = ResidentMiB();
      vortalis::bench::ResetPeakResident();
      timer.start();
      form->Print1Click();
      print.push_back(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
      printGrowth.push_back(vortalis::bench::PeakResidentMiB() - resident);
      pages = PdfPages(prompt.pdfPath);
      expectedPages = PagesWithoutWrapping(lines, editor->font());
      pdfMiB = static_cast<double>(QFileInfo(prompt.pdfPath).size()) / (1024.0 * 1024.0);
      QFile::remove(prompt.pdfPath);
    }

    CloseReport(form);
    std::fprintf(stderr,
                 "window run %d of %d done; peak %.0f MiB, resident after closing %.0f MiB, "
                 "%d report windows left, %.0f MiB allocated\n",
                 run + 1, options.runs, peak.back(), ResidentMiB(),
                 static_cast<int>(Mainform->findChildren<TTextForm*>().size()),
                 static_cast<double>(mallinfo2().uordblks + mallinfo2().hblkhd) / 1048576.0);
  }

  // The largest valid table: 1 Hz, 0.0197 inch throat radius, 0.01 inch steps.
  const FileDigest bigReference = DigestWithoutStamp(options.bigReference);
  std::vector<double> bigCalculate, bigCpu, bigPeak, bigGap;
  qsizetype bigLines = 0;
  bool bigIdentical = !bigReference.hash.isEmpty();
  for (int run = 0; run < options.bigRuns; ++run) {
    const CalculateRun calculated = Calculate({true, QStringLiteral("0.0197")}, counter, gaps);
    if (!calculated.form) {
      std::fprintf(stderr, "Calculate made no report window\n");
      return 1;
    }
    bigCalculate.push_back(calculated.seconds);
    bigPeak.push_back(calculated.peakMiB);
    bigGap.push_back(calculated.gap);
    bigCpu.push_back(calculated.cpuSeconds);
    if (run == 0) {
      prompt.savePath = options.outputDir + QStringLiteral("/window-save-big.txt");
      calculated.form->Save1Click();
      const FileDigest saved = DigestWithoutStamp(prompt.savePath);
      bigLines = saved.lines;
      bigIdentical = bigIdentical && saved == bigReference;
      QFile::remove(prompt.savePath);
    }
    // The other runs' reports are thrown away unsaved.
    calculated.form->reportText->document()->setModified(false);
    CloseReport(calculated.form);
    std::fprintf(stderr, "big run %d of %d done: %.2f s, peak %.0f MiB, longest gap %.0f ms\n",
                 run + 1, options.bigRuns, calculated.seconds, calculated.peakMiB,
                 calculated.gap * 1e3);
  }
  SettCircForm->mm->setChecked(true);

  if (!prompt.seen.isEmpty())
    std::fprintf(stderr, "dialogs seen: %s\n", qPrintable(prompt.seen.join(QStringLiteral("; "))));

  using vortalis::bench::PrintRow;
  using vortalis::bench::Verdict;
  const std::string rows = std::to_string(lines);
  PrintRow({"Window program: Calculate of that horn to its report window shown (" + rows +
                " lines)",
            Seconds(Median(calculate)),
            Range(calculate, 1.0, "s", 2) + "; CPU " + Seconds(Median(cpu)) + " (median)",
            "at most 2.5 s",
            Verdict(Median(calculate) <= 2.5)});
  const double peakMiB = vortalis::bench::Maximum(peak);
  PrintRow({"same, peak resident memory of the program", Fixed(peakMiB, 0) + " MiB (highest run)",
            Range(peak, 1.0, "MiB", 0), "at most 450 MiB", Verdict(peakMiB <= 450.0)});
  PrintRow({"same, longest time without event processing (10 ms timer) from Calculate to the "
            "report shown",
            Seconds(Median(gap)), Range(gap, 1e3, "ms", 0), "under 250 ms (every run)",
            Verdict(vortalis::bench::Maximum(gap) < 0.250)});
  PrintRow({"Ctrl+End from the top of that report, to the repaint", Seconds(Median(ctrlEnd)),
            Range(ctrlEnd, 1e3, "ms", 2), "under 10 ms", Verdict(Median(ctrlEnd) < 0.010)});
  PrintRow({"One keystroke at the end of that report, to the repaint", Seconds(Median(keystroke)),
            Range(keystroke, 1e3, "ms", 2), "under 10 ms", Verdict(Median(keystroke) < 0.010)});
  PrintRow({"Undo (Ctrl+Z) of that keystroke, to the repaint", Seconds(Median(undo)),
            Range(undo, 1e3, "ms", 2) + (undone ? "" : "; the keystroke was NOT undone"),
            "under 10 ms", Verdict(undone && Median(undo) < 0.010)});
  PrintRow({"Save of that report (Save, dialog answered, file written)", Seconds(Median(save)),
            Range(save, 1.0, "s", 2) + "; file " +
                (identical ? "identical to vortalis-report's output (stamp line aside)"
                           : "DIFFERS from vortalis-report's output"),
            "under 0.6 s, identical", Verdict(identical && Median(save) < 0.6)});
  if (!print.empty()) {
    const double seconds = Median(print);
    const double rate = static_cast<double>(lines) / seconds;
    const double growth = vortalis::bench::Maximum(printGrowth);
    PrintRow({"Print of that report to a PDF file",
              Seconds(seconds) + ", " + std::to_string(pages) + " pages, " +
                  Fixed(rate, 0) + " rows/s",
              Range(print, 1.0, "s", 1) + "; " + std::to_string(expectedPages) +
                  " pages needed without wrapping; PDF " + Fixed(pdfMiB, 1) + " MiB; memory +" +
                  Fixed(growth, 0) + " MiB over the resident size before printing",
              "every page present, at least 25,000 rows/s, memory bounded (< +64 MiB)",
              Verdict(pages >= expectedPages && expectedPages > 0 && rate >= 25000.0 &&
                      growth < 64.0)});
  }
  if (!bigCalculate.empty()) {
    const double bigPeakMiB = vortalis::bench::Maximum(bigPeak);
    PrintRow({"Window program: Calculate of the largest valid table (1 Hz, 0.0197 inch throat "
              "radius, 0.01 inch; " +
                  std::to_string(bigLines) + " lines) to its report window shown",
              Seconds(Median(bigCalculate)),
              Range(bigCalculate, 1.0, "s", 2) + "; CPU " + Seconds(Median(bigCpu)) +
                  " (median); saved file " +
                  (bigIdentical ? "identical to vortalis-report's output (stamp line aside)"
                                : "DIFFERS from vortalis-report's output"),
              "identical", Verdict(bigIdentical)});
    PrintRow({"same, peak resident memory of the program", Fixed(bigPeakMiB, 0) + " MiB (highest run)",
              Range(bigPeak, 1.0, "MiB", 0), "at most 700 MiB", Verdict(bigPeakMiB <= 700.0)});
    PrintRow({"same, longest time without event processing (10 ms timer)", Seconds(Median(bigGap)),
              Range(bigGap, 1e3, "ms", 0), "under 250 ms (every run)",
              Verdict(vortalis::bench::Maximum(bigGap) < 0.250)});
  }
  DestroyLongLivedForms();
  return identical && (bigCalculate.empty() || bigIdentical) && undone && prompt.seen.isEmpty() ? 0 : 1;
}
