#include "report_window/locale_stamp_provider.h"

#include <QRegularExpression>

namespace vortalis::report_window {

namespace {

// The locale's short time format names hours and minutes (and AM/PM where the
// locale counts twelve hours); seconds are dropped should a locale add them.
QString HoursAndMinutesFormat(const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::ShortFormat);
  static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
  format.remove(seconds);
  return format;
}

}  // namespace

vortalis::report::CreationStampPieces LocaleStampProvider::Format(const QDateTime& moment,
                                                                  const QLocale& locale) {
  return {locale.toString(moment.date(), QLocale::ShortFormat).toStdString(),
          locale.toString(moment.time(), HoursAndMinutesFormat(locale)).toStdString()};
}

vortalis::report::CreationStampPieces LocaleStampProvider::CreationStamp() const {
  // One reading of the clock for both pieces, so that a report made at
  // midnight cannot carry the old date with the new time.
  return Format(QDateTime::currentDateTime(), QLocale::system());
}

}  // namespace vortalis::report_window
