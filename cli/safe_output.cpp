#include "cli/safe_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vortalis::cli {

namespace {

constexpr std::size_t kWriteBuffer = 1u << 20;

std::string Explain(const std::string& path, int error) {
  return path + ": " + std::strerror(error != 0 ? error : EIO);
}

// Where a symbolic link points, so that the link itself stays a link.
std::string ResolvedTarget(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The permissions a newly created file would get.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteStream(std::FILE* file, const std::function<bool(std::FILE*)>& write) {
  std::setvbuf(file, nullptr, _IOFBF, kWriteBuffer);
  errno = 0;
  return write(file) && std::fflush(file) == 0;
}

bool WriteDirectly(const std::string& path, const std::function<bool(std::FILE*)>& write,
                   std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = Explain(path, errno);
    return false;
  }
  bool ok = WriteStream(file, write);
  int saved = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (!ok) error = Explain(path, saved);
  return ok;
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error) {
  if (path.empty() || path.back() == '/') {
    error = Explain(path, EISDIR);
    return false;
  }
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    error = Explain(path, EISDIR);
    return false;
  }
  if (exists && !S_ISREG(existing.st_mode)) return WriteDirectly(path, write, error);

  const std::string target = exists ? ResolvedTarget(path) : path;
  std::string pattern = FolderOf(target) + "/.vortalis-report.XXXXXX";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    error = Explain(path, errno);
    return false;
  }
  const std::string temporaryPath(temporary.data());
  ::fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode());

  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    error = Explain(path, errno);
    ::close(fd);
    ::unlink(temporaryPath.c_str());
    return false;
  }
  bool ok = WriteStream(file, write) && ::fsync(fd) == 0;
  int saved = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && std::rename(temporaryPath.c_str(), target.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(temporaryPath.c_str());
    error = Explain(path, saved);
  }
  return ok;
}

}  // namespace vortalis::cli
