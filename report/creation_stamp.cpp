#include "report/creation_stamp.h"

#include <cstdio>

namespace vortalis::report {

CreationStampPieces PlainStampProvider::Format(const std::tm& local) {
  char date[32];
  char time[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  std::snprintf(time, sizeof time, "%02d:%02d", local.tm_hour, local.tm_min);
  return {date, time};
}

CreationStampPieces PlainStampProvider::CreationStamp() const {
  // One reading of the clock for both pieces, so date and time always belong together.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Format(local);
}

}  // namespace vortalis::report
