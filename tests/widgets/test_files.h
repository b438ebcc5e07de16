#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reading back what the windows wrote.

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pages of a PDF that Qt wrote: each page object is "/Type /Page", the
// page tree "/Type /Pages".
inline int PdfPageCount(const QByteArray& pdf) {
  int pages = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1)) {
    if (pdf.mid(at + 11, 1) != "s") ++pages;
  }
  return pages;
}
