#pragma once

#include "geometry/number_text.h"
#include "report/creation_stamp.h"
#include "report/report_input.h"
#include "report/report_ports.h"

// The two table generators. Both expect input that the validation accepted.
namespace vortalis::report {

struct ReportEnvironment {
  ReportLineSink& document;
  ProgressPort& progress;
  EventPump pumpEvents;
  const StampProvider& stamp;
  geometry::Separators separators;
};

void GenerateCircularReport(const CircularReportInput& input, ReportEnvironment& env);
void GenerateRectangularReport(const RectangularReportInput& input, ReportEnvironment& env);
void GenerateReport(const HornInput& input, ReportEnvironment& env);

inline constexpr const char* kAbortNote =
    "NOTE!!!!!    >>>>>>>>User abort during calculation.<<<<<<<<";

}  // namespace vortalis::report
