#pragma once

#include <QGuiApplication>

namespace vortalis::ui {

// The wait cursor for the lifetime of the object: over work that keeps the
// program from answering for a noticeable time (saving a long report, drawing
// a long profile). A message box shown afterwards must come after its scope.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace vortalis::ui
