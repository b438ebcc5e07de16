#include "report_window/report_profile.h"

#include <QString>

#include "report/drawing_grid.h"
#include "report/horn_model.h"
#include "ui/prompt.h"

namespace vortalis::report_window {

using namespace ui;

namespace report = vortalis::report;

bool HasHorn(const ReportSource& source) { return source.horn.has_value(); }

vortalis::geometry::LengthUnit SourceUnit(const ReportSource& source) {
  return source.horn ? report::UnitOf(*source.horn) : vortalis::geometry::LengthUnit::Millimetre;
}

vortalis::geometry::SizeMode SourceSizeMode(const ReportSource& source) {
  return source.horn ? report::SizeModeOf(*source.horn) : vortalis::geometry::SizeMode::Radius;
}

long double SourceIncrement(const ReportSource& source) {
  const auto increment =
      source.horn ? report::IncrementOf(*source.horn) : vortalis::geometry::TableIncrement::T1;
  return IncrementValue(increment, SourceUnit(source));
}

report::HornProfile MakeSourceProfile(const ReportSource& source, long double step,
                                      const report::MouthLimit& limit) {
  if (!source.horn) throw report::ProfileError("This report has no horn to draw");
  return report::MakeProfile(*source.horn, step, limit, source.separators);
}

QString MouthSizeCaption(const ReportSource& source) {
  if (source.horn && report::IsRectangular(*source.horn))
    return QStringLiteral("Cut where side &1A - 1B reaches");
  return SourceSizeMode(source) == vortalis::geometry::SizeMode::Diameter
             ? QStringLiteral("Cut where the &diameter reaches")
             : QStringLiteral("Cut where the &radius reaches");
}

report::MouthLimit SourceMouthLimit(const ReportSource& source, MouthCut cut, long double value) {
  using report::MouthLimitKind;
  if (cut == MouthCut::WholeHorn) return {};
  if (cut == MouthCut::Length) return {MouthLimitKind::Length, value};
  if (source.horn && report::IsRectangular(*source.horn)) return {MouthLimitKind::Side1, value};
  // A report in diameters is cut at the diameter it shows.
  return {SourceSizeMode(source) == vortalis::geometry::SizeMode::Diameter
              ? MouthLimitKind::Diameter
              : MouthLimitKind::Radius,
          value};
}

report::HornProfile MakeDrawingProfile(const ReportSource& source) {
  const long double length =
      source.horn ? report::HornLength(*source.horn, source.separators) : 0.0L;
  return MakeSourceProfile(source, report::DrawingStep(length, SourceIncrement(source)), {});
}

void ShowProfileFailure(const std::exception& error) {
  QString message = QString::fromUtf8(error.what());
  if (message.endsWith(QLatin1Char('.'))) message.chop(1);
  Prompts().Error(message);
}

}  // namespace vortalis::report_window
