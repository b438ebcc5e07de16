#include "acoustics/throat_impedance.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <variant>

#include "acoustics/radiation.h"
#include "acoustics/wall_losses.h"
#include "geometry/constants.h"
#include "geometry/tractrix.h"
#include "report/horn_model.h"

namespace vortalis::acoustics {

namespace {

using geometry::Pi;

// Coarsest grid: steps per unit of t; with StepsFor's refinement the error
// stays near 1e-8 over the default sweep (see the README's "Acoustic loading").
constexpr long double kStepsPerUnitT = 22.0L;

long double Metres(long double length, geometry::LengthUnit unit) {
  return length / geometry::UnitScale(unit);
}

// Ten significant digits, trailing zeros kept: fixed notation from 1e-4 to 1e10,
// the exponent form outside.
void AppendNumber(std::string& out, long double value) {
  char buffer[64];
  const long double magnitude = std::fabs(value);
  std::to_chars_result result;
  if (magnitude >= 1e-4L && magnitude < 1e10L) {
    const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                           std::max(0, 9 - exponent));
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 9);
  }
  out.append(buffer, result.ptr);
}

}  // namespace

HornShape TractrixShape(long double mouthRadius, long double throatRadius, long double mouthArea) {
  return TractrixShape(mouthRadius, throatRadius, mouthArea, mouthRadius);
}

HornShape TractrixShape(long double mouthRadius, long double throatRadius, long double mouthArea,
                        long double endRadius) {
  if (!(mouthRadius > throatRadius) || !(throatRadius > 0.0L) || !(mouthArea > 0.0L) ||
      !(endRadius > throatRadius) || !(endRadius <= mouthRadius))
    throw std::invalid_argument(
        "A tractrix needs 0 < throat radius < end radius <= mouth radius");
  const long double a = mouthRadius;
  // x = a t - a tanh t from the mouth plane, r = a / cosh t: at the throat
  // a t0 = TractrixLength + sqrt(a^2 - r0^2).
  const long double t0 = (geometry::TractrixLength(a, throatRadius) +
                          std::sqrt((a - throatRadius) * (a + throatRadius))) /
                         a;
  // The horn ends at t = arcosh(a / endRadius), 0 for the whole horn.
  const long double ratio = endRadius / a;
  const long double tEnd = ratio < 1.0L ? std::acosh(1.0L / ratio) : 0.0L;
  HornShape shape;
  shape.throat = 0.0L;
  shape.mouth = t0 - tEnd;
  // tau = t0 - t runs from the throat to the mouth: g = dx/dtau = a tanh^2 t,
  // mu = (1/2) d ln(pi a^2 / cosh^2 t) / dtau = tanh t.
  shape.flare = [a, t0](long double tau) {
    const long double tanhT = std::tanh(t0 - tau);
    return Flare{a * tanhT * tanhT, tanhT};
  };
  // Every section is the full mouth's scaled by (r / a)^2.
  shape.wallRadius = [a, t0](long double tau) { return a / std::cosh(t0 - tau); };
  shape.mouthArea = ratio < 1.0L ? mouthArea * ratio * ratio : mouthArea;
  shape.throatArea = mouthArea * (throatRadius / a) * (throatRadius / a);
  shape.baseSteps = std::max(32, static_cast<int>(std::ceil(shape.mouth * kStepsPerUnitT)));
  shape.lengthScale = a;
  return shape;
}

namespace {

// Where the drawing of `input` cut at `limit` ends: none for the whole horn.
std::optional<report::ProfilePoint> CutEnd(const report::HornInput& input,
                                           const geometry::Separators& separators,
                                           const report::MouthLimit& limit) {
  if (limit.kind == report::MouthLimitKind::None) return std::nullopt;
  const long double length = report::HornLength(input, separators);
  // One step the horn's length: the throat and the end point only.
  const report::HornProfile profile = report::MakeProfile(input, length, limit, separators);
  const report::ProfilePoint& end = profile.points.back();
  if (!(end.distance < length)) return std::nullopt;
  return end;
}

}  // namespace

