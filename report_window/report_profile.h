#pragma once

#include <QString>
#include <exception>

#include "geometry/units.h"
#include "report/horn_profile.h"
#include "report_window/report_calculation.h"

namespace vortalis::report_window {

// The horn of one report window as points, for its profile window, its
// exports and its full-size template.

// Whether the report was computed from a horn (a report of no horn kind was not).
bool HasHorn(const ReportSource& source);

vortalis::geometry::LengthUnit SourceUnit(const ReportSource& source);
// Circular horns only: whether the report gives sizes as radii or diameters.
vortalis::geometry::SizeMode SourceSizeMode(const ReportSource& source);
// The report's table increment in its unit.
long double SourceIncrement(const ReportSource& source);

// Points `step` apart up to the mouth or `limit`. Throws ProfileError for a
// step or limit that gives no drawing.
vortalis::report::HornProfile MakeSourceProfile(const ReportSource& source, long double step,
                                                const vortalis::report::MouthLimit& limit);

// Where a window's mouth choice cuts the horn: the whole horn, where the
// report's size column (radius, diameter or side 1A - 1B) reaches a value, or
// at a length from the throat.
enum class MouthCut { WholeHorn, Size, Length };
// The caption of the Size choice, with its mnemonic.
QString MouthSizeCaption(const ReportSource& source);
// The limit a cut gives `value` in the report's unit (a diameter halved to a radius by the core).
vortalis::report::MouthLimit SourceMouthLimit(const ReportSource& source, MouthCut cut,
                                              long double value);

// The whole horn at DrawingStep: for the screen and the full-size template.
vortalis::report::HornProfile MakeDrawingProfile(const ReportSource& source);

// A profile, export or template failure in the error box. The core's
// sentences end with a full stop and the box adds its own.
void ShowProfileFailure(const std::exception& error);

}  // namespace vortalis::report_window
