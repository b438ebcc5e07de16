#pragma once

#include <string>
#include <variant>

#include "geometry/units.h"

// What a generator reads from its settings dialog when it starts: the control
// states and the field texts exactly as typed.
namespace vortalis::report {

struct CircularReportInput {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  geometry::SizeMode size = geometry::SizeMode::Radius;
  geometry::TableIncrement increment = geometry::TableIncrement::T1;
  std::string frequencyText = "300";  // Freq
  std::string throatText = "10";      // Throat

  bool operator==(const CircularReportInput&) const = default;
};

struct RectangularReportInput {
  geometry::LengthUnit unit = geometry::LengthUnit::Millimetre;
  geometry::TableIncrement increment = geometry::TableIncrement::T10;
  geometry::MouthLocation location = geometry::MouthLocation::FreeAir;
  bool flatSides = false;             // OneSide
  std::string frequencyText = "32";   // Freq
  std::string side1Text = "40";       // Side1
  std::string side2Text = "50";       // Side2
  std::string mouthText = "3000";     // MouthS1: mouth distance between the flat sides 1A and 1B

  bool operator==(const RectangularReportInput&) const = default;
};

// Either dialog's input: what a report, a drawing or a quick test is made from.
using HornInput = std::variant<CircularReportInput, RectangularReportInput>;

inline bool IsRectangular(const HornInput& input) {
  return std::holds_alternative<RectangularReportInput>(input);
}

inline geometry::LengthUnit UnitOf(const HornInput& input) {
  return std::visit([](const auto& record) { return record.unit; }, input);
}

inline geometry::TableIncrement IncrementOf(const HornInput& input) {
  return std::visit([](const auto& record) { return record.increment; }, input);
}

// The radius or diameter mode of the size column; rectangular horns have none.
inline geometry::SizeMode SizeModeOf(const HornInput& input) {
  const auto* circular = std::get_if<CircularReportInput>(&input);
  return circular ? circular->size : geometry::SizeMode::Radius;
}

}  // namespace vortalis::report
