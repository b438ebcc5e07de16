#pragma once

#include <array>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "buildkit/horn_solid.h"
#include "buildkit/kit_parameters.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// The horn's wall as solids for 3D printing: its values, their one check and
// the solids of either kind of horn.
namespace vortalis::buildkit {

inline constexpr KitParameter kSolidWall{
    "wall", false, 0.0L, false, kMaxKitThickness, "--wall", "W", "the wall thickness of --stl", "",
    "&Wall thickness:", "Wall", [](const KitStart& start) { return InUnit(start.unit, 3.0L); }};
inline constexpr KitParameter kSegmentHeight{
    "segment height", false, 0.0L, true, kMaxKitSpan, "--segment-height", "H",
    "cut the --stl solid into pieces no taller than H", "one piece",
    "&Printer height (0: one piece):", "PrinterHeight",
    [](const KitStart& start) { return InUnit(start.unit, 200.0L, 1); }};

// The dialog's flange stands 25 mm out of the wall, its bolts in the middle of it.
inline constexpr KitParameter kFlangeDiameter{
    "flange's outer diameter", false, 0.0L, false, kMaxKitSpan, "", "", "", "",
    "Flange &outer diameter:", "FlangeDiameter", [](const KitStart& start) {
      return std::ceil(start.throatDiameter + 2.0L * kSolidWall.initial(start) +
                       InUnit(start.unit, 50.0L, 3));
    }};
inline constexpr KitParameter kFlangeThickness{
    "flange thickness", false, 0.0L, false, kMaxKitThickness, "", "", "", "",
    "Flange thic&kness:", "FlangeThickness",
    [](const KitStart& start) { return InUnit(start.unit, 6.0L); }};
inline constexpr KitParameter kBoltCircle{
    "bolt circle", false, 0.0L, false, kMaxKitSpan, "", "", "", "",
    "Bolt &circle diameter:", "BoltCircle", [](const KitStart& start) {
      return start.throatDiameter + 2.0L * kSolidWall.initial(start) +
             InUnit(start.unit, 25.0L, 3);
    }};
inline constexpr KitParameter kBoltCount{
    "number of bolt holes", true, 0.0L, true, 360.0L, "", "", "", "",
    "Bolt hole &count:", "BoltCount", [](const KitStart&) { return 4.0L; }};
inline constexpr KitParameter kHoleDiameter{
    "hole diameter", false, 0.0L, false, kMaxKitThickness, "", "", "", "",
    "Hole d&iameter:", "HoleDiameter",
    [](const KitStart& start) { return InUnit(start.unit, 5.5L); }};
// Throws KitError for a flange's values that CheckedFlange refuses.
void CheckFlange(std::span<const long double> values);

inline constexpr std::array<const KitParameter*, 5> kFlangeParameters{
    &kFlangeDiameter, &kFlangeThickness, &kBoltCircle, &kBoltCount, &kHoleDiameter};
inline constexpr KitParameterGroup kFlangeGroup{
    "--flange", "OD,THICKNESS[,BOLT_CIRCLE,COUNT,HOLE]",
    "a throat flange on the --stl solid, with COUNT holes of\n"
    "diameter HOLE on a circle of diameter BOLT_CIRCLE; with\n"
    "--decimal-separator , the values are separated by ';'",
    "none", "vortalis-report circular --stl horn.stl --wall 3 --flange 80,6,65,4,5.5",
    "Throat &flange", "Flange", true, kFlangeParameters, 2, CheckFlange};

// The printer's bed, in millimetres whatever the horn's unit: the tool reads
// both from --bed W,D (with --decimal-separator , as W;D).
inline constexpr KitParameter kBedWidth{
    "bed width", false, 0.0L, false, kMaxKitSpan, "--bed", "W,D",
    "the printer's bed in millimetres: an --stl piece wider\n"
    "than it is split around the axis into equal petals that\n"
    "fit it (horn-3-1.stl, horn-3-2.stl, ...); with\n"
    "--decimal-separator , the values are separated by ';'",
    "220,220", "Bed &width (mm):", "BedWidth", [](const KitStart&) { return 220.0L; }};
inline constexpr KitParameter kBedDepth{
    "bed depth", false, 0.0L, false, kMaxKitSpan, "--bed", "", "", "220",
    "Bed &depth (mm):", "BedDepth", [](const KitStart&) { return 220.0L; }};

inline constexpr std::array<const KitParameter*, 4> kSolidParameters{
    &kSolidWall, &kSegmentHeight, &kBedWidth, &kBedDepth};

inline constexpr std::array<std::pair<std::string_view, Joint>, 2> kJoints{{
    {"spigot", Joint::Spigot},
    {"flat", Joint::Flat},
}};
inline constexpr std::array<std::string_view, 2> kJointWords{kJoints[0].first, kJoints[1].first};
inline constexpr KitChoice kJointChoice{
    "--joint",
    "how the --stl pieces meet: spigot (a spigot 5 mm deep, the\n"
    "middle third of the wall, on each piece's throat side and a\n"
    "socket 0.2 mm wider on either side and 0.2 mm deeper in\n"
    "the piece before it; also on the cut faces of petals) or\n"
    "flat (butted); a rectangular horn's pieces are butted",
    "spigot for a circular horn, flat for a rectangular one", kJointWords, "&Joint:", "Joint",
    [](const KitStart& start) {
      return start.throatDiameter > 0.0L ? kJointWords[0] : kJointWords[1];
    }};
inline constexpr KitUnit kSolidUnit{
    "--stl", "FILE", false,
    "the horn's wall as a solid for 3D printing, binary STL in\n"
    "millimetres; with --segment-height, FILE horn.stl gives\n"
    "horn-1.stl, horn-2.stl, ... from the throat; needs --wall",
    "vortalis-report circular --stl horn.stl --wall 3 --segment-height 200", kSolidParameters,
    &kFlangeGroup, &kJointChoice, "ST&L for 3D printing", "Stl", "horn"};

// How a piece is printed, for the tool's list: "mouth down, 367.0 x 367.0 mm
// on the bed; from 0.0 to 31.5 mm above the bed the wall leans more than 45
// degrees: print with supports there".
std::string PrintAdvice(const PiecePrint& print);
// What the joints are, for the same list.
std::string JointAdvice(Joint joint);


// The flange of the group's values in kFlangeParameters' order (the bolt
// circle, count and hole 0 when only the first two are given), each checked;
// without holes the circle and the hole are not used.
Flange CheckedFlange(long double outerDiameter, long double thickness, long double boltCircle,
                     long double boltCount, long double holeDiameter);

// `options` when every value lies within its limits; otherwise throws
// KitError with the parameter's sentence.
const SolidOptions& Checked(const SolidOptions& options);

// The solids of either kind of horn (a rectangular one without a flange).
HornSolids BuildSolids(const report::HornInput& input, const report::MouthLimit& limit,
                       const geometry::Separators& separators, const SolidOptions& options);

// The solids of kSolidUnit's values: one piece when no segment height is given.
struct SolidKit {
  static constexpr const KitUnit& kUnit = kSolidUnit;
  static HornSolids Make(const KitInput& input, const KitValues& values);
};

}  // namespace vortalis::buildkit
