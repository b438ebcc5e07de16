#pragma once

#include <array>
#include <cmath>

#include "geometry/constants.h"

// Gauss-Legendre quadrature of N points: integral_-1^1 f(x) dx ~ sum w_i f(x_i).
namespace vortalis::geometry {

// Nodes and weights on [-1, 1], by Newton's method on the Legendre polynomial P_N.
template <int N>
struct GaussLegendre {
  std::array<long double, N> node{};
  std::array<long double, N> weight{};

  GaussLegendre() {
    for (int i = 0; i < N; ++i) {
      long double x = std::cos(Pi * (static_cast<long double>(i) + 0.75L) /
                               (static_cast<long double>(N) + 0.5L));
      long double derivative = 0.0L;
      for (int iteration = 0; iteration < 100; ++iteration) {
        long double p0 = 1.0L;
        long double p1 = x;
        for (int n = 2; n <= N; ++n) {
          const long double p2 = ((2.0L * n - 1.0L) * x * p1 - (n - 1.0L) * p0) / n;
          p0 = p1;
          p1 = p2;
        }
        derivative = N * (x * p1 - p0) / (x * x - 1.0L);
        const long double step = p1 / derivative;
        x -= step;
        if (std::fabs(step) < 1e-19L) break;
      }
      node[static_cast<std::size_t>(i)] = x;
      weight[static_cast<std::size_t>(i)] = 2.0L / ((1.0L - x * x) * derivative * derivative);
    }
  }
};

}  // namespace vortalis::geometry
