#pragma once

#include <memory>
#include <string>
#include <vector>

#include "output/output_file.h"

namespace vortalis::output {

// Files written together, committed all or nothing: every member is written
// and synced to its temporary file first, then they all take their names with
// the stop signals held back, and only then are the folders synced. Until
// then, on a failure or a stop, no member is replaced and no temporary file is
// left. Members written straight through (a FIFO, a device) or in place (see
// OutputFile) are outside that promise: their bytes go out as they come.
class OutputSet {
 public:
  OutputSet() = default;
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // A new member. Throws OutputError when it cannot be written, or names the
  // same file as a member already added.
  OutputFile& Add(const std::string& path);
  // A file removed when the set is committed (a stale piece of an older set).
  void RemoveOnCommit(std::string path);
  // A sentence for the user with the notes, about what the commit did.
  void AddNote(std::string note);
  // Throws OutputError; when it does, no member was replaced (a rename the
  // file system refuses after others succeeded aside: names are checked first).
  void Commit();
  // Every member's notes (see OutputFile::Notes), after Commit.
  std::vector<std::string> Notes() const;

 private:
  std::vector<std::unique_ptr<OutputFile>> members_;
  std::vector<std::string> removed_;
  std::vector<std::string> notes_;
};

}  // namespace vortalis::output
