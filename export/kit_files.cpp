#include "export/kit_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>

#include "output/output_error.h"
#include "output/output_file.h"
#include "export/profile_export.h"

namespace vortalis::exports {

namespace {


// The one place the kits' files reach the disk.
void WriteBytes(const QString& path, const QByteArray& bytes) {
  output::OutputFile file(QFile::encodeName(path).toStdString());
  file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  file.Commit();
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

QString Extension(const QString& path) { return QFileInfo(path).suffix().toLower(); }

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

int WriteKitFile(const FlatKit& kit, const QString& path, const QPageSize& pageSize) {
  const QString extension = Extension(path);
  if (!KitExtensions(kit).contains(extension)) {
    throw output::OutputError("Cannot write " + path.toStdString() + ": this kit is saved as " +
                      KitExtensions(kit).join(QStringLiteral(", ")).toUpper().toStdString() +
                      " (the file's name ends in one of them).");
  }
  if (extension == QStringLiteral("dxf")) {
    WriteBytes(path, KitDxf(kit));
  } else if (extension == QStringLiteral("svg")) {
    WriteBytes(path, KitSvg(kit));
  } else if (extension == QStringLiteral("pdf")) {
    int pages = 0;
    WriteBytes(path, KitPdf(kit, pageSize, pages));
    return pages;
  } else {
    const RingsKit& rings = std::get<RingsKit>(kit);
    const std::string text = buildkit::RingsCsv(rings.rings, rings.unit);
    WriteBytes(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  }
  return 0;
}

QStringList StlFileNames(const QString& path, std::size_t pieces) {
  if (pieces <= 1) return {path};
  const QFileInfo file(path);
  const QString suffix = file.suffix().isEmpty() ? QStringLiteral("stl") : file.suffix();
  QStringList names;
  for (std::size_t i = 1; i <= pieces; ++i) {
    const QString name =
        file.completeBaseName() + QLatin1Char('-') + QString::number(i) + QLatin1Char('.') + suffix;
    names << (file.path() == QStringLiteral(".") && !path.startsWith(QStringLiteral("./"))
                  ? name
                  : file.dir().filePath(name));
  }
  return names;
}

QStringList WriteStlFiles(const buildkit::HornSolids& solids, const QString& path) {
  const QStringList names = StlFileNames(path, solids.segments.size());
  if (names.size() == 1) {
    const std::string bytes = buildkit::BinaryStl(solids.whole, "Vortalis tractrix horn, mm");
    WriteBytes(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return names;
  }
  for (qsizetype i = 0; i < names.size(); ++i) {
    const std::string header = "Vortalis tractrix horn, piece " + std::to_string(i + 1) + " of " +
                               std::to_string(names.size()) + " from the throat, mm";
    const std::string bytes =
        buildkit::BinaryStl(solids.segments[static_cast<std::size_t>(i)], header);
    WriteBytes(names[i], QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  return names;
}

}  // namespace vortalis::exports
