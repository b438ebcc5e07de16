#pragma once

#include <QString>

class QTextDocument;

namespace vortalis::windows {

// Writes `document` to `path` as plain UTF-8 text, one line per paragraph,
// each ended by CR LF. The final empty paragraph after the last line break is
// no line. The file is replaced atomically: the text goes to a temporary file
// in the same folder, which takes the file's place only when it is complete,
// so a failed save leaves the old file as it was and no temporary file behind.
// Returns an empty text on success, else the error message ("Cannot create
// file <path>" or "Failed to Save Stream"), without the closing ".".
QString SaveReportFile(const QTextDocument& document, const QString& path);

}  // namespace vortalis::windows
