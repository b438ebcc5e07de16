#pragma once

#include <string>
#include <string_view>

#include "output/output_file.h"

namespace vortalis::output {

// A private file in $TMPDIR (or /tmp) for what does not fit in memory or must
// have a name. Anonymous: removed from its folder at once, so that nothing is
// left however the process ends. Named: keeps its name for a library that
// opens files by name, removed by the destructor and by the stop handlers.
// Failures throw OutputError naming the folder.
class ScratchFile final : public ByteSink {
 public:
  enum class Kind { Anonymous, Named };
  explicit ScratchFile(Kind kind);
  ~ScratchFile() override;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& Path() const { return path_; }  // empty when anonymous
  const std::string& Folder() const { return folder_; }

  void Write(std::string_view bytes) override;
  // Every byte the file holds now, from its start, in large chunks.
  void CopyTo(ByteSink& sink);
  // The file's size now.
  long long Size() const;
  // An OutputError for `error` in this file, naming its folder.
  OutputError Failure(int error) const;

 private:
  std::string folder_;
  std::string path_;
  int fd_ = -1;
  int slot_ = -1;
};

}  // namespace vortalis::output
