#include "export/kit_files.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>

#include "output/output_error.h"
#include "export/profile_export.h"
#include "files/kit_files.h"

namespace vortalis::exports {

namespace {

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

void WriteBytes(const QString& path, const QByteArray& bytes) {
  files::WriteFile(Encoded(path),
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QByteArray KitPdf(const FlatKit& kit, const QPageSize& pageSize, int& pages) {
  const QMarginsF margins = TemplateMargins();
  const QPageLayout::Orientation orientation = FewerKitPages(kit, pageSize, margins).orientation;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Vortalis"));
    writer.setTitle(QString::fromStdString(DrawKit(kit).title));
    writer.setPageLayout(QPageLayout(pageSize, orientation, margins, QPageLayout::Millimeter));
    pages = PrintKit(kit, writer);
  }
  return buffer.data();
}

}  // namespace

QStringList KitExtensions(const FlatKit& kit) {
  QStringList extensions;
  for (const std::string_view extension : buildkit::KitFileExtensions(kit))
    extensions << QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
  return extensions;
}

QString KitFilter(const FlatKit& kit, const QString& extension) {
  if (!KitExtensions(kit).contains(extension)) return {};
  if (extension == QStringLiteral("dxf")) return QStringLiteral("DXF drawing (*.dxf)");
  if (extension == QStringLiteral("svg")) return QStringLiteral("SVG drawing (*.svg)");
  if (extension == QStringLiteral("pdf")) return QStringLiteral("PDF template (*.pdf)");
  return QStringLiteral("CSV cutting list (*.csv)");
}

int WriteKitFile(const FlatKit& kit, const QString& path, const QPageSize& pageSize) {
  if (files::WriteUnpaintedKitFile(kit, Encoded(path))) return 0;
  if (files::KitFileExtension(kit, Encoded(path)) == "svg") {
    WriteBytes(path, KitSvg(kit));
    return 0;
  }
  int pages = 0;
  WriteBytes(path, KitPdf(kit, pageSize, pages));
  return pages;
}

namespace {

QStringList Decoded(const std::vector<std::string>& names) {
  QStringList result;
  for (const std::string& name : names)
    result << QFile::decodeName(QByteArray::fromStdString(name));
  return result;
}

}  // namespace

QStringList StlFileNames(const QString& path, std::size_t pieces) {
  return Decoded(files::StlFileNames(Encoded(path), pieces));
}

QStringList WriteStlFiles(const buildkit::HornSolids& solids, const QString& path) {
  return Decoded(files::WriteStlFiles(solids, Encoded(path)));
}

}  // namespace vortalis::exports
