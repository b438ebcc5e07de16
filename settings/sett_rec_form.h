#pragma once

#include <QDialog>

class TSettRecForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSettRecForm(QWidget* parent = nullptr);
};
