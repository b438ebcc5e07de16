#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>

#include "report/export_format.h"
#include "report/horn_profile.h"

// The three profile files of the export dialog and of vortalis-report
// --export. Every file is written atomically (the old file stays intact when
// writing fails); failures throw ExportError (export/export_error.h).
namespace vortalis::exports {

using report::ExportFormat;
// For a file dialog: "CSV table (*.csv)", "DXF drawing (*.dxf)", "SVG drawing (*.svg)".
QString FormatFilter(ExportFormat format);

// One row per point with a header; the report's columns and decimals, "." as
// the decimal separator whatever the locale, "," between columns, CR LF lines.
std::string ProfileCsv(const report::HornProfile& profile);

// ASCII DXF (AutoCAD 2000) in the report's unit with $INSUNITS (4 mm, 1 inch):
// layer AXIS holds the axis line, every ProfileCurve a layer of its own with
// the curve and its mirror image on the other side of the axis.
QByteArray ProfileDxf(const report::HornProfile& profile);

// SVG in real millimetres: the width is the drawn length, the height both
// walls around the axis, so that printing at 100 % gives full size. Needs a
// QGuiApplication.
QByteArray ProfileSvg(const report::HornProfile& profile);

// Writes the format's bytes to path.
void ExportProfile(const report::HornProfile& profile, ExportFormat format, const QString& path);

// Replaces path with bytes atomically (QSaveFile); ExportError names the file.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace vortalis::exports
