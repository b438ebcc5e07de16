#include "buildkit/revolved_slabs.h"

#include <algorithm>
#include <cmath>
#include <list>

#include "buildkit/kit_horn.h"

namespace vortalis::buildkit {

namespace {

long double Cross(const SectionPoint& o, const SectionPoint& a, const SectionPoint& b) {
  return (a.x - o.x) * (b.r - o.r) - (a.r - o.r) * (b.x - o.x);
}

// Whether p lies inside or on the triangle abc (counter-clockwise).
bool InTriangle(const SectionPoint& p, const SectionPoint& a, const SectionPoint& b,
                const SectionPoint& c) {
  return Cross(a, b, p) >= 0.0L && Cross(b, c, p) >= 0.0L && Cross(c, a, p) >= 0.0L;
}

Vertex At(const SectionPoint& p, long double angle, long double scale) {
  return {p.r * std::cos(angle) * scale, p.r * std::sin(angle) * scale, p.x * scale};
}

}  // namespace

std::vector<std::array<std::size_t, 3>> Triangulated(const std::vector<SectionPoint>& polygon) {
  std::vector<std::array<std::size_t, 3>> triangles;
  std::vector<std::size_t> left(polygon.size());
  for (std::size_t i = 0; i < left.size(); ++i) left[i] = i;
  std::size_t misses = 0;
  std::size_t i = 0;
  while (left.size() > 3) {
    if (misses > left.size()) throw KitError("A face of the solid could not be closed.");
    const std::size_t n = left.size();
    const std::size_t a = left[(i + n - 1) % n];
    const std::size_t b = left[i % n];
    const std::size_t c = left[(i + 1) % n];
    bool ear = Cross(polygon[a], polygon[b], polygon[c]) > 0.0L;
    for (std::size_t k = 0; ear && k < n; ++k) {
      const std::size_t p = left[k];
      if (p == a || p == b || p == c) continue;
      const SectionPoint& q = polygon[p];
      // A point of the polygon at a corner (the same point twice) does not block.
      const auto same = [&q](const SectionPoint& s) { return s.x == q.x && s.r == q.r; };
      if (same(polygon[a]) || same(polygon[b]) || same(polygon[c])) continue;
      ear = !InTriangle(q, polygon[a], polygon[b], polygon[c]);
    }
    if (!ear) {
      ++misses;
      i = (i + 1) % n;
      continue;
    }
    triangles.push_back({a, b, c});
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(i % n));
    misses = 0;
    i = i % left.size();
  }
  if (Cross(polygon[left[0]], polygon[left[1]], polygon[left[2]]) > 0.0L)
    triangles.push_back({left[0], left[1], left[2]});
  return triangles;
}

Mesh RevolvedSlabs(const std::vector<Slab>& slabs, const std::vector<std::vector<SlabFace>>& faces,
                   long double step, long double scale) {
  Mesh mesh;
  for (const Slab& slab : slabs) {
    const auto steps = static_cast<long long>(
        std::max(1.0L, std::ceil((slab.to - slab.from) / step)));
    const auto angle = [&](long long j) {
      return j == steps ? slab.to
                        : slab.from + (slab.to - slab.from) * static_cast<long double>(j) /
                                          static_cast<long double>(steps);
    };
    const std::size_t n = slab.section.size();
    for (std::size_t i = 0; i < n; ++i) {
      const SectionPoint& p = slab.section[i];
      const SectionPoint& q = slab.section[(i + 1) % n];
      for (long long j = 0; j < steps; ++j) {
        const long double a0 = angle(j), a1 = angle(j + 1), middle = (a0 + a1) * 0.5L;
        // The section's outward normal (dr, -dx), turned to the step's middle.
        const Vertex out{(p.x - q.x) * std::cos(middle), (p.x - q.x) * std::sin(middle),
                         q.r - p.r};
        const std::uint32_t p0 = mesh.Add(At(p, a0, scale)), q0 = mesh.Add(At(q, a0, scale));
        const std::uint32_t p1 = mesh.Add(At(p, a1, scale)), q1 = mesh.Add(At(q, a1, scale));
        // A point on the axis turns in place: one triangle, or none.
        if (q.r > 0.0L) mesh.AddFacing(p0, q0, q1, out);
        if (p.r > 0.0L) mesh.AddFacing(p0, q1, p1, out);
      }
    }
  }
  for (std::size_t k = 0; k < faces.size(); ++k) {
    const long double angle = k < slabs.size() ? slabs[k].from : slabs.back().to;
    const Vertex forward{-std::sin(angle), std::cos(angle), 0.0L};
    for (const SlabFace& face : faces[k]) {
      const Vertex out = face.forward ? forward : Vertex{-forward.x, -forward.y, 0.0L};
      for (const auto& t : Triangulated(face.polygon)) {
        mesh.AddFacing(mesh.Add(At(face.polygon[t[0]], angle, scale)),
                       mesh.Add(At(face.polygon[t[1]], angle, scale)),
                       mesh.Add(At(face.polygon[t[2]], angle, scale)), out);
      }
    }
  }
  return mesh;
}

}  // namespace vortalis::buildkit
