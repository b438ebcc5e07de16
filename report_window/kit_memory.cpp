#include "report_window/kit_memory.h"

#include <utility>

namespace vortalis::report_window {

namespace {

KitSettings& Last() {
  static KitSettings settings;
  return settings;
}

}  // namespace

KitSettings LastKitSettings() { return Last(); }

void SetLastKitSettings(KitSettings settings) { Last() = std::move(settings); }

}  // namespace vortalis::report_window
