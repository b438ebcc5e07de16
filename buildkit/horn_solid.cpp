#include "buildkit/horn_solid.h"
#include "buildkit/solid_kit.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"
#include "buildkit/revolved_slabs.h"
#include "geometry/constants.h"

namespace vortalis::buildkit {

namespace {

constexpr long double kTwoPi = 2.0L * geometry::Pi;
constexpr long long kMaxAngularSteps = 20000;

// The bolt holes: a band of the flange's two faces, between radii low and high,
// that holds one square-ish cell around each hole.
struct HoleLayout {
  long double back = 0.0L;   // x of the throat face
  long double front = 0.0L;  // x of the flange's mouth-side face
  long double low = 0.0L;
  long double high = 0.0L;
  long double circle = 0.0L;  // radius through the centres
  long double radius = 0.0L;  // of a hole
  int count = 0;
  int sides = 0;       // of a hole's polygon
  long long half = 0;  // angular steps from a hole's centre to its cell's edge
};

// The wall's two faces from the throat to the end, x never decreasing, with a
// point at every cut so that two pieces share their cut face exactly.
struct WallFaces {
  std::vector<SectionPoint> inner;
  std::vector<SectionPoint> outer;       // starts at the flange's rim when there is one
  std::vector<SectionPoint> throatFace;  // between outer.front() and inner.front()
  std::size_t flangePoints = 0;          // outer's first points, the flange's
};

// Steps around the axis that keep a circle of radius r within tolerance.
long long AngularSteps(long double r, long double tolerance) {
  const long double widest = 2.0L * std::acos(std::max(-1.0L, 1.0L - tolerance / r));
  return std::max(16LL, static_cast<long long>(std::ceil(kTwoPi / widest)));
}

// Where the curve `offset` from the inner face turns 45 degrees from the
// axis (its foot's radius a / sqrt 2).
long double SteepAlong(const KitHorn& horn, long double offset) {
  return TractrixCurve{horn.mouthRadius, horn.length, offset}
      .At(horn.mouthRadius / std::sqrt(2.0L))
      .along;
}

// The points of the curve `offset` from the inner face from x0 to x1 (either
// way), within the tolerance of its chords, exactly at x0 and x1 at the ends
// and with a point where it turns 45 degrees. The same arguments give the
// same points, so that faces made from them meet exactly.
std::vector<SectionPoint> OffsetChain(const KitHorn& horn, long double offset, long double x0,
                                      long double x1, long double tolerance) {
  const TractrixCurve curve{horn.mouthRadius, horn.length, offset};
  const long double turning = curve.TurningFoot();
  const long double lo = std::min(x0, x1);
  const long double hi = std::max(x0, x1);
  if (!(offset > 0.0L) || !(hi <= std::min(horn.length - offset, curve.At(turning).along)))
    throw KitError(
        "A spigot joint does not fit where the horn is cut, so near its mouth: give --joint "
        "flat or another segment height.");
  const long double first = horn.throatRadius * 0.5L;
  std::vector<long double> bounds{curve.FootAt(lo, first, turning)};
  const long double steep = horn.mouthRadius / std::sqrt(2.0L);
  const long double last = curve.FootAt(hi, first, turning);
  if (steep > bounds.front() && steep < last) bounds.push_back(steep);
  bounds.push_back(last);
  std::vector<SectionPoint> chain;
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    const std::vector<long double> feet = CurveFeet(curve, bounds[i], bounds[i + 1], tolerance);
    for (std::size_t k = i == 0 ? 0 : 1; k < feet.size(); ++k) {
      const CurvePoint p = curve.At(feet[k]);
      chain.push_back({p.along, p.across});
    }
  }
  chain.front().x = lo;
  chain.back().x = hi;
  if (x0 > x1) std::reverse(chain.begin(), chain.end());
  return chain;
}

// The spigot's band in the wall and the socket's, in the horn's unit.
struct JointBand {
  long double low = 0.0L;   // the spigot's offsets from the inner face
  long double high = 0.0L;
  long double clearance = 0.0L;
  long double depth = 0.0L;  // of the spigot along the axis
};

void Append(std::vector<SectionPoint>& to, const std::vector<SectionPoint>& points) {
  to.insert(to.end(), points.begin(), points.end());
}

WallFaces BuildFaces(const KitHorn& horn, const SolidOptions& options,
                     const std::vector<long double>& cuts, HoleLayout& holes) {
  const long double tolerance = options.toleranceMm / MillimetresPer(horn.unit);
  const long double wall = FaceOffset(options.wall, tolerance);
  const TractrixCurve outer{horn.mouthRadius, horn.length, wall};
  const long double turning = outer.TurningFoot();
  // Where the moved curve stops: before it turns back, and `wall` before the
  // full mouth, where the tractrix is too sharply bent to be followed.
  const long double stop = std::min({horn.end, horn.length - wall, outer.At(turning).along});
  if (!(stop > 0.0L)) throw KitError("The wall is too thick for this horn.");

  WallFaces faces;
  // Inner face: the reports' solver at the cuts, refined in between.
  // A point where each face turns 45 degrees from the axis, so that no chord
  // straddles the slope at which a printer needs supports.
  std::vector<long double> innerStops{0.0L};
  innerStops.insert(innerStops.end(), cuts.begin(), cuts.end());
  const long double innerSteep = SteepAlong(horn, 0.0L);
  if (innerSteep > 0.0L && innerSteep < horn.end &&
      std::find(innerStops.begin(), innerStops.end(), innerSteep) == innerStops.end())
    innerStops.insert(std::upper_bound(innerStops.begin(), innerStops.end(), innerSteep),
                      innerSteep);
  WallPoint from{0.0L, horn.throatRadius};
  for (std::size_t i = 1; i <= innerStops.size(); ++i) {
    const WallPoint to =
        i < innerStops.size()
            ? WallPoint{innerStops[i], WallRadius(horn, innerStops[i], from.radius)}
            : WallPoint{horn.end, horn.endRadius};
    const std::vector<WallPoint> points = WallPoints(horn, from, to, tolerance);
    for (std::size_t k = faces.inner.empty() ? 0 : 1; k < points.size(); ++k)
      faces.inner.push_back({points[k].distance, points[k].radius});
    from = to;
  }

  // Outer face: the moved curve from the throat face (or the flange) to `stop`.
  long double start = 0.0L;
  if (options.flange) {
    const Flange& flange = *options.flange;
    start = flange.thickness;
    if (!(start > 0.0L)) throw KitError("The flange thickness must be greater than 0.");
    const long double firstPiece = cuts.empty() ? horn.end : cuts.front();
    if (!(start < firstPiece) || !(start < stop))
      throw KitError("The flange must be thinner than the first piece of the horn.");
  }
  std::vector<long double> outerStops{start};
  for (const long double cut : cuts)
    if (cut > start && cut < stop) outerStops.push_back(cut);
  outerStops.push_back(stop);
  const long double outerSteep = SteepAlong(horn, wall);
  if (outerSteep > start && outerSteep < stop &&
      std::find(outerStops.begin(), outerStops.end(), outerSteep) == outerStops.end())
    outerStops.insert(std::upper_bound(outerStops.begin(), outerStops.end(), outerSteep),
                      outerSteep);
  const long double firstFoot = horn.throatRadius * 0.5L;
  std::vector<long double> feet;
  for (const long double x : outerStops) feet.push_back(outer.FootAt(x, firstFoot, turning));
  for (std::size_t i = 0; i + 1 < feet.size(); ++i) {
    const std::vector<long double> between = CurveFeet(outer, feet[i], feet[i + 1], tolerance);
    for (std::size_t k = i == 0 ? 0 : 1; k < between.size(); ++k) {
      const CurvePoint p = outer.At(between[k]);
      // The stops' own x, so that cut faces are flat and shared.
      const long double x = k == 0                    ? outerStops[i]
                            : k + 1 == between.size() ? outerStops[i + 1]
                                                      : p.along;
      faces.outer.push_back({x, p.across});
    }
  }
  if (stop < horn.end) {
    const long double rim = std::max(faces.outer.back().r, horn.endRadius + wall);
    faces.outer.push_back({stop, rim});
    for (const long double cut : cuts)
      if (cut > stop) faces.outer.push_back({cut, rim});
    faces.outer.push_back({horn.end, rim});
  }

  if (options.flange) {
    const Flange& flange = *options.flange;
    const long double rim = flange.outerDiameter * 0.5L;
    const long double wallThere = faces.outer.front().r;
    if (!(rim > wallThere))
      throw KitError("The flange must be wider than the horn's wall at the flange.");
    std::vector<SectionPoint> prefix{{0.0L, rim}, {start, rim}};
    if (flange.boltCount < 0) throw KitError("The number of bolt holes must be 0 or more.");
    if (flange.boltCount > 0) {
      holes.back = 0.0L;
      holes.front = start;
      holes.count = flange.boltCount;
      holes.circle = flange.boltCircle * 0.5L;
      holes.radius = flange.holeDiameter * 0.5L;
      const long double sine = std::sin(geometry::Pi / static_cast<long double>(holes.count));
      const long double apart =
          holes.count == 1 ? holes.radius : holes.circle * sine - holes.radius;
      if (!(holes.radius > 0.0L) || !(holes.circle - holes.radius > wallThere) ||
          !(holes.circle + holes.radius < rim) || !(apart > 0.0L) || holes.count > 360) {
        throw KitError(
            "The bolt holes must lie on the flange, outside the horn's wall, apart from each "
            "other.");
      }
      // A margin around each hole for its cell, inside the faces and the holes' sectors.
      const long double margin =
          std::min({holes.radius * 0.5L, (holes.circle - holes.radius - wallThere) * 0.5L,
                    (rim - holes.circle - holes.radius) * 0.5L,
                    holes.count == 1 ? holes.radius : apart * 0.5L});
      holes.low = holes.circle - holes.radius - margin;
      holes.high = holes.circle + holes.radius + margin;
      holes.sides = static_cast<int>(AngularSteps(holes.radius, tolerance));
      prefix.push_back({start, holes.high});
      prefix.push_back({start, holes.low});
      faces.throatFace = {{0.0L, holes.high}, {0.0L, holes.low}};
    }
    faces.outer.insert(faces.outer.begin(), prefix.begin(), prefix.end());
    faces.flangePoints = prefix.size();
  }
  return faces;
}

// The section of the piece between lo and hi, counter-clockwise (x right, r up).
std::vector<SectionPoint> Section(const WallFaces& faces, long double lo, long double hi) {
  std::vector<SectionPoint> section;
  for (const SectionPoint& p : faces.inner)
    if (p.x >= lo && p.x <= hi) section.push_back(p);
  for (auto p = faces.outer.rbegin(); p != faces.outer.rend(); ++p)
    if (p->x >= lo && p->x <= hi) section.push_back(*p);
  if (lo == 0.0L) section.insert(section.end(), faces.throatFace.begin(), faces.throatFace.end());
  return section;
}

// The piece's section with its joints: the socket notched into its mouth-side
// face, the spigot standing out of its throat-side face.
std::vector<SectionPoint> PieceSection(const WallFaces& faces, const KitHorn& horn,
                                       long double lo, long double hi, bool spigot, bool socket,
                                       const JointBand& band, long double tolerance) {
  std::vector<SectionPoint> section = Section(faces, lo, hi);
  if (socket) {
    const auto mouthSide = std::find_if(section.begin(), section.end(), [&](const SectionPoint& p) {
      return p.x == hi;
    });
    const long double bottom = hi - band.depth - band.clearance;
    std::vector<SectionPoint> notch =
        OffsetChain(horn, band.low - band.clearance, hi, bottom, tolerance);
    Append(notch, OffsetChain(horn, band.high + band.clearance, bottom, hi, tolerance));
    section.insert(mouthSide + 1, notch.begin(), notch.end());
  }
  if (spigot) {
    Append(section, OffsetChain(horn, band.high, lo, lo - band.depth, tolerance));
    Append(section, OffsetChain(horn, band.low, lo - band.depth, lo, tolerance));
  }
  return section;
}

// Appends `points`, the first left out when it repeats the last one there.
void Join(std::vector<SectionPoint>& to, const std::vector<SectionPoint>& points) {
  const bool repeats = !to.empty() && !points.empty() && to.back().x == points.front().x &&
                       to.back().r == points.front().r;
  to.insert(to.end(), points.begin() + (repeats ? 1 : 0), points.end());
}

// One petal of the piece lo..hi, from angle 0 to `angle`. With spigot joints
// a tongue of the spigot's band stands out of its face at `angle` (depth at
// least the spigot's where the band is nearest the axis) and the groove for
// its neighbour's tongue, the clearance wider and deeper, is cut into its
// face at 0; both run from the throat side (through the spigot) to below the
// socket. Four sections meet at the faces' angles: the wall less the groove,
// the whole wall, the tongue.
Mesh PetalOf(const WallFaces& faces, const KitHorn& horn, long double lo, long double hi,
             bool spigot, bool socket, const JointBand* band, long double angle,
             long double tolerance, long double step, long double scale) {
  std::vector<SectionPoint> open = Section(faces, lo, hi);
  if (!band) return RevolvedSlabs({{open, 0.0L, angle}}, {{{open, false}}, {{open, true}}}, step, scale);
  const long double g = band->clearance;
  const long double top = hi - band->depth - 3.0L * g;  // of the tongue
  const long double foot = lo - band->depth;
  if (socket) {
    const auto mouthSide =
        std::find_if(open.begin(), open.end(), [&](const SectionPoint& p) { return p.x == hi; });
    const long double bottom = hi - band->depth - g;
    std::vector<SectionPoint> notch = OffsetChain(horn, band->low - g, hi, bottom, tolerance);
    Join(notch, OffsetChain(horn, band->high + g, bottom, hi, tolerance));
    open.insert(mouthSide + 1, notch.begin(), notch.end());
  }
  const auto chain = [&](long double offset, long double from, long double to) {
    return OffsetChain(horn, offset, from, to, tolerance);
  };
  const auto at = [&](long double offset) { return chain(offset, lo, top).front(); };
  const long double m1 = band->low, m2 = band->high;
  // The sections and faces, each the open wall closed on its throat side.
  const auto closed = [&open](const std::vector<std::vector<SectionPoint>>& parts) {
    std::vector<SectionPoint> polygon = open;
    for (const auto& part : parts) Join(polygon, part);
    return polygon;
  };
  const std::vector<SectionPoint> whole =
      spigot ? closed({{at(m2 + g)}, chain(m2, lo, foot), chain(m1, foot, lo), {at(m1 - g)}})
             : closed({{at(m2 + g), at(m2), at(m1), at(m1 - g)}});
  const std::vector<SectionPoint> grooved = closed({chain(m2 + g, lo, top + g), chain(m1 - g, top + g, lo)});
  const std::vector<SectionPoint> tongued =
      closed({{at(m2 + g)}, chain(m2, lo, top), chain(m1, top, lo), {at(m1 - g)}});
  std::vector<SectionPoint> tongue;
  std::vector<SectionPoint> grooveEnd;
  if (spigot) {
    for (const auto& part : {chain(m1, foot, lo), chain(m1, lo, top), chain(m2, top, lo),
                             chain(m2, lo, foot)})
      Join(tongue, part);
    for (const auto& part : {chain(m1, foot, lo), chain(m1 - g, lo, top + g),
                             chain(m2 + g, top + g, lo), chain(m2, lo, foot)})
      Join(grooveEnd, part);
  } else {
    for (const auto& part : {chain(m1, lo, top), chain(m2, top, lo)}) Join(tongue, part);
    for (const auto& part : {chain(m1 - g, lo, top + g), chain(m2 + g, top + g, lo),
                             std::vector<SectionPoint>{at(m2), at(m1)}})
      Join(grooveEnd, part);
  }
  long double nearest = INFINITY;
  for (const SectionPoint& p : tongue) nearest = std::min(nearest, p.r);
  const long double tongueAngle = band->depth / nearest;
  const long double grooveAngle = (band->depth + g) / nearest;
  const long double tongueEnd = angle + tongueAngle;
  return RevolvedSlabs({{grooved, 0.0L, grooveAngle}, {whole, grooveAngle, angle}, {tongue, angle, tongueEnd}},
                       {{{grooved, false}}, {{grooveEnd, false}}, {{tongued, true}}, {{tongue, true}}},
                       step, scale);
}

// The fewest equal petals whose footprint (the piece's annulus between
// `inner` and `outer`, each petal `extra` of a turn wider for its tongue),
// turned about the axis, lies on a bed `width` by `depth`: the count, the
// turn and the footprint. One petal is the whole ring; a count of 0 says
// that 64 petals do not fit either.
struct PetalFit {
  int count = 1;
  long double turn = 0.0L;
  long double width = 0.0L;
  long double depth = 0.0L;
};

PetalFit FitPetals(long double inner, long double outer, long double extra, long double width,
                   long double depth) {
  if (2.0L * outer <= std::min(width, depth)) return {1, 0.0L, 2.0L * outer, 2.0L * outer};
  for (int count = 2; count <= 64; ++count) {
    const long double angle = kTwoPi / count + extra * kTwoPi;
    std::vector<SectionPoint> hull;  // x, y in the bed's plane
    for (int i = 0; i <= 360; ++i) {
      const long double a = angle * i / 360.0L;
      hull.push_back({outer * std::cos(a), outer * std::sin(a)});
      hull.push_back({inner * std::cos(a), inner * std::sin(a)});
    }
    PetalFit best{count, 0.0L, INFINITY, INFINITY};
    for (int k = 0; k < 720; ++k) {
      const long double turn = geometry::Pi * k / 720.0L;
      long double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
      for (const SectionPoint& p : hull) {
        const long double x = p.x * std::cos(turn) - p.r * std::sin(turn);
        const long double y = p.x * std::sin(turn) + p.r * std::cos(turn);
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
      if (std::max((x1 - x0) / width, (y1 - y0) / depth) <
          std::max(best.width / width, best.depth / depth))
        best = {count, turn, x1 - x0, y1 - y0};
    }
    if (best.width <= width && best.depth <= depth) return best;
  }
  return {0, 0.0L, 2.0L * outer, 2.0L * outer};  // does not fit in 64 petals
}

// Turns the mesh about the axis and centres its footprint on it.
void PlaceOnBed(Mesh& mesh, long double turn) {
  long double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
  for (Vertex& v : mesh.vertices) {
    const long double x = v.x * std::cos(turn) - v.y * std::sin(turn);
    v.y = v.x * std::sin(turn) + v.y * std::cos(turn);
    v.x = x;
    x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
  }
  for (Vertex& v : mesh.vertices) {
    v.x -= (x0 + x1) * 0.5L;
    v.y -= (y0 + y1) * 0.5L;
  }
}

// Which end of the piece lies on the bed, and the heights over which its faces
// lean more than 45 degrees from upright facing down; the faces on the bed
// and flat roofs (a socket's) aside.
PiecePrint PrintOf(const std::vector<SectionPoint>& section, bool mouthDown, long double scale) {
  PiecePrint print;
  print.mouthDown = mouthDown;
  long double lowest = INFINITY, highest = -INFINITY, widest = 0.0L;
  for (const SectionPoint& p : section) {
    lowest = std::min(lowest, p.x);
    highest = std::max(highest, p.x);
    widest = std::max(widest, p.r);
  }
  const auto height = [&](long double x) { return (mouthDown ? highest - x : x - lowest) * scale; };
  long double from = INFINITY, to = -INFINITY;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const SectionPoint& p = section[i];
    const SectionPoint& q = section[(i + 1) % section.size()];
    // The outward normal (dr, -dx) of a counter-clockwise section; down is +x mouth down.
    const long double down = (q.r - p.r) * (mouthDown ? 1.0L : -1.0L);
    const long double across = std::fabs(q.x - p.x);
    if (p.x == q.x || !(down > across)) continue;
    from = std::min({from, height(p.x), height(q.x)});
    to = std::max({to, height(p.x), height(q.x)});
  }
  if (from <= to) {
    print.overhangFrom = from;
    print.overhangTo = to;
  }
  print.width = print.depth = 2.0L * widest * scale;
  return print;
}

// The flange: its points in the section (those of its two faces from
// `inner` outward) revolve in steps of their own, so that its rim and holes
// refine the flange only; a flat ring joins them to the wall's steps.
struct FlangeSteps {
  long long steps = 0;  // 0: no flange
  long double front = 0.0L;
  long double inner = 0.0L;
};

// The share of the estimated triangles made so far, told in whole percent.
class MadeShare {
 public:
  MadeShare(const std::function<void(int)>& tell, long double total) : tell_(tell), total_(total) {}
  void Add(long double triangles) {
    made_ += triangles;
    const int percent = static_cast<int>(std::min(100.0L, made_ * 100.0L / total_));
    if (tell_ && percent != told_) tell_(told_ = percent);
  }

