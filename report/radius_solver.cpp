#include "report/radius_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vortalis::report {

namespace {

enum class Move { Forward, Back, Stop };

// What the walk does at a radius whose distance from the mouth plane is xr.
Move MoveFor(long double xr, long double x, long double eps) {
  if (!(std::fabs(xr - x) > eps)) return Move::Stop;
  return xr < x ? Move::Back : Move::Forward;
}

// The decimal walk from rStart; moveAt(r) says what the distance of r asks for.
template <typename MoveAt>
long double Walk(long double rStart, MoveAt moveAt) {
  long double step = 1.0L;
  long double r = rStart;
  Move move = moveAt(r);
  while (move != Move::Stop) {
    const long double rBefore = r;
    const long double stepBefore = step;
    r = r + step;
    if (move == Move::Back) {
      // The radius before this step already passed the target (or the mouth):
      // go back to the last radius on the throat side and refine the step.
      r = r - 2.0L * step;
      step = step * 0.1L;
    }
    // A tolerance finer than the arithmetic can resolve (or a NaN argument)
    // would repeat this same state for ever; a converging walk never does.
    if (step == stepBefore && (r == rBefore || std::isnan(r))) break;
    move = moveAt(r);
  }
  return r;
}

// TractrixLength's steps with the logarithm taken in double; s = sqrt(a * a - r * r).
long double CheapLength(long double a, long double r, long double s) {
  const double q = static_cast<double>((s + a) / r);
  return static_cast<long double>(std::log(q)) * a - s;
}

long double CheapLength(long double a, long double r) {
  return CheapLength(a, r, std::sqrt(a * a - r * r));
}

// Radii whose move is certain: Forward on [lowest, forwardTo], Stop on
// [stopFrom, stopTo], Back on [backFrom, a). Each range is empty until proven.
struct CertainMoves {
  long double lowest;
  long double forwardTo = -std::numeric_limits<long double>::infinity();
  long double stopFrom = std::numeric_limits<long double>::infinity();
  long double stopTo = -std::numeric_limits<long double>::infinity();
  long double backFrom = std::numeric_limits<long double>::infinity();
};

// Why a cheap value C decides for the exact one F. Let f be the true distance,
// U = 2^-64, u = 2^-53, L = ln((a + s) / r) <= ln(2a / r), so 0 <= L <= maxLog
// for r >= lowest, and |F| <= aL.
// - F and C share s~ = sqrt(fl(a^2 - r^2)), off by up to 3Ua^2 / (s~ + s) next
//   to the mouth; since d/ds (a ln((a + s) / r) - s) = -s / (a + s), that moves
//   the distance by at most 4Ua.
// - F: forming q adds 2U to ln q, logl at most 8 ulps (glibc's is within
//   about 1), the product and difference U|t| + U|F|:
//   |F - f| <= U (6a + 20aL + |F|).
// - C: q rounded to double adds 1.01u to ln q, log at most 2 ulps (glibc's is
//   within about 1): |C - F| <= a (1.01u + 4.01uL) + U (3a + 3aL + |F|).
// - fl(F - x) compared with eps, and the sums the bounds are tested against,
//   are off by at most U (|F| + x + eps + margin).
// All of it stays below 6u (a (1 + maxLog) + x + eps); the margin takes 16u
// (measured, |C - F| stays under 1u a (1 + L)). As f decreases on (0, a),
// C(p) > x + eps + margin proves F(r) - x > eps for every r in [lowest, p],
// and so on for the other three bounds. Outside the range below (extreme or
// invalid arguments) nothing is proven and the walk is literal.
CertainMoves FindCertainMoves(long double a, long double x, long double rStart, long double eps) {
  CertainMoves moves{rStart * 0.5L};
  // Nothing below over- or underflows, and q <= 4a / rStart fits a double.
  if (!(a > 0x1p-4000L && a < 0x1p4000L && rStart > a * 0x1p-900L && rStart < a && x > 0.0L &&
        x < 0x1p4000L && eps > 0.0L && eps < 0x1p4000L))
    return moves;
  const long double maxLog = std::log(static_cast<double>(4.0L * a / rStart)) + 1.0;
  const long double margin = 0x1p-49L * (a * (1.0L + maxLog) + x + eps);

  // Newton's method toward f(r) = x. f' = -s / r and f'' = a^2 / (s r^2) > 0:
  // from the throat side the steps approach the root without passing it.
  long double root = rStart;
  for (int i = 0; i < 16; ++i) {
    const long double s = std::sqrt(a * a - root * root);
    const long double move = (CheapLength(a, root, s) - x) * root / s;
    root += move;
    if (!(root > moves.lowest && root < a)) return moves;
    // The distance left after this step is about f'' move^2 / 2.
    if (a * a / (s * root * root) * move * move <= margin) break;
  }

  // Where f = x + eps and f = x - eps, to second order: on a small horn the
  // curvature term outgrows the margin.
  const long double s = std::sqrt(a * a - root * root);
  const long double slope = s / root;
  const long double bend = 0.5L * a * a / (s * root * root) * (eps / slope);
  const long double below = eps / (slope + bend);
  const long double above = eps / (slope - bend);
  const long double doubt = 2.0L * margin / slope;
  const long double p1 = root - below - doubt;
  const long double p2 = root - below + doubt;
  const long double p3 = root + above - doubt;
  const long double p4 = root + above + doubt;
  const auto inside = [&](long double r) { return r >= moves.lowest && r < a; };
  if (inside(p1) && CheapLength(a, p1) > x + eps + margin) moves.forwardTo = p1;
  if (p2 <= p3 && inside(p2) && inside(p3) && CheapLength(a, p2) < x + eps - margin &&
      CheapLength(a, p3) > x - eps + margin) {
    moves.stopFrom = p2;
    moves.stopTo = p3;
  }
  if (inside(p4) && CheapLength(a, p4) < x - eps - margin) moves.backFrom = p4;
  return moves;
}

}  // namespace

