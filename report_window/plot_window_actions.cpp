#include "report_window/plot_window_actions.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QWidget>
#include <exception>

#include "export/profile_export.h"
#include "report_window/report_file.h"
#include "report_window/report_printer.h"
#include "report_window/report_profile.h"
#include "report_window/text_form.h"
#include "ui/prompt.h"
#include "ui/shared_printer.h"

namespace vortalis::report_window {

QString FileBesideReport(const QWidget* report, const QString& suffix) {
  const auto* form = qobject_cast<const TTextForm*>(report);
  if (form && form->FileName() != QStringLiteral("Untitled")) {
    const QFileInfo file(form->FileName());
    return QDir(file.path()).filePath(file.completeBaseName() + suffix);
  }
  return QStringLiteral("horn") + suffix;
}

void ExportCsvText(QWidget* window, const QString& preset, const std::string& text) {
  const QString path = ui::Prompts().ExportFileName(
      window, preset, exports::FormatFilter(report::ExportFormat::Csv), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  try {
    WriteTextFile(path, text);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

void PrintPlotPage(QWidget* window,
                   const std::function<void(QPainter&, const QPagedPaintDevice&)>& paint) {
  QPrinter& printer = ui::SharedPrinter();
  if (!ui::Prompts().Print(window, printer)) return;
  printer.setDocName(window->windowTitle());
  try {
    PrintOnePage(printer, paint);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
  }
}

}  // namespace vortalis::report_window
