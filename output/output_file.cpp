#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

constexpr std::size_t kMaxName = 255;  // NAME_MAX of Linux's file systems

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
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
  // Refused here rather than by the rename, after the other files of a set.
  if (NameOf(destination.target).size() > kMaxName)
    throw OutputError(Stage::Create, path, ENAMETOOLONG);
  return destination;
}

bool RefusedByFolder(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// Where a path's file is or would be: its folder's real path and its name,
// links (dangling ones too) followed.
std::string PlaceOf(const std::string& path) {
  int error = 0;
  const std::string target = FollowLinks(path, error);
  std::string folder = FolderOf(target);
  if (char* real = ::realpath(folder.c_str(), nullptr)) {
    folder = real;
    std::free(real);
  }
  return folder + "/" + NameOf(target);
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

// A stream's failure in words: a closed one shows only as a bad descriptor.
OutputError StreamFailure(const std::string& name, int error) {
  if (error == EBADF)
    return OutputError(Stage::Write, name, error, "Cannot write " + name + ": it is closed");
  if (error == EPIPE)
    return OutputError(Stage::Write, name, error,
                       "Cannot write " + name + ": the program reading it closed it early");
  return OutputError(Stage::Write, name, error);
}

void StreamSink::Write(std::string_view bytes) {
  errno = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
    throw StreamFailure(name_, errno);
}

void StreamSink::Flush() {
  errno = 0;
  // An error of an earlier write whose bytes are gone counts too.
  if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0) throw StreamFailure(name_, errno);
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  RemoveTemporariesOnDefaultStop();  // and SIGPIPE ignored before a pipe is written
  const Destination destination = Examine(path_);
  if (destination.stream >= 0 || destination.through) {
    OpenThrough(destination.stream);
  } else {
    target_ = destination.target;
    if (destination.exists && destination.info.st_nlink > 1) {
      OpenInPlace("it has other names (hard links), which stay one file");
    } else {
      fd_ = CreateTemporary(target_, temporary_, slot_);
      const int error = errno;
      if (fd_ < 0 && destination.exists && RefusedByFolder(error))
        OpenInPlace("its folder " + FolderOf(target_) + " may not be written");
      else if (fd_ < 0)
        throw OutputError(Stage::Create, path_, error);
      else if (destination.exists)
        CarryOver(destination.info);
      else if (::fchmod(fd_, NewFileMode()) != 0)
        notes_.push_back(path_ + ": its permissions are the temporary file's 0600 (" +
                         Reason(errno) + ").");
    }
  }
  buffer_.reserve(kChunk);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::OpenThrough(int stream) {
  if (stream >= 0) {
    fd_ = ::fcntl(stream, F_DUPFD_CLOEXEC, 0);
    if (fd_ < 0) throw OutputError(Stage::Create, path_, errno);
    return;
  }
  // Without O_NONBLOCK a FIFO nobody reads would hold the open for good.
  fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0 && errno == ENXIO)
    throw OutputError(Stage::Create, path_, ENXIO,
                      "Cannot write " + path_ + ": no program is reading from it");
  if (fd_ < 0) throw OutputError(Stage::Create, path_, errno);
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

void OutputFile::OpenInPlace(const std::string& why) {
  fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) throw OutputError(Stage::Create, path_, errno);
  inPlace_ = true;
  notes_.push_back(path_ + " was written in place, not replaced atomically: " + why + ".");
}

// The old file's owner, group, mode and extended attributes (POSIX ACLs
// among them) on the new one. The ACL goes last: it sets the group bits.
void OutputFile::CarryOver(const struct stat& old) {
  // A process may hand a file to its own group only; failing that, the group alone.
  if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(fd_, old.st_uid, old.st_gid) != 0)
    (void)!::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
  if (::fchmod(fd_, old.st_mode & 07777) != 0)
    notes_.push_back(path_ + ": its permissions could not be kept (" + Reason(errno) + ").");
  const ssize_t size = ::listxattr(target_.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::string names(static_cast<std::size_t>(size), '\0');
  const ssize_t listed = ::listxattr(target_.c_str(), names.data(), names.size());
  if (listed < 0) return;
  names.resize(static_cast<std::size_t>(listed));
  for (std::size_t at = 0; at < names.size();) {
    const std::string name(names.c_str() + at);
    at += name.size() + 1;
    std::string value;
    ssize_t length = ::getxattr(target_.c_str(), name.c_str(), nullptr, 0);
    if (length >= 0) {
      value.resize(static_cast<std::size_t>(length));
      length = ::getxattr(target_.c_str(), name.c_str(), value.data(), value.size());
    }
    if (length < 0 || ::fsetxattr(fd_, name.c_str(), value.data(),
                                  static_cast<std::size_t>(length), 0) != 0)
      notes_.push_back(path_ + ": its attribute " + name + " could not be kept (" +
                       Reason(errno) + ").");
  }
}

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
    if (failure_ == EPIPE)
      throw OutputError(Stage::Write, path_, EPIPE,
                        "Cannot write " + path_ + ": the program reading it closed it early");
    throw OutputError(Stage::Write, path_, failure_);
  }
  written_ += static_cast<long long>(bytes.size());
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

void OutputFile::Finish() {
  if (finished_) return;
  WriteOut(buffer_);
  buffer_.clear();
  std::string().swap(buffer_);
  const auto fail = [this](int error) {
    Discard();
    failure_ = error;
    throw OutputError(Stage::Write, path_, error);
  };
  if (target_.empty()) {
    // A terminal or a pipe cannot be synced; a standard output that is a file can.
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
      fail(errno);
  } else {
    if (inPlace_ && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) fail(errno);
    if (::fsync(fd_) != 0) fail(errno);
  }
  const int fd = std::exchange(fd_, -1);
  failure_ = EBADF;  // no more writes
  if (::close(fd) != 0 && errno != EINTR) fail(errno);
  finished_ = true;
}

void OutputFile::Rename() {
  if (temporary_.empty()) return;  // written through or in place
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    Discard();
    throw OutputError(Stage::Create, path_, error);
  }
  ReleaseTemporary(slot_);
  temporary_.clear();
  slot_ = -1;
}

std::string OutputFile::Folder() const {
  return target_.empty() || inPlace_ ? std::string() : FolderOf(target_);
}

void OutputFile::SyncFolder() {
  const std::string folder = Folder();
  if (folder.empty()) return;
  int error = 0;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
  } else {
    if (::fsync(fd) != 0 && errno != EINVAL) error = errno;
    ::close(fd);
  }
  if (error != 0)
    notes_.push_back(path_ + " was written, but its folder " + folder + " could not be synced (" +
                     Reason(error) + "): a power failure now could still undo the change.");
}

void OutputFile::Commit() {
  Finish();
  {
    const StopSignalsHeld held;
    Rename();
  }
  SyncFolder();
}

void OutputFile::Check(const std::string& path) {
  const Destination destination = Examine(path);
  if (destination.through) return;
  std::string name;
  int slot = -1;
  const int fd = CreateTemporary(destination.target, name, slot);
  if (fd < 0) {
    // Written in place then.
    if (destination.exists && RefusedByFolder(errno)) return;
    throw OutputError(Stage::Create, path, errno);
  }
  ::close(fd);
  const StopSignalsHeld held;
  ::unlink(name.c_str());
  ReleaseTemporary(slot);
}

bool SameDestination(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat infoA {}, infoB {};
  if (::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0)
    return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
  return PlaceOf(a) == PlaceOf(b);
}

}  // namespace vortalis::output
