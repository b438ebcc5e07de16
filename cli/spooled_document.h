#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_file.h"
#include "output/scratch_file.h"
#include "report/report_ports.h"

// A report document of any length in bounded memory. The generators replace
// the third line only after the table, so the first lines stay in memory while
// the table goes through a buffer into an anonymous scratch file in $TMPDIR;
// the whole document is written out once it is complete.
namespace vortalis::cli {

class SpooledDocument final : public report::ReportLineSink {
 public:
  explicit SpooledDocument(std::size_t heldLines = 64, std::size_t bufferBytes = 4u << 20);
  SpooledDocument(const SpooledDocument&) = delete;
  SpooledDocument& operator=(const SpooledDocument&) = delete;

  // A line must not hold a line break.
  void AppendLine(std::string_view line) override;
  void ReplaceLine(std::size_t index, std::string_view line) override;

  std::size_t LineCount() const { return lineCount_; }

  // Every line, each ended by CR LF. Throws output::OutputError when the
  // document could not be kept (the scratch file's) or written (the sink's).
  void WriteTo(output::ByteSink& out);

 private:
  void Spill();
  void CopySpooled(output::ByteSink& out);

  std::size_t heldLimit_;
  std::size_t bufferLimit_;
  std::vector<std::string> held_;
  std::string pending_;  // lines after the held ones, with their CR LF
  std::unique_ptr<output::ScratchFile> spill_;
  std::size_t lineCount_ = 0;
  std::map<std::size_t, std::string> replaced_;  // replacements of lines after the held ones
  std::optional<output::OutputError> failure_;   // of the scratch file, shown when written
};

}  // namespace vortalis::cli
