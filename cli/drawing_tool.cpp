#include "cli/drawing_tool.h"

#include <QGuiApplication>
#include <QPageSize>
#include <cstdio>
#include <memory>
#include <string>

#include "export/full_size_template.h"
#include "export/profile_export.h"
#include "output/output_error.h"
#include "output/output_file.h"
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

}  // namespace

int WriteDrawings(const ToolOptions& options, ToolEnvironment& env) {
  const DrawingOptions& drawings = options.drawings;
  try {
    const report::HornProfile profile = MakeProfile(options);
    std::unique_ptr<QGuiApplication> app;
    const bool paints = drawings.templatePath || drawings.format == report::ExportFormat::Svg;
    if (paints && QCoreApplication::instance() == nullptr) app = StartPainting();
    // File names are bytes, passed on exactly.
    if (drawings.format) exports::ExportProfile(profile, *drawings.format, drawings.exportPath);
    if (drawings.templatePath) {
      const int pages = exports::WriteTemplatePdf(profile, *drawings.templatePath,
                                                  PageSizeOf(drawings.paper), options.separators);
      output::StreamSink out(env.out, "standard output");
      out.Write(*drawings.templatePath + ": " + std::to_string(pages) + " page" +
                (pages == 1 ? "" : "s") + " at full size\n");
      out.Flush();
    }
  } catch (const report::ProfileError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  } catch (const output::OutputError& e) {
    std::fprintf(env.err, "vortalis-report: %s\n", e.what());
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace vortalis::cli
