#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_ports.h"

class QPlainTextEdit;

namespace vortalis::windows {

// The report window's document while the generator writes it. The window is
// hidden all that time, so the lines are gathered here and handed to the
// editor in one piece: a line-by-line fill of a visible editor costs tens of
// seconds and gigabytes for the largest tables.
class ReportDocumentSink final : public vortalis::report::ReportLineSink {
 public:
  void AppendLine(std::string_view line) override;
  void ReplaceLine(std::size_t index, std::string_view line) override;

  // The text gathered so far, each line ended by '\n'.
  const std::string& Text() const { return text_; }
  std::size_t LineCount() const { return lineStarts_.size(); }

  // Puts the gathered text into `editor` as one change that cannot be undone,
  // marks the document changed, and leaves the caret where the last line
  // operation left it (the end of a replaced line, else the end of the text),
  // with the view at the top. The sink is empty afterwards; an empty sink
  // leaves the editor as it was.
  void MoveInto(QPlainTextEdit& editor);

 private:
  std::string text_;
  std::vector<std::size_t> lineStarts_;
  std::optional<std::size_t> caretLine_;  // none: the end of the text
};

}  // namespace vortalis::windows
