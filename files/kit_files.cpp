#include "files/kit_files.h"

#include <algorithm>
#include <cctype>

#include "output/output_error.h"
#include "output/output_file.h"

namespace vortalis::files {

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

bool WriteUnpaintedKitFile(const buildkit::FlatKit& kit, const std::string& path) {
  const std::string extension = KitFileExtension(kit, path);
  if (extension == "dxf") {
    WriteFile(path, KitDxf(kit));
    return true;
  }
  if (const std::optional<std::string> csv = buildkit::KitCsv(kit); csv && extension == "csv") {
    WriteFile(path, *csv);
    return true;
  }
  return false;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  output::OutputFile file(path);
  file.Write(bytes);
  file.Commit();
}

std::vector<std::string> StlFileNames(const std::string& path, std::size_t pieces) {
  if (pieces <= 1) return {path};
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = file.rfind('.');
  const std::string base = dot == std::string::npos ? file : file.substr(0, dot);
  const std::string suffix =
      dot == std::string::npos || dot + 1 == file.size() ? "stl" : file.substr(dot + 1);
  std::vector<std::string> names;
  for (std::size_t i = 1; i <= pieces; ++i) {
    const std::string name = base + '-' + std::to_string(i) + '.' + suffix;
    names.push_back(folder.empty() ? name : folder == "/" ? folder + name : folder + '/' + name);
  }
  return names;
}

std::vector<std::string> WriteStlFiles(const buildkit::HornSolids& solids,
                                       const std::string& path) {
  const std::vector<std::string> names = StlFileNames(path, solids.segments.size());
  if (names.size() == 1) {
    WriteFile(path, buildkit::BinaryStl(solids.whole, "Vortalis tractrix horn, mm"));
    return names;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string header = "Vortalis tractrix horn, piece " + std::to_string(i + 1) + " of " +
                               std::to_string(names.size()) + " from the throat, mm";
    WriteFile(names[i], buildkit::BinaryStl(solids.segments[i], header));
  }
  return names;
}

}  // namespace vortalis::files
