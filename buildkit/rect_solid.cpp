#include "buildkit/rect_solid.h"
#include "buildkit/solid_kit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "buildkit/kit_horn.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"
#include "report/station_section.h"

namespace vortalis::buildkit {

namespace {

constexpr int kMaxHalvings = 60;

// Half the distances between opposite walls at x from the throat.
struct Frame {
  long double x;
  long double half1;  // sides 1A - 1B
  long double half2;  // sides 2A - 2B
};

struct InnerSample {
  Frame frame;
  long double radius;  // of the full circular tractrix there
};

class RectWalls {
 public:
  RectWalls(const report::RectangularReportInput& input, const report::MouthLimit& limit,
            const geometry::Separators& separators, long double wall, long double tolerance)
      : horn_(report::MakeRectangularHorn(input, separators)),
        unit_(input.unit),
        wall_(wall),
        tolerance_(tolerance) {
    const report::ProfilePoint end =
        report::MakeRectangularProfile(input, horn_.length, limit, separators).points.back();
    end_ = {{end.distance, end.side1 * 0.5L, end.side2 * 0.5L}, end.radius};
  }

  const InnerSample& End() const { return end_; }

  // The inner frame at `distance`, the radius searched from the throat side.
  InnerSample At(long double distance, long double throatSide) const {
    if (!(distance > 0.0L))
      return Sample(0.0L, horn_.throatRadius, report::RectangularThroat(horn_));
    if (!(distance < end_.frame.x)) return end_;
    const long double r =
        report::StationRadius(horn_.mouthRadius, horn_.length, distance, throatSide, unit_);
    return Sample(distance, r, report::RectangularSectionAt(horn_, r, 1.0L, distance, distance));
  }

  // The two walls' outer faces over the inner point (x, half1 or half2).
  std::array<std::array<long double, 2>, 2> Outer(const InnerSample& s) const {
    // The walls' direction from two nearby sections of the full tractrix.
    const long double a = horn_.mouthRadius;
    const long double e = s.radius * 1e-7L;
    const Frame before = OnTractrix(s.radius - e);
    const Frame after = OnTractrix(std::min(s.radius + e, a));
    std::array<std::array<long double, 2>, 2> outer{};
    const long double dx = after.x - before.x;
    const long double rises[2] = {after.half1 - before.half1, after.half2 - before.half2};
    const long double halves[2] = {s.frame.half1, s.frame.half2};
    for (int j = 0; j < 2; ++j) {
      const long double length = std::hypot(dx, rises[j]);
      outer[j] = {s.frame.x - wall_ * rises[j] / length, halves[j] + wall_ * dx / length};
    }
    return outer;
  }

  // Inner samples from `from` to `to`, refined until the inner walls and
  // their outer faces (where these rise) are within the tolerance of their chords.
  void Refine(const InnerSample& p, const InnerSample& q, int depth,
              std::vector<InnerSample>& out) const {
    const long double mid = (p.frame.x + q.frame.x) * 0.5L;
    if (depth < kMaxHalvings && mid > p.frame.x && mid < q.frame.x) {
      const InnerSample m = At(mid, p.radius);
      if (depth < 3 || Error(p, m, q) > tolerance_) {
        Refine(p, m, depth + 1, out);
        Refine(m, q, depth + 1, out);
        return;
      }
    }
    out.push_back(q);
  }

  long double Length() const { return horn_.length; }

 private:
  InnerSample Sample(long double x, long double r, const report::RectangularSection& s) const {
    return {{x, s.sides.side1 * 0.5L, s.sides.side2 * 0.5L}, r};
  }

  Frame OnTractrix(long double r) const {
    const long double x = horn_.length - geometry::TractrixLength(horn_.mouthRadius, r);
    const report::RectangularSection s = report::RectangularSectionAt(horn_, r, 1.0L, x, x);
    return {x, s.sides.side1 * 0.5L, s.sides.side2 * 0.5L};
  }

  static long double Off(long double x0, long double y0, long double x1, long double y1,
                         long double x, long double y) {
    const long double chord = std::hypot(x1 - x0, y1 - y0);
    if (!(chord > 0.0L)) return 0.0L;
    return std::fabs((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)) / chord;
  }