 private:
  const std::function<void(int)>& tell_;
  long double total_;
  long double made_ = 0.0L;
  int told_ = -1;
};

class Revolver {
 public:
  Revolver(long long steps, const FlangeSteps& flange, long double scale, const HoleLayout& holes)
      : wallSteps_(steps),
        steps_(flange.steps > 0 ? flange.steps : steps),
        flange_(flange),
        scale_(scale),
        holes_(holes) {}

  // Two triangles per section edge and step, the holes aside.
  long double Triangles(const std::vector<SectionPoint>& section) const {
    long double count = 0.0L;
    for (std::size_t i = 0; i < section.size(); ++i)
      count += 2.0L * static_cast<long double>(std::max(
                          StepsAt(section[i]), StepsAt(section[(i + 1) % section.size()])));
    return count;
  }

  Mesh Revolve(const std::vector<SectionPoint>& section, MadeShare& share) const {
    Mesh mesh;
    const std::size_t n = section.size();
    offsets_.assign(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
      const long long steps = StepsAt(section[i]);
      offsets_[i + 1] = offsets_[i] + steps;
      for (long long j = 0; j < steps; ++j)
        mesh.Add(At(section[i].r, Angle(j, steps), section[i].x));
    }
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t next = (i + 1) % n;
      const SectionPoint& p = section[i];
      const SectionPoint& q = section[next];
      // The section's outward normal (dr, -dx), turned to a step's middle.
      const auto outward = [&p, &q](long double middle) {
        return Vertex{(p.x - q.x) * std::cos(middle), (p.x - q.x) * std::sin(middle), q.r - p.r};
      };
      const long long steps = StepsAt(p);
      share.Add(2.0L * static_cast<long double>(std::max(steps, StepsAt(q))));
      if (steps != StepsAt(q)) {
        JoinRings(mesh, i, steps, next, StepsAt(q), outward(0.0L));
        continue;
      }
      const bool band = IsBand(p, q);
      for (long long j = 0; j < steps; ++j) {
        if (band && InCell(j)) continue;
        const long long k = (j + 1) % steps;
        const Vertex out = outward((Angle(j, steps) + Angle(j + 1, steps)) * 0.5L);
        mesh.AddFacing(Index(i, j), Index(next, j), Index(next, k), out);
        mesh.AddFacing(Index(i, j), Index(next, k), Index(i, k), out);
      }
    }
    if (holes_.count > 0 && section.size() > 0) AddHoles(mesh, section);
    return mesh;
  }

