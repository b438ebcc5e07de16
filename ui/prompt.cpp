#include "ui/prompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace vortalis::windows {

namespace {

QString ProgramTitle() { return QStringLiteral("Vortalis"); }

// The settings dialogs, the information windows and the about box stay above
// other windows; a box below them would hide where they stand, centred, and
// the program would seem to hang.
void KeepAbove(QDialog& box) { box.setWindowFlag(Qt::WindowStaysOnTopHint, true); }

class DialogPrompt final : public Prompt {
 public:
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

  bool Print(QWidget* parent, QPrinter& printer) override {
    QPrintDialog dialog(&printer, parent);
    KeepAbove(dialog);
    return dialog.exec() == QDialog::Accepted;
  }

  bool PrinterSetup(QWidget* parent, QPrinter& printer) override {
    QPageSetupDialog dialog(&printer, parent);
    KeepAbove(dialog);
    return dialog.exec() == QDialog::Accepted;
  }

 private:
  static QString AskSaveName(QWidget* parent, const QString& preset, const QString& filter,
                             const QString& suffix) {
    QFileDialog dialog(parent);
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

}  // namespace

Prompt& Prompts() {
  static DialogPrompt real;
  return installed ? *installed : real;
}

void SetPrompts(Prompt* prompt) { installed = prompt; }

}  // namespace vortalis::windows
