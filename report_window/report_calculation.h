#pragma once

#include <QString>
#include <optional>

#include "geometry/number_text.h"
#include "report/report_input.h"
#include "report/report_ports.h"

class QPushButton;

namespace vortalis::report_window {

// What one report was computed from: the dialog's input record and the decimal
// separators its texts were read with. A report window keeps it, so that its
// drawings and exports describe the horn of its own text even after the
// dialogs have changed.
struct ReportSource {
  std::optional<vortalis::report::HornInput> horn;  // none: a report of no horn
  vortalis::geometry::Separators separators;
};

// A Calculate button that is disabled while any calculation runs, so that no
// second calculation can start inside one's event processing.
void RegisterCalculateButton(QPushButton* button);

// Runs the table generator of `source`'s horn (none without a horn) into
// `document`, with the progress window, the event pump, the locale's creation
// stamp and the source's decimal separator. Returns the generator's error
// message, or an empty text when it ran to its end. The generator's closing
// hide of the progress window waits for HideFinishedProgress, so that the
// window stays up until the report is on screen; after an error it is hidden
// at once.
QString RunReportGenerator(const ReportSource& source, vortalis::report::ReportLineSink& document);

// Hides the progress window if the last generator that ended asked for it.
void HideFinishedProgress();

}  // namespace vortalis::report_window
