#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace vortalis::ui {

// Every modal box and file or print dialog goes through this seam, so that
// tests can answer them without blocking. The real one builds the Qt dialogs.
class Prompt {
 public:
  enum class Answer { Yes, No, Cancel };

  virtual ~Prompt() = default;
  // Box captioned "Vortalis", no icon, one OK button, centred on the screen.
  virtual void Message(const QString& text) = 0;
  // An error that reached the event loop: caption "Vortalis", OK, text = message + ".".
  virtual void Error(const QString& message) = 0;
  // Caption "Confirm", question icon, Yes / No / Cancel, Yes default, Esc = Cancel.
  virtual Answer Confirm(const QString& text) = 0;
  // The save dialog: filter "text files|*.txt|all files|*.*", default extension
  // txt, overwrite prompt, name preset. An empty result means cancelled.
  virtual QString SaveFileName(QWidget* parent, const QString& preset) = 0;
  // The save dialog of an exported file: the filter (e.g. "CSV table (*.csv)")
  // and "all files (*.*)", default extension `suffix`, overwrite prompt, name
  // preset. An empty result means cancelled.
  virtual QString ExportFileName(QWidget* parent, const QString& preset, const QString& filter,
                                 const QString& suffix) = 0;
  // The open dialog of a file: the filter (e.g. "Vortalis design (*.vortalis)")
  // and "all files (*.*)". An empty result means cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
  // The print dialog; false means cancelled.
  virtual bool Print(QWidget* parent, QPrinter& printer) = 0;
  // The printer-setup dialog; false means cancelled.
  virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
};

// Why the save dialogs refuse `path`, or an empty text when they accept it:
// the folder must exist, and a file the program could not write there (a
// read-only file, a write-protected folder, a folder that takes no new files)
// is not accepted.
QString SaveNameRefusal(const QString& path);

// The prompt in force; the real dialogs unless a test installed another.
Prompt& Prompts();
// Installs `prompt` (not owned); nullptr restores the real dialogs.
void SetPrompts(Prompt* prompt);

}  // namespace vortalis::ui
