#pragma once

#include <QString>
#include <optional>

#include "geometry/number_text.h"
#include "report/report_input.h"
#include "report/report_ports.h"

// What one report was computed from: the horn kind, the dialog's input record
// and the decimal separators its texts were read with. A report window keeps
// it, so that its drawings and exports describe the horn of its own text even
// after the dialogs have changed.
struct ReportSource {
  QString hornKind;  // the progress window's "Circ" or "Rec"; any other text has no input
  std::optional<vortalis::report::CircularReportInput> circular;
  std::optional<vortalis::report::RectangularReportInput> rectangular;
  vortalis::geometry::Separators separators;
};

// The horn kind and the matching dialog's controls, as a calculation starts now.
ReportSource CurrentReportSource();

// Runs the table generator of `source`'s horn kind (none without input) into
// `document`, with the progress window, the event pump, the locale's creation
// stamp and the source's decimal separator. Both dialogs' Calculate buttons are
// disabled meanwhile, so that no second calculation can start inside this
// one's event processing. Returns the generator's error message, or an empty
// text when it ran to its end.
QString RunReportGenerator(const ReportSource& source, vortalis::report::ReportLineSink& document);

// The same for CurrentReportSource().
QString RunReportGenerator(vortalis::report::ReportLineSink& document);
