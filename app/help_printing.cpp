#include "app/help_printing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>
#include <stdexcept>

namespace vortalis::app {

namespace {

// Keeps the pen of a line printer: the line it is on, and moves to the next one.
class PrintHead {
 public:
  PrintHead(qreal lineHeight, qreal pageHeight) : lineHeight_(lineHeight), pageHeight_(pageHeight) {}

  void StartLine() {
    if (!first_) {
      y_ += lineHeight_;
      if (y_ + lineHeight_ > pageHeight_) {
        ++page_;
        y_ = 0;
      }
    }
    first_ = false;
  }
  PrintedText Piece(qreal x, const QString& text) const { return {page_, x, y_, text}; }

 private:
  qreal lineHeight_;
  qreal pageHeight_;
  int page_ = 0;
  qreal y_ = 0;
  bool first_ = true;
};

}  // namespace

QList<PrintedText> LayOutPrintedLines(const QStringList& lines, const QFontMetricsF& metrics,
                                      const QSizeF& page) {
  const qreal tabWidth = 8 * metrics.averageCharWidth();
  const qreal width = page.width();
  PrintHead head(metrics.lineSpacing(), page.height());
  QList<PrintedText> placed;
  bool rowHasText = false;
  QString piece;     // characters not yet placed
  qreal pieceX = 0;  // where they start

  const auto flush = [&] {
    if (piece.isEmpty()) return;
    placed.append(head.Piece(pieceX, piece));
    rowHasText = true;
    piece.clear();
  };
  const auto endRow = [&] {
    flush();
    if (!rowHasText) placed.append(head.Piece(0, QString()));
    rowHasText = false;
    pieceX = 0;
  };

  for (const QString& line : lines) {
    head.StartLine();
    for (const QChar c : line) {
      const qreal x = pieceX + metrics.horizontalAdvance(piece);
      if (c == QLatin1Char('\t')) {
        flush();
        // The small allowance keeps a pen standing on a stop from skipping it.
        pieceX = (std::floor(x / tabWidth + 1e-9) + 1) * tabWidth;
        if (pieceX >= width) {
          endRow();
          head.StartLine();
        }
        continue;
      }
      // A character that would run past the right edge goes to the next row,
      // unless it is the first one of its row.
      if (pieceX + metrics.horizontalAdvance(piece + c) > width && (x > 0)) {
        endRow();
        head.StartLine();
      }
      piece += c;
    }
    endRow();
  }
  return placed;
}

QList<PrintedText> PrintLines(QPrinter& printer, const QString& title, const QFont& font,
                              const QColor& colour, const QStringList& lines) {
  printer.setDocName(title);
  QPainter painter;
  if (!painter.begin(&printer)) throw std::runtime_error("Printer is not available");
  painter.setFont(font);
  painter.setPen(colour);
  const QFontMetricsF metrics(painter.font(), &printer);
  const QList<PrintedText> placed =
      LayOutPrintedLines(lines, metrics, QSizeF(printer.width(), printer.height()));
  int page = 0;
  for (const PrintedText& piece : placed) {
    while (page < piece.page) {
      if (!printer.newPage()) throw std::runtime_error("Printer failed to start a new page");
      ++page;
    }
    if (!piece.text.isEmpty()) painter.drawText(QPointF(piece.x, piece.y + metrics.ascent()), piece.text);
  }
  if (!painter.end()) throw std::runtime_error("Printer failed to finish the job");
  return placed;
}

QStringList LaidOutLines(const QPlainTextEdit& editor) {
  QStringList lines;
  const QTextDocument* document = editor.document();
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    // Blocks far below the visible part have not been laid out yet.
    if (layout) layout->ensureBlockLayout(block);
    const QTextLayout* blockLayout = block.layout();
    const QString text = block.text();
    if (!blockLayout || blockLayout->lineCount() == 0) {
      lines.append(text);
      continue;
    }
    for (int i = 0; i < blockLayout->lineCount(); ++i) {
      const QTextLine row = blockLayout->lineAt(i);
      lines.append(text.mid(row.textStart(), row.textLength()));
    }
  }
  return lines;
}

}  // namespace vortalis::app
