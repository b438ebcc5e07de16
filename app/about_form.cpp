#include "app/about_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

#include "app/help_forms.h"
#include "app/main_form.h"
#include "app/program_art.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"
#include "ui/locale_separators.h"
#include "ui/show_in_front.h"
#include "ui/widgets.h"

namespace vortalis::app {

using namespace ui;
using namespace settings;

TAboutForm* AboutForm = nullptr;

namespace {

QLabel* AddLabel(QWidget* parent, const QString& text, const QFont& font, int x, int y) {
  QLabel* label = NewAutoSizeLabel(parent, "", text, x, y);
  label->setFont(font);
  label->adjustSize();
  return label;
}

// The memory values stand right-aligned at the right margin, clear of the long caption.
QLabel* AddValueLabel(QWidget* parent, const char* name, const QFont& font, int y) {
  auto* label = Named(new QLabel(parent), name);
  label->setFont(font);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(205, y, 92, QFontMetrics(font).height() + 2);
  return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About Vortalis"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(313, 239);

  const QFont small(QStringLiteral("Arial"), 8);
  QFont bold(QStringLiteral("Arial"), 10);
  bold.setBold(true);
  const QFont maker(QStringLiteral("Times New Roman"), 11);

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setPixmap(ProgramIconPixmap(32));
  ProgramIcon->setGeometry(16, 14, 32, 32);
  Logo = new QLabel(this);
  Logo->setObjectName(QStringLiteral("Logo"));
  Logo->setPixmap(LogoPixmap());
  Logo->setGeometry(60, 18, 105, 25);

  Version = AddLabel(this, QStringLiteral("version 1.01"), bold, 16, 56);
  QLabel* makerName = AddLabel(this, QStringLiteral("Kestrowan"), maker, 16, 80);
  QFont markFont = small;
  markFont.setPointSize(7);
  AddLabel(this, QStringLiteral("®"), markFont, 16 + makerName->width() + 1, 79);
  AddLabel(this, QStringLiteral("Tractrix horn calculator for loudspeaker builders"), small, 16,
           102);
  AddLabel(this, QStringLiteral("Copyright (C) Kestrowan and contributors"), small, 16, 116);
  AddLabel(this, QStringLiteral("Free software under the GNU GPL, version 3 or later"), small, 16,
           130);

  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(8, 152, 297, 2);

  AddLabel(this, QStringLiteral("Physical Memory Available to Windows:"), small, 16, 162);
  AddLabel(this, QStringLiteral("Memory in Use:"), small, 16, 180);
  PhysMem = AddValueLabel(this, "PhysMem", small, 162);
  FreeRes = AddValueLabel(this, "FreeRes", small, 180);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(119, 204, 75, 25);
  OKBtn->setDefault(true);
  OKBtn->setAutoDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &TAboutForm::OKBtnClick);
  // A window the box has disabled that comes to the front (clicked, or
  // shown at the end of a calculation) hands the keyboard back to the box,
  // which comes in front of it: the program never looks frozen.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
    if (!isVisible() || !focused || focused == windowHandle()) return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->windowHandle() != focused || window->isEnabled()) continue;
      QTimer::singleShot(0, this, [this] { ShowInFront(this); });
      return;
    }
  });
}

void TAboutForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized())
    QTimer::singleShot(0, this, [this] { ShowInFront(this); });
}

void TAboutForm::FormShow() {
  const std::optional<MemoryStatus> status = readMemory ? readMemory() : std::nullopt;
  if (status) {
    PhysMem->setText(
        QString::fromStdString(PhysicalMemoryText(status->totalPhysicalBytes, CurrentSeparators())));
    FreeRes->setText(QString::fromStdString(MemoryLoadText(status->memoryLoadPercent)));
  } else {
    PhysMem->setText(QStringLiteral("unknown"));
    FreeRes->setText(QStringLiteral("unknown"));
  }
  // Centred by its own size, which is the same at every showing; the frame is
  // unknown before the first one.
  const QRect screenArea = screen()->availableGeometry();
  move(screenArea.center() - QPoint(width() / 2, height() / 2));
}

void TAboutForm::OKBtnClick() {
  SetBlockingBox(nullptr);
  hide();
  QWidget* const windows[] = {Mainform, SettRecForm, SettCircForm, Help1form,
                              help2form, Help3Form,   Help5form};
  for (QWidget* window : windows)
    if (window) window->setEnabled(true);
}

void TAboutForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TAboutForm::reject() { OKBtnClick(); }

void TAboutForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  OKBtnClick();
}

}  // namespace vortalis::app
