#pragma once

#include <QMainWindow>

// The four information windows.
class THelpWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit THelpWindow(const QString& caption, QWidget* parent = nullptr);
};

class THelp1form : public THelpWindow {
  Q_OBJECT
 public:
  explicit THelp1form(QWidget* parent = nullptr);
};
class Thelp2form : public THelpWindow {
  Q_OBJECT
 public:
  explicit Thelp2form(QWidget* parent = nullptr);
};
class THelp3Form : public THelpWindow {
  Q_OBJECT
 public:
  explicit THelp3Form(QWidget* parent = nullptr);
};
class THelp5form : public THelpWindow {
  Q_OBJECT
 public:
  explicit THelp5form(QWidget* parent = nullptr);
};
