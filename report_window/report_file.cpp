#include "report_window/report_file.h"

#include <QByteArray>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>

namespace vortalis::windows {

namespace {

// Large enough that a 600,000-line report takes a few dozen writes.
constexpr qsizetype kChunkBytes = 1 << 20;

bool IsLastEmptyParagraph(const QTextBlock& block) {
  return !block.next().isValid() && block.length() <= 1;
}

}  // namespace

QString SaveReportFile(const QTextDocument& document, const QString& path) {
  QSaveFile file(path);
  // Unbuffered, so that a short write (a full disk) shows in write()'s count:
  // a short write while QSaveFile flushes its own buffer would still commit.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return QStringLiteral("Cannot create file %1").arg(path);

  QByteArray chunk;
  chunk.reserve(kChunkBytes + 4096);
  bool written = true;
  for (QTextBlock block = document.begin(); block.isValid() && written; block = block.next()) {
    if (IsLastEmptyParagraph(block)) break;
    chunk.append(block.text().toUtf8());
    chunk.append("\r\n", 2);
    if (chunk.size() >= kChunkBytes) {
      written = file.write(chunk) == chunk.size();
      chunk.resize(0);
    }
  }
  if (written && !chunk.isEmpty()) written = file.write(chunk) == chunk.size();
  // An uncommitted QSaveFile removes its temporary file.
  if (!written) return QStringLiteral("Failed to Save Stream");
  if (!file.commit()) {
    // The text was written, but the file cannot take its name (one longer than
    // the file system allows, say): to the user the file could not be created.
    return file.error() == QFileDevice::RenameError ? QStringLiteral("Cannot create file %1").arg(path)
                                                    : QStringLiteral("Failed to Save Stream");
  }
  return {};
}

}  // namespace vortalis::windows
