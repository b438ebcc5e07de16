#pragma once

#include <algorithm>
#include <string_view>

// The settings this version of the design file knows, by section. The tool
// reads each as its option of the same name ("horn.freq" is --freq); the
// program fills the matching field. A known key that a design does not have
// is not written back when it is saved; an unknown one is kept.
namespace vortalis::design {

struct KnownKey {
  std::string_view section;
  std::string_view key;
};

inline constexpr KnownKey kKnownKeys[] = {
    // horn.kind is "circular" or "rectangular"; the rest are the settings dialogs' fields.
    {"horn", "kind"},
    {"horn", "unit"},
    {"horn", "size"},
    {"horn", "increment"},
    {"horn", "decimal-separator"},
    {"horn", "freq"},
    {"horn", "throat"},
    {"horn", "side1"},
    {"horn", "side2"},
    {"horn", "flat-mouth"},
    {"horn", "location"},
    {"drawing", "mouth-limit"},
    {"drawing", "step"},
    {"drawing", "paper"},
    // kit.kind is the last kit made: its output option's name.
    {"kit", "kind"},
    {"kit", "board"},
    {"kit", "wall"},
    {"kit", "seam"},
    {"kit", "staves"},
    {"kit", "segment-height"},
    {"kit", "flange"},
    {"kit", "ring-tolerance"},
    {"kit", "stave-fit"},
    {"kit", "panel-board"},
    {"kit", "bed"},
    {"kit", "joint"},
    {"acoustics", "mouth-load"},
    {"acoustics", "losses"},
    {"acoustics", "from"},
    {"acoustics", "to"},
    {"acoustics", "points-per-octave"},
    {"acoustics", "rear-chamber"},
    {"acoustics", "throat-chamber"},
    {"acoustics", "voltage"},
    // The driver as its driver file has it: the same keys, the values as typed.
    {"driver", "name"},
    {"driver", "re"},
    {"driver", "le"},
    {"driver", "bl"},
    {"driver", "mms"},
    {"driver", "cms"},
    {"driver", "rms"},
    {"driver", "sd"},
    {"driver", "fs"},
    {"driver", "qes"},
    {"driver", "qms"},
    {"driver", "vas"},
    {"driver", "xmax"},
    {"driver", "pe"},
};

inline bool IsKnownKey(std::string_view section, std::string_view key) {
  return std::any_of(std::begin(kKnownKeys), std::end(kKnownKeys), [&](const KnownKey& known) {
    return known.section == section && known.key == key;
  });
}

inline bool IsKnownSection(std::string_view section) {
  return std::any_of(std::begin(kKnownKeys), std::end(kKnownKeys),
                     [&](const KnownKey& known) { return known.section == section; });
}

}  // namespace vortalis::design
