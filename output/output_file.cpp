#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "output/stop_signals.h"

namespace vortalis::output {

namespace {

constexpr std::size_t kChunk = 1u << 20;
constexpr int kMaxLinks = 40;  // as the kernel's ELOOP

using Stage = OutputError::Stage;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a chain of symbolic links ends in, whether or not it exists, so
// that the link stays a link and its target gets the new contents.
std::string FollowLinks(const std::string& path, int& error) {
  std::string current = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0) {
      error = errno;
      return current;
    }
    const std::string next(target.data(), static_cast<std::size_t>(length));
    current = next.starts_with('/') ? next : FolderOf(current) + "/" + next;
  }
  error = ELOOP;
  return current;
}

// The standard output or error whose file `path` names, or -1.
int StandardStreamOf(const struct stat& file) {
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat stream {};
    if (::fstat(fd, &stream) != 0) continue;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) continue;
    if (stream.st_dev == file.st_dev && stream.st_ino == file.st_ino) return fd;
  }
  return -1;
}

// The permissions a newly created file gets. The kernel tells the umask
// without changing it, which matters while other threads create files.
mode_t NewFileMode() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr)
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found) return 0666 & ~static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool MayWrite(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// What the path stands for before anything is written.
struct Destination {
  bool exists = false;
  struct stat info {};
  std::string target;  // the regular file to replace (links followed)
  int stream = -1;     // a standard stream to write to
  bool through = false;
};

Destination Examine(const std::string& path) {
  if (path.empty()) throw OutputError(Stage::Create, path, ENOENT);
  if (path.back() == '/') throw OutputError(Stage::Create, path, EISDIR);
  Destination destination;
  destination.exists = ::stat(path.c_str(), &destination.info) == 0;
  if (!destination.exists && errno != ENOENT) throw OutputError(Stage::Create, path, errno);
  if (destination.exists) {
    if (S_ISDIR(destination.info.st_mode)) throw OutputError(Stage::Create, path, EISDIR);
    destination.stream = StandardStreamOf(destination.info);
    destination.through = destination.stream >= 0 || !S_ISREG(destination.info.st_mode);
    if (!MayWrite(path)) throw OutputError(Stage::Create, path, errno);
    if (destination.through) return destination;
  }
  int error = 0;
  destination.target = FollowLinks(path, error);
  if (error != 0) throw OutputError(Stage::Create, path, error);
  return destination;
}

// A new file beside `target`, registered with the stop handlers.
int CreateTemporary(const std::string& target, std::string& name, int& slot) {
  RemoveTemporariesOnDefaultStop();
  std::string pattern = FolderOf(target) + "/.vortalis.XXXXXX";
  int fd = -1;
  int error = 0;
  {
    const StopSignalsHeld held;
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    error = errno;
    if (fd >= 0) {
      name = pattern;
      slot = RegisterTemporary(name.c_str());
    }
  }
  errno = error;
  return fd;
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

StreamSink::StreamSink(std::FILE* stream, std::string name)
    : stream_(stream), name_(std::move(name)) {}

void StreamSink::Write(std::string_view bytes) {
  errno = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
    throw OutputError(Stage::Write, name_, errno);
}

void StreamSink::Flush() {
  errno = 0;
  if (std::fflush(stream_) != 0) throw OutputError(Stage::Write, name_, errno);
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  const Destination destination = Examine(path_);
  if (destination.stream >= 0) {
    fd_ = ::fcntl(destination.stream, F_DUPFD_CLOEXEC, 0);
  } else if (destination.through) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  } else {
    target_ = destination.target;
    fd_ = CreateTemporary(target_, temporary_, slot_);
    if (fd_ >= 0) {
      if (destination.exists) {
        const struct stat& old = destination.info;
        // A process may hand a file to its own group only; failing that, the group alone.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
            ::fchown(fd_, old.st_uid, old.st_gid) != 0)
          (void)!::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd_, old.st_mode & 07777);
      } else {
        ::fchmod(fd_, NewFileMode());
      }
    }
  }
  if (fd_ < 0) throw OutputError(Stage::Create, path_, errno);
  buffer_.reserve(kChunk);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) {
    const StopSignalsHeld held;
    ::unlink(temporary_.c_str());
    ReleaseTemporary(slot_);
    temporary_.clear();
    slot_ = -1;
  }
}

void OutputFile::WriteOut(std::string_view bytes) {
  // After a failure every later write and the commit fail for the same reason.
  if (fd_ < 0) throw OutputError(Stage::Write, path_, failure_ != 0 ? failure_ : EBADF);
  if (!WriteAll(fd_, bytes)) {
    failure_ = errno != 0 ? errno : EIO;
    Discard();
    throw OutputError(Stage::Write, path_, failure_);
  }
}

void OutputFile::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() < kChunk) {
    buffer_.append(bytes);
    return;
  }
  if (!buffer_.empty()) {
    WriteOut(buffer_);
    buffer_.clear();
  }
  if (bytes.size() >= kChunk)
    WriteOut(bytes);
  else
    buffer_.append(bytes);
}

void OutputFile::Commit() {
  WriteOut(buffer_);
  buffer_.clear();
  const auto fail = [this](Stage stage, int error) {
    Discard();
    throw OutputError(stage, path_, error);
  };
  if (target_.empty()) {
    // A terminal or a pipe cannot be synced; a standard output that is a file can.
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
      fail(Stage::Write, errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && errno != EINTR) fail(Stage::Write, errno);
    return;
  }
  if (::fsync(fd_) != 0) fail(Stage::Write, errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) fail(Stage::Write, errno);
  {
    const StopSignalsHeld held;
    // A name the file system refuses (too long, say) shows only here.
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) fail(Stage::Create, errno);
    ReleaseTemporary(slot_);
    temporary_.clear();
    slot_ = -1;
  }
  const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) throw OutputError(Stage::Write, path_, errno);
  const bool synced = ::fsync(folder) == 0 || errno == EINVAL;
  const int error = errno;
  ::close(folder);
  if (!synced) throw OutputError(Stage::Write, path_, error);
}

void OutputFile::Check(const std::string& path) {
  const Destination destination = Examine(path);
  if (destination.through) return;
  std::string name;
  int slot = -1;
  const int fd = CreateTemporary(destination.target, name, slot);
  if (fd < 0) throw OutputError(Stage::Create, path, errno);
  ::close(fd);
  const StopSignalsHeld held;
  ::unlink(name.c_str());
  ReleaseTemporary(slot);
}

}  // namespace vortalis::output
