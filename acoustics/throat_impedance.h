#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acoustics/webster.h"
#include "geometry/number_text.h"
#include "report/horn_profile.h"
#include "report/report_input.h"

// The throat impedance of the designed horn against frequency: what the
// report tool and the report window show as "acoustic loading".
namespace vortalis::acoustics {

// What the mouth radiates into.
enum class MouthLoad {
  Baffle,     // a rigid piston of the mouth's shape and area in an infinite baffle
  Unflanged,  // the open end of a free-standing pipe of the mouth's area
  Location,   // a pulsating sphere sector of the mouth's area in the solid angle 4 pi / k
};
inline constexpr MouthLoad kMouthLoads[] = {MouthLoad::Baffle, MouthLoad::Unflanged,
                                            MouthLoad::Location};

// "baffle", "unflanged" and "location", the names the tool and the window show.
const char* MouthLoadName(MouthLoad load);
std::optional<MouthLoad> MouthLoadNamed(std::string_view name);

struct HornAcoustics {
  HornShape shape;
  long double cutoff = 0.0L;  // fc in hertz
  // k of the mouth's placement: the mouth radiates into 4 pi / k (1 for free air).
  long double locationFactor = 1.0L;
  long double length = 0.0L;  // metres from the throat to the mouth
  // Sides of a rectangular mouth in metres, their product the mouth's area;
  // 0 for a circular mouth.
  long double mouthSide1 = 0.0L;
  long double mouthSide2 = 0.0L;
  long double throatWidest = 0.0L;  // metres: a rectangular throat's longer side, else 0
};

// The horn of a tractrix with mouth radius a and throat radius r0, in metres,
// along t = arcosh(a / r) (x = a t - sqrt(a^2 - r^2) from the mouth), in which
// the area's square-root end at the mouth is smooth. mouthArea is that of the
// built horn (pi a^2, or a k-th of it for a horn against walls).
HornShape TractrixShape(long double mouthRadius, long double throatRadius, long double mouthArea);
// The same tractrix cut short where its radius reaches endRadius (throat
// radius < endRadius <= a): the horn ends there, its mouth area mouthArea
// (endRadius / a)^2.
HornShape TractrixShape(long double mouthRadius, long double throatRadius, long double mouthArea,
                        long double endRadius);

// The horns of the two reports as built, from the same input records and the
// same horn model as their drawings: a mouth limit ends the horn where the
// drawing ends, and the mouth is that section. Only input that the validation
// accepted; throws report::ProfileError for a limit that gives no drawing.
HornAcoustics CircularHornAcoustics(const report::CircularReportInput& input,
                                    const geometry::Separators& separators,
                                    const report::MouthLimit& limit = {});
HornAcoustics RectangularHornAcoustics(const report::RectangularReportInput& input,
                                       const geometry::Separators& separators,
                                       const report::MouthLimit& limit = {});
// Either of the two above, for the record `input` holds.
HornAcoustics HornAcousticsOf(const report::HornInput& input,
                              const geometry::Separators& separators,
                              const report::MouthLimit& limit = {});

// Frequencies from `from` upwards by factors of 2^(1 / pointsPerOctave), up to
// `to` (included when it lies on that ladder).
struct FrequencySweep {
  long double from = 0.0L;  // hertz, > 0
  long double to = 0.0L;    // hertz, >= from
  int pointsPerOctave = 24;
};

// The range a sweep may cover: from kLowestFrequency up to kHighestPerCutoff
// times fc (the plane-wave model ends far below; beyond, the work grows with
// no use). CheckSweep throws std::invalid_argument, naming the limits, for a
// sweep outside them or not finite.
inline constexpr long double kLowestFrequency = 0.001L;  // hertz
inline constexpr long double kHighestPerCutoff = 256.0L;
void CheckSweep(const FrequencySweep& sweep, long double cutoff);

// Where the plane-wave model stops holding: the first cross-mode that a
// symmetric throat or mouth lets through, 3.83 c / (2 pi r) for a circle of
// radius r and c / w for a rectangle whose longer side is w (the mouth's
// taken at the mouth's area for a horn of circular sections).
struct CrossModes {
  long double throat = 0.0L;  // hertz
  long double mouth = 0.0L;   // hertz
  long double Lowest() const { return std::min(throat, mouth); }
};
CrossModes FirstCrossModes(const HornAcoustics& horn);

// fc / 4 to 16 fc, 24 points an octave.
FrequencySweep DefaultSweep(long double cutoff);

// The default sweep's range with enough points an octave to draw the mouth's
// ripple (peaks about c / 2L apart) with eight points a peak up to 16 fc: a
// multiple of 24 points an octave, so that it holds every frequency of
// DefaultSweep, and never fewer than 96.
FrequencySweep PlotSweep(const HornAcoustics& horn);

// More points than this are refused.
inline constexpr std::size_t kMaxSweepPoints = 100000;

// The sweep's frequencies; throws std::invalid_argument for a sweep that has
// none or more than kMaxSweepPoints.
std::vector<long double> SweepFrequencies(const FrequencySweep& sweep);

struct ImpedancePoint {
  long double frequency;   // hertz
  long double resistance;  // normalised to rho c / S_throat
  long double reactance;
};

using ImpedanceCurve = std::vector<ImpedancePoint>;

// Whether the walls' visco-thermal losses are part of the model (wall_losses.h).
enum class WallLosses { Off, On };

// The mouth's load, normalised to rho c / S_mouth, at the wavenumber k.
std::complex<long double> MouthImpedance(const HornAcoustics& horn, MouthLoad load,
                                         long double wavenumber);

// The horn as its driver sees it at one frequency, in acoustic ohms (Pa s / m^3).
struct HornPort {
  std::complex<long double> throatImpedance;
  std::complex<long double> mouthPerThroatFlow;  // U_mouth / U_throat
};
HornPort HornPortAt(const HornAcoustics& horn, MouthLoad load, long double frequency,
                    WallLosses losses = WallLosses::Off);
// HornPortAt at many frequencies of one horn, each grid built once.
std::vector<HornPort> HornPortsAt(const HornAcoustics& horn, MouthLoad load,
                                  const std::vector<long double>& frequencies,
                                  WallLosses losses = WallLosses::Off);
// The impedance at the sweep's frequencies only.
ImpedanceCurve ThroatImpedance(const HornAcoustics& horn, MouthLoad load,
                               const FrequencySweep& sweep, WallLosses losses = WallLosses::Off);

// The sweep's frequencies, and between them a point at every local maximum
// and minimum of the resistance and of the reactance inside the sweep's range,
// each located until its value changes by less than kPeakTolerance: what the
// tool writes and the window plots. The extrema are looked for on a grid of
// PeakSearchPointsPerOctave an octave, which depends on the horn and the range
// only, so that two sweeps of one range hold the same extra points.
ImpedanceCurve ThroatImpedanceWithPeaks(const HornAcoustics& horn, MouthLoad load,
                                        const FrequencySweep& sweep,
                                        WallLosses losses = WallLosses::Off);

// The largest relative change |Z_lossy - Z| / |Z| the wall losses make over
// the sweep's frequencies, and where; above kNotableLossEffect it is said.
struct LossEffect {
  long double change = 0.0L;
  long double frequency = 0.0L;
};
LossEffect LossEffectOver(const HornAcoustics& horn, MouthLoad load, const FrequencySweep& sweep);
inline constexpr long double kNotableLossEffect = 0.05L;
inline constexpr long double kPeakTolerance = 1e-3L;
int PeakSearchPointsPerOctave(const HornAcoustics& horn, const FrequencySweep& sweep);

// "frequency_hz,resistance,reactance" and one line per point, '.' decimals,
// 10 significant digits, lines ended by '\n'.
std::string ImpedanceCsv(const ImpedanceCurve& curve);

}  // namespace vortalis::acoustics
