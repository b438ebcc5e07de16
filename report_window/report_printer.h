#pragma once

class QFont;
class QPrinter;
class QTextDocument;

namespace vortalis::windows {

struct ReportPrintResult {
  bool ok = false;
  int pages = 0;
};

// Prints the paragraphs of `document` in `font` on `printer`, which names the
// job. Each paragraph wraps at the width of the printable area; lines run from
// its top-left corner down, and a new page begins when the next line no longer
// fits. The final empty paragraph after the last line break is not printed.
// The document's own print would lay out the whole text at once with margins
// and page numbers of its own, and it fails silently on the largest tables.
ReportPrintResult PrintReport(const QTextDocument& document, const QFont& font,
                              QPrinter& printer);

}  // namespace vortalis::windows
