#include "ui/settings_look.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QStringList>

namespace vortalis::ui {

namespace {

// The dialogs were laid out for an 11 pixel font; the results stand out at 13.
constexpr int kDialogFontPixels = 11;
constexpr int kResultFontPixels = 13;

const QStringList kNarrowSansFamilies = {
    QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
    QStringLiteral("Arial"),         QStringLiteral("Liberation Sans"),
    QStringLiteral("Nimbus Sans"),   QStringLiteral("Helvetica")};

}  // namespace

void SetUpSettingsWindow(QDialog* dialog, const QString& caption, int clientWidth,
                         int clientHeight) {
  dialog->setWindowTitle(caption);
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
  dialog->setModal(false);
  QFont font = dialog->font();
  // The fixed positions leave room for a narrow sans-serif; a wide default
  // font would run the captions into the frames.
  font.setFamilies(kNarrowSansFamilies);
  font.setPixelSize(kDialogFontPixels);
  dialog->setFont(font);
  dialog->setFixedSize(clientWidth, clientHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    dialog->move(area.center() - dialog->rect().center());
  }
}

void UseResultFont(QLabel* label) {
  QFont font = label->font();
  font.setPixelSize(kResultFontPixels);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Active, QPalette::WindowText, Qt::black);
  palette.setColor(QPalette::Inactive, QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->adjustSize();
}

}  // namespace vortalis::ui