HornAcoustics CircularHornAcoustics(const report::CircularReportInput& input,
                                    const geometry::Separators& separators,
                                    const report::MouthLimit& limit) {
  const report::CircularHorn horn = report::MakeCircularHorn(input, separators);
  const auto end = CutEnd(input, separators, limit);
  const long double a = Metres(horn.mouthRadius, input.unit);
  HornAcoustics acoustics;
  acoustics.shape =
      TractrixShape(a, Metres(horn.throatRadius, input.unit), geometry::FullMouthArea(a),
                    end ? Metres(end->radius, input.unit) : a);
  acoustics.cutoff = horn.frequency;
  acoustics.locationFactor = 1.0L;
  acoustics.length = Metres(end ? end->distance : horn.length, input.unit);
  return acoustics;
}

HornAcoustics RectangularHornAcoustics(const report::RectangularReportInput& input,
                                       const geometry::Separators& separators,
                                       const report::MouthLimit& limit) {
  // The built horn's area is the full tractrix's over k, flat sides or not; the
  // factor leaves the normalised impedance alone except through the mouth's area.
  const report::RectangularHorn horn = report::MakeRectangularHorn(input, separators);
  const auto end = CutEnd(input, separators, limit);
  const long double a = Metres(horn.mouthRadius, input.unit);
  HornAcoustics acoustics;
  acoustics.shape =
      TractrixShape(a, Metres(horn.throatRadius, input.unit),
                    Metres(horn.mouth.side1, input.unit) * Metres(horn.mouth.side2, input.unit),
                    end ? Metres(end->radius, input.unit) : a);
  acoustics.cutoff = horn.frequency;
  acoustics.locationFactor = horn.locationFactor;
  acoustics.length = Metres(end ? end->distance : horn.length, input.unit);
  // The mouth's shape, its area that of the horn's section there.
  const long double side1 = end ? end->side1 : horn.mouth.side1;
  const long double side2 = end ? end->side2 : horn.mouth.side2;
  const long double scale = std::sqrt(acoustics.shape.mouthArea / (side1 * side2));
  acoustics.throatWidest = Metres(std::max(horn.side1, horn.side2), input.unit);
  acoustics.mouthSide1 = side1 * scale;
  acoustics.mouthSide2 = side2 * scale;
  // The walls' 2 S / perimeter, the circle's radius scaled as the mouth's.
  const long double wallScale = Metres(horn.mouth.side1 * horn.mouth.side2 /
                                           (horn.mouth.side1 + horn.mouth.side2),
                                       input.unit) / a;
  acoustics.shape.wallRadius = [circle = acoustics.shape.wallRadius, wallScale](long double tau) {
    return wallScale * circle(tau);
  };
  return acoustics;
}

HornAcoustics HornAcousticsOf(const report::HornInput& input,
                              const geometry::Separators& separators,
                              const report::MouthLimit& limit) {
  if (const auto* circular = std::get_if<report::CircularReportInput>(&input))
    return CircularHornAcoustics(*circular, separators, limit);
  return RectangularHornAcoustics(std::get<report::RectangularReportInput>(input), separators,
                                  limit);
}

const char* MouthLoadName(MouthLoad load) {
  switch (load) {
    case MouthLoad::Baffle:
      return "baffle";
    case MouthLoad::Unflanged:
      return "unflanged";
    case MouthLoad::Location:
      break;
  }
  return "location";
}

std::optional<MouthLoad> MouthLoadNamed(std::string_view name) {
  for (const MouthLoad load : kMouthLoads)
    if (name == MouthLoadName(load)) return load;
  return std::nullopt;
}

void CheckSweep(const FrequencySweep& sweep, long double cutoff) {
  const long double highest = kHighestPerCutoff * cutoff;
  if (!(sweep.from >= kLowestFrequency) || !(sweep.to <= highest) || !(sweep.from <= sweep.to)) {
    char limits[96];
    std::snprintf(limits, sizeof limits, "from %Lg Hz to %Lg Hz (%Lg fc)", kLowestFrequency,
                  highest, kHighestPerCutoff);
    throw std::invalid_argument(std::string("The impedance's frequencies must lie ") + limits +
                                ", the lowest first");
  }
}

