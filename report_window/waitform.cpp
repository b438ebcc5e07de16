#include "report_window/waitform.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace vortalis::report_window {

Twaitform* waitform = nullptr;

namespace {

const QString kAbortMarker = QStringLiteral("Tryckt");

}  // namespace

Twaitform::Twaitform(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("Calculation in action"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setModal(false);
  setFixedSize(268, 84);

  tick = new QProgressBar(this);
  tick->setGeometry(8, 16, 252, 17);
  tick->setRange(0, 100);
  tick->setValue(100);
  tick->setTextVisible(false);

  Button1 = new QPushButton(QStringLiteral("&Abort"), this);
  Button1->setGeometry(88, 48, 97, 25);
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &Twaitform::Button1Click);
}

void Twaitform::SetHornKind(const QString& kind) { hornKind_ = kind; }
QString Twaitform::HornKind() const { return hornKind_; }
void Twaitform::ClearAbort() { abortMarker_.clear(); }
bool Twaitform::AbortRequested() const { return abortMarker_ == kAbortMarker; }

void Twaitform::SetPosition(int position) {
  // The bar ignores values outside its range, and every change of value
  // repaints at once; a table sets a position per station, so only a change of
  // the whole percent reaches the bar.
  const int clamped = qBound(tick->minimum(), position, tick->maximum());
  if (clamped != tick->value()) tick->setValue(clamped);
}

void Twaitform::Button1Click() {
  abortMarker_ = kAbortMarker;
  hide();
}

void Twaitform::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->geometry().center());
      move(frame.topLeft());
    }
  }
  QDialog::showEvent(event);
}

void Twaitform::closeEvent(QCloseEvent* event) {
  // The window has no close box; a close from the window manager is refused.
  // A close from the program (the application quitting) stops the calculation
  // the way Abort does, so the generator ends instead of outliving the quit.
  if (event->spontaneous()) {
    event->ignore();
    return;
  }
  Button1Click();
  event->accept();
}

}  // namespace vortalis::report_window
