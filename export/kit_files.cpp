#include "export/kit_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <sys/stat.h>

#include <cctype>
#include <fstream>

#include "output/output_error.h"
#include "output/output_file.h"
#include "export/profile_export.h"

namespace vortalis::exports {

namespace {

// The one place the kits' files reach the disk.
void WriteBytes(output::OutputSet& set, const std::string& path, std::string_view bytes) {
  output::OutputFile& file = set.Add(path);
  file.Write(bytes);
  file.Finish();  // its descriptor freed while the set grows
}

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The text after the name's last dot, in lower case; empty when none.
std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

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

QByteArray KitPdf(const FlatKit& kit, const QPageSize& pageSize, int& pages) {
  const QMarginsF margins = TemplateMargins();
  const QPageLayout::Orientation orientation = FewerKitPages(kit, pageSize, margins).orientation;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Vortalis"));
    writer.setTitle(DrawKit(kit).title);
    writer.setPageLayout(QPageLayout(pageSize, orientation, margins, QPageLayout::Millimeter));
    pages = PrintKit(kit, writer);
  }
  return buffer.data();
}


}  // namespace

QStringList KitExtensions(const FlatKit& kit) {
  if (std::holds_alternative<RingsKit>(kit))
    return {QStringLiteral("dxf"), QStringLiteral("pdf"), QStringLiteral("csv")};
  return {QStringLiteral("dxf"), QStringLiteral("svg"), QStringLiteral("pdf")};
}

QString KitFilter(const FlatKit& kit, const QString& extension) {
  if (!KitExtensions(kit).contains(extension)) return {};
  if (extension == QStringLiteral("dxf")) return QStringLiteral("DXF drawing (*.dxf)");
  if (extension == QStringLiteral("svg")) return QStringLiteral("SVG drawing (*.svg)");
  if (extension == QStringLiteral("pdf")) return QStringLiteral("PDF template (*.pdf)");
  return QStringLiteral("CSV cutting list (*.csv)");
}

int AddKitFile(output::OutputSet& set, const FlatKit& kit, const std::string& path,
               const QPageSize& pageSize) {
  const QString extension = QString::fromStdString(ExtensionOf(path));
  if (!KitExtensions(kit).contains(extension)) {
    throw output::OutputError("Cannot write " + path + ": this kit is saved as " +
                      KitExtensions(kit).join(QStringLiteral(", ")).toUpper().toStdString() +
                      " (the file's name ends in one of them).");
  }
  if (extension == QStringLiteral("dxf")) {
    WriteBytes(set, path, View(KitDxf(kit)));
  } else if (extension == QStringLiteral("svg")) {
    WriteBytes(set, path, View(KitSvg(kit)));
  } else if (extension == QStringLiteral("pdf")) {
    int pages = 0;
    WriteBytes(set, path, View(KitPdf(kit, pageSize, pages)));
    return pages;
  } else {
    const RingsKit& rings = std::get<RingsKit>(kit);
    WriteBytes(set, path, buildkit::RingsCsv(rings.rings, rings.unit));
  }
  return 0;
}

int WriteKitFile(const FlatKit& kit, const QString& path, const QPageSize& pageSize) {
  output::OutputSet set;
  const int pages = AddKitFile(set, kit, Bytes(path), pageSize);
  set.Commit();
  return pages;
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
  const std::vector<std::string> names = StlPieceNames(path, solids.segments.size());
  // An older, longer set's pieces after the last new one (all of them after a single file).
  const std::size_t firstStale = names.size() == 1 ? 1 : names.size() + 1;
  const std::vector<std::string> pattern = StlPieceNames(path, 2);
  const std::string stem = pattern[0].substr(0, pattern[0].rfind("-1."));
  const std::string suffix = pattern[0].substr(pattern[0].rfind("-1.") + 2);
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

  if (names.size() == 1) {
    WriteBytes(set, path, buildkit::BinaryStl(solids.whole, std::string(kStlTitle) + ", mm"));
  } else {
    for (std::size_t i = 0; i < names.size(); ++i)
      WriteBytes(set, names[i],
                 buildkit::BinaryStl(solids.segments[i], PieceHeader(i + 1, names.size())));
  }
  for (const std::string& name : stale) set.RemoveOnCommit(name);
  if (!stale.empty())
    set.AddNote("Removed " + std::to_string(stale.size()) + " piece" +
                (stale.size() == 1 ? "" : "s") + " of an older, longer set: " + stale.front() +
                (stale.size() == 1 ? "" : " to " + stale.back()) + ".");
  return names;
}

QStringList StlFileNames(const QString& path, std::size_t pieces) {
  QStringList names;
  for (const std::string& name : StlPieceNames(Bytes(path), pieces))
    names << QFile::decodeName(QByteArray::fromStdString(name));
  return names;
}

QStringList WriteStlFiles(const buildkit::HornSolids& solids, const QString& path) {
  output::OutputSet set;
  QStringList names;
  for (const std::string& name : AddStlFiles(set, solids, Bytes(path)))
    names << QFile::decodeName(QByteArray::fromStdString(name));
  set.Commit();
  return names;
}

}  // namespace vortalis::exports
