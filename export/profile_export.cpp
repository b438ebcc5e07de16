#include "export/profile_export.h"

#include <QSaveFile>

#include "export/export_error.h"

namespace vortalis::exports {

QString FormatFilter(ExportFormat format) {
  switch (format) {
    case ExportFormat::Csv:
      return QStringLiteral("CSV table (*.csv)");
    case ExportFormat::Dxf:
      return QStringLiteral("DXF drawing (*.dxf)");
    case ExportFormat::Svg:
      return QStringLiteral("SVG drawing (*.svg)");
  }
  return {};
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  const auto fail = [&path, &file] {
    throw ExportError("Cannot write " + path.toStdString() + ": " +
                      file.errorString().toStdString());
  };
  // Unbuffered, so that a short write (a full disk) shows in write()'s count:
  // Qt 6.4 commits a QSaveFile whose own buffer failed to flush.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) fail();
  if (file.write(bytes) != bytes.size()) fail();
  if (!file.commit()) fail();
}

void ExportProfile(const report::HornProfile& profile, ExportFormat format, const QString& path) {
  switch (format) {
    case ExportFormat::Csv: {
      const std::string text = ProfileCsv(profile);
      WriteFileAtomically(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
      return;
    }
    case ExportFormat::Dxf:
      WriteFileAtomically(path, ProfileDxf(profile));
      return;
    case ExportFormat::Svg:
      WriteFileAtomically(path, ProfileSvg(profile));
      return;
  }
}

}  // namespace vortalis::exports
