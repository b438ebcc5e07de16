#pragma once

#include <QFont>

namespace vortalis::report_window {

// How report text looks on screen and on paper.

// Arial 8 pt.
inline QFont ReportFont() { return QFont(QStringLiteral("Arial"), 8); }

// Tab stops every half inch, as in the plain-text editors that reports have
// always been read in; the table columns are set by two tabs. Text layout
// counts tab stops in units of 1/96 inch and scales them to the device.
inline qreal ReportTabStopDistance() { return 48.0; }

}  // namespace vortalis::report_window