  long double Error(const InnerSample& p, const InnerSample& m, const InnerSample& q) const {
    long double error =
        std::max(Off(p.frame.x, p.frame.half1, q.frame.x, q.frame.half1, m.frame.x, m.frame.half1),
                 Off(p.frame.x, p.frame.half2, q.frame.x, q.frame.half2, m.frame.x, m.frame.half2));
    const auto op = Outer(p);
    const auto om = Outer(m);
    const auto oq = Outer(q);
    const long double stop = std::min(end_.frame.x, horn_.length - wall_);
    for (int j = 0; j < 2; ++j) {
      // Beyond the stop the outer face is cut away and its error does not count;
      // a piece that turns back before it is halved until it no longer does.
      if (!(op[j][0] < stop)) continue;
      if (op[j][0] < om[j][0] && om[j][0] < oq[j][0])
        error = std::max(error, Off(op[j][0], op[j][1], oq[j][0], oq[j][1], om[j][0], om[j][1]));
      else
        error = std::max(error, 2.0L * tolerance_);
    }
    return error;
  }

  report::RectangularHorn horn_;
  geometry::LengthUnit unit_;
  long double wall_;
  long double tolerance_;
  InnerSample end_{};
};

// A face as points (x, half), x rising, cut to [0, stop] where it rises.
std::vector<std::array<long double, 2>> RisingPart(
    const std::vector<std::array<long double, 2>>& points, long double stop) {
  std::vector<std::array<long double, 2>> part;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto& p = points[i];
    if (i > 0 && !(p[0] > points[i - 1][0])) break;  // turned back
    if (p[0] < 0.0L) continue;
    const auto cross = [&](long double x) {
      const auto& o = points[i - 1];
      return std::array<long double, 2>{x, o[1] + (p[1] - o[1]) * (x - o[0]) / (p[0] - o[0])};
    };
    if (part.empty() && i > 0 && p[0] > 0.0L) part.push_back(cross(0.0L));
    if (p[0] >= stop) {
      if (i > 0) part.push_back(cross(stop));
      break;
    }
    part.push_back(p);
  }
  return part;
}

long double SegmentDistance(long double px, long double py, const Frame& p, const Frame& q,
                            int wall) {
  const long double ax = p.x;
  const long double ay = wall == 0 ? p.half1 : p.half2;
  const long double dx = q.x - ax;
  const long double dy = (wall == 0 ? q.half1 : q.half2) - ay;
  const long double length = dx * dx + dy * dy;
  const long double t =
      length > 0.0L ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length, 0.0L, 1.0L) : 0.0L;
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// A rising outer face of wall 0 (sides 1A - 1B) or 1, begun at the throat face
// and cut where it comes nearer the inner face than the wall: a wall that
// narrows at the throat gets the arc of the wall's radius around the throat's
// edge, and near the mouth a wall bent more sharply than its curve's
// polyline would show is cut before its swallowtail.
std::vector<std::array<long double, 2>> KeptFace(std::vector<std::array<long double, 2>> face,
                                                 const std::vector<Frame>& inner, int wall,
                                                 long double thickness, long double tolerance) {
  if (face.empty()) return face;
  const long double throat = wall == 0 ? inner.front().half1 : inner.front().half2;
  if (face.front()[0] > 0.0L) {
    const long double last = std::atan2(face.front()[1] - throat, face.front()[0]);
    const long double first = std::asin(1.0L);  // straight out from the throat's edge
    const long double widest = 2.0L * std::acos(std::max(-1.0L, 1.0L - tolerance / thickness));
    const long double steps = std::max(1.0L, std::ceil((first - last) / widest));
    std::vector<std::array<long double, 2>> arc;
    for (long double i = 0.0L; i < steps; i += 1.0L) {
      const long double t = first + (last - first) * i / steps;
      arc.push_back({thickness * std::cos(t), throat + thickness * std::sin(t)});
    }
    arc.front()[0] = 0.0L;
    face.insert(face.begin(), arc.begin(), arc.end());
  }
  for (std::size_t k = 0; k < face.size(); ++k) {
    long double nearest = INFINITY;
    for (std::size_t i = 0; i + 1 < inner.size(); ++i) {
      if (inner[i + 1].x < face[k][0] - thickness || inner[i].x > face[k][0] + thickness) continue;
      nearest =
          std::min(nearest, SegmentDistance(face[k][0], face[k][1], inner[i], inner[i + 1], wall));
    }
    if (nearest < thickness - tolerance) {
      face.resize(k);
      break;
    }
  }
  return face;
}

long double Interpolate(const std::vector<std::array<long double, 2>>& line, long double x) {
  const auto after = std::lower_bound(line.begin(), line.end(), x,
                                      [](const auto& p, long double v) { return p[0] < v; });
  if (after == line.end()) return line.back()[1];
  if (after == line.begin() || (*after)[0] == x) return (*after)[1];
  const auto& p = *(after - 1);
  const auto& q = *after;
  return p[1] + (q[1] - p[1]) * (x - p[0]) / (q[0] - p[0]);
}

// The corners of a frame, counter-clockwise seen from the mouth: (+,+), (-,+), (-,-), (+,-).
constexpr long double kSigns[4][2] = {{1.0L, 1.0L}, {-1.0L, 1.0L}, {-1.0L, -1.0L}, {1.0L, -1.0L}};

// The solid swept by a section of frames (inner faces then outer faces back,
// counter-clockwise in every (x, half) plane) through the four corners.
Mesh Sweep(const std::vector<Frame>& section, long double scale) {
  Mesh mesh;
  for (const Frame& f : section)
    for (const auto& s : kSigns)
      mesh.Add({s[0] * f.half1 * scale, s[1] * f.half2 * scale, f.x * scale});
  const std::size_t n = section.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t next = (i + 1) % n;
    const Frame& p = section[i];
    const Frame& q = section[next];
    for (std::uint32_t c = 0; c < 4; ++c) {
      const std::uint32_t d = (c + 1) % 4;
      // Sides c -> d: corners 0-1 and 2-3 lie on walls 2A and 2B, 1-2 and 3-0 on 1B and 1A.
      const bool second = c % 2 == 0;
      const long double sign = second ? kSigns[c][1] : kSigns[c][0];
      const long double rise = second ? q.half2 - p.half2 : q.half1 - p.half1;
      const long double across = sign * (p.x - q.x);
      const Vertex outward{second ? 0.0L : across, second ? across : 0.0L, rise};
      const auto at = [](std::size_t point, std::uint32_t corner) {
        return static_cast<std::uint32_t>(point * 4 + corner);
      };
      mesh.AddFacing(at(i, c), at(next, c), at(next, d), outward);
      mesh.AddFacing(at(i, c), at(next, d), at(i, d), outward);
    }
  }
  return mesh;
}

