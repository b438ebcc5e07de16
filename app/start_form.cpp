#include "app/start_form.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include "app/splash_picture.h"

namespace vortalis::app {

TStartForm* StartForm = nullptr;

namespace {

constexpr int kClientWidth = 308;
constexpr int kClientHeight = 145;
const QColor kSilver(0xc0, 0xc0, 0xc0);

// How long to wait at most for the window system to map the splash.
constexpr int kExposeTimeoutMs = 1000;

}  // namespace

TStartForm::TStartForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(SplashPicture()) {
  setFixedSize(kClientWidth, kClientHeight);
  QPalette background = palette();
  background.setColor(QPalette::Window, kSilver);
  setPalette(background);
  setAutoFillBackground(true);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
}

void TStartForm::ShowAndPaint() {
  show();
  raise();
  // An X server maps a window asynchronously and a window that is not exposed
  // cannot be painted. Until it is, only window-system events are taken in;
  // the user's input waits.
  QElapsedTimer waited;
  waited.start();
  while (!windowHandle()->isExposed() && waited.elapsed() < kExposeTimeoutMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(5);
  }
  repaint();
}

void TStartForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

}  // namespace vortalis::app
