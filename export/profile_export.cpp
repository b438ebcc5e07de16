#include "export/profile_export.h"

#include <QFile>

#include "export/profile_curves.h"

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

void WriteProfile(const report::HornProfile& profile, ExportFormat format,
                  output::ByteSink& sink) {
  switch (format) {
    case ExportFormat::Csv:
      sink.Write(ProfileCsv(profile));
      return;
    case ExportFormat::Dxf:
      WriteProfileDxf(profile, sink);
      return;
    case ExportFormat::Svg: {
      const QByteArray svg = ProfileSvg(profile);
      sink.Write(std::string_view(svg.constData(), static_cast<std::size_t>(svg.size())));
      return;
    }
  }
}

void ExportProfile(const report::HornProfile& profile, ExportFormat format,
                   const std::string& path) {
  output::OutputFile file(path);
  WriteProfile(profile, format, file);
  file.Commit();
}

void ExportProfile(const report::HornProfile& profile, ExportFormat format, const QString& path) {
  ExportProfile(profile, format, QFile::encodeName(path).toStdString());
}

}  // namespace vortalis::exports