std::vector<Frame> Slab(const std::vector<Frame>& inner, const std::vector<Frame>& outer,
                        long double lo, long double hi) {
  std::vector<Frame> section;
  for (const Frame& f : inner)
    if (f.x >= lo && f.x <= hi) section.push_back(f);
  for (auto f = outer.rbegin(); f != outer.rend(); ++f)
    if (f->x >= lo && f->x <= hi) section.push_back(*f);
  return section;
}

// Printed mouth down: the heights over which an inner face leans more than
// 45 degrees from upright, and the footprint.
PiecePrint PrintOf(const std::vector<Frame>& inner, const std::vector<Frame>& outer,
                   long double lo, long double hi, long double scale) {
  PiecePrint print;
  long double from = INFINITY, to = -INFINITY;
  for (std::size_t i = 0; i + 1 < inner.size(); ++i) {
    const Frame& p = inner[i];
    const Frame& q = inner[i + 1];
    if (p.x < lo || q.x > hi) continue;
    const long double along = q.x - p.x;
    if (!(q.half1 - p.half1 > along) && !(q.half2 - p.half2 > along)) continue;
    from = std::min(from, (hi - q.x) * scale);
    to = std::max(to, (hi - p.x) * scale);
  }
  if (from <= to) {
    print.overhangFrom = from;
    print.overhangTo = to;
  }
  for (const Frame& f : outer) {
    if (f.x < lo || f.x > hi) continue;
    print.width = std::max(print.width, 2.0L * f.half1 * scale);
    print.depth = std::max(print.depth, 2.0L * f.half2 * scale);
  }
  return print;
}

}  // namespace

