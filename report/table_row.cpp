#include "report/table_row.h"

#include "report/radius_solver.h"

namespace vortalis::report {

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
