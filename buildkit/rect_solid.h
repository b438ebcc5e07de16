#pragma once

#include <vector>

#include "buildkit/horn_solid.h"
#include "buildkit/mesh.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// A rectangular horn's four walls as solids for 3D printing, in millimetres:
// the axis along z with the throat face in the plane z = 0, sides 1A - 1B
// across x and 2A - 2B across y.
//
// Each wall's outer face is its inner face moved `wall` along the wall's
// normal; the outer faces meet in closed corners. As on a circular horn, near
// the full mouth the moved curve would turn back, so the outer faces stop
// `wall` before the mouth plane and a straight rim, `wall` outside the mouth,
// takes over. A flange is not offered (options.flange is refused).
namespace vortalis::buildkit {

// Throws report::ProfileError for a mouth limit the profile refuses and
// KitError for options that give no solid, as CircularHornSolids.
HornSolids RectangularHornSolids(const report::RectangularReportInput& input,
                                 const report::MouthLimit& limit,
                                 const geometry::Separators& separators,
                                 const SolidOptions& options);

}  // namespace vortalis::buildkit
