// The writer's file sets and its handling of pipes and signals, under the real
// faults: a full file system, a FIFO without a reader or with one that stops
// early, a stop signal with more temporary files than one block of slots.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "output/output_set.h"
#include "output/stop_signals.h"

namespace {

namespace fs = std::filesystem;
using vortalis::output::OutputError;
using vortalis::output::OutputFile;
using vortalis::output::OutputSet;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "output-set-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~Folder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A 64 KiB file system in `folder`, or a 64 KiB file size limit where mounting
// is not allowed (restored by the destructor).
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& folder) : folder_(folder) {
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
    if (!mounted_) {
      ::getrlimit(RLIMIT_FSIZE, &saved_);
      struct rlimit limit = saved_;
      limit.rlim_cur = 64 * 1024;
      ::setrlimit(RLIMIT_FSIZE, &limit);
      std::signal(SIGXFSZ, SIG_IGN);
    }
  }
  ~SmallDisk() {
    if (mounted_)
      ::umount2(folder_.c_str(), MNT_DETACH);
    else
      ::setrlimit(RLIMIT_FSIZE, &saved_);
  }

 private:
  std::string folder_;
  bool mounted_ = false;
  struct rlimit saved_ {};
};

TEST(OutputSet, OneMemberThatDoesNotFitReplacesNone) {
  Folder folder;
  const std::string disk = folder / "disk";
  fs::create_directory(disk);
  const SmallDisk small(disk);
  const std::string small1 = disk + "/a.csv", large = disk + "/b.dxf", small2 = disk + "/c.csv";
  for (const std::string& path : {small1, large, small2}) Put(path, "old");
  struct Case {
    const char* name;
    std::size_t largeBytes;
    bool fits;
  };
  for (const Case& c : {Case{"second member too large", 200 * 1024, false},
                        Case{"all fit", 8 * 1024, true}}) {
    SCOPED_TRACE(c.name);
    bool thrown = false;
    try {
      OutputSet set;
      set.Add(small1).Write("new a");
      set.Add(large).Write(std::string(c.largeBytes, 'x'));
      set.Add(small2).Write("new c");
      set.Commit();
    } catch (const OutputError& error) {
      thrown = true;
      EXPECT_NE(std::string(error.what()).find(large), std::string::npos) << error.what();
    }
    EXPECT_EQ(thrown, !c.fits);
    EXPECT_EQ(Read(small1), c.fits ? "new a" : "old");
    EXPECT_EQ(Read(large).size(), c.fits ? c.largeBytes : 3u);
    EXPECT_EQ(Read(small2), c.fits ? "new c" : "old");
    EXPECT_EQ(Names(disk), (std::vector<std::string>{"a.csv", "b.dxf", "c.csv"}));
  }
}

TEST(OutputSet, RefusesTwoNamesOfOneFile) {
  Folder folder;
  fs::create_symlink("target.csv", folder / "link.csv");  // dangling until written
  fs::create_directory(folder / "sub");
  Put(folder / "file.csv", "old");
  fs::create_hard_link(folder / "file.csv", folder / "hard.csv");
  struct Case {
    std::string a, b;
    bool same;
  };
  const std::string f = folder.path().string();
  for (const Case& c : {Case{f + "/link.csv", f + "/target.csv", true},
                        Case{f + "/sub/../target.csv", f + "/target.csv", true},
                        Case{f + "/file.csv", f + "/hard.csv", true},
                        Case{f + "/sub/target.csv", f + "/target.csv", false}}) {
    SCOPED_TRACE(c.a + " " + c.b);
    EXPECT_EQ(vortalis::output::SameDestination(c.a, c.b), c.same);
    OutputSet set;
    set.Add(c.a);
    if (c.same)
      EXPECT_THROW(set.Add(c.b), OutputError);
    else
      EXPECT_NO_THROW(set.Add(c.b));
  }
}

// A child that opens the FIFO, reads `bytes` and exits.
pid_t Reader(const std::string& fifo, std::size_t bytes) {
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    std::vector<char> buffer(bytes);
    std::size_t got = 0;
    while (got < bytes) {
      const ssize_t n = ::read(fd, buffer.data() + got, bytes - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  return child;
}

TEST(OutputFile, FifoWithoutReaderOrClosedEarlyIsAnErrorNotAHangOrDeath) {
  Folder folder;
  const std::string fifo = folder / "fifo.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  try {
    OutputFile file(fifo);
    ADD_FAILURE() << "opened a FIFO nobody reads";
  } catch (const OutputError& error) {
    EXPECT_EQ(error.stage(), OutputError::Stage::Create);
    EXPECT_NE(std::string(error.what()).find("no program is reading"), std::string::npos);
  }

  const pid_t reader = Reader(fifo, 10);
  std::unique_ptr<OutputFile> file;
  // The reader may not have opened its end yet.
  for (int tries = 0; tries < 500 && !file; ++tries) {
    try {
      file = std::make_unique<OutputFile>(fifo);
    } catch (const OutputError&) {
      ::usleep(10000);
    }
  }
  ASSERT_TRUE(file);
  try {
    for (int i = 0; i < 64; ++i) file->Write(std::string(1 << 20, 'x'));
    file->Commit();
    ADD_FAILURE() << "wrote to a FIFO whose reader left";
  } catch (const OutputError& error) {
    EXPECT_EQ(error.error(), EPIPE);
    EXPECT_NE(std::string(error.what()).find("closed it early"), std::string::npos);
  }
  int status = 0;
  ::waitpid(reader, &status, 0);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// Signals that end a process by default, sent while a set of more temporary
// files than one block of the handlers' slots waits for its commit: the
// process ends by that signal, and leaves nothing behind.
TEST(OutputSet, EndingSignalsRemoveEveryTemporary) {
  for (const int signal : {SIGTERM, SIGQUIT, SIGUSR1, SIGALRM, SIGRTMIN + 2}) {
    SCOPED_TRACE(signal);
    Folder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      struct rlimit none {};
      ::setrlimit(RLIMIT_CORE, &none);
      OutputSet set;
      for (int i = 0; i < 100; ++i) set.Add(folder / ("piece-" + std::to_string(i))).Write("x");
      (void)!::write(ready[1], "r", 1);
      ::pause();
      ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(fs::is_empty(folder.path())) << Names(folder.path()).front();
  }
}

}  // namespace
