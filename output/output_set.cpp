#include "output/output_set.h"

#include <unistd.h>

#include <cerrno>
#include <set>
#include <utility>

#include "output/stop_signals.h"

namespace vortalis::output {

OutputFile& OutputSet::Add(const std::string& path) {
  for (const auto& member : members_) {
    if (SameDestination(member->Path(), path))
      throw OutputError(OutputError::Stage::Create, path, 0,
                        "Cannot write " + member->Path() + " and " + path +
                            ": they name the same file");
  }
  members_.push_back(std::make_unique<OutputFile>(path));
  return *members_.back();
}

void OutputSet::RemoveOnCommit(std::string path) { removed_.push_back(std::move(path)); }

void OutputSet::AddNote(std::string note) { notes_.push_back(std::move(note)); }

void OutputSet::Commit() {
  for (const auto& member : members_) member->Finish();
  {
    const StopSignalsHeld held;
    for (const auto& member : members_) member->Rename();
    for (const std::string& path : removed_) {
      // The new set is in place by now: a stale file that stays is only a note.
      if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        notes_.push_back("Cannot remove " + path + ": " + Reason(errno) + ".");
    }
  }
  std::set<std::string> synced;
  for (const auto& member : members_) {
    if (synced.insert(member->Folder()).second) member->SyncFolder();
  }
}

std::vector<std::string> OutputSet::Notes() const {
  std::vector<std::string> notes = notes_;
  for (const auto& member : members_)
    notes.insert(notes.end(), member->Notes().begin(), member->Notes().end());
  return notes;
}

}  // namespace vortalis::output
