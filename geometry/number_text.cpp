#include "geometry/number_text.h"

namespace vortalis::geometry {

std::optional<long double> ParseNumber(std::string_view, const Separators&) { return std::nullopt; }
std::string FixedText(long double, int, int, const Separators&) { return {}; }
std::string GroupedInteger(unsigned long long, const Separators&) { return {}; }

}  // namespace vortalis::geometry
