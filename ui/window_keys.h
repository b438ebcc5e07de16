#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>
#include <utility>

class QWidget;

namespace vortalis::ui {

// Keys that belong to one window. The report windows' menu keys work
// program-wide; while this window is active its own keys come first: each
// bound key runs its handler (an empty handler makes the key do nothing), and
// Escape closes the window when asked to. Owned by the window.
class WindowKeys final : public QObject {
 public:
  explicit WindowKeys(QWidget* window);

  WindowKeys& Bind(const QKeySequence& key, std::function<void()> handler);
  WindowKeys& EscapeCloses();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  QList<std::pair<QKeySequence, std::function<void()>>> keys_;
};

}  // namespace vortalis::ui