 private:
  long long StepsAt(const SectionPoint& p) const {
    const bool onFlange = flange_.steps > 0 && (p.x == 0.0L || p.x == flange_.front) &&
                          p.r >= flange_.inner;
    return onFlange ? flange_.steps : wallSteps_;
  }

  // A flat ring between two circles of different steps, both from angle 0:
  // each next triangle takes the nearer next point by angle.
  void JoinRings(Mesh& mesh, std::size_t a, long long m, std::size_t b, long long n,
                 const Vertex& outward) const {
    long long i = 0;
    long long j = 0;
    while (i < m || j < n) {
      if (j == n || (i < m && (i + 1) * n <= (j + 1) * m)) {
        mesh.AddFacing(Index(a, i), Index(a, (i + 1) % m), Index(b, j % n), outward);
        ++i;
      } else {
        mesh.AddFacing(Index(a, i % m), Index(b, j), Index(b, (j + 1) % n), outward);
        ++j;
      }
    }
  }

  static long double Angle(long long j, long long steps) {
    return kTwoPi * static_cast<long double>(j) / static_cast<long double>(steps);
  }
  long double Angle(long long j) const { return Angle(j, steps_); }

  Vertex At(long double r, long double angle, long double x) const {
    return {r * std::cos(angle) * scale_, r * std::sin(angle) * scale_, x * scale_};
  }

