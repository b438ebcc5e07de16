#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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
// stop_signals.h). Mode, owner, group, ACLs and other extended attributes are
// carried over where the process may (a note says what could not be). A file
// the process may not write is refused, as the shell refuses it. A symbolic
// link is written through to its target.
//
// Written in place instead (truncated to the new length and fsync'ed, with a
// note that it was not replaced atomically): a writable file in a folder the
// process may not write, and a file with other hard links, whose links stay
// one file as cp(1) keeps them.
//
// Anything else (a device, a FIFO, a socket) and a path that names the file of
// an open standard output or error is written straight through, never
// replaced; an appended standard output keeps what it held. A FIFO or device
// is opened without waiting: a FIFO nobody reads is refused at once.
class OutputFile final : public ByteSink {
 public:
  // Throws OutputError (Stage::Create) when the file cannot be written.
  explicit OutputFile(std::string path);
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Buffered in large chunks; every write to the system is checked.
  void Write(std::string_view bytes) override;
  // Makes the written bytes the file's: Finish, Rename, SyncFolder. Throws OutputError.
  void Commit();
  // The bytes written out and synced, the temporary file closed under its own
  // name (its descriptor freed: a set may hold many). Throws OutputError;
  // afterwards only Rename, SyncFolder or the destructor; again: nothing.
  void Finish();
  // The finished temporary takes the file's name (a set holds the stop
  // signals back around all its renames). Throws OutputError when the name is refused.
  void Rename();
  // The folder synced after Rename; a failure is only a note (the file is written).
  void SyncFolder();

  const std::string& Path() const { return path_; }
  // The folder whose entry Rename changes; empty when written in place or through.
  std::string Folder() const;
  // Sentences for the user about a file that was written, but not quite as
  // asked (in place, attributes lost, folder not synced).
  const std::vector<std::string>& Notes() const { return notes_; }

  // Throws as the constructor would for `path`, without changing anything.
  // A device or FIFO is not opened, only its permission checked.
  static void Check(const std::string& path);

 private:
  void WriteOut(std::string_view bytes);
  void Discard();
  void OpenThrough(int stream);
  void OpenInPlace(const std::string& why);
  void CarryOver(const struct stat& old);

  std::string path_;       // as given
  std::string target_;     // the file replaced; empty when written straight through
  std::string temporary_;  // beside target_
  int fd_ = -1;
  int slot_ = -1;  // the stop handlers' record of temporary_
  int failure_ = 0;  // errno of the first failed write
  bool inPlace_ = false;
  bool finished_ = false;
  long long written_ = 0;
  std::string buffer_;
  std::vector<std::string> notes_;
};

// Whether two output paths name one file: the same existing file, the same
// place for files yet to be made, links (dangling ones too) followed.
bool SameDestination(const std::string& a, const std::string& b);

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
