#include "report_window/report_profile.h"

#include <QString>

#include "ui/prompt.h"
#include "report/horn_model.h"
#include "report/drawing_grid.h"

namespace report = vortalis::report;

bool HasHorn(const ReportSource& source) {
  return source.circular.has_value() || source.rectangular.has_value();
}

vortalis::geometry::LengthUnit SourceUnit(const ReportSource& source) {
  if (source.circular) return source.circular->unit;
  if (source.rectangular) return source.rectangular->unit;
  return vortalis::geometry::LengthUnit::Millimetre;
}

vortalis::geometry::SizeMode SourceSizeMode(const ReportSource& source) {
  return source.circular ? source.circular->size : vortalis::geometry::SizeMode::Radius;
}

long double SourceIncrement(const ReportSource& source) {
  if (source.circular) return IncrementValue(source.circular->increment, source.circular->unit);
  if (source.rectangular) {
    return IncrementValue(source.rectangular->increment, source.rectangular->unit);
  }
  return IncrementValue(vortalis::geometry::TableIncrement::T1, SourceUnit(source));
}

report::HornProfile MakeSourceProfile(const ReportSource& source, long double step,
                                      const report::MouthLimit& limit) {
  if (source.circular) {
    return report::MakeCircularProfile(*source.circular, step, limit, source.separators);
  }
  if (source.rectangular) {
    return report::MakeRectangularProfile(*source.rectangular, step, limit, source.separators);
  }
  throw report::ProfileError("This report has no horn to draw");
}

report::HornProfile MakeDrawingProfile(const ReportSource& source) {
  long double length = 0.0L;
  if (source.circular) length = report::MakeCircularHorn(*source.circular, source.separators).length;
  if (source.rectangular) {
    length = report::MakeRectangularHorn(*source.rectangular, source.separators).length;
  }
  return MakeSourceProfile(source, report::DrawingStep(length, SourceIncrement(source)), {});
}

void ShowProfileFailure(const std::exception& error) {
  QString message = QString::fromUtf8(error.what());
  if (message.endsWith(QLatin1Char('.'))) message.chop(1);
  Prompts().Error(message);
}
