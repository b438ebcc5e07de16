#pragma once

#include <string>
#include <string_view>

#include "geometry/number_text.h"
#include "geometry/units.h"
#include "report/number_format.h"

// One table row, built in a buffer that is reused from row to row: a table can
// have millions of rows, and each row should cost no allocation.
namespace vortalis::report {

// The separator after the area column: one TAB for large areas, else two.
std::string_view AreaSeparator(long double area, geometry::LengthUnit unit);

inline constexpr std::string_view kColumnSeparator = "\t\t";

class TableRow {
 public:
  TableRow(const geometry::Separators& separators, geometry::LengthUnit unit);

  // Starts a new row; the text of the previous one is discarded.
  void Clear() { text_.clear(); }
  // A column before the area column, followed by two TABs.
  void AddColumn(long double value, NumberFormat format);
  // The area column, followed by the separator that the area value calls for.
  void AddArea(long double area, NumberFormat format);
  // The column after the area; a row may also end without one.
  void AddLast(long double value, NumberFormat format);

  std::string_view Text() const { return text_; }

 private:
  void AddNumber(long double value, NumberFormat format);

  const geometry::Separators& separators_;
  geometry::LengthUnit unit_;
  std::string text_;
};

}  // namespace vortalis::report
