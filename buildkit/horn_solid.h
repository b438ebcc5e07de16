#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "buildkit/kit_horn.h"
#include "buildkit/mesh.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// A circular horn as solids for 3D printing, in millimetres, the axis along z
// with the throat face in the plane z = 0.
//
// The wall: the inner face is the tractrix revolved; the outer face is that
// curve moved `wall` along its normal. Near the full mouth the wall's radius of
// curvature falls below the wall and the moved curve turns back on itself, so
// it stops `wall` before the mouth plane, where a cylinder of radius
// endRadius + wall takes over; the mouth ends in a flat ring in the mouth
// plane. The throat face lies in the plane z = 0. Every point of the outer
// face is at least `wall` from the inner face.
namespace vortalis::buildkit {

struct Flange {
  long double outerDiameter = 0.0L;
  long double thickness = 0.0L;   // from the throat face toward the mouth
  long double boltCircle = 0.0L;  // diameter through the holes' centres
  int boltCount = 0;              // 0: no holes
  long double holeDiameter = 0.0L;
};

// Lengths in the horn's unit.
struct SolidOptions {
  long double wall = 0.0L;
  long double segmentHeight = 0.0L;  // 0: one piece; else pieces no taller than this
  std::optional<Flange> flange;
  long double toleranceMm = kCurveToleranceMm;  // of every curve and circle, in millimetres
  bool whole = true;  // false: no `whole`, only the pieces (one piece: segments[0])
  std::function<void(int percent)> progress;  // told as the triangles are made, 0 to 100
};

struct HornSolids {
  Mesh whole;                     // the horn in one piece (see SolidOptions::whole)
  std::vector<Mesh> segments;     // from the throat; the same cut into pieces (one if not cut)
  std::vector<long double> cuts;  // the cut planes' distances from the throat, in the horn's unit
};

// Throws report::ProfileError for a mouth limit the profile refuses and
// KitError for options that give no solid (a wall not > 0 or too thick for the
// horn, a flange that does not stand out of the wall or is not inside the
// first piece, holes that do not fit on it, more than 1000 pieces).
HornSolids CircularHornSolids(const report::CircularReportInput& input,
                              const report::MouthLimit& limit,
                              const geometry::Separators& separators, const SolidOptions& options);

}  // namespace vortalis::buildkit
