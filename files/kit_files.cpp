#include "files/kit_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>

#include "output/output_error.h"
#include "output/output_file.h"

namespace vortalis::files {

namespace {

constexpr std::string_view kStlTitle = "Vortalis tractrix horn";

std::string PieceHeader(std::size_t piece, std::size_t pieces) {
  return std::string(kStlTitle) + ", piece " + std::to_string(piece) + " of " +
         std::to_string(pieces) + " from the throat, mm";
}

// Whether the file at `path` is a piece this program wrote as number `piece`.
bool IsOurPiece(const std::string& path, std::size_t piece) {
  std::ifstream file(path, std::ios::binary);
  char header[80] = {};
  if (!file.read(header, sizeof header)) return false;
  const std::string start = std::string(kStlTitle) + ", piece " + std::to_string(piece) + " of ";
  return std::string_view(header, sizeof header).starts_with(start);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string KitFileExtension(const buildkit::FlatKit& kit, const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string file = path.substr(slash == std::string::npos ? 0 : slash + 1);
  const std::size_t dot = file.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : file.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto extensions = buildkit::KitFileExtensions(kit);
  if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
    return extension;
  std::string names;
  for (const std::string_view name : extensions) {
    if (!names.empty()) names += ", ";
    for (const char c : name)
      names += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  throw output::OutputError("Cannot write " + path + ": this kit is saved as " + names +
                            " (the file's name ends in one of them).");
}

bool AddUnpaintedKitFile(output::OutputSet& set, const buildkit::FlatKit& kit,
                         const std::string& path) {
  const std::string extension = KitFileExtension(kit, path);
  if (extension == "dxf") {
    AddFile(set, path, KitDxf(kit));
    return true;
  }
  if (const std::optional<std::string> csv = buildkit::KitCsv(kit); csv && extension == "csv") {
    AddFile(set, path, *csv);
    return true;
  }
  return false;
}

void AddFile(output::OutputSet& set, const std::string& path, std::string_view bytes) {
  output::OutputFile& file = set.Add(path);
  file.Write(bytes);
  file.Finish();
}

std::vector<std::string> StlPieceNames(const std::string& path, std::size_t pieces) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = path.substr(folder.size());
  struct stat info {};
  if (name.empty() || name == "." || name == ".." ||
      (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)))
    throw output::OutputError(output::OutputError::Stage::Create, path, EISDIR,
                              "Cannot write " + path +
                                  ": it is a folder; name a file in it, such as " + folder +
                                  (name.empty() ? "" : name + "/") + "horn.stl");
  if (pieces <= 1) return {path};
  const std::size_t dot = name.rfind('.');
  const bool suffixed = dot != std::string::npos && dot > 0;
  const std::string base = suffixed ? name.substr(0, dot) : name;
  const std::string suffix = suffixed ? name.substr(dot + 1) : "stl";
  std::vector<std::string> names;
  for (std::size_t i = 1; i <= pieces; ++i)
    names.push_back(folder + base + "-" + std::to_string(i) + "." + suffix);
  return names;
}

std::vector<std::string> AddStlFiles(output::OutputSet& set, const buildkit::HornSolids& solids,
                                     const std::string& path) {
  const std::vector<std::string> pattern = StlPieceNames(path, 2);
  const std::string stem = pattern[0].substr(0, pattern[0].rfind("-1."));
  const std::string suffix = pattern[0].substr(pattern[0].rfind("-1.") + 2);
  // By segment, and by petal in a segment split to the bed: horn-3-2.stl.
  std::vector<std::string> names;
  std::vector<std::string> headers;
  const std::size_t segments =
      solids.prints.empty() ? solids.segments.size()
                            : static_cast<std::size_t>(solids.prints.back().segment);
  for (std::size_t i = 0; i < solids.segments.size(); ++i) {
    if (i >= solids.prints.size() || solids.prints[i].petals == 1) {
      const std::size_t segment = i < solids.prints.size()
                                      ? static_cast<std::size_t>(solids.prints[i].segment)
                                      : i + 1;
      names.push_back(stem + "-" + std::to_string(segment) + suffix);
      headers.push_back(PieceHeader(segment, segments));
      continue;
    }
    const buildkit::PiecePrint& print = solids.prints[i];
    names.push_back(stem + "-" + std::to_string(print.segment) + "-" +
                    std::to_string(print.petal) + suffix);
    headers.push_back(std::string(kStlTitle) + ", petal " + std::to_string(print.petal) + " of " +
                      std::to_string(print.petals) + " of piece " +
                      std::to_string(print.segment) + " of " + std::to_string(segments) + ", mm");
  }
  if (names.size() == 1) names = {path};
  // An older, longer set's pieces after the last new one (all of them after a single file).
  const std::size_t firstStale = names.size() == 1 ? 1 : segments + 1;
  std::vector<std::string> stale, inTheWay;
  for (std::size_t piece = firstStale;; ++piece) {
    const std::string name = stem + "-" + std::to_string(piece) + suffix;
    if (!Exists(name)) break;
    (IsOurPiece(name, piece) ? stale : inTheWay).push_back(name);
  }
  if (!inTheWay.empty()) {
    std::string list;
    for (const std::string& name : inTheWay) list += (list.empty() ? "" : ", ") + name;
    throw output::OutputError(output::OutputError::Stage::Create, path, EEXIST,
                              "Cannot write " + path + ": files in the way of its pieces, not " +
                                  "pieces of an older set of this program's: " + list);
  }

  // Streamed: a piece's bytes go to its temporary file as they are made.
  const auto add = [&set](const std::string& name, const buildkit::Mesh& mesh,
                          const std::string& header) {
    output::OutputFile& file = set.Add(name);
    buildkit::StreamBinaryStl(mesh, header, [&file](std::string_view part) { file.Write(part); });
    file.Finish();
  };
  if (names.size() == 1) {
    add(path, solids.segments.front(), std::string(kStlTitle) + ", mm");
  } else {
    for (std::size_t i = 0; i < names.size(); ++i) add(names[i], solids.segments[i], headers[i]);
  }
  for (const std::string& name : stale) set.RemoveOnCommit(name);
  if (!stale.empty())
    set.AddNote("Removed " + std::to_string(stale.size()) + " piece" +
                (stale.size() == 1 ? "" : "s") + " of an older, longer set: " + stale.front() +
                (stale.size() == 1 ? "" : " to " + stale.back()) + ".");
  return names;
}

}  // namespace vortalis::files
