#pragma once

#include <QGuiApplication>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QTest>
#include <deque>
#include <functional>

#include "ui/prompt.h"

// The windows under test.
using namespace vortalis::ui;

// Records every prompt and answers from queues; a prompt with no queued answer
// fails the running test instead of blocking it. Installs itself for its lifetime.
class ScriptedPrompt final : public Prompt {
 public:
  ScriptedPrompt() { SetPrompts(this); }
  ~ScriptedPrompt() override { SetPrompts(nullptr); }

  QStringList messages;       // Message() texts, in order
  QStringList errors;         // Error() messages, in order
  QStringList confirmations;  // Confirm() texts, in order
  QStringList savePresets;    // SaveFileName() presets, in order
  QStringList exportPresets;  // ExportFileName() presets, in order
  int printDialogs = 0;
  QList<QWidget*> printParents;  // the windows each print dialog opened over
  int printerSetups = 0;

  std::deque<Answer> confirmAnswers;
  std::deque<QString> saveAnswers;    // an empty text cancels the dialog
  std::deque<QString> exportAnswers;  // the same for ExportFileName()
  std::deque<QString> openAnswers;    // the same for OpenFileName()
  std::deque<bool> printAnswers;
  // Set up the printer when the print dialog is "accepted" (e.g. to PDF output).
  std::function<void(QPrinter&)> configurePrinter;

  void Message(const QString& text) override { messages << text; }
  void Error(const QString& message) override {
    errors << message;
    // A box under the wait cursor looks as if the program were still busy.
    if (QGuiApplication::overrideCursor()) busyErrors << message;
  }
  QStringList busyErrors;  // errors shown while the wait cursor was up

  Answer Confirm(const QString& text) override {
    confirmations << text;
    if (confirmAnswers.empty()) {
      QTest::qFail(qPrintable("unexpected question: " + text), __FILE__, __LINE__);
      return Answer::Cancel;
    }
    const Answer answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }

  QString SaveFileName(QWidget*, const QString& preset) override {
    savePresets << preset;
    if (saveAnswers.empty()) {
      QTest::qFail("unexpected save dialog", __FILE__, __LINE__);
      return {};
    }
    const QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }

  QString ExportFileName(QWidget*, const QString& preset, const QString&,
                         const QString&) override {
    exportPresets << preset;
    if (exportAnswers.empty()) {
      QTest::qFail("unexpected export file dialog", __FILE__, __LINE__);
      return {};
    }
    const QString answer = exportAnswers.front();
    exportAnswers.pop_front();
    return answer;
  }

  QString OpenFileName(QWidget*, const QString&) override {
    if (openAnswers.empty()) {
      QTest::qFail("unexpected open file dialog", __FILE__, __LINE__);
      return {};
    }
    const QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
  }

  bool Print(QWidget* parent, QPrinter& printer) override {
    ++printDialogs;
    printParents << parent;
    if (printAnswers.empty()) {
      QTest::qFail("unexpected print dialog", __FILE__, __LINE__);
      return false;
    }
    const bool accepted = printAnswers.front();
    printAnswers.pop_front();
    if (accepted && configurePrinter) configurePrinter(printer);
    return accepted;
  }

  bool PrinterSetup(QWidget*, QPrinter&) override {
    ++printerSetups;
    return true;
  }
};
