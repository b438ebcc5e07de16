#pragma once

#include <string>

#include <QByteArray>
#include <QString>

#include "files/profile_files.h"
#include "output/output_file.h"
#include "report/export_format.h"
#include "report/horn_profile.h"

// The three profile files of the export dialog and of vortalis-report
// --export. Every file goes through the one writer (output/output_file.h);
// failures throw output::OutputError.
namespace vortalis::exports {

using report::ExportFormat;
// For a file dialog: "CSV table (*.csv)", "DXF drawing (*.dxf)", "SVG drawing (*.svg)".
QString FormatFilter(ExportFormat format);

using files::ProfileCsv;

// SVG in real millimetres: the width is the drawn length, the height both
// walls around the axis, so that printing at 100 % gives full size. Needs a
// QGuiApplication.
QByteArray ProfileSvg(const report::HornProfile& profile);

// Writes the format's bytes to sink.
// DXF: ASCII (AutoCAD 2000) in the report's unit with $INSUNITS (4 mm, 1
// inch): layer AXIS holds the axis line, every ProfileCurve a layer of its own
// with the curve and its mirror image on the other side of the axis.
void WriteProfile(const report::HornProfile& profile, ExportFormat format,
                  output::ByteSink& sink);

// Writes the format to the file at path (bytes, kept exactly).
void ExportProfile(const report::HornProfile& profile, ExportFormat format,
                   const std::string& path);
// The same for a name from a file dialog, in the file system's encoding.
void ExportProfile(const report::HornProfile& profile, ExportFormat format, const QString& path);

}  // namespace vortalis::exports
