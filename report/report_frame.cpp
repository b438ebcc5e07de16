#include "report/report_frame.h"

namespace vortalis::report {

namespace {
constexpr std::size_t kNoteLineIndex = 2;
}

void AppendTitle(ReportEnvironment& env) {
  env.document.AppendLine("Tractrix horn calculation.");
  const CreationStampPieces stamp = env.stamp.CreationStamp();
  env.document.AppendLine("Created " + stamp.date + " at " + stamp.time +
                          " with Vortalis from Kestrowan.");
  env.document.AppendLine("");
}

std::string MinimumLengthLine(std::string_view label, std::string_view number,
                              geometry::LengthUnit unit) {
  std::string line(label);
  line += number;
  line += ' ';
  line += geometry::UnitName(unit);
  line += ".   (One quarter of the cut off frequency wavelength.)";
  return line;
}

void AppendLengthWarning(ReportLineSink& document) {
  document.AppendLine("");
  document.AppendLine("Note!!! The fc value of this horn is not correct, the length is too short.");
  document.AppendLine("Read the documentation for more information!");
}

void FinishReport(ReportEnvironment& env) {
  env.document.ReplaceLine(kNoteLineIndex, env.progress.AbortRequested() ? kAbortNote : "");
  env.progress.Hide();
}

void GenerateReport(const HornInput& input, ReportEnvironment& env) {
  if (const auto* circular = std::get_if<CircularReportInput>(&input)) {
    GenerateCircularReport(*circular, env);
    return;
  }
  GenerateRectangularReport(std::get<RectangularReportInput>(input), env);
}

}  // namespace vortalis::report
