#pragma once

#include <cstdint>
#include <memory>

#include <QCoreApplication>

#include "app/startup.h"
#include "app/main_form.h"

// The windows under test.
using namespace vortalis::app;

// The long-lived windows for one test, created as at start-up but with a tick
// counter that advances a millisecond per reading: the start-up wait costs a
// few thousand readings instead of seconds. Destroyed again with the fixture.
class LongLivedForms {
 public:
  LongLivedForms() {
    auto now = std::make_shared<std::uint32_t>(0);
    CreateLongLivedForms([now] { return (*now)++; });
  }
  ~LongLivedForms() { DestroyLongLivedForms(); }
  LongLivedForms(const LongLivedForms&) = delete;
  LongLivedForms& operator=(const LongLivedForms&) = delete;
};

// The long-lived windows for a whole test program, the main window shown at
// 1000 x 800 with Qt's own dialogs; destroyed by DestroyLongLivedForms().
inline void ShowLongLivedForms() {
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  CreateLongLivedForms([now = std::uint32_t{0}]() mutable { return now += 1000; });
  Mainform->resize(1000, 800);
  Mainform->show();
}
