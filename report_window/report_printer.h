#pragma once

#include <QPageLayout>
#include <functional>

#include "export/kit_files.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"

class QFont;
class QPainter;
class QPagedPaintDevice;
class QPageSize;
class QPrinter;
class QTextDocument;

class QWidget;

namespace vortalis::report_window {

// Prints the report lines (IsReportLine) of `document` in `font` on `printer`,
// which names the job. Each paragraph wraps at the width of the printable
// area; lines run from its top-left corner down, and a new page begins when
// the next line no longer fits. The document's own print would lay out the
// whole text at once with margins and page numbers of its own, and it fails
// silently on the largest tables. Returns the number of pages; throws
// output::OutputError "Cannot print <job name>" when the printer fails.
// A printer set to print into a PDF file writes it through the one writer
// (output/output_file.h), whose OutputError then names the file.
int PrintReport(const QTextDocument& document, const QFont& font, QPrinter& printer);

// The full-size template (export/full_size_template.h) on `printer`, the same
// way. Returns the number of pages; throws output::OutputError.
int PrintTemplate(const vortalis::report::HornProfile& profile, QPrinter& printer,
                  const vortalis::geometry::Separators& separators);

// Runs `paint` (which returns its page count) on `printer`, or, for a printer
// set to print into a PDF file, on a PDF writer of the same page layout whose
// bytes go through the one writer.
int PrintPages(QPrinter& printer, const std::function<int(QPagedPaintDevice&)>& paint);

// One page painted by `paint` on `printer` through PrintPages; throws
// output::OutputError "Cannot print <job name>" when it cannot be painted.
void PrintOnePage(QPrinter& printer,
                  const std::function<void(QPainter&, const QPagedPaintDevice&)>& paint);

// The template's paper as the command line tool lays it out: `paper` with
// 10 mm margins, turned the way that needs fewer pages (portrait on a tie).
struct TemplateSheets {
  QPageLayout layout;
  int pages = 0;
};
// Throws output::OutputError when the template fits neither way.
TemplateSheets FewerTemplateSheets(const vortalis::report::HornProfile& profile,
                                   const QPageSize& paper);

// A kit's template (exports::PrintKit) on `paper` with the same margins,
// turned the way that needs fewer pages, and the pages it takes. Throws
// output::OutputError when the kit does not fit.
TemplateSheets FewerKitSheets(const vortalis::exports::FlatKit& kit, const QPageSize& paper);

// The kit's template on `printer`, as PrintTemplate. Returns the number of pages.
int PrintKitTemplate(const vortalis::exports::FlatKit& kit, QPrinter& printer);

// Sets the shared printer to `sheets`' layout, shows the print dialog over
// `parent` and, unless it is cancelled, names the job and runs `print`; the
// printer's own layout is back afterwards, also when `print` throws. Returns
// whether it printed.
bool PrintOnSheets(QWidget* parent, const TemplateSheets& sheets, const QString& job,
                   const std::function<void(QPrinter&)>& print);

}  // namespace vortalis::report_window
