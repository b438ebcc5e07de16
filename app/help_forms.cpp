#include "app/help_forms.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <exception>

#include "app/help_printing.h"
#include "app/help_texts.h"
#include "ui/prompt.h"
#include "ui/shared_printer.h"
#include "ui/widgets.h"
#include "ui/window_keys.h"

namespace vortalis::app {

using namespace ui;

THelp1form* Help1form = nullptr;
THelp3Form* Help3Form = nullptr;
Thelp2form* help2form = nullptr;
THelp5form* Help5form = nullptr;

THelpWindow::THelpWindow(const HelpWindowLook& look, QWidget* parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                      Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      look_(look) {
  setWindowTitle(look_.caption);
  // Only the main window's closing ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);

  helpText = new QPlainTextEdit(this);
  helpText->setObjectName(QStringLiteral("RichEdit1"));
  helpText->setReadOnly(true);
  helpText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  helpText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  helpText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  helpText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  helpText->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  QPalette palette = helpText->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
  palette.setColor(QPalette::Text,
                   look_.blackText ? QColor(Qt::black) : palette.color(QPalette::WindowText));
  helpText->setPalette(palette);
  setCentralWidget(helpText);

  File1 = NewMenu(this, "File1", QStringLiteral("&File"));
  menuBar()->addMenu(File1);
  Print1 = NewAction(File1, "Print1", QStringLiteral("&Print"), this, &THelpWindow::Print1Click,
                     QKeySequence::Print, Qt::WindowShortcut);
  // Ctrl+P prints this text; Ctrl+S would save the active report behind it.
  (new WindowKeys(this))
      ->Bind(Print1->shortcut(), [this] { Print1Click(); })
      .Bind(QKeySequence::Save, {});

  Edit1 = NewMenu(this, "Edit1", QStringLiteral("&Edit"));
  menuBar()->addMenu(Edit1);
  Copy1 = NewAction(Edit1, "Copy1", QStringLiteral("&Copy"), this, &THelpWindow::Copy1Click,
                    QKeySequence(Qt::CTRL | Qt::Key_C), Qt::WindowShortcut);

  resize(look_.outerSize);
  FormCreate();
}

void THelpWindow::FormCreate() {
  const QRect screenArea = screen()->geometry();
  // A top-level window's position is that of its frame.
  move(screenArea.x() + screenArea.width() - look_.outerSize.width(), screenArea.y() + 32);
}

bool THelpWindow::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (frameUnsettled_ && isVisible() &&
      (event->type() == QEvent::Show || event->type() == QEvent::Move ||
       event->type() == QEvent::Resize)) {
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!frame.isNull()) {
      frameUnsettled_ = false;
      resize(look_.outerSize - frame);
      FormCreate();
    }
  }
  return handled;
}

QAction* THelpWindow::AddCloseItem(const QString& name) {
  QAction* item = File1->addAction(QStringLiteral("&Close"));
  item->setObjectName(name);
  return item;
}

void THelpWindow::SetText(const QString& text) { helpText->setPlainText(text); }

void THelpWindow::Print1Click() {
  // The program's one printer, as Printer setup left it.
  QPrinter& printer = SharedPrinter();
  if (!Prompts().Print(this, printer)) return;
  QFont font = helpText->font();
  font.setFamily(QStringLiteral("Times New Roman"));
  font.setPointSize(12);
  try {
    PrintLines(printer, windowTitle(), font, helpText->palette().color(QPalette::Text),
               PrintedLines());
  } catch (const std::exception& error) {
    Prompts().Error(QString::fromLocal8Bit(error.what()));
  }
}

void THelpWindow::Copy1Click() {
  // Without a selection the clipboard keeps what it holds.
  if (helpText->textCursor().hasSelection()) helpText->copy();
}

QStringList THelpWindow::PrintedLines() const {
  QStringList lines;
  if (look_.printTitle.isEmpty())
    lines << QString() << QString() << QString() << QString();
  else
    lines << QString() << QString() << QLatin1Char('\t') + look_.printTitle << QString()
          << QString();
  QStringList editorLines = LaidOutLines(*helpText);
  if (!editorLines.isEmpty() && editorLines.constLast().isEmpty()) editorLines.removeLast();
  for (const QString& line : editorLines) lines << QLatin1Char('\t') + line;
  return lines;
}

THelp1form::THelp1form(QWidget* parent)
    : THelpWindow({QStringLiteral("Vortalis Help"), QSize(318, 471), true,
                   QStringLiteral("Vortalis Help")},
                  parent) {
  setObjectName(QStringLiteral("Help1form"));
  N1 = AddCloseItem(QStringLiteral("N1"));
  connect(N1, &QAction::triggered, this, &THelp1form::N1Click);
  SetText(ProgramDescriptionText());
}

void THelp1form::N1Click() { close(); }

Thelp2form::Thelp2form(QWidget* parent)
    : THelpWindow({QStringLiteral("The Tractrix Horn"), QSize(413, 473), true, QString()}, parent) {
  setObjectName(QStringLiteral("help2form"));
  Close1 = AddCloseItem(QStringLiteral("Close1"));
  connect(Close1, &QAction::triggered, this, &Thelp2form::Close1Click);
  SetText(TractrixHistoryText());
}

void Thelp2form::Close1Click() { close(); }

THelp3Form::THelp3Form(QWidget* parent)
    : THelpWindow({QStringLiteral("Design considerations"), QSize(424, 352), false,
                   QStringLiteral("Vortalis Design considerations")},
                  parent) {
  setObjectName(QStringLiteral("Help3Form"));
  Close1 = AddCloseItem(QStringLiteral("Close1"));
  connect(Close1, &QAction::triggered, this, &THelp3Form::Close1Click);
  SetText(DesignConsiderationsText());
}

void THelp3Form::Close1Click() { close(); }

THelp5form::THelp5form(QWidget* parent)
    : THelpWindow({QStringLiteral("Legal information"), QSize(377, 435), false,
                   QStringLiteral("Vortalis legal information.")},
                  parent) {
  setObjectName(QStringLiteral("Help5form"));
  Close1 = AddCloseItem(QStringLiteral("Close1"));
  connect(Close1, &QAction::triggered, this, &THelp5form::Close1Click);
}

void THelp5form::Close1Click() { close(); }

void THelp5form::FormShow() {
  SetText(LegalText());
  helpText->moveCursor(QTextCursor::Start);
  helpText->verticalScrollBar()->setValue(0);
}

void THelp5form::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  THelpWindow::showEvent(event);
}

}  // namespace vortalis::app