  std::uint32_t Index(std::size_t point, long long j) const {
    return static_cast<std::uint32_t>(offsets_[point] + j);
  }

  long long Centre(int hole) const { return (2LL * hole + 1) * steps_ / (2LL * holes_.count); }

  bool IsBand(const SectionPoint& p, const SectionPoint& q) const {
    if (holes_.count == 0 || p.x != q.x) return false;
    if (p.x != holes_.back && p.x != holes_.front) return false;
    return std::min(p.r, q.r) == holes_.low && std::max(p.r, q.r) == holes_.high;
  }

  bool InCell(long long j) const {
    const long long perHole = steps_ / holes_.count;
    const long long offset = j % perHole;  // the centre lies at perHole / 2
    return offset >= perHole / 2 - holes_.half && offset < perHole / 2 + holes_.half;
  }

  static std::size_t Find(const std::vector<SectionPoint>& section, long double x, long double r) {
    for (std::size_t i = 0; i < section.size(); ++i)
      if (section[i].x == x && section[i].r == r) return i;
    return section.size();
  }

  // Fills each cell around a hole on both faces and lines the hole.
  void AddHoles(Mesh& mesh, const std::vector<SectionPoint>& section) const {
    const long double faces[2] = {holes_.back, holes_.front};
    std::vector<std::uint32_t> rings[2];
    for (int side = 0; side < 2; ++side) {
      const std::size_t low = Find(section, faces[side], holes_.low);
      const std::size_t high = Find(section, faces[side], holes_.high);
      if (low == section.size() || high == section.size()) return;  // a piece without the flange
    }
    for (int hole = 0; hole < holes_.count; ++hole) {
      const long double centreAngle = Angle(Centre(hole));
      std::vector<std::uint32_t> lining[2];
      for (int side = 0; side < 2; ++side) {
        const long double x = faces[side];
        const Vertex centre = At(holes_.circle, centreAngle, x);
        std::vector<std::uint32_t> cell;
        const std::size_t low = Find(section, x, holes_.low);
        const std::size_t high = Find(section, x, holes_.high);
        for (long long j = Centre(hole) - holes_.half; j <= Centre(hole) + holes_.half; ++j) {
          cell.push_back(Index(low, j));
          cell.push_back(Index(high, j));
        }
        for (int s = 0; s < holes_.sides; ++s) {
          const long double t = kTwoPi * s / holes_.sides;
          lining[side].push_back(
              mesh.Add({centre.x + holes_.radius * scale_ * std::cos(t),
                        centre.y + holes_.radius * scale_ * std::sin(t), centre.z}));
        }
        Zip(mesh, cell, lining[side], centre, side == 0 ? -1.0L : 1.0L);
      }
      const Vertex centre = At(holes_.circle, centreAngle, 0.0L);
      for (int s = 0; s < holes_.sides; ++s) {
        const int t = (s + 1) % holes_.sides;
        const Vertex& v = mesh.vertices[lining[0][s]];
        const Vertex inward{centre.x - v.x, centre.y - v.y, 0.0L};
        mesh.AddFacing(lining[0][s], lining[0][t], lining[1][t], inward);
        mesh.AddFacing(lining[0][s], lining[1][t], lining[1][s], inward);
      }
    }
  }

