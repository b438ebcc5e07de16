#include "report_window/report_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "output/output_error.h"
#include "report_window/report_file.h"
#include "report_window/report_text_format.h"

namespace {

[[noreturn]] void PrintFailed(const QPrinter& printer) {
  throw vortalis::output::OutputError(
      QStringLiteral("Cannot print %1").arg(printer.docName()).toStdString());
}

}  // namespace

int PrintReport(const QTextDocument& document, const QFont& font, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) PrintFailed(printer);
  int pages = 1;

  // Unless the printer prints the full page, the painter's origin is the
  // top-left corner of the printable area.
  const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
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
        if (!printer.newPage()) PrintFailed(printer);
        ++pages;
        y = 0;
      }
      line.draw(&painter, QPointF(0, y - line.y()));
      y += line.height();
    }
  }
  if (!painter.end()) PrintFailed(printer);
  return pages;
}
