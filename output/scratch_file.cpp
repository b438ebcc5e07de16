#include "output/scratch_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "output/stop_signals.h"

namespace vortalis::output {

namespace {

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  std::string text = folder != nullptr && *folder != '\0' ? folder : "/tmp";
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

ScratchFile::ScratchFile(Kind kind) : folder_(TemporaryFolder()) {
  std::string pattern = folder_ + "/vortalis.XXXXXX";
  int error = 0;
  if (kind == Kind::Named) RemoveTemporariesOnDefaultStop();
  {
    const StopSignalsHeld held;
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    error = errno;
    if (fd_ >= 0 && kind == Kind::Named) {
      path_ = pattern;
      slot_ = RegisterTemporary(path_.c_str());
    } else if (fd_ >= 0) {
      ::unlink(pattern.c_str());
    }
  }
  if (fd_ < 0)
    throw OutputError(OutputError::Stage::Create, folder_, error,
                      "Cannot create a temporary file in " + folder_ + ": " + Reason(error));
}

ScratchFile::~ScratchFile() {
  ::close(fd_);
  if (path_.empty()) return;
  const StopSignalsHeld held;
  ::unlink(path_.c_str());
  ReleaseTemporary(slot_);
}

OutputError ScratchFile::Failure(int error) const {
  return OutputError(OutputError::Stage::Write, folder_, error,
                     "Cannot write a temporary file in " + folder_ + ": " + Reason(error));
}

void ScratchFile::Write(std::string_view bytes) {
  if (!WriteAll(fd_, bytes)) throw Failure(errno);
}

long long ScratchFile::Size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) throw Failure(errno);
  return static_cast<long long>(info.st_size);
}

void ScratchFile::CopyTo(ByteSink& sink) {
  std::vector<char> chunk(1u << 20);
  for (off_t offset = 0;;) {
    const ssize_t got = ::pread(fd_, chunk.data(), chunk.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw Failure(errno);
    if (got == 0) return;
    sink.Write(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    offset += got;
  }
}

}  // namespace vortalis::output
