#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QFontMetricsF;
class QPagedPaintDevice;
class QPlainTextEdit;
class QPrinter;

namespace vortalis::app {

// Printing of the information texts as a line printer does it: one text line
// after the other from the top of the printable area, tab stops every eight
// average character widths, a line wider than the page continued on the next
// line, a new page when the next line would not fit.

// One piece of text placed on the paper; an empty line is a piece with no text.
struct PrintedText {
  int page = 0;  // from 0
  qreal x = 0;   // left edge, device pixels from the printable area's left
  qreal y = 0;   // top of the line, device pixels from the printable area's top
  QString text;

  bool operator==(const PrintedText&) const = default;
};

// Where each line goes on pages of `page` size (device pixels) in a font with `metrics`.
QList<PrintedText> LayOutPrintedLines(const QStringList& lines, const QFontMetricsF& metrics,
                                      const QSizeF& page);

// Prints `lines` on `printer` as one job titled `title` and returns what went
// where. Throws std::runtime_error when the printer cannot be opened.
QList<PrintedText> PrintLines(QPrinter& printer, const QString& title, const QFont& font,
                              const QColor& colour, const QStringList& lines);

// The lines of `editor` as it lays its text out now: a paragraph that the
// editor wraps gives one line per row on screen.
QStringList LaidOutLines(const QPlainTextEdit& editor);

}  // namespace vortalis::app
