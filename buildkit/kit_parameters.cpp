#include "buildkit/kit_parameters.h"

#include <cmath>
#include <string>

#include "buildkit/kit_horn.h"

namespace vortalis::buildkit {

namespace {

std::string Whole(long double value) { return std::to_string(static_cast<long long>(value)); }

}  // namespace

long double Checked(const KitParameter& parameter, long double value) {
  const bool above = parameter.lowIncluded ? value >= parameter.low : value > parameter.low;
  const bool whole = !parameter.count || value == std::floor(value);
  if (above && value <= parameter.high && std::isfinite(value) && whole) return value;
  const std::string subject = "The " + std::string(parameter.name) + " must be ";
  if (parameter.count)
    throw KitError(subject + "a whole number from " + Whole(parameter.low) + " to " +
                   Whole(parameter.high) + ".");
  throw KitError(subject + "a number " +
                 (parameter.lowIncluded ? "of at least " : "greater than ") +
                 Whole(parameter.low) +
                 (std::isfinite(parameter.high) ? " and at most " + Whole(parameter.high) : "") +
                 ".");
}

long double Checked(const KitParameter& parameter, std::string_view text,
                    const geometry::Separators& separators) {
  const auto value = geometry::ParseNumber(text, separators);
  return Checked(parameter, value ? *value : std::nanl(""));
}

std::string_view OptionOf(const KitUnit& unit, const KitParameter& parameter) {
  return parameter.option.empty() ? unit.option : parameter.option;
}

std::vector<const KitParameter*> ParametersOf(const KitUnit& unit, std::string_view option) {
  std::vector<const KitParameter*> parameters;
  for (const KitParameter* parameter : unit.parameters)
    if (OptionOf(unit, *parameter) == option) parameters.push_back(parameter);
  return parameters;
}

char ListSeparator(const geometry::Separators& separators) {
  return separators.decimal == "," ? ';' : ',';
}

std::vector<long double> CheckedList(std::span<const KitParameter* const> parameters,
                                     std::string_view text, const geometry::Separators& separators) {
  const char between = ListSeparator(separators);
  std::vector<std::string_view> texts;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find(between, from);
    texts.push_back(text.substr(from, at == std::string_view::npos ? text.npos : at - from));
    if (at == std::string_view::npos) break;
    from = at + 1;
  }
  if (texts.size() != parameters.size()) {
    std::string names, form;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      names += (i == 0 ? "" : i + 1 == parameters.size() ? " and " : ", ") +
               std::string(parameters[i]->name);
    }
    form = std::string(parameters.front()->valueName);
    for (char& c : form)
      if (c == ',') c = between;
    throw KitError("The " + names + " must be given together as " + form + ".");
  }
  std::vector<long double> values;
  for (std::size_t i = 0; i < texts.size(); ++i)
    values.push_back(Checked(*parameters[i], texts[i], separators));
  return values;
}

std::optional<long double> KitValues::Given(const KitParameter& parameter) const {
  for (const auto& [which, value] : given)
    if (which == &parameter) return value;
  return std::nullopt;
}

const report::CircularReportInput& CircularOnly(const KitInput& input, std::string_view kits) {
  const auto* circular = std::get_if<report::CircularReportInput>(&input.horn);
  if (circular == nullptr)
    throw KitError(std::string(kits) + " are made for circular horns only.");
  return *circular;
}

long double InUnit(geometry::LengthUnit unit, long double mm, int decimals) {
  if (unit == geometry::LengthUnit::Millimetre) return mm;
  const long double scale = std::pow(10.0L, decimals);
  return std::round(mm / 25.4L * scale) / scale;
}

}  // namespace vortalis::buildkit
