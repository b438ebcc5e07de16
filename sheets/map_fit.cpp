#include "sheets/map_fit.h"

#include <algorithm>

namespace vortalis::sheets {

MapFit FitMap(const Area& extent, const Area& room) {
  const double scale = std::min(room.width / extent.width, room.height / extent.height);
  return {scale, room.left + (room.width - extent.width * scale) / 2.0,
          room.bottom + (room.height - extent.height * scale) / 2.0, extent.left,
          extent.bottom + extent.height};
}

double FrameNumberPoints(double windowWidth, double windowHeight, double scale) {
  constexpr double kMmPerPoint = 0.3528;
  const double heightMm = std::min(windowHeight, windowWidth / 2.0) * scale * 0.35;
  return std::clamp(heightMm / kMmPerPoint, 3.0, 9.0);
}

}  // namespace vortalis::sheets
