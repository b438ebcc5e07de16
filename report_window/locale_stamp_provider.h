#pragma once

#include <QDateTime>
#include <QLocale>

#include "report/creation_stamp.h"

namespace vortalis::report_window {

// The creation stamp as the user's locale writes it: the short date, and the
// time as hours and minutes in the locale's 24- or 12-hour convention.
class LocaleStampProvider final : public vortalis::report::StampProvider {
 public:
  vortalis::report::CreationStampPieces CreationStamp() const override;
  static vortalis::report::CreationStampPieces Format(const QDateTime& moment,
                                                      const QLocale& locale);
};

}  // namespace vortalis::report_window
