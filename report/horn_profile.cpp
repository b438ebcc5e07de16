#include "report/horn_profile.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "geometry/tractrix.h"
#include "geometry/units.h"
#include "report/drawing_grid.h"
#include "report/horn_model.h"
#include "report/radius_solver.h"
#include "report/station_section.h"

namespace vortalis::report {

namespace {

// Where the drawing ends, and the full tractrix's radius there when the limit fixes it.
struct ProfileEnd {
  long double distance;
  std::optional<long double> radius;
  bool wholeHorn;
};

// A profile without points yet, for a horn of cut-off fc and length L.
HornProfile NewProfile(long double step, const MouthLimit& limit, geometry::LengthUnit unit,
                       const std::string& fcText, long double fc, long double length) {
  if (!(step > 0.0L) || !std::isfinite(step))
    throw ProfileError("The step must be a number greater than 0.");
  HornProfile profile;
  profile.unit = unit;
  profile.frequency = fc;
  const std::size_t first = fcText.find_first_not_of(' ');
  if (first != std::string::npos)
    profile.frequencyText = fcText.substr(first, fcText.find_last_not_of(' ') + 1 - first);
  profile.length = length;
  profile.quarterWavelength = QuarterWavelengthIn(fc, unit);
  profile.step = step;
  profile.limit = limit;
  return profile;
}

// Steps of a length as the user reads it: tenths of a millimetre, hundredths of an inch.
long double ShownPerUnit(geometry::LengthUnit unit) {
  return unit == geometry::LengthUnit::Inch ? 100.0L : 10.0L;
}

// A limit beyond the horn's own mouth is refused with the mouth's value, as
// the user reads it (0.1 mm, 0.01 inch); a limit up to that value rounded
// is the whole horn.
void RefuseBeyondMouth(long double value, long double mouth, const char* what,
                       geometry::LengthUnit unit, const geometry::Separators& separators) {
  const long double shown = ShownPerUnit(unit);
  const long double rounded = std::round(mouth * shown) / shown;
  if (!(value > rounded + 0.5L / shown)) return;
  throw ProfileError("The mouth limit lies beyond the horn: its " + std::string(what) + " is " +
                     ShortNumberText(rounded, separators) + " " + geometry::UnitName(unit) + ".");
}

// A length limit applies to both kinds of horn.
ProfileEnd LengthEnd(long double value, long double length, geometry::LengthUnit unit,
                     const geometry::Separators& separators) {
  if (!(value > 0.0L)) throw ProfileError("The mouth limit length must be greater than 0.");
  // A horn shorter than the shown step has no stations and no volume to draw or print.
  if (value < 1.0L / ShownPerUnit(unit))
    throw ProfileError("The mouth limit length must be at least " +
                       ShortNumberText(1.0L / ShownPerUnit(unit), separators) + " " +
                       geometry::UnitName(unit) + ".");
  RefuseBeyondMouth(value, length, "length", unit, separators);
  if (value < length) return {value, std::nullopt, false};
  return {length, std::nullopt, true};
}

// An end given by the full tractrix's radius there, which lies beyond the throat.
ProfileEnd RadiusEnd(long double a, long double length, long double radius) {
  const long double distance = length - TractrixDistance(a, radius);
  if (!(distance > 0.0L)) throw ProfileError("The mouth limit lies at the throat.");
  return {distance, radius, false};
}

// Calls station(i, distance) for the points between the throat and the end.
template <typename Station>
void WalkProfile(long double step, long double end, Station&& station) {
  if (end / step > static_cast<long double>(kMaxProfilePoints - 2)) {
    throw ProfileError(
        "The step is too small for this horn: the drawing would have more than 1,000,000 "
        "points.");
  }
  for (long long i = 1;; ++i) {
    // A product each time, as the report's stations are computed.
    const long double distance = static_cast<long double>(i) * step;
    if (!(distance < end)) break;
    station(static_cast<long double>(i), distance);
  }
}

}  // namespace

HornProfile MakeCircularProfile(const CircularReportInput& input, long double step,
                                const MouthLimit& limit, const geometry::Separators& separators) {
  const CircularHorn horn = MakeCircularHorn(input, separators);
  const long double a = horn.mouthRadius;
  const long double length = horn.length;
  HornProfile profile = NewProfile(step, limit, input.unit, input.frequencyText, horn.frequency, length);
  profile.size = input.size;
  profile.mouthRadius = a;

  ProfileEnd end{length, std::nullopt, true};
  switch (limit.kind) {
    case MouthLimitKind::None:
      break;
    case MouthLimitKind::Length:
      end = LengthEnd(limit.value, length, input.unit, separators);
      break;
    case MouthLimitKind::Radius:
    case MouthLimitKind::Diameter: {
      const bool diameter = limit.kind == MouthLimitKind::Diameter;
      const long double radius = diameter ? limit.value / 2.0L : limit.value;
      if (!(radius > horn.throatRadius)) {
        throw ProfileError(diameter
                               ? "The mouth limit diameter must be larger than the throat diameter."
                               : "The mouth limit radius must be larger than the throat radius.");
      }
      RefuseBeyondMouth(limit.value, diameter ? 2.0L * a : a,
                        diameter ? "mouth diameter" : "mouth radius", input.unit, separators);
      if (radius < a) end = RadiusEnd(a, length, radius);
      break;
    }
    case MouthLimitKind::Side1:
      throw ProfileError("A circular horn is cut short at a radius, a diameter or a length.");
  }

  const auto addPoint = [&profile, a](long double distance, long double r) {
    const CircularSection section = CircularSectionAt(a, r);
    profile.points.push_back({distance, r, r, r, section.area, 0.0L, section.flareAngle});
  };
  addPoint(0.0L, horn.throatRadius);
  long double r = horn.throatRadius;
  WalkProfile(step, end.distance, [&](long double, long double distance) {
    r = StationRadius(a, length, distance, r, input.unit);
    addPoint(distance, r);
  });
  if (end.wholeHorn)
    addPoint(length, a);
  else
    addPoint(end.distance,
             end.radius ? *end.radius : StationRadius(a, length, end.distance, r, input.unit));
  return profile;
}

HornProfile MakeRectangularProfile(const RectangularReportInput& input, long double step,
                                   const MouthLimit& limit,
                                   const geometry::Separators& separators) {
  const RectangularHorn horn = MakeRectangularHorn(input, separators);
  const long double a = horn.mouthRadius;
  const long double length = horn.length;
  HornProfile profile = NewProfile(step, limit, input.unit, input.frequencyText, horn.frequency, length);
  profile.rectangular = true;
  profile.flatSides = horn.flatSides;
  profile.mouthRadius = a;
  profile.rectangle = horn;

  ProfileEnd end{length, std::nullopt, true};
  switch (limit.kind) {
    case MouthLimitKind::None:
      break;
    case MouthLimitKind::Length:
      end = LengthEnd(limit.value, length, input.unit, separators);
      break;
    case MouthLimitKind::Side1:
      if (!(limit.value > horn.side1))
        throw ProfileError("The mouth limit side 1A - 1B must be larger than at the throat.");
      RefuseBeyondMouth(limit.value, horn.mouth.side1, "mouth side 1A - 1B", input.unit,
                        separators);
      if (limit.value >= horn.mouth.side1) break;
      if (horn.flatSides) {
        end = {FlatSide1Distance(horn, limit.value), std::nullopt, false};
      } else {
        // The full horn's radius where the side ratio of the throat gives this side 1.
        const long double side2 = limit.value * horn.side2 / horn.side1;
        end = RadiusEnd(a, length,
                        geometry::EquivalentThroatRadius(limit.value, side2, horn.locationFactor));
      }
      break;
    case MouthLimitKind::Radius:
    case MouthLimitKind::Diameter:
      throw ProfileError("A rectangular horn is cut short at side 1A - 1B or a length.");
  }

  const auto addPoint = [&profile](long double distance, long double radius,
                                   const RectangularSection& section) {
    profile.points.push_back({distance, radius, section.sides.side1, section.sides.side2,
                              section.area, section.flatSideDistance, 0.0L});
  };
  addPoint(0.0L, horn.throatRadius, RectangularThroat(horn));
  long double radius = horn.throatRadius;
  WalkProfile(step, end.distance, [&](long double station, long double distance) {
    radius = StationRadius(a, length, distance, radius, input.unit);
    addPoint(distance, radius, RectangularSectionAt(horn, radius, station, step, distance));
  });
  if (end.wholeHorn) {
    addPoint(length, a, RectangularMouth(horn));
  } else {
    // Off the station grid: the flat side's offset is taken for the end distance itself.
    const long double endRadius =
        end.radius ? *end.radius : StationRadius(a, length, end.distance, radius, input.unit);
    addPoint(end.distance, endRadius,
             RectangularSectionAt(horn, endRadius, 1.0L, end.distance, end.distance));
  }
  return profile;
}

HornProfile MakeProfile(const HornInput& input, long double step, const MouthLimit& limit,
                        const geometry::Separators& separators) {
  if (const auto* circular = std::get_if<CircularReportInput>(&input))
    return MakeCircularProfile(*circular, step, limit, separators);
  return MakeRectangularProfile(std::get<RectangularReportInput>(input), step, limit, separators);
}

ProfilePoint ProfilePointAt(const HornInput& input, long double distance,
                            const geometry::Separators& separators) {
  if (const auto* circular = std::get_if<CircularReportInput>(&input)) {
    const CircularHorn horn = MakeCircularHorn(*circular, separators);
    long double r = horn.throatRadius;
    if (distance >= horn.length)
      r = horn.mouthRadius;
    else if (distance > 0.0L)
      r = StationRadius(horn.mouthRadius, horn.length, distance, r, circular->unit);
    const CircularSection section = CircularSectionAt(horn.mouthRadius, r);
    return {distance, r, r, r, section.area, 0.0L, section.flareAngle};
  }
  const auto& rectangular = std::get<RectangularReportInput>(input);
  const RectangularHorn horn = MakeRectangularHorn(rectangular, separators);
  long double radius = horn.throatRadius;
  RectangularSection section = RectangularThroat(horn);
  if (distance >= horn.length) {
    radius = horn.mouthRadius;
    section = RectangularMouth(horn);
  } else if (distance > 0.0L) {
    radius = StationRadius(horn.mouthRadius, horn.length, distance, radius, rectangular.unit);
    section = RectangularSectionAt(horn, radius, 1.0L, distance, distance);
  }
  return {distance, radius, section.sides.side1, section.sides.side2, section.area,
          section.flatSideDistance, 0.0L};
}

ProfilePoint ProfilePointAt(const HornInput& input, const HornProfile& stations,
                            long double distance, const geometry::Separators& separators) {
  const auto found = std::lower_bound(
      stations.points.begin(), stations.points.end(), distance,
      [](const ProfilePoint& point, long double at) { return point.distance < at; });
  if (found != stations.points.end() && found->distance == distance) return *found;
  return ProfilePointAt(input, distance, separators);
}

}  // namespace vortalis::report
