#include "export/profile_export.h"

#include <QFile>

#include "files/profile_formats.h"
#include "output/output_error.h"


namespace vortalis::exports {

QString FormatFilter(ExportFormat format) {
  const std::string_view filter = files::FormatOf(format).filter;
  return QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()));
}

void WriteProfile(const report::HornProfile& profile, ExportFormat format,
                  output::ByteSink& sink) {
  const files::ProfileFormat& row = files::FormatOf(format);
  if (!row.Painted()) {
    row.write(profile, sink);
    return;
  }
  if (format != ExportFormat::Svg)
    throw output::OutputError(std::string(row.name) + " files have no painter.");
  const QByteArray svg = ProfileSvg(profile);
  sink.Write(std::string_view(svg.constData(), static_cast<std::size_t>(svg.size())));
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
