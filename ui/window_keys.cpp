#include "ui/window_keys.h"

#include <QKeyEvent>
#include <QWidget>

namespace vortalis::ui {

WindowKeys::WindowKeys(QWidget* window) : QObject(window), window_(window) {
  // Keys that no child takes reach the window itself, after its children.
  window->installEventFilter(this);
}

WindowKeys& WindowKeys::Bind(const QKeySequence& key, std::function<void()> handler) {
  keys_.append({key, std::move(handler)});
  return *this;
}

WindowKeys& WindowKeys::EscapeCloses() {
  return Bind(QKeySequence(Qt::Key_Escape), [window = window_] { window->close(); });
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_ ||
      (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress))
    return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  for (const auto& [sequence, handler] : keys_) {
    if (sequence.matches(QKeySequence(key->keyCombination())) != QKeySequence::ExactMatch)
      continue;
    // Taken at the override, the key comes back as a key press instead of
    // reaching the program-wide shortcut.
    event->accept();
    if (event->type() == QEvent::KeyPress && handler) handler();
    return true;
  }
  return false;
}

}  // namespace vortalis::ui
