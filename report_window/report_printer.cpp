#include "report_window/report_printer.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <optional>

#include "export/full_size_template.h"
#include "export/sink_device.h"
#include "output/output_error.h"
#include "output/output_file.h"
#include "report_window/report_file.h"
#include "report_window/report_text_format.h"
#include "ui/prompt.h"
#include "ui/shared_printer.h"

namespace vortalis::report_window {

using namespace ui;

namespace {

[[noreturn]] void PrintFailed(const QString& job) {
  throw vortalis::output::OutputError(QStringLiteral("Cannot print %1").arg(job).toStdString());
}


}  // namespace

// A printer set to print into a PDF file would write the file itself, in
// place: the same pages go through the one writer instead.
int PrintPages(QPrinter& printer, const std::function<int(QPagedPaintDevice&)>& paint) {
  if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
    return paint(printer);
  vortalis::output::OutputFile file(QFile::encodeName(printer.outputFileName()).toStdString());
  vortalis::exports::SinkDevice device(file);
  device.open(QIODevice::WriteOnly);
  int pages = 0;
  {
    QPdfWriter writer(&device);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    pages = paint(writer);
  }
  device.close();
  device.ThrowIfFailed();
  file.Commit();
  return pages;
}

void PrintOnePage(QPrinter& printer,
                  const std::function<void(QPainter&, const QPagedPaintDevice&)>& paint) {
  const QString job = printer.docName();
  PrintPages(printer, [&](QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) PrintFailed(job);
    paint(painter, device);
    if (!painter.end()) PrintFailed(job);
    return 1;
  });
}

namespace {

int PrintLines(const QTextDocument& document, const QFont& font, QPagedPaintDevice& printer,
               const QString& job) {
  QPainter painter;
  if (!painter.begin(&printer)) PrintFailed(job);
  int pages = 1;

  // Unless the printer prints the full page, the painter's origin is the
  // top-left corner of the printable area.
  const QRectF area = printer.pageLayout().paintRectPixels(printer.logicalDpiX());
  const qreal width = area.width();
  const qreal height = area.height();
  const QFont printFont(font, &printer);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  option.setTabStopDistance(ReportTabStopDistance());

  qreal y = 0;

  for (QTextBlock block = document.begin(); block.isValid() && IsReportLine(block);
       block = block.next()) {
    QTextLayout layout(block.text(), printFont, &printer);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
    }
    layout.endLayout();

    for (int i = 0; i < layout.lineCount(); ++i) {
      const QTextLine line = layout.lineAt(i);
      if (y > 0 && y + line.height() > height) {
        if (!printer.newPage()) PrintFailed(job);
        ++pages;
        y = 0;
      }
      line.draw(&painter, QPointF(0, y - line.y()));
      y += line.height();
    }
  }
  if (!painter.end()) PrintFailed(job);
  return pages;
}

}  // namespace

int PrintReport(const QTextDocument& document, const QFont& font, QPrinter& printer) {
  return PrintPages(printer, [&](QPagedPaintDevice& device) {
    return PrintLines(document, font, device, printer.docName());
  });
}

int PrintTemplate(const vortalis::report::HornProfile& profile, QPrinter& printer,
                  const vortalis::geometry::Separators& separators) {
  return PrintPages(printer, [&](QPagedPaintDevice& device) {
    return vortalis::exports::PrintFullSizeTemplate(profile, device, separators);
  });
}

int PrintKitTemplate(const vortalis::exports::FlatKit& kit, QPrinter& printer) {
  return PrintPages(printer, [&](QPagedPaintDevice& device) {
    return vortalis::exports::PrintKit(kit, device);
  });
}

TemplateSheets FewerTemplateSheets(const vortalis::report::HornProfile& profile,
                                   const QPageSize& paper) {
  const auto fewer = vortalis::exports::FewerTemplatePages(profile, paper);
  return {QPageLayout(paper, fewer.orientation, vortalis::exports::TemplateMargins(),
                      QPageLayout::Millimeter),
          fewer.pages};
}

TemplateSheets FewerKitSheets(const vortalis::exports::FlatKit& kit, const QPageSize& paper) {
  const auto fewer = vortalis::exports::FewerKitPages(kit, paper);
  return {QPageLayout(paper, fewer.orientation, vortalis::exports::TemplateMargins(),
                      QPageLayout::Millimeter),
          fewer.pages};
}

bool PrintOnSheets(QWidget* parent, const TemplateSheets& sheets, const QString& job,
                   const std::function<void(QPrinter&)>& print) {
  QPrinter& printer = SharedPrinter();
  const QPageLayout before = printer.pageLayout();
  if (!printer.setPageLayout(sheets.layout)) {
    printer.setPageSize(sheets.layout.pageSize());
    printer.setPageOrientation(sheets.layout.orientation());
  }
  struct RestoreLayout {
    QPrinter& printer;
    const QPageLayout& layout;
    ~RestoreLayout() { printer.setPageLayout(layout); }
  } restore{printer, before};
  if (!Prompts().Print(parent, printer)) return false;
  printer.setDocName(job);
  print(printer);
  return true;
}

}  // namespace vortalis::report_window
