#pragma once

#include "report/report_input.h"

namespace vortalis::settings {

class TSettCircForm;
class TSettRecForm;

// Puts a horn's settings into its dialog as if typed there: the unit, size
// mode, increment, location and flat sides set first, so that no conversion
// touches the texts; then every text, remembered as accepted. The quick test
// is not run: nothing is computed until the user asks.
void FillCircularDialog(TSettCircForm& dialog, const vortalis::report::CircularReportInput& input);
void FillRectangularDialog(TSettRecForm& dialog,
                           const vortalis::report::RectangularReportInput& input);

}  // namespace vortalis::settings
