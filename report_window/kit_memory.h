#pragma once

#include <map>
#include <string>

namespace vortalis::report_window {

// The build kit settings a design keeps, by the tool's option names without
// the dashes: "kind" (the kit's option: rings, sectors, staves, panels or stl)
// and the settings of that kit as typed ("board", "wall", "ring-tolerance",
// "seam", "staves", "stave-fit", "segment-height", "flange", and "step" for
// sectors), in the system's decimal separator. Empty: the Build kit dialog's
// own defaults.
using KitSettings = std::map<std::string, std::string>;

// The settings of the design last opened, or the Build kit dialog's since: a
// dialog starts from them, and leaves its own when it makes a kit or closes.
KitSettings LastKitSettings();
void SetLastKitSettings(KitSettings settings);

}  // namespace vortalis::report_window