CrossModes FirstCrossModes(const HornAcoustics& horn) {
  // 3.8317 is the first zero of J1, where the first symmetric mode of a circle begins.
  const auto circle = [](long double area) {
    return kFirstPipeMode * geometry::SpeedOfSound / (2.0L * Pi * std::sqrt(area / Pi));
  };
  CrossModes modes;
  modes.throat = horn.throatWidest > 0.0L ? geometry::SpeedOfSound / horn.throatWidest
                                          : circle(horn.shape.throatArea);
  modes.mouth = horn.mouthSide1 > 0.0L
                    ? geometry::SpeedOfSound / std::max(horn.mouthSide1, horn.mouthSide2)
                    : circle(horn.shape.mouthArea);
  return modes;
}

FrequencySweep DefaultSweep(long double cutoff) { return {cutoff * 0.25L, cutoff * 16.0L, 24}; }

FrequencySweep PlotSweep(const HornAcoustics& horn) {
  FrequencySweep sweep = DefaultSweep(horn.cutoff);
  // A step of f ln 2 / n at the top, an eighth of c / 2L.
  const long double wanted =
      8.0L * sweep.to * std::log(2.0L) * 2.0L * horn.length / geometry::SpeedOfSound;
  const long double blocks = std::clamp(std::ceil(wanted / 24.0L), 4.0L, 32.0L);
  sweep.pointsPerOctave = 24 * static_cast<int>(blocks);
  return sweep;
}

std::vector<long double> SweepFrequencies(const FrequencySweep& sweep) {
  if (!(sweep.from > 0.0L) || !(sweep.to >= sweep.from) || !std::isfinite(sweep.to) ||
      sweep.pointsPerOctave < 1)
    throw std::invalid_argument("A sweep needs 0 < from <= to and at least 1 point an octave");
  const long double perOctave = static_cast<long double>(sweep.pointsPerOctave);
  // The last index whose frequency is within rounding of `to` or below it.
  const long double last = std::floor(std::log2(sweep.to / sweep.from) * perOctave + 1e-9L);
  if (!(last < static_cast<long double>(kMaxSweepPoints)))
    throw std::invalid_argument("A sweep of more than " + std::to_string(kMaxSweepPoints) +
                                " frequencies");
  std::vector<long double> frequencies;
  const auto count = static_cast<std::size_t>(last) + 1;
  frequencies.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    frequencies.push_back(sweep.from * std::exp2(static_cast<long double>(i) / perOctave));
  return frequencies;
}

std::complex<long double> MouthImpedance(const HornAcoustics& horn, MouthLoad load,
                                         long double wavenumber) {
  const long double area = horn.shape.mouthArea;
  const long double ka = wavenumber * std::sqrt(area / Pi);
  if (load == MouthLoad::Baffle) {
    if (horn.mouthSide1 > 0.0L)
      return RectangularPistonImpedance(wavenumber, horn.mouthSide1, horn.mouthSide2);
    return PistonImpedance(ka);
  }
  // The pipe of the mouth's area; above its first cross-mode the baffled piston's.
  if (load == MouthLoad::Unflanged)
    return ka < kFirstPipeMode ? UnflangedPipeImpedance(ka) : PistonImpedance(ka);
  // The sphere sector's area in 4 pi / k is (4 pi / k) R^2.
  return SphereImpedance(wavenumber * std::sqrt(area * horn.locationFactor / (4.0L * Pi)));
}

namespace {

// The throat impedance at any frequency, on grids kept by their step count.
class ImpedanceAt {
 public:
  ImpedanceAt(const HornAcoustics& horn, MouthLoad load, WallLosses losses)
      : horn_(horn), load_(load), losses_(losses) {}

  ImpedancePoint operator()(long double frequency) {
    const std::complex<long double> z = Wave(frequency).Normalised();
    return {frequency, z.real(), z.imag()};
  }

  struct Result {
    ThroatWave wave;
    std::complex<long double> Normalised() const {
      // P / Q, by parts: std::complex's division of long doubles rescales needlessly.
      const long double norm = std::norm(wave.q);
      return {(wave.p.real() * wave.q.real() + wave.p.imag() * wave.q.imag()) / norm,
              (wave.p.imag() * wave.q.real() - wave.p.real() * wave.q.imag()) / norm};
    }
  };

