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

// How two pieces meet: butted, or located by a spigot. With a spigot every
// piece but the first has one on its throat-side face: the middle third of
// the wall carried on along the curve for kSpigotDepthMm toward the throat;
// every piece but the last has the matching socket in its mouth-side face,
// kJointClearanceMm wider on either side (square to the wall) and deeper. A
// piece with its spigot is no taller than the segment height. Petals of a
// split piece meet alike: a tongue of the same band on one cut face, a
// groove on the other.
enum class Joint { Flat, Spigot };
inline constexpr long double kSpigotDepthMm = 5.0L;
inline constexpr long double kJointClearanceMm = 0.2L;
// The thinnest wall a spigot joint is made in: its socket leaves a third of
// the wall less the clearance on either side, at least 0.4 mm (one line).
inline constexpr long double kSpigotWallMm = 1.8L;

// Lengths in the horn's unit.
struct SolidOptions {
  long double wall = 0.0L;
  long double segmentHeight = 0.0L;  // 0: one piece; else pieces no taller than this
  std::optional<Flange> flange;
  Joint joint = Joint::Flat;
  // The printer's bed in millimetres; a piece wider than it is split around
  // the axis into equal petals that fit it. 0: never split.
  long double bedWidthMm = 0.0L;
  long double bedDepthMm = 0.0L;
  long double toleranceMm = kCurveToleranceMm;  // of every curve and circle, in millimetres
  bool whole = true;  // false: no `whole`, only the pieces (one piece: segments[0])
  std::function<void(int percent)> progress;  // told as the triangles are made, 0 to 100
};

// How a piece is printed: which end lies on the bed, and how much of its
// height (millimetres, from the bed up) has faces leaning more than 45
// degrees from upright over empty space.
struct PiecePrint {
  int segment = 1;  // from the throat
  int petal = 1;    // around the axis
  int petals = 1;   // of its segment
  bool mouthDown = true;
  long double overhangFrom = 0.0L;  // the lowest and highest such height; equal when none
  long double overhangTo = 0.0L;
  long double width = 0.0L;  // its footprint in the bed's directions, mm
  long double depth = 0.0L;
  bool fits = true;  // false: wider than the bed and not split (a flange, a rectangular horn)
};

struct HornSolids {
  Mesh whole;                     // the horn in one piece (see SolidOptions::whole)
  std::vector<Mesh> segments;     // from the throat; the same cut into pieces (one if not cut)
  std::vector<long double> cuts;  // the cut planes' distances from the throat, in the horn's unit
  std::vector<PiecePrint> prints;  // one per entry of segments (its petals one after another)
  Joint joint = Joint::Flat;       // how the pieces meet
};

// How far the outer face is moved from the inner one: beyond the wall by the
// chords' tolerance on either face, so that the faces' chords and polygons
// never leave the wall thinner than it.
long double FaceOffset(long double wall, long double tolerance);

// Throws report::ProfileError for a mouth limit the profile refuses and
// KitError for options that give no solid (a wall not > 0 or too thick for the
// horn, a flange that does not stand out of the wall or is not inside the
// first piece, holes that do not fit on it, more than 1000 pieces).
HornSolids CircularHornSolids(const report::CircularReportInput& input,
                              const report::MouthLimit& limit,
                              const geometry::Separators& separators, const SolidOptions& options);

}  // namespace vortalis::buildkit
