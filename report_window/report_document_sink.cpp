#include "report_window/report_document_sink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace vortalis::windows {

void ReportDocumentSink::AppendLine(std::string_view line) {
  lineStarts_.push_back(text_.size());
  text_.append(line);
  text_.push_back('\n');
  caretLine_.reset();
}

void ReportDocumentSink::ReplaceLine(std::size_t index, std::string_view line) {
  if (index >= lineStarts_.size()) return;
  const std::size_t start = lineStarts_[index];
  const std::size_t oldLength =
      (index + 1 < lineStarts_.size() ? lineStarts_[index + 1] : text_.size()) - start - 1;
  text_.replace(start, oldLength, line);
  const std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(line.size()) - static_cast<std::ptrdiff_t>(oldLength);
  if (shift != 0) {
    for (std::size_t i = index + 1; i < lineStarts_.size(); ++i) {
      lineStarts_[i] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(lineStarts_[i]) + shift);
    }
  }
  caretLine_ = index;
}

void ReportDocumentSink::MoveInto(QPlainTextEdit& editor) {
  if (lineStarts_.empty()) return;
  QString text = QString::fromUtf8(text_.data(), static_cast<qsizetype>(text_.size()));
  const std::optional<std::size_t> caretLine = caretLine_;
  // Give the buffer back before the editor builds its own copy.
  std::string().swap(text_);
  std::vector<std::size_t>().swap(lineStarts_);
  caretLine_.reset();

  // Undo off during the fill: the report is the document's starting point,
  // so Undo right after creation cannot take it away, and no undo record of
  // the whole text is kept.
  editor.setUndoRedoEnabled(false);
  editor.setPlainText(text);
  text.clear();
  text.squeeze();
  editor.setUndoRedoEnabled(true);
  // setPlainText clears the flag; a new report counts as changed until saved.
  editor.document()->setModified(true);

  QTextCursor caret(editor.document());
  if (caretLine) {
    const QTextBlock block = editor.document()->findBlockByNumber(static_cast<int>(*caretLine));
    caret.setPosition(block.position() + block.length() - 1);
  } else {
    caret.movePosition(QTextCursor::End);
  }
  editor.setTextCursor(caret);
  // The hidden editor has no size of its own yet, so scrolling the caret into
  // view now would put its line at the top; the window does that once shown.
  editor.verticalScrollBar()->setValue(0);
}

}  // namespace vortalis::windows
