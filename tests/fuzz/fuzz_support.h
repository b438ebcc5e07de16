#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "geometry/number_text.h"

// What the fuzz targets share: turning the fuzzer's bytes into choices and
// texts, and stopping with a readable message when a property fails. The same
// targets run under libFuzzer (clang) and under the corpus replay of the
// normal build, so nothing here depends on either.
namespace vortalis::fuzz {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // The next byte, or 0 once the input is used up: a short input is a valid input.
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  // The bytes up to the next NUL (dropped) or to the end.
  std::string Text() {
    std::string text;
    while (at_ < size_ && data_[at_] != 0) text += static_cast<char>(data_[at_++]);
    if (at_ < size_) ++at_;
    return text;
  }

  bool AtEnd() const { return at_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// "." with "," for thousands, or the other way round: the two separators a locale gives.
inline geometry::Separators SeparatorsFromBit(std::uint8_t bit) {
  return bit & 1 ? geometry::Separators{",", "."} : geometry::Separators{".", ","};
}

// Control bytes and long texts made readable in a failure message.
inline std::string Visible(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < 200; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    }
  }
  if (text.size() > 200) out += "...(" + std::to_string(text.size()) + " bytes)";
  return out;
}

[[noreturn]] inline void Fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n  %s\n", file, line, condition,
               detail.c_str());
  std::fflush(stderr);
  std::abort();  // libFuzzer saves the input as a crash; the replay test fails
}

}  // namespace vortalis::fuzz

// detail is evaluated only when the property fails.
#define FUZZ_CHECK(condition, detail)                                           \
  do {                                                                          \
    if (!(condition)) ::vortalis::fuzz::Fail(__FILE__, __LINE__, #condition, (detail)); \
  } while (false)