  Result Wave(long double frequency) {
    const long double k = 2.0L * Pi * frequency / geometry::SpeedOfSound;
    const int steps = StepsFor(horn_.shape, k);
    const std::complex<long double> zMouth = MouthImpedance(horn_, load_, k);
    if (losses_ == WallLosses::On) {
      auto grid = lossyGrids_.find(steps);
      if (grid == lossyGrids_.end())
        grid = lossyGrids_.emplace(steps, MakeLossyGrid(horn_.shape, steps)).first;
      return {LossyThroatWave(grid->second, zMouth, k)};
    }
    auto grid = grids_.find(steps);
    if (grid == grids_.end())
      grid = grids_.emplace(steps, MakeMagnusGrid(horn_.shape, steps)).first;
    return {ThroatWaveOnGrid(grid->second, zMouth, k)};
  }

 private:
  const HornAcoustics& horn_;
  MouthLoad load_;
  WallLosses losses_;
  std::map<int, MagnusGrid> grids_;
  std::map<int, LossyGrid> lossyGrids_;
};

// The resistance or the reactance, turned so that the extremum sought is a maximum.
struct Extremum {
  bool reactance;
  long double sign;
  long double operator()(const ImpedancePoint& point) const {
    return sign * (reactance ? point.reactance : point.resistance);
  }
};

// Golden-section search in log frequency between two neighbours of a point
// that exceeds both, until the four points it holds differ by less than the
// tolerance: the extremum lies between the outer two, so its value is closer
// than that to the best of them.
ImpedancePoint LocateExtremum(ImpedanceAt& impedance, const Extremum& value,
                              const ImpedancePoint& below, const ImpedancePoint& above) {
  constexpr long double kGolden = 0.61803398874989484820L;
  constexpr int kMostSteps = 200;
  long double a = std::log(below.frequency);
  long double b = std::log(above.frequency);
  ImpedancePoint pa = below;
  ImpedancePoint pb = above;
  long double c = b - kGolden * (b - a);
  long double d = a + kGolden * (b - a);
  ImpedancePoint pc = impedance(std::exp(c));
  ImpedancePoint pd = impedance(std::exp(d));
  for (int i = 0; i < kMostSteps; ++i) {
    const long double values[] = {value(pa), value(pb), value(pc), value(pd)};
    const long double high = *std::max_element(std::begin(values), std::end(values));
    const long double low = *std::min_element(std::begin(values), std::end(values));
    if (high - low <= kPeakTolerance * std::max(std::fabs(high), 1e-3L)) break;
    if (value(pc) > value(pd)) {
      b = d;
      pb = pd;
      d = c;
      pd = pc;
      c = b - kGolden * (b - a);
      pc = impedance(std::exp(c));
    } else {
      a = c;
      pa = pc;
      c = d;
      pc = pd;
      d = a + kGolden * (b - a);
      pd = impedance(std::exp(d));
    }
  }
  const ImpedancePoint* best = &pa;
  for (const ImpedancePoint* point : {&pb, &pc, &pd})
    if (value(*point) > value(*best)) best = point;
  return *best;
}

}  // namespace

int PeakSearchPointsPerOctave(const HornAcoustics& horn, const FrequencySweep& sweep) {
  // Sixteen points a ripple (c / 2L) at the top of the range, at least 96 an octave.
  const long double wanted =
      16.0L * sweep.to * std::log(2.0L) * 2.0L * horn.length / geometry::SpeedOfSound;
  return static_cast<int>(std::clamp(std::ceil(wanted), 96.0L, 1e6L));
}

ImpedanceCurve ThroatImpedance(const HornAcoustics& horn, MouthLoad load,
                               const FrequencySweep& sweep, WallLosses losses) {
  ImpedanceAt impedance(horn, load, losses);
  ImpedanceCurve curve;
  for (const long double frequency : SweepFrequencies(sweep)) curve.push_back(impedance(frequency));
  return curve;
}

