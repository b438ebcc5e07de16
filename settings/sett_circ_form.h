#pragma once

#include <QDialog>

class TSettCircForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSettCircForm(QWidget* parent = nullptr);
};
