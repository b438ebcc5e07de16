#include "cli/spooled_document.h"

#include <cerrno>
#include <cstring>

namespace vortalis::cli {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kCopyChunk = 1u << 20;

bool WriteAll(std::FILE* out, std::string_view bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}
}  // namespace

SpooledDocument::SpooledDocument(std::size_t heldLines, std::size_t bufferBytes)
    : heldLimit_(heldLines), bufferLimit_(bufferBytes) {
  pending_.reserve(bufferLimit_ + 256);
}

SpooledDocument::~SpooledDocument() {
  if (spill_ != nullptr) std::fclose(spill_);
}

void SpooledDocument::AppendLine(std::string_view line) {
  ++lineCount_;
  if (held_.size() < heldLimit_) {
    held_.emplace_back(line);
    return;
  }
  pending_ += line;
  pending_ += kLineEnd;
  if (pending_.size() >= bufferLimit_ && error_ == 0 && !Spill()) error_ = errno ? errno : EIO;
}

void SpooledDocument::ReplaceLine(std::size_t index, std::string_view line) {
  if (index >= lineCount_) return;
  if (index < held_.size())
    held_[index] = line;
  else
    replaced_[index] = line;
}

bool SpooledDocument::Spill() {
  if (spill_ == nullptr) {
    spill_ = std::tmpfile();
    if (spill_ == nullptr) return false;
  }
  const bool written = WriteAll(spill_, pending_);
  pending_.clear();
  return written;
}

bool SpooledDocument::CopySpooled(std::FILE* out) {
  // Line by line only when a spooled line was replaced; otherwise byte for byte.
  std::size_t index = held_.size();
  bool lineStart = true;
  bool skipping = false;  // inside a line that a replacement stands for
  const auto copy = [&](std::string_view bytes) {
    if (replaced_.empty()) return WriteAll(out, bytes);
    while (!bytes.empty()) {
      if (lineStart) {
        const auto replacement = replaced_.find(index);
        skipping = replacement != replaced_.end();
        if (skipping && (!WriteAll(out, replacement->second) || !WriteAll(out, kLineEnd)))
          return false;
      }
      // A chunk may end inside a line; the line then goes on in the next chunk.
      const std::size_t newline = bytes.find('\n');
      const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
      if (!skipping && !WriteAll(out, bytes.substr(0, end))) return false;
      lineStart = newline != std::string_view::npos;
      if (lineStart) ++index;
      bytes.remove_prefix(end);
    }
    return true;
  };

  if (spill_ != nullptr) {
    if (std::fflush(spill_) != 0 || std::fseek(spill_, 0, SEEK_SET) != 0) return false;
    std::string chunk(kCopyChunk, '\0');
    for (;;) {
      const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), spill_);
      if (got > 0 && !copy(std::string_view(chunk.data(), got))) return false;
      if (got < chunk.size()) {
        if (std::ferror(spill_)) return false;
        break;
      }
    }
  }
  return copy(pending_);
}

bool SpooledDocument::WriteTo(std::FILE* out) {
  if (error_ != 0) {
    errno = error_;
    return false;
  }
  errno = 0;
  for (const std::string& line : held_) {
    if (!WriteAll(out, line) || !WriteAll(out, kLineEnd)) return false;
  }
  if (!CopySpooled(out)) return false;
  if (std::fflush(out) != 0) return false;
  return true;
}

}  // namespace vortalis::cli
