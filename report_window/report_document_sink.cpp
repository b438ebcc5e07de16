#include "report_window/report_document_sink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace vortalis::report_window {

namespace {

// Lines held back before they go into the document as one edit: a few
// milliseconds of work, and one Qt edit for thousands of lines.
constexpr std::size_t kChunkLines = 4096;

// glibc raises its mmap threshold whenever a mapped block is freed (a closed
// report, a print), up to 32 MiB; the document's large arrays then live on the
// heap and grow by copying, which stalls for a fifth of a second and holds two
// copies at once. A fixed threshold keeps them mapped, grown by mremap.
void KeepLargeBlocksMapped() {
#ifdef __GLIBC__
  static const bool fixed = mallopt(M_MMAP_THRESHOLD, 1 << 20) == 1;
  (void)fixed;
#endif
}

}  // namespace

ReportDocumentSink::ReportDocumentSink(QPlainTextEdit& editor)
    : editor_(editor), end_(editor.document()) {
  KeepLargeBlocksMapped();
}

void ReportDocumentSink::AppendLine(std::string_view line) {
  if (finished_) return;
  pendingStarts_.push_back(pending_.size());
  pending_.append(line);
  pending_.push_back('\n');
  caretLine_.reset();
  if (pendingStarts_.size() >= kChunkLines) Flush();
}

void ReportDocumentSink::ReplaceLine(std::size_t index, std::string_view line) {
  if (finished_ || index >= LineCount()) return;
  caretLine_ = index;
  if (index < written_) {
    const QTextBlock block = editor_.document()->findBlockByNumber(static_cast<int>(index));
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    return;
  }
  const std::size_t pendingIndex = index - written_;
  const std::size_t start = pendingStarts_[pendingIndex];
  const std::size_t oldLength = (pendingIndex + 1 < pendingStarts_.size()
                                     ? pendingStarts_[pendingIndex + 1]
                                     : pending_.size()) -
                                start - 1;
  pending_.replace(start, oldLength, line);
  const std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(line.size()) - static_cast<std::ptrdiff_t>(oldLength);
  if (shift == 0) return;
  for (std::size_t i = pendingIndex + 1; i < pendingStarts_.size(); ++i) {
    pendingStarts_[i] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(pendingStarts_[i]) + shift);
  }
}

void ReportDocumentSink::Flush() {
  if (pendingStarts_.empty()) return;
  if (written_ == 0) {
    // The report is the document's starting point: no undo record of it.
    editor_.setUndoRedoEnabled(false);
  }
  // One edit block: the cursor's position is worked out once, at the end of
  // the edit, not after every line (which would lay the lines out).
  end_.movePosition(QTextCursor::End);
  end_.beginEditBlock();
  end_.insertText(QString::fromUtf8(pending_.data(), static_cast<qsizetype>(pending_.size())));
  end_.endEditBlock();
  written_ += pendingStarts_.size();
  pending_.clear();
  pendingStarts_.clear();
}

void ReportDocumentSink::Finish() {
  if (finished_) return;
  finished_ = true;
  if (LineCount() == 0) return;
  Flush();
  std::string().swap(pending_);
  std::vector<std::size_t>().swap(pendingStarts_);
  end_ = QTextCursor();
  editor_.setUndoRedoEnabled(true);
  // Lines written with undo off leave the flag as it was; a new report counts
  // as changed until saved.
  editor_.document()->setModified(true);

  QTextCursor caret(editor_.document());
  if (caretLine_) {
    const QTextBlock block = editor_.document()->findBlockByNumber(static_cast<int>(*caretLine_));
    caret.setPosition(block.position() + block.length() - 1);
  } else {
    caret.movePosition(QTextCursor::End);
  }
  editor_.setTextCursor(caret);
  // The hidden editor is not shown yet, so scrolling the caret into view now
  // would put its line at the top; the window does that once shown.
  editor_.verticalScrollBar()->setValue(0);
}

}  // namespace vortalis::report_window