HornSolids RectangularHornSolids(const report::RectangularReportInput& input,
                                 const report::MouthLimit& limit,
                                 const geometry::Separators& separators,
                                 const SolidOptions& options) {
  Checked(options);
  RefuseUnprintable("wall", options.wall, input.unit);
  if (!(options.toleranceMm > 0.0L) || !std::isfinite(options.toleranceMm))
    throw KitError("The curve tolerance must be a number greater than 0.");
  if (options.flange) throw KitError("A rectangular horn is printed without a flange.");
  const long double scale = MillimetresPer(input.unit);
  const long double tolerance = options.toleranceMm / scale;
  if (options.joint == Joint::Spigot)
    throw KitError("A rectangular horn's pieces are butted together: give --joint flat.");
  const long double wall = FaceOffset(options.wall, tolerance);
  const RectWalls walls(input, limit, separators, wall, tolerance);
  const InnerSample& end = walls.End();
  HornSolids solids;
  solids.cuts = PieceCuts(end.frame.x, options.segmentHeight);

  std::vector<long double> stops{0.0L};
  stops.insert(stops.end(), solids.cuts.begin(), solids.cuts.end());
  std::vector<InnerSample> samples{walls.At(0.0L, 0.0L)};
  for (std::size_t i = 1; i <= stops.size(); ++i) {
    const InnerSample from = samples.back();  // copied: Refine appends to samples
    const InnerSample to = i < stops.size() ? walls.At(stops[i], from.radius) : end;
    walls.Refine(from, to, 0, samples);
  }
  std::vector<Frame> inner;
  std::vector<std::array<long double, 2>> faces[2];
  for (const InnerSample& s : samples) {
    inner.push_back(s.frame);
    const auto outer = walls.Outer(s);
    faces[0].push_back(outer[0]);
    faces[1].push_back(outer[1]);
  }

  // Both outer faces up to where the first of them stops.
  long double stop = std::min(end.frame.x, walls.Length() - wall);
  const auto one = KeptFace(RisingPart(faces[0], stop), inner, 0, wall, tolerance);
  const auto two = KeptFace(RisingPart(faces[1], stop), inner, 1, wall, tolerance);
  if (one.size() < 2 || two.size() < 2) throw KitError("The wall is too thick for this horn.");
  stop = std::min(one.back()[0], two.back()[0]);
  std::vector<long double> xs{0.0L, stop};
  for (const auto* face : {&one, &two})
    for (const auto& p : *face)
      if (p[0] > 0.0L && p[0] < stop) xs.push_back(p[0]);
  for (const long double cut : solids.cuts)
    if (cut < stop) xs.push_back(cut);
  std::sort(xs.begin(), xs.end());
  std::vector<Frame> outer;
  for (const long double x : xs) {
    const bool mandatory =
        x == stop || std::find(solids.cuts.begin(), solids.cuts.end(), x) != solids.cuts.end();
    // Two samples closer than the arithmetic can tell apart would make flat facets.
    if (!outer.empty() && x - outer.back().x < tolerance * 1e-6L) {
      if (!mandatory) continue;
      outer.pop_back();
    }
    outer.push_back({x, Interpolate(one, x), Interpolate(two, x)});
  }
  if (stop < end.frame.x) {
    const Frame rim{stop, std::max(outer.back().half1, end.frame.half1 + wall),
                    std::max(outer.back().half2, end.frame.half2 + wall)};
    outer.push_back(rim);
    for (const long double cut : solids.cuts)
      if (cut > stop) outer.push_back({cut, rim.half1, rim.half2});
    outer.push_back({end.frame.x, rim.half1, rim.half2});
  }

  if (options.whole) solids.whole = Sweep(Slab(inner, outer, 0.0L, end.frame.x), scale);
  std::vector<long double> planes{0.0L};
  planes.insert(planes.end(), solids.cuts.begin(), solids.cuts.end());
  planes.push_back(end.frame.x);
  for (std::size_t k = 0; k + 1 < planes.size(); ++k) {
    solids.segments.push_back(Sweep(Slab(inner, outer, planes[k], planes[k + 1]), scale));
    solids.prints.push_back(PrintOf(inner, outer, planes[k], planes[k + 1], scale));
    PiecePrint& print = solids.prints.back();
    print.segment = static_cast<int>(k + 1);
    const long double bedLong = std::max(options.bedWidthMm, options.bedDepthMm);
    const long double bedShort = std::min(options.bedWidthMm, options.bedDepthMm);
    print.fits = bedLong == 0.0L || (std::max(print.width, print.depth) <= bedLong &&
                                     std::min(print.width, print.depth) <= bedShort);
  }
  return solids;
}

}  // namespace vortalis::buildkit
