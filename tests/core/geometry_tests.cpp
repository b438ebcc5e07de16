#include <gtest/gtest.h>

#include "geometry/tractrix.h"

namespace {
using namespace vortalis::geometry;
TEST(Tractrix, DefaultCircularHornIs466mmLong) {
  const long double a = CutoffMouthRadius(300.0L) * UnitScale(LengthUnit::Millimetre);
  EXPECT_NEAR(static_cast<double>(TractrixLength(a, 10.0L)), 466.518431, 1e-6);
}
}  // namespace
