#include "driver/driver_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "output/output_file.h"

namespace vortalis::driver {

namespace {

// Far more than any driver file needs; a larger file is something else.
constexpr std::size_t kLargestFile = 64 * 1024;

struct Key {
  std::string_view word;
  std::optional<long double> DriverInput::*value;  // null for the name
};

constexpr std::array<Key, 14> kKeys{{
    {"name", nullptr},
    {"re", &DriverInput::re},
    {"le", &DriverInput::le},
    {"bl", &DriverInput::bl},
    {"mms", &DriverInput::mms},
    {"cms", &DriverInput::cms},
    {"rms", &DriverInput::rms},
    {"sd", &DriverInput::sd},
    {"fs", &DriverInput::fs},
    {"qes", &DriverInput::qes},
    {"qms", &DriverInput::qms},
    {"vas", &DriverInput::vas},
    {"xmax", &DriverInput::xmax},
    {"pe", &DriverInput::pe},
}};

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::string Shown(std::string_view text) {
  std::string shown;
  for (const char c : text.substr(0, 40)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown += escape;
    } else {
      shown += c;
    }
  }
  return text.size() > 40 ? shown + "..." : shown;
}

std::string KeyList() {
  std::string list;
  for (const Key& key : kKeys) list += (list.empty() ? "" : " ") + std::string(key.word);
  return list;
}

}  // namespace

DriverFileError::DriverFileError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}

void SetDriverValue(DriverInput& input, std::string_view key, std::string_view value) {
  const std::string word = Lower(Trim(key));
  value = Trim(value);
  const auto found = std::find_if(kKeys.begin(), kKeys.end(),
                                  [&word](const Key& known) { return known.word == word; });
  if (found == kKeys.end())
    throw std::invalid_argument("unknown key '" + Shown(word) + "' (the keys are " + KeyList() +
                                ")");
  if (value.empty()) throw std::invalid_argument("'" + word + "' has no value");
  if (found->value == nullptr) {
    input.name = std::string(value);
    return;
  }
  long double parsed = 0.0L;
  const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
  if (error != std::errc() || ptr != value.data() + value.size() || !std::isfinite(parsed))
    throw std::invalid_argument("'" + word + "' needs a number, found '" + Shown(value) + "'");
  const bool zeroAllowed = word == "le";
  if (parsed < 0.0L || (!zeroAllowed && parsed == 0.0L))
    throw std::invalid_argument("'" + word + "' must be " +
                                (zeroAllowed ? "0 or more" : "above 0") + ", found '" +
                                Shown(value) + "'");
  input.*found->value = parsed;
}

namespace {

// Calls `take` with each "key = value" line in order, its number, key and
// value; throws DriverFileError for a line with no '='.
template <typename Take>
void ForEachLine(std::string_view text, Take take) {
  // A byte order mark, as some editors write one, is not part of the first key.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      throw DriverFileError(number, "expected key = value, found '" + Shown(line) + "'");
    take(DriverLine{number, Lower(Trim(line.substr(0, equals))),
                    std::string(Trim(line.substr(equals + 1)))});
  }
}

}  // namespace

std::vector<DriverLine> ReadDriverLines(std::string_view text) {
  std::vector<DriverLine> lines;
  ForEachLine(text, [&lines](DriverLine line) { lines.push_back(std::move(line)); });
  return lines;
}

DriverInput ParseDriverFile(std::string_view text) {
  DriverInput input;
  std::vector<DriverLine> earlier;
  ForEachLine(text, [&](DriverLine line) {
    const auto first = std::find_if(earlier.begin(), earlier.end(),
                                    [&line](const DriverLine& other) { return other.key == line.key; });
    if (first != earlier.end())
      throw DriverFileError(line.line, "'" + line.key + "' is given twice (first on line " +
                                           std::to_string(first->line) + ")");
    try {
      SetDriverValue(input, line.key, line.value);
    } catch (const std::invalid_argument& error) {
      throw DriverFileError(line.line, error.what());
    }
    earlier.push_back(std::move(line));
  });
  return input;
}

std::string DriverFileText(const DriverInput& input) {
  if (input.name.find_first_of("#\r\n") != std::string::npos)
    throw std::invalid_argument("a driver's name cannot hold '#' or a line break");
  std::string text =
      "# Vortalis driver: Re ohm, Le mH, Bl T m, Mms g, Cms mm/N, Rms kg/s, "
      "Sd cm2, fs Hz, Vas litres, Xmax mm, Pe W\n";
  if (!input.name.empty()) text += "name = " + input.name + "\n";
  for (const Key& key : kKeys) {
    if (key.value == nullptr || !(input.*key.value)) continue;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, *(input.*key.value));
    text += std::string(key.word) + " = " + std::string(buffer, result.ptr) + "\n";
  }
  return text;
}

std::string ReadDriverFileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error(path + ": " + std::strerror(errno));
  std::string text;
  char chunk[4096];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(file.gcount()));
    if (text.size() > kLargestFile)
      throw std::runtime_error(path + ": not a driver file (larger than 64 KiB)");
  }
  if (file.bad()) throw std::runtime_error(path + ": cannot be read");
  try {
    ParseDriverFile(text);
  } catch (const DriverFileError& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
  return text;
}

DriverInput ReadDriverFile(const std::string& path) {
  return ParseDriverFile(ReadDriverFileText(path));
}

void WriteDriverFile(const std::string& path, const DriverInput& input) {
  const std::string text = DriverFileText(input);
  output::OutputFile file(path);
  file.Write(text);
  file.Commit();
}

}  // namespace vortalis::driver
