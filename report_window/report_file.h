#pragma once

#include <QString>
#include <string>

class QTextBlock;
class QTextDocument;

namespace vortalis::report_window {

// The paragraphs a report file or print holds: every one but the final empty
// paragraph after the last line break, which is no line.
bool IsReportLine(const QTextBlock& block);

// Writes `document` to `path` through the one writer (output/output_file.h)
// as plain UTF-8 text, one line per paragraph, each ended by CR LF: a failed
// save leaves the old file as it was and no temporary file behind. Throws
// output::OutputError whose what() is the window's message without the
// closing "." ("Cannot create file <path>" or "Failed to Save Stream").
void SaveReportFile(const QTextDocument& document, const QString& path);

// Writes `text` as it is to `path` through the one writer (a window's CSV
// export). Throws output::OutputError.
void WriteTextFile(const QString& path, const std::string& text);

}  // namespace vortalis::report_window
