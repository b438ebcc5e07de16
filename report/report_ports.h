#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

// The only ways a report generator talks to the outside.
namespace vortalis::report {

// The report document as the generators see it.
class ReportLineSink {
 public:
  virtual ~ReportLineSink() = default;
  virtual void AppendLine(std::string_view line) = 0;
  // An index that names no line changes nothing.
  virtual void ReplaceLine(std::size_t index, std::string_view line) = 0;
};

// The progress window's operations.
class ProgressPort {
 public:
  virtual ~ProgressPort() = default;
  virtual void SetPosition(int percent) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool AbortRequested() const = 0;
};

// Processes all pending user-interface events; called once per table station.
using EventPump = std::function<void()>;

}  // namespace vortalis::report
