#include "buildkit/solid_kit.h"

#include <cstdio>
#include <string>
#include <variant>

#include "buildkit/rect_solid.h"

namespace vortalis::buildkit {

Flange CheckedFlange(long double outerDiameter, long double thickness, long double boltCircle,
                     long double boltCount, long double holeDiameter) {
  Flange flange{Checked(kFlangeDiameter, outerDiameter), Checked(kFlangeThickness, thickness),
                0.0L, static_cast<int>(Checked(kBoltCount, boltCount)), 0.0L};
  if (flange.boltCount > 0) {
    flange.boltCircle = Checked(kBoltCircle, boltCircle);
    flange.holeDiameter = Checked(kHoleDiameter, holeDiameter);
  }
  return flange;
}

namespace {

// The flange of the group's values in kFlangeParameters' order, 0 for those left out.
Flange FlangeOf(std::span<const long double> values) {
  const auto at = [&values](std::size_t i) { return i < values.size() ? values[i] : 0.0L; };
  return CheckedFlange(at(0), at(1), at(2), at(3), at(4));
}

std::string Millimetres(long double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1Lf", value);
  return text;
}

}  // namespace

std::string PrintAdvice(const PiecePrint& print) {
  std::string advice = print.mouthDown ? "mouth down" : "throat down (the flange on the bed)";
  advice += ", " + Millimetres(print.width) + " x " + Millimetres(print.depth) + " mm on the bed";
  advice += print.fits ? "; " : " (wider than the bed and not split: cut the horn shorter); ";
  if (print.overhangTo > print.overhangFrom)
    return advice + "from " + Millimetres(print.overhangFrom) + " to " +
           Millimetres(print.overhangTo) +
           " mm above the bed the wall leans more than 45 degrees: print with supports there";
  return advice + "no face leans more than 45 degrees";
}

std::string JointAdvice(Joint joint) {
  if (joint == Joint::Flat) return "The pieces butt together (no spigots).";
  return "Each piece's throat side has a spigot " + Millimetres(kSpigotDepthMm) +
         " mm deep (the middle third of the wall) for the socket in the piece before it, " +
         Millimetres(kJointClearanceMm) + " mm wider on either side and deeper; petals meet "
         "alike by a tongue and a groove.";
}


void CheckFlange(std::span<const long double> values) { FlangeOf(values); }

HornSolids SolidKit::Make(const KitInput& input, const KitValues& values) {
  SolidOptions options;
  options.wall = values.Value(kSolidWall);
  options.segmentHeight = values.Value(kSegmentHeight);
  if (!values.group.empty()) options.flange = FlangeOf(values.group);
  const bool circular = std::holds_alternative<report::CircularReportInput>(input.horn);
  options.joint = circular ? Joint::Spigot : Joint::Flat;
  for (const auto& [word, joint] : kJoints)
    if (word == values.choice) options.joint = joint;
  options.bedWidthMm = values.Given(kBedWidth).value_or(kBedWidth.initial({}));
  options.bedDepthMm = values.Given(kBedDepth).value_or(kBedDepth.initial({}));
  options.whole = input.wholeSolid;
  options.progress = input.progress;
  return BuildSolids(input.horn, input.limit, input.separators, options);
}

const SolidOptions& Checked(const SolidOptions& options) {
  Checked(kSolidWall, options.wall);
  Checked(kSegmentHeight, options.segmentHeight);
  // 0: not split to a bed.
  if (options.bedWidthMm != 0.0L || options.bedDepthMm != 0.0L) {
    Checked(kBedWidth, options.bedWidthMm);
    Checked(kBedDepth, options.bedDepthMm);
  }
  if (const auto& f = options.flange)
    CheckedFlange(f->outerDiameter, f->thickness, f->boltCircle, f->boltCount, f->holeDiameter);
  return options;
}

HornSolids BuildSolids(const report::HornInput& input, const report::MouthLimit& limit,
                       const geometry::Separators& separators, const SolidOptions& options) {
  const auto* rectangular = std::get_if<report::RectangularReportInput>(&input);
  HornSolids solids =
      rectangular ? RectangularHornSolids(*rectangular, limit, separators, options)
                  : CircularHornSolids(std::get<report::CircularReportInput>(input), limit,
                                       separators, options);
  solids.joint = options.joint;
  return solids;
}

}  // namespace vortalis::buildkit