  // Positive when p lies left of the line from a to b in the face's plane.
  static long double Turn(const Mesh& mesh, std::uint32_t p, std::uint32_t a, std::uint32_t b) {
    const Vertex& w = mesh.vertices[p];
    const Vertex& u = mesh.vertices[a];
    const Vertex& v = mesh.vertices[b];
    return (v.x - u.x) * (w.y - u.y) - (v.y - u.y) * (w.x - u.x);
  }

  // Triangles between a cell's edge and its hole, both walked around the centre.
  static void Zip(Mesh& mesh, std::vector<std::uint32_t> cell, std::vector<std::uint32_t> hole,
                  const Vertex& centre, long double facing) {
    // Angles from the cell's first point, so that both walks start together.
    const std::uint32_t first = cell.front();
    const auto around = [&mesh, &centre](std::uint32_t v) {
      return std::atan2(mesh.vertices[v].y - centre.y, mesh.vertices[v].x - centre.x);
    };
    const auto angle = [&around, first](std::uint32_t v) {
      const long double a = around(v) - around(first);
      return a < 0.0L ? a + kTwoPi : a;
    };
    const auto byAngle = [&angle](std::uint32_t p, std::uint32_t q) { return angle(p) < angle(q); };
    std::sort(cell.begin(), cell.end(), byAngle);
    std::sort(hole.begin(), hole.end(), byAngle);
    const auto unwrapped = [&angle](const std::vector<std::uint32_t>& loop, std::size_t i) {
      return i < loop.size() ? angle(loop[i]) : angle(loop[i - loop.size()]) + kTwoPi;
    };
    const Vertex outward{0.0L, 0.0L, facing};
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < cell.size() || j < hole.size()) {
      // By angle, unless that triangle would fold over its neighbours (a cell
      // point far around from a hole's side lies inside that side's line, or a
      // hole's point outside a cell's side near the bore) and the other would not.
      const bool cellFits =
          i < cell.size() &&
          Turn(mesh, hole[j % hole.size()], cell[i], cell[(i + 1) % cell.size()]) > 0.0L;
      const bool holeFits =
          j < hole.size() &&
          Turn(mesh, cell[i % cell.size()], hole[j], hole[(j + 1) % hole.size()]) < 0.0L;
      const bool byAngle =
          j == hole.size() || (i < cell.size() && unwrapped(cell, i + 1) <= unwrapped(hole, j + 1));
      const bool advanceCell =
          j == hole.size() || (i < cell.size() && (byAngle ? cellFits || !holeFits : !holeFits));
      if (advanceCell) {
        mesh.AddFacing(cell[i], cell[(i + 1) % cell.size()], hole[j % hole.size()], outward);
        ++i;
      } else {
        mesh.AddFacing(cell[i % cell.size()], hole[j], hole[(j + 1) % hole.size()], outward);
        ++j;
      }
    }
  }

  long long wallSteps_;
  long long steps_;  // the flange's, where the holes are
  FlangeSteps flange_;
  long double scale_;
  HoleLayout holes_;
  mutable std::vector<long long> offsets_;  // of each section point's first vertex
};

}  // namespace

