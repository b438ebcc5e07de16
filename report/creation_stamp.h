#pragma once

#include <ctime>
#include <string>

// The date and time that the second line of a report carries.
namespace vortalis::report {

struct CreationStampPieces {
  std::string date;  // "2026-12-07"
  std::string time;  // "04:30"
};

class StampProvider {
 public:
  virtual ~StampProvider() = default;
  virtual CreationStampPieces CreationStamp() const = 0;
};

// ISO date and 24-hour time of the local clock, read once.
class PlainStampProvider : public StampProvider {
 public:
  CreationStampPieces CreationStamp() const override;
  static CreationStampPieces Format(const std::tm& local);
};

}  // namespace vortalis::report
