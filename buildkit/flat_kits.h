#pragma once

#include <array>
#include <optional>
#include <type_traits>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "buildkit/kit_drawing.h"
#include "buildkit/panels.h"
#include "buildkit/rings.h"
#include "buildkit/sectors.h"
#include "buildkit/solid_kit.h"
#include "buildkit/staves.h"

// Every kit cut from flat stock. Each kit's header gives its struct, with its
// unit (kUnit), the file extensions it is saved as (kFiles), what a piece's x
// and y are (kAxes) and how it is made from its values (Make), and its Draw
// and Summary functions; one with a cutting list also gives Csv. A kind added
// here without them fails to compile.
namespace vortalis::buildkit {

using FlatKit = std::variant<RingsKit, SectorsKit, StavesKit, PanelsKit>;

template <typename... Kits>
constexpr std::array<const KitUnit*, sizeof...(Kits) + 1> UnitsOf(
    std::type_identity<std::variant<Kits...>>) {
  return {&Kits::kUnit..., &SolidKit::kUnit};
}
// Every kind of kit the tool and the dialog offer, the solids last: each flat
// kit's kUnit gives its option, help and parameters.
inline constexpr auto kKitUnits = UnitsOf(std::type_identity<FlatKit>{});

// A kit as the tool writes it and the dialog shows it: cut from flat stock,
// or the solids.
using AnyKit = std::variant<FlatKit, HornSolids>;

template <typename... Kits>
AnyKit MakeKitOf(std::type_identity<std::variant<Kits...>>, const KitUnit& unit,
                 const KitInput& input, const KitValues& values) {
  std::optional<AnyKit> made;
  const auto make = [&]<typename Kit>(std::type_identity<Kit>) {
    if (&Kit::kUnit != &unit) return false;
    made.emplace(FlatKit(Kit::Make(input, values)));
    return true;
  };
  if ((make(std::type_identity<Kits>{}) || ...)) return *made;
  return SolidKit::Make(input, values);
}
// The kit of one of kKitUnits from its values. Throws KitError for values
// that give no kit, report::ProfileError for a mouth limit the profile refuses.
inline AnyKit MakeKit(const KitUnit& unit, const KitInput& input, const KitValues& values) {
  return MakeKitOf(std::type_identity<FlatKit>{}, unit, input, values);
}

// The extensions a kind of kit is saved as, in the order the dialog offers
// them; none for the solids.
template <typename... Kits>
constexpr std::span<const std::string_view> FilesOf(std::type_identity<std::variant<Kits...>>,
                                                    const KitUnit& unit) {
  std::span<const std::string_view> files;
  ((&Kits::kUnit == &unit ? (files = Kits::kFiles, true) : false) || ...);
  return files;
}
inline std::span<const std::string_view> KitFileExtensions(const KitUnit& unit) {
  return FilesOf(std::type_identity<FlatKit>{}, unit);
}

inline KitDrawing DrawKit(const FlatKit& kit) {
  return std::visit([](const auto& each) { return Draw(each); }, kit);
}

// One line about the kit for a window, numbers in `separators`.
inline std::string KitSummary(const FlatKit& kit, const geometry::Separators& separators) {
  return std::visit([&separators](const auto& each) { return Summary(each, separators); }, kit);
}

// The extensions the kit is saved as, lower case, in the order the dialog offers them.
inline std::span<const std::string_view> KitFileExtensions(const FlatKit& kit) {
  return std::visit(
      [](const auto& each) -> std::span<const std::string_view> { return each.kFiles; }, kit);
}

// The cutting list as CSV text, for a kit that has one.
inline std::optional<std::string> KitCsv(const FlatKit& kit) {
  return std::visit(
      [](const auto& each) -> std::optional<std::string> {
        if constexpr (requires { Csv(each); })
          return Csv(each);
        else
          return std::nullopt;
      },
      kit);
}

// What a builder must look at before cutting, one sentence each, for a kit that says any.
inline std::vector<std::string> KitWarnings(const FlatKit& kit) {
  return std::visit(
      [](const auto& each) -> std::vector<std::string> {
        if constexpr (requires { Warnings(each); })
          return Warnings(each);
        else
          return {};
      },
      kit);
}

}  // namespace vortalis::buildkit
