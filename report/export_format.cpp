#include "report/export_format.h"

namespace vortalis::report {

std::string_view FormatName(ExportFormat format) {
  switch (format) {
    case ExportFormat::Csv:
      return "csv";
    case ExportFormat::Dxf:
      return "dxf";
    case ExportFormat::Svg:
      return "svg";
  }
  return "csv";
}

std::optional<ExportFormat> FormatFromName(std::string_view name) {
  for (ExportFormat format : kExportFormats) {
    if (FormatName(format) == name) return format;
  }
  return std::nullopt;
}

}  // namespace vortalis::report
