#pragma once

// The profile file formats of the export dialog and of vortalis-report
// --export; their names, filters and writers: files/profile_formats.h.
namespace vortalis::report {

enum class ExportFormat { Csv, Dxf, Svg };

inline constexpr ExportFormat kExportFormats[] = {ExportFormat::Csv, ExportFormat::Dxf,
                                                  ExportFormat::Svg};

}  // namespace vortalis::report
