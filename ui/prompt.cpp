#include "ui/prompt.h"

#include <sys/stat.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStyle>

#include "output/output_file.h"
#include "ui/printer_setup.h"

namespace vortalis::ui {

namespace {

QString ProgramTitle() { return QStringLiteral("Vortalis"); }

// The settings dialogs, the information windows and the about box stay above
// other windows; a box below them would hide where they stand, centred, and
// the program would seem to hang.
void KeepAbove(QDialog& box) { box.setWindowFlag(Qt::WindowStaysOnTopHint, true); }

// Icons and types from the name alone: Qt's own provider reads a file's first
// bytes to choose them, which blocks for good on files such as /proc/kmsg.
class NameOnlyIconProvider final : public QAbstractFileIconProvider {
 public:
  // The style's own icons: the provider's generic ones are empty here, and
  // the dialog scaling an empty one warns on standard error.
  QIcon icon(IconType type) const override {
    switch (type) {
      case Computer: return Standard(QStyle::SP_ComputerIcon);
      case Desktop: return Standard(QStyle::SP_DesktopIcon);
      case Trashcan: return Standard(QStyle::SP_TrashIcon);
      case Network: return Standard(QStyle::SP_DriveNetIcon);
      case Drive: return Standard(QStyle::SP_DriveHDIcon);
      case Folder: return Standard(QStyle::SP_DirIcon);
      case File: break;
    }
    return Standard(QStyle::SP_FileIcon);
  }
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("Folder");
    return info.suffix().isEmpty() ? QStringLiteral("File")
                                   : info.suffix().toUpper() + QStringLiteral(" File");
  }

 private:
  static QIcon Standard(QStyle::StandardPixmap icon) {
    return QApplication::style()->standardIcon(icon);
  }
};

// Accepts only a name the program can write (SaveNameRefusal).
class SaveDialog final : public QFileDialog {
 public:
  explicit SaveDialog(QWidget* parent) : QFileDialog(parent) {
    // Qt's own dialog: a native one could not refuse a name, and keeps a history.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setIconProvider(&icons_);
  }

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.constFirst()).isDir()) {
      const QString refusal = SaveNameRefusal(files.constFirst());
      if (!refusal.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, ProgramTitle(), refusal, QMessageBox::Ok, this);
        KeepAbove(box);
        box.exec();
        return;
      }
    }
    QFileDialog::accept();
  }

 private:
  NameOnlyIconProvider icons_;
};

// The dialog offers only what a print honours. Every print is the whole
// document in its own order, so the page range and Reverse are hidden (Qt's
// Unix dialog shows them whatever its options say). The print system makes
// the copies a printer is asked for; pages written into a PDF file come once,
// so the dialog offers no copies there. The dialog sets its controls up as it
// is shown, and again for each printer chosen.
class OnlyWhatIsHonoured final : public QObject {
 public:
  explicit OnlyWhatIsHonoured(QPrintDialog& dialog)
      : QObject(&dialog),
        copies_(dialog.findChild<QSpinBox*>(QStringLiteral("copies"))),
        fileName_(dialog.findChild<QLineEdit*>(QStringLiteral("filename"))),
        unhonoured_{dialog.findChild<QWidget*>(QStringLiteral("gbPrintRange")),
                    dialog.findChild<QWidget*>(QStringLiteral("reverse"))} {
    dialog.installEventFilter(this);
    if (auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers")))
      connect(printers, &QComboBox::currentIndexChanged, this, &OnlyWhatIsHonoured::Update);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) Update();
    return false;
  }

 private:
  void Update() {
    for (QWidget* control : unhonoured_)
      if (control) control->hide();
    if (!copies_ || !fileName_) return;
    // The dialog enables the file name for the PDF entry only.
    const bool toFile = fileName_->isEnabled();
    if (toFile) copies_->setValue(1);
    copies_->setEnabled(!toFile);
  }

  QSpinBox* copies_;
  QLineEdit* fileName_;
  QWidget* unhonoured_[2];
};

// The window a dialog opens over. A window manager stacks a dialog above the
// window it belongs to only; a dialog of a report asked for while a settings
// dialog, which stays on top, is in front (Ctrl+S right after Calculate)
// would open under it, so it belongs to that window instead.
QWidget* InFront(QWidget* parent) {
  QWidget* front = QApplication::activeWindow();
  if (front && front->isVisible() && front->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
      (!parent || parent->window() != front))
    return front;
  return parent;
}

class DialogPrompt final : public Prompt {
 public:
  DialogPrompt() {
    // The program keeps nothing between runs: the file dialog's history and
    // last folder, which Qt saves in the user's QtProject.conf, go nowhere.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
  }

  void Message(const QString& text) override {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Ok);
    KeepAbove(box);
    box.exec();
  }

  void Error(const QString& message) override {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), message + QLatin1Char('.'),
                    QMessageBox::Ok);
    KeepAbove(box);
    box.exec();
  }

  Answer Confirm(const QString& text) override {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    KeepAbove(box);
    switch (box.exec()) {
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::No: return Answer::No;
      default: return Answer::Cancel;
    }
  }

  QString SaveFileName(QWidget* parent, const QString& preset) override {
    return AskSaveName(parent, preset, QStringLiteral("text files (*.txt)"), QStringLiteral("txt"));
  }

  QString ExportFileName(QWidget* parent, const QString& preset, const QString& filter,
                         const QString& suffix) override {
    return AskSaveName(parent, preset, filter, suffix);
  }

  QString OpenFileName(QWidget* parent, const QString& filter) override {
    QFileDialog dialog(parent);
    KeepAbove(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({filter, QStringLiteral("all files (*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
  }

  bool Print(QWidget* parent, QPrinter& printer) override {
    QPrintDialog dialog(&printer, InFront(parent));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    new OnlyWhatIsHonoured(dialog);
    KeepAbove(dialog);
    return dialog.exec() == QDialog::Accepted;
  }

  bool PrinterSetup(QWidget* parent, QPrinter& printer) override {
    PrinterSetupDialog dialog(printer, InFront(parent));
    KeepAbove(dialog);
    return dialog.exec() == QDialog::Accepted;
  }

 private:
  static QString AskSaveName(QWidget* parent, const QString& preset, const QString& filter,
                             const QString& suffix) {
    SaveDialog dialog(InFront(parent));
    KeepAbove(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({filter, QStringLiteral("all files (*.*)")});
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
  }
};

Prompt* installed = nullptr;

// No write permission for anyone: read-only, even for root.
bool WriteProtected(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 && (info.st_mode & 0222) == 0;
}

}  // namespace

QString SaveNameRefusal(const QString& path) {
  const QFileInfo file(path);
  const QString folder = file.absolutePath();
  if (!QFileInfo(folder).isDir())
    return QStringLiteral("The folder %1 does not exist").arg(folder);
  if (file.exists() ? WriteProtected(path) : WriteProtected(folder))
    return QStringLiteral("Cannot write %1: it is write-protected").arg(path);
  try {
    vortalis::output::OutputFile::Check(QFile::encodeName(path).toStdString());
  } catch (const vortalis::output::OutputError& error) {
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}

Prompt& Prompts() {
  static DialogPrompt real;
  return installed ? *installed : real;
}

void SetPrompts(Prompt* prompt) { installed = prompt; }

}  // namespace vortalis::ui
