#include "report_window/kit_memory.h"

#include <utility>

namespace vortalis::windows {

namespace {

KitSettings& Last() {
  static KitSettings settings;
  return settings;
}

}  // namespace

KitSettings LastKitSettings() { return Last(); }

void SetLastKitSettings(KitSettings settings) { Last() = std::move(settings); }

}  // namespace vortalis::windows
