#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/units.h"
#include "report/radius_solver.h"
#include "report/report_generator.h"

// The frame that both reports put around their own lines: the title, the
// length warning, the station walk and the ending.
namespace vortalis::report {

// "Tractrix horn calculation.", the creation stamp and the empty third line
// that FinishReport fills.
void AppendTitle(ReportEnvironment& env);

// label + number + " " + unit + ".   (One quarter of the cut off frequency wavelength.)"
std::string MinimumLengthLine(std::string_view label, std::string_view number,
                              geometry::LengthUnit unit);

// The empty line and the two warning lines of a horn that is too short for its cut-off.
void AppendLengthWarning(ReportLineSink& document);

// Calls station(i, distance) for i = 1, 2, ... while the distance i * increment
// lies short of the horn length and Abort was not pressed. Pending events are
// processed and the progress position is set before each station is computed.
template <typename Station>
void WalkStations(ReportEnvironment& env, long double increment, long double length,
                  Station&& station) {
  const long double roundedLength = RoundedLength(length);
  for (std::int64_t i = 1;; ++i) {
    // A product each time: adding the increment up would drift over a long horn.
    const long double distance = static_cast<long double>(i) * increment;
    if (!(distance < length)) break;
    if (env.progress.AbortRequested()) break;
    if (env.pumpEvents) env.pumpEvents();
    env.progress.SetPosition(ProgressPercent(distance, roundedLength));
    station(static_cast<long double>(i), distance);
  }
}

// Puts the abort note into the third line when Abort was pressed (tested once
// more here, after the mouth row) and hides the progress window.
void FinishReport(ReportEnvironment& env);

}  // namespace vortalis::report
