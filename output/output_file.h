#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "output/output_error.h"

namespace vortalis::output {

// Where bytes go: a file, a scratch file, memory. Write throws OutputError.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// A new version of the file at `path` (bytes, kept exactly).
//
// A regular file, or a name not yet taken, is written to a temporary file in
// the same folder, every write checked, fsync'ed and renamed over the file,
// and the folder fsync'ed: until Commit succeeds the old file stays as it was,
// and no temporary file outlives the object (nor a stop signal, see
// stop_signals.h). Mode, owner and group are kept where the process may. A
// file the process may not write is refused, as the shell refuses it. A
// symbolic link is written through to its target.
//
// Anything else (a device, a FIFO, a socket) and a path that names the file of
// an open standard output or error is written straight through, never
// replaced; an appended standard output keeps what it held.
class OutputFile final : public ByteSink {
 public:
  // Throws OutputError (Stage::Create) when the file cannot be written.
  explicit OutputFile(std::string path);
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Buffered in large chunks; every write to the system is checked.
  void Write(std::string_view bytes) override;
  // Makes the written bytes the file's. Throws OutputError.
  void Commit();

  const std::string& Path() const { return path_; }

  // Throws as the constructor would for `path`, without changing anything.
  // A device or FIFO is not opened, only its permission checked.
  static void Check(const std::string& path);

 private:
  void WriteOut(std::string_view bytes);
  void Discard();

  std::string path_;       // as given
  std::string target_;     // the file replaced; empty when written straight through
  std::string temporary_;  // beside target_
  int fd_ = -1;
  int slot_ = -1;  // the stop handlers' record of temporary_
  int failure_ = 0;  // errno of the first failed write
  std::string buffer_;
};

// A stdio stream (the tool's standard output): every write and the final
// flush checked; `name` is what messages call it.
class StreamSink final : public ByteSink {
 public:
  StreamSink(std::FILE* stream, std::string name);
  void Write(std::string_view bytes) override;
  void Flush();

 private:
  std::FILE* stream_;
  std::string name_;
};

// Writes every byte to `fd`, retrying after signals; false with errno set.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace vortalis::output
