#pragma once

#include <QMainWindow>
#include <QSize>
#include <QStringList>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace vortalis::app {

// What sets one information window apart from the other three.
struct HelpWindowLook {
  QString caption;
  QSize outerSize;
  bool blackText = true;  // else the system's window-text colour
  QString printTitle;     // empty: four empty heading lines and no title
};

// One of the four read-only information windows: a separate window kept above
// the program's others, placed once against the right edge of the screen,
// that prints its text and copies a selection. Closing it hides it.
class THelpWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit THelpWindow(const HelpWindowLook& look, QWidget* parent = nullptr);

  QPlainTextEdit* helpText = nullptr;
  QMenu* File1 = nullptr;
  QAction* Print1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction* Copy1 = nullptr;

  // Placement: right edge of the screen, 32 pixels from its top; done once.
  void FormCreate();
  void Print1Click();
  void Copy1Click();

  // What Print sends to the printer: the heading lines, then every line of the
  // editor as laid out on screen, each after a tab, without a last empty one.
  QStringList PrintedLines() const;

 protected:
  // The File menu's "&Close" item under the window's own name for it.
  QAction* AddCloseItem(const QString& name);
  void SetText(const QString& text);

  bool event(QEvent* event) override;

 private:
  HelpWindowLook look_;
  // The frame the window system adds is known only once the window is shown;
  // the outer size is corrected then, a single time.
  bool frameUnsettled_ = true;
};

class THelp1form : public THelpWindow {
  Q_OBJECT
 public:
  explicit THelp1form(QWidget* parent = nullptr);
  QAction* N1 = nullptr;
  void N1Click();
};

class Thelp2form : public THelpWindow {
  Q_OBJECT
 public:
  explicit Thelp2form(QWidget* parent = nullptr);
  QAction* Close1 = nullptr;
  void Close1Click();
};

class THelp3Form : public THelpWindow {
  Q_OBJECT
 public:
  explicit THelp3Form(QWidget* parent = nullptr);
  QAction* Close1 = nullptr;
  void Close1Click();
};

// The legal text is built afresh each time the window is shown.
class THelp5form : public THelpWindow {
  Q_OBJECT
 public:
  explicit THelp5form(QWidget* parent = nullptr);
  QAction* Close1 = nullptr;
  void Close1Click();
  void FormShow();

 protected:
  void showEvent(QShowEvent* event) override;
};

// The process-wide references to the help windows, assigned before their
// create handlers run; they live until the program ends.
extern THelp1form* Help1form;
extern THelp3Form* Help3Form;
extern Thelp2form* help2form;
extern THelp5form* Help5form;

}  // namespace vortalis::app
