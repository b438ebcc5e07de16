#pragma once

#include <QPixmap>
#include <QWidget>

class QPaintEvent;

namespace vortalis::app {

// The splash window: no border, above every other window, centred, showing
// one picture while the long-lived windows are created. It exists only
// during start-up.
class TStartForm : public QWidget {
  Q_OBJECT
 public:
  explicit TStartForm(QWidget* parent = nullptr);

  // Shows the splash and paints it at once: the start-up wait that follows
  // blocks the event loop, so nothing would paint it later.
  void ShowAndPaint();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

// The process-wide reference to the window, assigned before its own create
// handler runs; it lives until the program ends.
extern TStartForm* StartForm;

}  // namespace vortalis::app
