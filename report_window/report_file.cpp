#include "report_window/report_file.h"

#include <QByteArray>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <string>

#include "output/output_file.h"

namespace vortalis::report_window {

namespace {

// Large enough that a 600,000-line report takes a few dozen writes.
constexpr std::size_t kChunkBytes = 1 << 20;

}  // namespace

bool IsReportLine(const QTextBlock& block) {
  return block.next().isValid() || block.length() > 1;
}

void SaveReportFile(const QTextDocument& document, const QString& path) {
  using vortalis::output::OutputError;
  try {
    vortalis::output::OutputFile file(QFile::encodeName(path).toStdString());
    std::string chunk;
    chunk.reserve(kChunkBytes + 4096);
    for (QTextBlock block = document.begin(); block.isValid() && IsReportLine(block);
         block = block.next()) {
      // A line break typed with Shift+Enter (or pasted) stays inside its
      // paragraph as U+2028; in the file it ends a line like any other.
      QString text = block.text();
      text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
      const QByteArray line = text.toUtf8();
      chunk.append(line.constData(), static_cast<std::size_t>(line.size()));
      chunk.append("\r\n");
      if (chunk.size() >= kChunkBytes) {
        file.Write(chunk);
        chunk.clear();
      }
    }
    file.Write(chunk);
    file.Commit();
  } catch (const OutputError& error) {
    // The window's two messages; a name the file system refuses (too long,
    // say) shows only when the file takes it: to the user it cannot be created.
    const bool create = error.stage() == OutputError::Stage::Create;
    const QString message = create ? QStringLiteral("Cannot create file %1").arg(path)
                                   : QStringLiteral("Failed to Save Stream");
    throw OutputError(error.stage(), error.path(), error.error(), message.toStdString());
  }
}

void WriteTextFile(const QString& path, const std::string& text) {
  output::OutputFile file(QFile::encodeName(path).toStdString());
  file.Write(text);
  file.Commit();
}

}  // namespace vortalis::report_window
