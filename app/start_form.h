#pragma once

#include <QDialog>

class TStartForm : public QDialog {
  Q_OBJECT
 public:
  explicit TStartForm(QWidget* parent = nullptr);
};
