#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "files/profile_files.h"
#include "output/output_file.h"
#include "output/output_set.h"
#include "report/export_format.h"
#include "report/horn_profile.h"

// The profile's file formats, one row each: the export dialog, vortalis-report
// --export and its help read this table. A format without its row does not
// compile; one without a writer here is painted (export/profile_export.h).
namespace vortalis::files {

using ProfileWriter = void (*)(const report::HornProfile& profile, output::ByteSink& sink);

struct ProfileFormat {
  report::ExportFormat format;
  std::string_view name;    // the option's value and the file name's extension
  std::string_view filter;  // a file dialog's
  ProfileWriter write;      // nullptr: painted with Qt

  bool Painted() const { return write == nullptr; }
};

void WriteProfileCsv(const report::HornProfile& profile, output::ByteSink& sink);

inline constexpr std::array<ProfileFormat, 3> kProfileFormats{{
    {report::ExportFormat::Csv, "csv", "CSV table (*.csv)", &WriteProfileCsv},
    {report::ExportFormat::Dxf, "dxf", "DXF drawing (*.dxf)", &WriteProfileDxf},
    {report::ExportFormat::Svg, "svg", "SVG drawing (*.svg)", nullptr},
}};

constexpr bool RowsInFormatOrder() {
  if (kProfileFormats.size() != std::size(report::kExportFormats)) return false;
  for (std::size_t i = 0; i < kProfileFormats.size(); ++i)
    if (kProfileFormats[i].format != report::kExportFormats[i]) return false;
  return true;
}
static_assert(RowsInFormatOrder(), "one row per export format, in their order");

const ProfileFormat& FormatOf(report::ExportFormat format);
// "csv", "dxf", "svg".
std::string_view FormatName(report::ExportFormat format);
// The format of a name FormatName gives; nullopt for any other text.
std::optional<report::ExportFormat> FormatFromName(std::string_view name);

// Adds the file of an unpainted format at `path` (bytes, kept exactly) to
// `set`; throws output::OutputError, and for a painted format.
void AddProfileFile(output::OutputSet& set, const report::HornProfile& profile,
                    report::ExportFormat format, const std::string& path);

}  // namespace vortalis::files
