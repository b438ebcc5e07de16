#pragma once

#include "geometry/number_text.h"

namespace vortalis::ui {

// The decimal and thousands separators of the system locale, read at start-up
// and again whenever the system announces a change of its regional settings.
const vortalis::geometry::Separators& CurrentSeparators();

// Re-reads the system locale (called on QEvent::LocaleChange).
void RefreshSeparators();

// Tests use a fixed pair; RefreshSeparators() returns to the system's.
void SetSeparatorsForTesting(const vortalis::geometry::Separators& separators);

}  // namespace vortalis::ui
