#include "design/design_file.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "design/design_keys.h"

namespace vortalis::design {

namespace {

using Json = nlohmann::ordered_json;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The line of the first `"key"` after the first `"section"`: enough to point a
// user at the key, since a design has each section once.
int LineOf(std::string_view text, std::string_view section, std::string_view key) {
  std::size_t at = text.find(Quoted(section));
  if (at == std::string_view::npos) return 0;
  if (!key.empty()) {
    const std::size_t keyAt = text.find(Quoted(key), at + section.size() + 2);
    if (keyAt != std::string_view::npos) at = keyAt;
  }
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

int LineAtByte(std::string_view text, std::size_t byte) {
  byte = std::min(byte, text.size());
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(byte), '\n'));
}

DesignError Refusal(std::string_view fileName, int line, const std::string& problem) {
  std::string message = "\"" + std::string(fileName) + "\" is not a design Vortalis can open";
  if (line > 0) message += " (line " + std::to_string(line) + ")";
  return DesignError(message + ": " + problem + ".");
}

[[noreturn]] void Refuse(std::string_view fileName, int line, const std::string& problem) {
  throw Refusal(fileName, line, problem);
}

// "1.0" -> major 1; a version that is not "MAJOR.MINOR" gives nothing.
std::optional<int> MajorOf(const std::string& version) {
  const std::size_t dot = version.find('.');
  if (dot == 0 || dot == std::string::npos || dot + 1 == version.size()) return std::nullopt;
  int major = 0;
  for (std::size_t i = 0; i < version.size(); ++i) {
    if (i == dot) continue;
    if (version[i] < '0' || version[i] > '9') return std::nullopt;
    if (i < dot) {
      if (major > 10000) return std::nullopt;
      major = major * 10 + (version[i] - '0');
    }
  }
  return major;
}

bool IsHeader(const std::string& key) { return key == "format" || key == "version"; }

}  // namespace

std::optional<std::string> Design::Value(std::string_view section, std::string_view key) const {
  for (const Setting& setting : settings)
    if (setting.section == section && setting.key == key) return setting.value;
  return std::nullopt;
}

void Design::Set(std::string_view section, std::string_view key, std::string_view value) {
  const auto found = std::find_if(settings.begin(), settings.end(), [&](const Setting& setting) {
    return setting.section == section && setting.key == key;
  });
  if (value.empty()) {
    if (found != settings.end()) settings.erase(found);
  } else if (found != settings.end()) {
    found->value = value;
  } else {
    settings.push_back({std::string(section), std::string(key), std::string(value)});
  }
}

bool Design::HasSection(std::string_view section) const {
  return std::any_of(settings.begin(), settings.end(),
                     [&](const Setting& setting) { return setting.section == section; });
}

Design ParseDesign(std::string_view text, std::string_view fileName) {
  if (text.size() > kMaxDesignBytes)
    Refuse(fileName, 0,
           "it is " + std::to_string(text.size()) + " bytes long, and a design is at most " +
               std::to_string(kMaxDesignBytes) + " bytes");
  if (text.find('\0') != std::string_view::npos)
    Refuse(fileName, LineAtByte(text, text.find('\0')), "it holds binary data, not JSON text");
  Json json;
  try {
    json = Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& error) {
    const std::string what = error.what();
    // nlohmann's message after its "[json.exception.parse_error.101] " prefix.
    const std::size_t start = what.find("] ");
    Refuse(fileName, LineAtByte(text, error.byte > 0 ? error.byte - 1 : 0),
           "it is not valid JSON (" +
               (start == std::string::npos ? what : what.substr(start + 2)) + ")");
  }
  if (!json.is_object()) Refuse(fileName, 1, "its text is not a JSON object");
  if (!json.contains("format") || json["format"] != kFormatName)
    Refuse(fileName, LineOf(text, "format", ""),
           "its \"format\" is not \"" + std::string(kFormatName) + "\"");
  if (!json.contains("version") || !json["version"].is_string())
    Refuse(fileName, LineOf(text, "version", ""), "its \"version\" is missing or not a text");
  const std::string version = json["version"].get<std::string>();
  const std::optional<int> major = MajorOf(version);
  if (!major)
    Refuse(fileName, LineOf(text, "version", ""),
           "its \"version\" \"" + version + "\" is not of the form MAJOR.MINOR");
  if (*major > kMajorVersion)
    throw DesignError("\"" + std::string(fileName) + "\" was saved by a newer Vortalis (design version " +
                      version + "); this version opens designs up to version " +
                      std::to_string(kMajorVersion) + ".x.");
  Design design;
  for (const auto& [section, values] : json.items()) {
    // A section or a key of a newer version is kept for the save, not read.
    if (IsHeader(section) || !IsKnownSection(section)) continue;
    if (!values.is_object())
      Refuse(fileName, LineOf(text, section, ""),
             "the section \"" + section + "\" is not an object of settings");
    for (const auto& [key, value] : values.items()) {
      if (!IsKnownKey(section, key)) continue;
      if (!value.is_string())
        Refuse(fileName, LineOf(text, section, key),
               "the setting \"" + section + "." + key +
                   "\" is not a text in quotes (a design keeps every value as typed)");
      design.settings.push_back({section, key, value.get<std::string>()});
    }
  }
  design.kept = json.dump();
  return design;
}

DesignError SettingRefused(std::string_view text, std::string_view fileName,
                           std::string_view section, std::string_view key, std::string_view why) {
  return Refusal(fileName, LineOf(text, section, key),
                 "the setting \"" + std::string(section) + "." + std::string(key) +
                     "\" is refused: " + std::string(why));
}

DesignError SectionRefused(std::string_view text, std::string_view fileName,
                           std::string_view section, std::string_view why) {
  return Refusal(fileName, LineOf(text, section, ""),
                 "the section \"" + std::string(section) + "\" is refused: " + std::string(why));
}

std::string DesignText(const Design& design) {
  const Json kept = design.kept.empty() ? Json::object() : Json::parse(design.kept);
  Json out = Json::object();
  out["format"] = kFormatName;
  out["version"] = std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
  for (const Setting& setting : design.settings) out[setting.section][setting.key] = setting.value;
  // What a newer version wrote and this one does not know goes back unchanged.
  for (const auto& [section, values] : kept.items()) {
    if (IsHeader(section)) continue;
    if (!IsKnownSection(section)) {
      if (!out.contains(section)) out[section] = values;
      continue;
    }
    for (const auto& [key, value] : values.items())
      if (!IsKnownKey(section, key) && !out[section].contains(key)) out[section][key] = value;
  }
  return out.dump(2) + "\n";
}

}  // namespace vortalis::design
