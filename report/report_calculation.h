#pragma once

#include <QString>

#include "report/report_ports.h"

// Runs the table generator of the current horn kind (the progress window's
// "Circ" or "Rec"; any other text runs none) into `document`, with the
// progress window, the event pump, the locale's creation stamp and decimal
// separator. Both dialogs' Calculate buttons are disabled meanwhile, so that no
// second calculation can start inside this one's event processing. Returns the
// generator's error message, or an empty text when it ran to its end.
QString RunReportGenerator(vortalis::report::ReportLineSink& document);
