#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "app/memory_status.h"

class QLabel;
class QPushButton;

namespace vortalis::app {

// The about box. It is modal by hand: About in the main window disables the
// program's other windows and OK here enables them again.
class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QLabel* ProgramIcon = nullptr;
  QLabel* Logo = nullptr;
  QLabel* Version = nullptr;
  QLabel* PhysMem = nullptr;
  QLabel* FreeRes = nullptr;
  QPushButton* OKBtn = nullptr;

  // Where the memory figures come from; tests put fixed figures here.
  std::function<std::optional<MemoryStatus>()> readMemory = ReadMemoryStatus;

  void FormShow();
  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  // Minimised, the box would leave every window disabled and nothing to click.
  void changeEvent(QEvent* event) override;
  // Escape and the system's close command would otherwise hide the box and
  // leave every other window disabled; they act as OK.
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
};

// The process-wide reference to the window, assigned before its own create
// handler runs; it lives until the program ends.
extern TAboutForm* AboutForm;

}  // namespace vortalis::app
