#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A horn design kept in a file: every setting as the user typed it, grouped in
// sections ("horn", "drawing", "kit", "acoustics", "driver"), so that the
// report's echo of a field stays exactly what was typed. The file is JSON:
//   {"format": "vortalis-design", "version": "1.0",
//    "horn": {"kind": "circular", "freq": "300", ...}, ...}
// Keys this version does not know are kept when the design is saved again.
namespace vortalis::design {

inline constexpr std::string_view kFormatName = "vortalis-design";
inline constexpr int kMajorVersion = 1;
inline constexpr int kMinorVersion = 0;
inline constexpr std::string_view kExtension = ".vortalis";
// A design is a few hundred bytes; anything past this is not one.
inline constexpr std::size_t kMaxDesignBytes = 1024 * 1024;

struct Setting {
  std::string section;
  std::string key;
  std::string value;

  bool operator==(const Setting&) const = default;
};

struct Design {
  std::vector<Setting> settings;  // in the file's order
  // The file's own JSON, with whatever this version does not know; empty for a
  // new design.
  std::string kept;

  // The value of section.key, if the design has one.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // Sets or adds section.key; an empty value removes it.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  bool HasSection(std::string_view section) const;
};

// A file that is not a design, or a design this version cannot take. what() is
// one sentence for the user that names the file and the first problem, with
// its line and key where there is one.
class DesignError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The design in `text`, read from `fileName` (only for messages). Every known
// setting (design_keys.h) must be a text in a section that is an object.
Design ParseDesign(std::string_view text, std::string_view fileName);

// The refusal of a setting that ParseDesign read but its user does not take
// (a driver's value that is not a number, say): names the file, the line of
// section.key in `text` and `why`.
DesignError SettingRefused(std::string_view text, std::string_view fileName,
                           std::string_view section, std::string_view key, std::string_view why);

// The same for a section taken as a whole (a driver whose values do not make
// a driver): names the file, the section's line and `why`.
DesignError SectionRefused(std::string_view text, std::string_view fileName,
                           std::string_view section, std::string_view why);

// The file's text: the format and version of this program, the design's
// settings, and what the kept JSON has that this version does not know; two
// spaces an indent, '\n' at the end.
std::string DesignText(const Design& design);

}  // namespace vortalis::design
