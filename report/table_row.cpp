#include "report/table_row.h"

namespace vortalis::report {

std::string_view AreaSeparator(long double area, geometry::LengthUnit unit) {
  const long double threshold = unit == geometry::LengthUnit::Millimetre ? 1000000.0L : 10000.0L;
  return area >= threshold ? std::string_view("\t") : std::string_view("\t\t");
}

TableRow::TableRow(const geometry::Separators& separators, geometry::LengthUnit unit)
    : separators_(separators), unit_(unit) {
  text_.reserve(128);
}

void TableRow::AddNumber(long double value, NumberFormat format) {
  geometry::AppendFixedText(text_, value, format.precision, format.decimals, separators_);
}

void TableRow::AddColumn(long double value, NumberFormat format) {
  AddNumber(value, format);
  text_ += kColumnSeparator;
}

void TableRow::AddArea(long double area, NumberFormat format) {
  AddNumber(area, format);
  text_ += AreaSeparator(area, unit_);
}

void TableRow::AddLast(long double value, NumberFormat format) { AddNumber(value, format); }

}  // namespace vortalis::report
