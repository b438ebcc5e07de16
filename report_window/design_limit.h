#pragma once

#include "report_window/report_calculation.h"

class QLineEdit;
class QRadioButton;

namespace vortalis::report_window {

// The export and template dialogs start with the current design's mouth limit
// (ui/design_name.h): "length=V" cuts at a length from the throat; "radius=V",
// "diameter=V" or "side1=V" where the report's size column reaches V, if the
// report measures its size that way. Anything else leaves the full horn.
// The word of a size limit for the report's horn: "radius", "diameter" or "side1".
QString DesignSizeWord(const ReportSource& source);

void TakeDesignMouthLimit(const ReportSource& source, QRadioButton* sizeLimit,
                          QRadioButton* lengthLimit, QLineEdit* value);

}  // namespace vortalis::report_window
