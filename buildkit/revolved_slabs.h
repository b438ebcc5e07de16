#pragma once

#include <vector>

#include "buildkit/mesh.h"

// Solids made of sections turned part of the way around the axis: a petal of
// a horn cut along its axis, with the tongue and the groove on its cut faces.
namespace vortalis::buildkit {

// A point of a section through the axis: x from the throat, r from the axis.
struct SectionPoint {
  long double x;
  long double r;
};

// A section, counter-clockwise (x right, r up), turned from one angle to the
// next. Consecutive slabs share their angle.
struct Slab {
  std::vector<SectionPoint> section;
  long double from;
  long double to;
};

// A flat face in the plane of one angle: a polygon, counter-clockwise like a
// section, that faces toward larger angles (forward) or smaller ones.
struct SlabFace {
  std::vector<SectionPoint> polygon;
  bool forward;
};

// The solid of `slabs`; faces[i] lie at the angle where slab i starts (the
// last entry at the end of the last slab), and close it there: where two
// slabs meet, what the one section holds and the other does not. A point of
// a face and of a section that are the same give the same vertex, so the
// faces and the turned edges meet without gaps. Arcs are cut into steps of
// at most `step` radians; coordinates are multiplied by `scale`.
Mesh RevolvedSlabs(const std::vector<Slab>& slabs, const std::vector<std::vector<SlabFace>>& faces,
                   long double step, long double scale);

// Triangles of a simple polygon (ear clipping), as indices into it, each
// counter-clockwise like the polygon; its turns of 180 degrees are kept as
// corners. Throws KitError when the polygon crosses itself.
std::vector<std::array<std::size_t, 3>> Triangulated(const std::vector<SectionPoint>& polygon);

}  // namespace vortalis::buildkit
