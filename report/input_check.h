#pragma once

#include <optional>
#include <string>

#include "geometry/number_text.h"
#include "report/report_input.h"

// The settings dialogs' validation rules, kept window-free so that the dialogs
// and the command-line tool refuse the same input with the same words.
namespace vortalis::report {

// The field that receives the focus after a message; None leaves the focus alone.
enum class InputField { None, Freq, Throat, Side1, Side2, MouthS1 };

struct InputProblem {
  std::string message;  // UTF-8
  InputField field;
};

// The first problem in the order the dialog checks, or nothing when the input may be computed.
std::optional<InputProblem> FindCircularInputProblem(const CircularReportInput& input,
                                                     const geometry::Separators& separators);
std::optional<InputProblem> FindRectangularInputProblem(const RectangularReportInput& input,
                                                        const geometry::Separators& separators);

std::optional<InputProblem> FindInputProblem(const HornInput& input,
                                             const geometry::Separators& separators);

// The quick test's result texts, as the dialogs' result labels show them
// ("466.518 mm"). Only for input that the validation accepted.
struct CircularQuickResult {
  std::string length;
  std::string mouth;
};
struct RectangularQuickResult {
  std::string length;
  std::string side1;
  std::string side2;
};
CircularQuickResult CircularQuickTest(const CircularReportInput& input,
                                      const geometry::Separators& separators);
RectangularQuickResult RectangularQuickTest(const RectangularReportInput& input,
                                            const geometry::Separators& separators);

}  // namespace vortalis::report
