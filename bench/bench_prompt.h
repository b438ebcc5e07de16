#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>

#include "ui/prompt.h"

// The windows under test.
using namespace vortalis::ui;

// Answers the program's dialogs for the window benchmark: the save dialog with
// a chosen path, the print dialog with a PDF file, and the question of a
// changed report with No. Every message, error and question is recorded; the
// benchmark expects none during a measured step.
class BenchPrompt final : public Prompt {
 public:
  BenchPrompt() { SetPrompts(this); }
  ~BenchPrompt() override { SetPrompts(nullptr); }
  BenchPrompt(const BenchPrompt&) = delete;
  BenchPrompt& operator=(const BenchPrompt&) = delete;

  QString savePath;  // the answer of the save dialog; empty cancels it
  QString pdfPath;   // where "printing" goes; empty cancels the print dialog
  QStringList seen;  // every message, error and question, in order

  void Message(const QString& text) override { seen << QStringLiteral("message: ") + text; }
  void Error(const QString& message) override { seen << QStringLiteral("error: ") + message; }
  Answer Confirm(const QString& text) override {
    seen << QStringLiteral("question: ") + text;
    return Answer::No;
  }
  QString SaveFileName(QWidget*, const QString&) override { return savePath; }
  QString ExportFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  QString OpenFileName(QWidget*, const QString&) override { return {}; }
  bool Print(QWidget*, QPrinter& printer) override {
    if (pdfPath.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
  }
  bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
};
