#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "report/creation_stamp.h"
#include "report/report_generator.h"
#include "report/report_ports.h"

// Window-free stand-ins for the report window's document, the progress window
// and the clock, so that a whole report can be produced and compared in a test.
namespace vortalis::testing {

class MemoryDocument : public report::ReportLineSink {
 public:
  void AppendLine(std::string_view line) override { lines.emplace_back(line); }
  void ReplaceLine(std::size_t index, std::string_view line) override {
    if (index < lines.size()) lines[index] = line;
  }
  std::vector<std::string> lines;
};

// Always the same stamp, so that the second line of a report is known.
class FixedStamp : public report::StampProvider {
 public:
  report::CreationStampPieces CreationStamp() const override { return {"2026-12-07", "04:30"}; }
};

inline constexpr const char* kStampLine =
    "Created 2026-12-07 at 04:30 with Vortalis from Kestrowan.";

// Records what the generator did to the progress window; Abort is pressed by the test.
class RecordingProgress : public report::ProgressPort {
 public:
  void SetPosition(int percent) override { positions.push_back(percent); }
  void Show() override {
    ++shows;
    visible = true;
  }
  void Hide() override {
    ++hides;
    visible = false;
  }
  bool AbortRequested() const override { return abortPressed; }

  std::vector<int> positions;
  int shows = 0;
  int hides = 0;
  bool visible = false;
  bool abortPressed = false;
};

// A report with its document and progress window, produced by one generator call.
struct ProducedReport {
  std::vector<std::string> lines;
  RecordingProgress progress;
  int pumpCalls = 0;
};

// Runs `generate`; when pressAbortOnPump > 0 the pump presses Abort on its call of that number.
template <typename Input>
ProducedReport Produce(void (*generate)(const Input&, report::ReportEnvironment&),
                       const Input& input, int pressAbortOnPump = 0,
                       geometry::Separators separators = {}) {
  ProducedReport result;
  MemoryDocument document;
  FixedStamp stamp;
  report::ReportEnvironment env{document, result.progress,
                                [&result, pressAbortOnPump] {
                                  if (++result.pumpCalls == pressAbortOnPump)
                                    result.progress.abortPressed = true;
                                },
                                stamp, std::move(separators)};
  generate(input, env);
  result.lines = std::move(document.lines);
  return result;
}

}  // namespace vortalis::testing
