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
// never starts Qt's platform. No display is needed: the platform is always
// the off-screen one, whatever QT_QPA_PLATFORM says. Nothing when one runs already.
std::unique_ptr<QGuiApplication> StartPainting();

// The page size of a --paper choice.
QPageSize PageSizeOf(Paper paper);

}  // namespace vortalis::cli
