#pragma once

#include <QIODevice>
#include <optional>

#include "output/output_file.h"

// A write-only QIODevice over a ByteSink, for Qt writers that paint onto a
// device (QPdfWriter). Qt cannot carry an exception, so the first failure is
// kept, every later write refused, and ThrowIfFailed() raises it afterwards.
namespace vortalis::exports {

class SinkDevice final : public QIODevice {
 public:
  explicit SinkDevice(output::ByteSink& sink) : sink_(sink) {}
  bool isSequential() const override { return true; }
  void ThrowIfFailed() const {
    if (failure_) throw *failure_;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (failure_) return -1;
    try {
      sink_.Write(std::string_view(data, static_cast<std::size_t>(size)));
    } catch (const output::OutputError& error) {
      failure_ = error;
      return -1;
    }
    return size;
  }

 private:
  output::ByteSink& sink_;
  std::optional<output::OutputError> failure_;
};

}  // namespace vortalis::exports
