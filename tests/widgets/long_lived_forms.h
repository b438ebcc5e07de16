#pragma once

#include <cstdint>
#include <memory>

#include "app/startup.h"

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
