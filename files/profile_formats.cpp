#include "files/profile_formats.h"

#include "output/output_error.h"

namespace vortalis::files {

void WriteProfileCsv(const report::HornProfile& profile, output::ByteSink& sink) {
  sink.Write(ProfileCsv(profile));
}

const ProfileFormat& FormatOf(report::ExportFormat format) {
  for (const ProfileFormat& row : kProfileFormats)
    if (row.format == format) return row;
  throw output::OutputError("A profile file format without its row in the format table.");
}

std::string_view FormatName(report::ExportFormat format) { return FormatOf(format).name; }

std::optional<report::ExportFormat> FormatFromName(std::string_view name) {
  for (const ProfileFormat& row : kProfileFormats)
    if (row.name == name) return row.format;
  return std::nullopt;
}

void AddProfileFile(output::OutputSet& set, const report::HornProfile& profile,
                    report::ExportFormat format, const std::string& path) {
  const ProfileFormat& row = FormatOf(format);
  if (row.Painted())
    throw output::OutputError("Cannot write " + path + ": " + std::string(row.name) +
                              " files are painted, and nothing paints them here.");
  row.write(profile, set.Add(path));
}

}  // namespace vortalis::files