long double SolveRadiusLiteral(long double a, long double x, long double rStart, long double eps) {
  return Walk(rStart, [&](long double r) { return MoveFor(TractrixDistance(a, r), x, eps); });
}

long double SolveRadius(long double a, long double x, long double rStart, long double eps) {
  const CertainMoves moves = FindCertainMoves(a, x, rStart, eps);
  return Walk(rStart, [&](long double r) {
    if (r <= moves.forwardTo && r >= moves.lowest) return Move::Forward;
    if (r >= moves.backFrom && r < a) return Move::Back;
    if (r >= moves.stopFrom && r <= moves.stopTo) return Move::Stop;
    return MoveFor(TractrixDistance(a, r), x, eps);
  });
}

long double FlareAngle(long double t) {
  if (t > 0.999999991L) return 90.0L;
  return std::atan(t / std::sqrt(1.0L - t * t)) * 57.29577951308232L;
}

long double RoundedLength(long double length) { return std::nearbyint(length); }

int ProgressPercent(long double d, long double lr) {
  // A horn shorter than half a unit rounds to 0: show a full bar rather than divide by zero.
  if (lr == 0.0L) return 100;
  const long double percent = d / lr * 100.0L;
  // llrint rounds in the current mode exactly as nearbyint does (to nearest, ties
  // to even) without saving and restoring the floating-point environment, which
  // cost a few percent of a huge table; it needs a value within long long.
  constexpr long double kLongLongSafe = 0x1p62L;
  if (!(percent < kLongLongSafe)) return std::numeric_limits<int>::max();  // NaN too
  if (!(percent > -kLongLongSafe)) return std::numeric_limits<int>::min();
  return static_cast<int>(std::clamp<long long>(std::llrint(percent),
                                                std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

long double SearchTolerance(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Millimetre ? 0.000001L : 0.00000001L;
}

}  // namespace vortalis::report
