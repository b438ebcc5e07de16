#include "export/kit_files.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>

#include "output/finite_number.h"
#include "output/output_error.h"
#include "export/profile_export.h"
#include "files/kit_files.h"

namespace vortalis::exports {

namespace {

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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

// The last guard of the painted files: no inf or nan reaches a coordinate.
void RefuseNonFinite(const KitDrawing& drawing) {
  for (const KitPiece& piece : drawing.pieces) {
    for (const KitPath& path : piece.paths)
      for (const buildkit::DrawPoint& p : path.points) output::FiniteNumber(p.x + p.y);
    for (const KitCircle& circle : piece.circles)
      output::FiniteNumber(circle.centre.x + circle.centre.y + circle.radius);
    for (const KitText& text : piece.texts) output::FiniteNumber(text.at.x + text.at.y);
  }
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

int WritePaintedKit(const FlatKit& kit, std::string_view extension, output::ByteSink& sink,
                    const QPageSize& pageSize) {
  RefuseNonFinite(DrawKit(kit));
  if (extension == "svg") {
    sink.Write(View(KitSvg(kit)));
    return 0;
  }
  int pages = 0;
  sink.Write(View(KitPdf(kit, pageSize, pages)));
  return pages;
}

int AddKitFile(output::OutputSet& set, const FlatKit& kit, const std::string& path,
               const QPageSize& pageSize) {
  if (files::AddUnpaintedKitFile(set, kit, path)) return 0;
  output::OutputFile& file = set.Add(path);
  const int pages = WritePaintedKit(kit, files::KitFileExtension(kit, path), file, pageSize);
  file.Finish();
  return pages;
}

int WriteKitFile(const FlatKit& kit, const QString& path, const QPageSize& pageSize) {
  output::OutputSet set;
  const int pages = AddKitFile(set, kit, Encoded(path), pageSize);
  set.Commit();
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
  return Decoded(files::StlPieceNames(Encoded(path), pieces));
}

QStringList WriteStlFiles(const buildkit::HornSolids& solids, const QString& path) {
  output::OutputSet set;
  const QStringList names = Decoded(files::AddStlFiles(set, solids, Encoded(path)));
  set.Commit();
  return names;
}

}  // namespace vortalis::exports
