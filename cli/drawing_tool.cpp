#include "cli/drawing_tool.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <cstdio>
#include <memory>

#include "export/export_error.h"
#include "export/full_size_template.h"
#include "export/profile_export.h"
#include "report/horn_profile.h"

namespace vortalis::cli {

namespace {

report::HornProfile MakeProfile(const ToolOptions& options) {
  const DrawingOptions& drawings = options.drawings;
  const long double step = drawings.step.value_or(geometry::IncrementValue(
      report::IncrementOf(options.horn), report::UnitOf(options.horn)));
  return report::MakeProfile(options.horn, step, drawings.mouthLimit, options.separators);
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

// Qt's notes about the desktop session (no XDG_RUNTIME_DIR when run from a
// script) mean nothing to a file writer; real problems still show.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::fprintf(stderr, "vortalis-report: %s\n", qPrintable(message));
}

// Painting needs a QGuiApplication; a plain report or a CSV/DXF file never
// starts Qt's platform. No display is needed: the platform is off screen
// unless the user chose another.
std::unique_ptr<QGuiApplication> StartPainting() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vortalis-report";
  static char* argv[] = {name, nullptr};
  qInstallMessageHandler(QtMessage);
  return std::make_unique<QGuiApplication>(argc, argv);
}

QString FileName(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace

int WriteDrawings(const ToolOptions& options, ToolEnvironment& env) {
  const DrawingOptions& drawings = options.drawings;
  try {
    const report::HornProfile profile = MakeProfile(options);
    std::unique_ptr<QGuiApplication> app;
    const bool paints = drawings.templatePath || drawings.format == report::ExportFormat::Svg;
    if (paints && QCoreApplication::instance() == nullptr) app = StartPainting();
    if (drawings.format) {
      exports::ExportProfile(profile, *drawings.format, FileName(drawings.exportPath));
    }
    if (drawings.templatePath) {
      const int pages = exports::WriteTemplatePdf(profile, FileName(*drawings.templatePath),
                                                  PageSizeOf(drawings.paper), options.separators);
      std::fprintf(env.out, "%s: %d page%s at full size\n", drawings.templatePath->c_str(), pages,
                   pages == 1 ? "" : "s");
    }
  } catch (const report::ProfileError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  } catch (const exports::ExportError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return std::fflush(env.out) == 0 ? kExitDone : kExitRefused;
}

}  // namespace vortalis::cli
