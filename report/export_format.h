#pragma once

#include <optional>
#include <string_view>

// The profile file formats of the export dialog and of vortalis-report --export.
namespace vortalis::report {

enum class ExportFormat { Csv, Dxf, Svg };

inline constexpr ExportFormat kExportFormats[] = {ExportFormat::Csv, ExportFormat::Dxf,
                                                  ExportFormat::Svg};

// "csv", "dxf", "svg": the option value and the file name's extension.
std::string_view FormatName(ExportFormat format);
// The format of a name FormatName gives; nullopt for any other text.
std::optional<ExportFormat> FormatFromName(std::string_view name);

}  // namespace vortalis::report
