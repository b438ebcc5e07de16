#pragma once

#include <cstdint>
#include <functional>

namespace vortalis::app {

// The millisecond tick counter that the start-up wait reads; injectable so that
// tests can create the windows without waiting.
using TickCounter = std::function<std::uint32_t()>;

// The system's millisecond tick counter (wraps around like a 32-bit counter).
std::uint32_t SystemTickCount();

// Creates every long-lived window once, hidden, in start-up order (Mainform,
// SettCircForm, AboutForm, waitform, SettRecForm, Help1form, Help3Form,
// help2form, Help5form), assigning each process-wide reference before the
// window's create handler runs. Mainform's create handler waits on `ticks`.
void CreateLongLivedForms(const TickCounter& ticks);

// Destroys them again (tests), clearing the references.
void DestroyLongLivedForms();

}  // namespace vortalis::app
