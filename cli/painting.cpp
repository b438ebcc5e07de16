#include "cli/painting.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>

namespace vortalis::cli {

namespace {

// Qt's notes about the desktop session (no XDG_RUNTIME_DIR when run from a
// script) mean nothing to a file writer; real problems still show.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::fprintf(stderr, "vortalis-report: %s\n", qPrintable(message));
}

}  // namespace

std::unique_ptr<QGuiApplication> StartPainting() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  // Files only: whatever platform the environment names, no display is wanted.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vortalis-report";
  static char* argv[] = {name, nullptr};
  qInstallMessageHandler(QtMessage);
  return std::make_unique<QGuiApplication>(argc, argv);
}

QPageSize PageSizeOf(Paper paper) {
  switch (paper) {
    case Paper::A4:
      return QPageSize(QPageSize::A4);
    case Paper::A3:
      return QPageSize(QPageSize::A3);
    case Paper::Letter:
      return QPageSize(QPageSize::Letter);
  }
  return QPageSize(QPageSize::A4);
}

}  // namespace vortalis::cli
