#include "report_window/report_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "report_window/report_text_format.h"

namespace vortalis::windows {

ReportPrintResult PrintReport(const QTextDocument& document, const QFont& font,
                              QPrinter& printer) {
  ReportPrintResult result;
  QPainter painter;
  if (!painter.begin(&printer)) return result;
  result.pages = 1;

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

  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (!block.next().isValid() && block.length() <= 1) break;
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
        if (!printer.newPage()) return result;
        ++result.pages;
        y = 0;
      }
      line.draw(&painter, QPointF(0, y - line.y()));
      y += line.height();
    }
  }
  result.ok = painter.end();
  return result;
}

}  // namespace vortalis::windows
