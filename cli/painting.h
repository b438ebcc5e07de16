#pragma once

#include <QGuiApplication>
#include <QPageSize>
#include <QString>
#include <memory>
#include <string>

#include "cli/option_table.h"

// What vortalis-report's drawing and kit files share.
namespace vortalis::cli {

// Painting needs a QGuiApplication; a plain report, a CSV/DXF or STL file
// never starts Qt's platform. No display is needed: the platform is off
// screen unless the user chose another. Nothing when one runs already.
std::unique_ptr<QGuiApplication> StartPainting();

// A file name from the command line, in the system's file name encoding.
QString FileName(const std::string& path);

// The page size of a --paper choice.
QPageSize PageSizeOf(Paper paper);

}  // namespace vortalis::cli