ImpedanceCurve ThroatImpedanceWithPeaks(const HornAcoustics& horn, MouthLoad load,
                                        const FrequencySweep& sweep, WallLosses losses) {
  ImpedanceAt impedance(horn, load, losses);
  ImpedanceCurve curve;
  for (const long double frequency : SweepFrequencies(sweep)) curve.push_back(impedance(frequency));
  FrequencySweep search = sweep;
  search.pointsPerOctave = PeakSearchPointsPerOctave(horn, sweep);
  ImpedanceCurve grid;
  for (const long double frequency : SweepFrequencies(search)) grid.push_back(impedance(frequency));
  if (!grid.empty() && grid.back().frequency < sweep.to) grid.push_back(impedance(sweep.to));
  const std::size_t base = curve.size();
  for (const bool reactance : {false, true}) {
    for (const long double sign : {1.0L, -1.0L}) {
      const Extremum value{reactance, sign};
      for (std::size_t i = 1; i + 1 < grid.size(); ++i) {
        if (value(grid[i]) > value(grid[i - 1]) && value(grid[i]) >= value(grid[i + 1]))
          curve.push_back(LocateExtremum(impedance, value, grid[i - 1], grid[i + 1]));
      }
    }
  }
  // The extra points in frequency order among the sweep's, none twice.
  std::sort(curve.begin() + static_cast<std::ptrdiff_t>(base), curve.end(),
            [](const auto& a, const auto& b) { return a.frequency < b.frequency; });
  ImpedanceCurve merged;
  merged.reserve(curve.size());
  std::merge(curve.begin(), curve.begin() + static_cast<std::ptrdiff_t>(base),
             curve.begin() + static_cast<std::ptrdiff_t>(base), curve.end(),
             std::back_inserter(merged),
             [](const auto& a, const auto& b) { return a.frequency < b.frequency; });
  merged.erase(std::unique(merged.begin(), merged.end(),
                           [](const auto& a, const auto& b) { return a.frequency == b.frequency; }),
               merged.end());
  return merged;
}

std::vector<HornPort> HornPortsAt(const HornAcoustics& horn, MouthLoad load,
                                  const std::vector<long double>& frequencies, WallLosses losses) {
  ImpedanceAt impedance(horn, load, losses);
  const long double throatArea = horn.shape.throatArea;
  const long double characteristic = geometry::AirDensity * geometry::SpeedOfSound / throatArea;
  const long double flowScale = std::sqrt(horn.shape.mouthArea / throatArea);
  std::vector<HornPort> ports;
  ports.reserve(frequencies.size());
  for (const long double frequency : frequencies) {
    const ThroatWave wave = impedance.Wave(frequency).wave;
    ports.push_back({wave.p / wave.q * characteristic, flowScale / wave.q});
  }
  return ports;
}

HornPort HornPortAt(const HornAcoustics& horn, MouthLoad load, long double frequency,
                    WallLosses losses) {
  return HornPortsAt(horn, load, {frequency}, losses).front();
}

LossEffect LossEffectOver(const HornAcoustics& horn, MouthLoad load, const FrequencySweep& sweep) {
  ImpedanceAt lossless(horn, load, WallLosses::Off);
  ImpedanceAt lossy(horn, load, WallLosses::On);
  LossEffect effect;
  for (const long double frequency : SweepFrequencies(sweep)) {
    const std::complex<long double> without = lossless.Wave(frequency).Normalised();
    const long double change = std::abs(lossy.Wave(frequency).Normalised() - without) /
                               std::abs(without);
    if (change > effect.change) effect = {change, frequency};
  }
  return effect;
}

std::string ImpedanceCsv(const ImpedanceCurve& curve) {
  std::string text = "frequency_hz,resistance,reactance\n";
  text.reserve(text.size() + curve.size() * 56);
  for (const ImpedancePoint& point : curve) {
    AppendNumber(text, point.frequency);
    text += ',';
    AppendNumber(text, point.resistance);
    text += ',';
    AppendNumber(text, point.reactance);
    text += '\n';
  }
  return text;
}

}  // namespace vortalis::acoustics
