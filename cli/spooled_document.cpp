#include "cli/spooled_document.h"

namespace vortalis::cli {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Passes the spooled text on line by line, a replacement standing for its line.
class Replacing final : public output::ByteSink {
 public:
  Replacing(output::ByteSink& out, const std::map<std::size_t, std::string>& replaced,
            std::size_t firstIndex)
      : out_(out), replaced_(replaced), index_(firstIndex) {}

  void Write(std::string_view bytes) override {
    if (replaced_.empty()) {
      out_.Write(bytes);
      return;
    }
    while (!bytes.empty()) {
      if (lineStart_) {
        const auto replacement = replaced_.find(index_);
        skipping_ = replacement != replaced_.end();
        if (skipping_) {
          out_.Write(replacement->second);
          out_.Write(kLineEnd);
        }
      }
      // A chunk may end inside a line; the line then goes on in the next chunk.
      const std::size_t newline = bytes.find('\n');
      const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
      if (!skipping_) out_.Write(bytes.substr(0, end));
      lineStart_ = newline != std::string_view::npos;
      if (lineStart_) ++index_;
      bytes.remove_prefix(end);
    }
  }

 private:
  output::ByteSink& out_;
  const std::map<std::size_t, std::string>& replaced_;
  std::size_t index_;
  bool lineStart_ = true;
  bool skipping_ = false;  // inside a line that a replacement stands for
};

}  // namespace

SpooledDocument::SpooledDocument(std::size_t heldLines, std::size_t bufferBytes)
    : heldLimit_(heldLines), bufferLimit_(bufferBytes) {
  pending_.reserve(bufferLimit_ + 256);
}

void SpooledDocument::AppendLine(std::string_view line) {
  ++lineCount_;
  if (held_.size() < heldLimit_) {
    held_.emplace_back(line);
    return;
  }
  pending_ += line;
  pending_ += kLineEnd;
  if (pending_.size() >= bufferLimit_ && !failure_) Spill();
}

void SpooledDocument::ReplaceLine(std::size_t index, std::string_view line) {
  if (index >= lineCount_) return;
  if (index < held_.size())
    held_[index] = line;
  else
    replaced_[index] = line;
}

void SpooledDocument::Spill() {
  try {
    if (!spill_) spill_ = std::make_unique<output::ScratchFile>(output::ScratchFile::Kind::Anonymous);
    spill_->Write(pending_);
  } catch (const output::OutputError& error) {
    failure_ = error;
  }
  pending_.clear();
}

void SpooledDocument::CopySpooled(output::ByteSink& out) {
  Replacing copy(out, replaced_, held_.size());
  if (spill_) spill_->CopyTo(copy);
  copy.Write(pending_);
}

void SpooledDocument::WriteTo(output::ByteSink& out) {
  if (failure_) throw *failure_;
  for (const std::string& line : held_) {
    out.Write(line);
    out.Write(kLineEnd);
  }
  CopySpooled(out);
}

}  // namespace vortalis::cli