HornSolids CircularHornSolids(const report::CircularReportInput& input,
                              const report::MouthLimit& limit,
                              const geometry::Separators& separators, const SolidOptions& options) {
  Checked(options);
  RefuseUnprintable("wall", options.wall, input.unit);
  if (const auto& flange = options.flange) {
    RefuseUnprintable("flange thickness", flange->thickness, input.unit);
    if (flange->boltCount > 0) RefuseUnprintable("hole diameter", flange->holeDiameter, input.unit);
  }
  if (!(options.toleranceMm > 0.0L) || !std::isfinite(options.toleranceMm))
    throw KitError("The curve tolerance must be a number greater than 0.");
  const KitHorn horn = MakeKitHorn(input, limit, separators);
  const long double mm = MillimetresPer(horn.unit);
  const bool jointed = options.joint == Joint::Spigot;
  JointBand band;
  if (jointed) {
    if (options.wall * mm < kSpigotWallMm)
      throw KitError("A spigot joint needs a wall of at least 1.8 mm: give --joint flat or a "
                     "thicker --wall.");
    band = {options.wall / 3.0L, options.wall * 2.0L / 3.0L, kJointClearanceMm / mm,
            kSpigotDepthMm / mm};
    if (options.segmentHeight > 0.0L && !(options.segmentHeight > 2.0L * band.depth))
      throw KitError("The segment height must be more than twice the spigot's depth, 5 mm.");
  }
  HornSolids solids;
  // A piece with its spigot is no taller than the segment height.
  solids.cuts = PieceCuts(horn.end, options.segmentHeight > 0.0L && jointed
                                        ? options.segmentHeight - band.depth
                                        : options.segmentHeight);
  HoleLayout holes;
  const WallFaces faces = BuildFaces(horn, options, solids.cuts, holes);

  const long double tolerance = options.toleranceMm / MillimetresPer(horn.unit);
  long double widest = 0.0L;
  for (std::size_t i = faces.flangePoints; i < faces.outer.size(); ++i)
    widest = std::max(widest, faces.outer[i].r);
  const long long wallSteps = AngularSteps(widest, tolerance);
  FlangeSteps flange;
  if (options.flange) {
    flange.front = options.flange->thickness;
    flange.inner = holes.count > 0 ? holes.low : options.flange->outerDiameter * 0.5L;
    flange.steps = AngularSteps(options.flange->outerDiameter * 0.5L, tolerance);
  }
  if (holes.count > 0) {
    // Steps a multiple of twice the holes, so each hole's centre is on a step,
    // and fine enough that a cell is about as wide as it is high. The cell's
    // straight sides and the chords of its outer edge must clear the hole.
    long long& steps = flange.steps;
    const long double halfCell = std::asin((holes.high - holes.low) * 0.5L / holes.circle);
    const auto multiple = 2LL * holes.count;
    steps = std::max(steps, static_cast<long long>(std::ceil(kTwoPi / halfCell)));
    steps = (steps + multiple - 1) / multiple * multiple;
    for (;; steps += multiple) {
      holes.half =
          static_cast<long long>(std::ceil(halfCell / (kTwoPi / static_cast<long double>(steps))));
      const bool clear = holes.high * std::cos(geometry::Pi / static_cast<long double>(steps)) >
                         holes.circle + holes.radius;
      if (clear && 2 * holes.half < steps / holes.count) break;
      if (steps > kMaxAngularSteps) throw KitError("The bolt holes are too close together.");
    }
  }
  std::vector<long double> planes{0.0L};
  planes.insert(planes.end(), solids.cuts.begin(), solids.cuts.end());
  planes.push_back(horn.end);
  std::vector<std::vector<SectionPoint>> sections;
  for (std::size_t k = 0; k + 1 < planes.size(); ++k) {
    const bool socket = jointed && k + 2 < planes.size();
    const long double floor = k == 0 && options.flange ? options.flange->thickness : 0.0L;
    if (socket && !(planes[k + 1] - band.depth - 2.0L * band.clearance > planes[k] + floor))
      throw KitError("A piece is too short for its socket: give --joint flat or a taller "
                     "segment height.");
    sections.push_back(PieceSection(faces, horn, planes[k], planes[k + 1], jointed && k > 0,
                                    socket, band, tolerance));
  }
  // The pieces' triangles counted before any is made: two per section edge and step.
  const Revolver revolver(wallSteps, flange, mm, holes);
  long double triangles = 0.0L;
  for (const auto& section : sections) triangles += revolver.Triangles(section);
  if (triangles > kMaxStlTriangles)
    throw KitError("The STL files would hold about " +
                   std::to_string(std::llround(triangles / 1e6L)) + " million triangles (" +
                   std::to_string(std::llround(triangles * 50.0L / 1e6L)) +
                   " MB); at most " + std::to_string(std::llround(kMaxStlTriangles / 1e6L)) +
                   " million are written: cut the horn short or into fewer pieces.");
  const std::vector<SectionPoint> whole = Section(faces, 0.0L, horn.end);
  MadeShare share(options.progress, triangles + (options.whole ? revolver.Triangles(whole) : 0.0L));
  if (options.whole) solids.whole = revolver.Revolve(whole, share);
  const bool bed = options.bedWidthMm > 0.0L && options.bedDepthMm > 0.0L;
  for (std::size_t k = 0; k < sections.size(); ++k) {
    // A flange lies on the bed; otherwise the wide end does, the wall leaning in.
    PiecePrint print = PrintOf(sections[k], !(options.flange && k == 0), mm);
    print.segment = static_cast<int>(k + 1);
    long double inner = INFINITY, outer = 0.0L;
    for (const SectionPoint& p : sections[k]) {
      inner = std::min(inner, p.r);
      outer = std::max(outer, p.r);
    }
    // The tongue's share of a turn, at most: its depth where the band is nearest the axis.
    const long double extra = jointed ? (band.depth + band.clearance) / (inner * kTwoPi) : 0.0L;
    const PetalFit fit = bed ? FitPetals(inner * mm, outer * mm, extra, options.bedWidthMm,
                                         options.bedDepthMm)
                             : PetalFit{1, 0.0L, 2.0L * outer * mm, 2.0L * outer * mm};
    // The flange's bolt holes would straddle petals: its piece is kept whole.
    if (fit.count <= 1 || (options.flange && k == 0)) {
      print.fits = fit.count == 1;
      solids.segments.push_back(revolver.Revolve(sections[k], share));
      solids.prints.push_back(print);
      continue;
    }
    Mesh petal = PetalOf(faces, horn, planes[k], planes[k + 1], jointed && k > 0,
                         jointed && k + 1 < sections.size(), jointed ? &band : nullptr,
                         kTwoPi / fit.count, tolerance, kTwoPi / static_cast<long double>(wallSteps),
                         mm);
    PlaceOnBed(petal, fit.turn);
    share.Add(revolver.Triangles(sections[k]));
    print.petals = fit.count;
    print.width = fit.width;
    print.depth = fit.depth;
    for (int p = 1; p <= fit.count; ++p) {
      print.petal = p;
      solids.segments.push_back(petal);
      solids.prints.push_back(print);
    }
  }
  return solids;
}

long double FaceOffset(long double wall, long double tolerance) {
  return wall + 2.0L * tolerance;
}

}  // namespace vortalis::buildkit
