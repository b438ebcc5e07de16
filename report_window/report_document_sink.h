#pragma once

#include <QTextCursor>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_ports.h"

class QPlainTextEdit;

namespace vortalis::report_window {

// The report window's document while the generator writes it. The lines go
// into the hidden editor's own document in chunks of a few thousand, so that
// the document is complete when the table is: each chunk is one short edit
// between two event-processing passes, and no copy of the whole text exists
// beside the document. Undo is off until Finish.
//
// The editor should already have the width it will be shown with (see
// TTextForm::Open): a later change of width lays out every line again.
class ReportDocumentSink final : public vortalis::report::ReportLineSink {
 public:
  // Starts writing into `editor`, whose document is expected to be empty.
  explicit ReportDocumentSink(QPlainTextEdit& editor);
  ReportDocumentSink(const ReportDocumentSink&) = delete;
  ReportDocumentSink& operator=(const ReportDocumentSink&) = delete;

  void AppendLine(std::string_view line) override;
  void ReplaceLine(std::size_t index, std::string_view line) override;

  std::size_t LineCount() const { return written_ + pendingStarts_.size(); }

  // Writes the lines still held back, turns undo on again (with nothing to
  // undo), marks the document changed and leaves the caret where the last
  // line operation left it (the end of a replaced line, else the end of the
  // text), with the view at the top. Without any line the editor stays as it
  // was. Later lines are ignored.
  void Finish();

 private:
  void Flush();

  QPlainTextEdit& editor_;
  QTextCursor end_;
  std::size_t written_ = 0;  // lines already in the document
  // Lines not yet in the document, each ended by '\n', and where each starts.
  std::string pending_;
  std::vector<std::size_t> pendingStarts_;
  std::optional<std::size_t> caretLine_;  // none: the end of the text
  bool finished_ = false;
};

}  // namespace vortalis::report_window
