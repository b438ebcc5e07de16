// The driver on the horn against closed forms (Small's closed box, Keele's
// mid-band efficiency) and against a second solve written here.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "acoustics/throat_impedance.h"
#include "driver/driver.h"
#include "driver/driver_file.h"
#include "driver/horn_design.h"
#include "driver/system_response.h"
#include "report/horn_model.h"

namespace {

using namespace vortalis;
using namespace vortalis::driver;
using acoustics::HornAcoustics;
using acoustics::HornShape;
using acoustics::MouthLoad;

constexpr double kPi = 3.14159265358979323846;
constexpr double kRho = 1.205, kC = 340.0;
using Cd = std::complex<double>;
constexpr Cd kJ{0.0, 1.0};

DriverInput SmallSignal(double fs, double qes, double qms, double vasLitres, double sdCm2) {
  DriverInput input;
  input.re = 6.0L;
  input.sd = sdCm2;
  input.fs = fs;
  input.qes = qes;
  input.qms = qms;
  input.vas = vasLitres;
  return input;
}

// A horn of constant flare mu (an exponential horn, a tube for mu = 0) along x.
HornAcoustics StraightHorn(long double length, long double mu, long double throatArea) {
  HornShape shape;
  shape.mouth = length;
  shape.flare = [mu](long double) { return acoustics::Flare{1.0L, mu}; };
  shape.throatArea = throatArea;
  shape.mouthArea = throatArea * std::exp(2.0L * mu * length);
  return {shape, static_cast<long double>(mu * kC / (2 * kPi)), 1.0L, length};
}

TEST(DriverFile, MistakesAreRefusedWithTheirLine) {
  const struct {
    const char* text;
    int line;
    const char* says;
  } rows[] = {
      {"re = 6\nsd 300\n", 2, "expected key = value"},
      {"# a\n\nfoo = 1\n", 3, "unknown key 'foo'"},
      {"re = 6\nRe = 7\n", 2, "given twice (first on line 1)"},
      {"re =\n", 1, "'re' has no value"},
      {"re = 6 ohm\n", 1, "needs a number, found '6 ohm'"},
      {"re = 6,5\n", 1, "needs a number"},
      {"re = nan\n", 1, "needs a number"},
      {"re = 1e9999\n", 1, "needs a number"},
      {"name = x\nbl = -3\n", 2, "'bl' must be above 0"},
      {"mms = 0\n", 1, "'mms' must be above 0"},
      {"le = -0.1\n", 1, "'le' must be 0 or more"},
      {"re = 6\n\x01 = 2\n", 2, "unknown key '\\x01'"},
  };
  for (const auto& row : rows) {
    try {
      ParseDriverFile(row.text);
      ADD_FAILURE() << row.text;
    } catch (const DriverFileError& e) {
      EXPECT_EQ(e.Line(), row.line) << row.text;
      EXPECT_NE(std::string(e.what()).find(row.says), std::string::npos) << e.what();
    }
  }
}

TEST(DriverFile, WrittenFileReadsBackToTheSameValues) {
  DriverInput input = SmallSignal(27.5, 0.31, 5.2, 180.25, 855);
  input.name = "Test 15, rev. B";
  input.le = 0.0L;
  input.xmax = 1.0L / 3.0L;  // a value with no short decimal form
  const DriverInput back = ParseDriverFile(DriverFileText(input));
  EXPECT_EQ(back.name, input.name);
  EXPECT_EQ(back.le, input.le);
  EXPECT_EQ(back.xmax, input.xmax);
  EXPECT_EQ(back.vas, input.vas);
  EXPECT_FALSE(back.bl.has_value());
  EXPECT_EQ(ParseDriverFile("\xEF\xBB\xBFre = 6\r\n").re, 6.0L);  // a BOM and CR LF
  input.name = "bad # name";
  EXPECT_THROW(DriverFileText(input), std::invalid_argument);
}

TEST(Driver, IncompleteOrDisagreeingParametersAreRefusedByName) {
  DriverInput motor;
  motor.re = 6.0L;
  motor.sd = 500.0L;
  motor.bl = 15.0L;
  motor.mms = 80.0L;
  motor.cms = 0.3L;
  motor.rms = 2.0L;
  // fs from Mms and Cms: 1 / (2 pi sqrt(0.08 * 0.0003)) = 32.487 Hz.
  const double fs = 1.0 / (2 * kPi * std::sqrt(0.08 * 0.0003));
  const struct {
    void (*change)(DriverInput&, double fs);
    const char* says;  // empty when accepted
  } rows[] = {
      {[](DriverInput&, double) {}, ""},
      {[](DriverInput& d, double f) { d.fs = f * 1.019; }, ""},
      {[](DriverInput& d, double f) { d.fs = f * 1.021; }, "fs = 33.17 Hz disagrees with 32.49 Hz"},
      {[](DriverInput& d, double) { d.vas = 30.0L; }, "Vas = 30 l disagrees"},
      {[](DriverInput& d, double) { d.re.reset(); }, "needs Re"},
      {[](DriverInput& d, double) { d.rms.reset(); },
       "(missing Rms) or fs, Qes, Qms and Vas (missing fs, Qes, Qms, Vas)"},
      {[](DriverInput& d, double) { d.xmax = -1.0L; }, "Xmax must be above 0"},
  };
  for (const auto& row : rows) {
    DriverInput input = motor;
    row.change(input, fs);
    if (*row.says == '\0') {
      EXPECT_NO_THROW(ResolveDriver(input));
      continue;
    }
    try {
      ResolveDriver(input);
      ADD_FAILURE() << row.says;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(row.says), std::string::npos) << e.what();
    }
  }
  // The small-signal set, converted, agrees with its own values and with a
  // motor set derived from it.
  const Driver d = ResolveDriver(SmallSignal(31.0, 0.42, 6.5, 120.0, 500.0));
  EXPECT_NEAR(d.ResonanceHz(), 31.0L, 1e-12L);
  EXPECT_NEAR(d.Qes(), 0.42L, 1e-12L);
  EXPECT_NEAR(d.Qms(), 6.5L, 1e-12L);
  EXPECT_NEAR(d.VasCubicMetres(), 0.120L, 1e-14L);
}

acoustics::HornPort PortAt(const HornAcoustics& horn, double f) {
  return acoustics::HornPortAt(horn, MouthLoad::Baffle, f);
}

// Small (1972): a driver in a sealed box of Vb has fc = fs sqrt(1 + a) and
// Qtc = Qts sqrt(1 + a), a = Vas / Vb. With no horn in front the diaphragm
// radiates as a baffled piston of its own area: its load is then the air mass
// 8 rho a^3 / 3 added to Mms (its resistance is below 0.02 % of the damping here).
TEST(SystemResponse, NoHornAndASealedRearChamberIsSmallsClosedBox) {
  const double fs = 20, qes = 0.5, qms = 4, vas = 10, sdCm2 = 80;
  const HornAcoustics none = StraightHorn(1e-7L, 0.0L, sdCm2 * 1e-4L);
  for (const double vb : {5.0, 20.0}) {
    SystemSetup setup{ResolveDriver(SmallSignal(fs, qes, qms, vas, sdCm2)), vb * 1e-3L, {}, 2.83L};
    const double radius = std::sqrt(sdCm2 * 1e-4 / kPi);
    const double mms =
        kRho * kC * kC * std::pow(sdCm2 * 1e-4, 2) / std::pow(2 * kPi * fs, 2) / (vas * 1e-3);
    const double massRatio = (mms + 8 * kRho * std::pow(radius, 3) / 3) / mms;
    const double fsLoaded = fs / std::sqrt(massRatio);
    const double qtsLoaded = qes * qms / (qes + qms) * std::sqrt(massRatio);
    const double alpha = vas / vb;

    const auto flow = [&](double f) {
      return SolveAt(setup, PortAt(none, f), 2 * kPi, f).diaphragmFlow;
    };
    // The cone's velocity is in phase with the voltage at fc...
    double low = fs, high = 4 * fs;
    for (int i = 0; i < 80; ++i) {
      const double mid = 0.5 * (low + high);
      (std::arg(Cd(flow(mid))) > 0 ? low : high) = mid;
    }
    const double fc = 0.5 * (low + high);
    // ... and half its power at fc / Qtc apart.
    const double halfPower = std::norm(Cd(flow(fc))) / 2;
    const auto edge = [&](double from, double to) {
      for (int i = 0; i < 80; ++i) {
        const double mid = 0.5 * (from + to);
        (std::norm(Cd(flow(mid))) < halfPower ? from : to) = mid;
      }
      return from;
    };
    const double qtc = fc / (edge(20 * fc, fc) - edge(fc / 20, fc));
    EXPECT_NEAR(fc / (fsLoaded * std::sqrt(1 + alpha)), 1.0, 1e-3) << vb;
    EXPECT_NEAR(qtc / (qtsLoaded * std::sqrt(1 + alpha)), 1.0, 1e-3) << vb;
  }
}

// Keele (1977): with the throat resistive (rho c / S_T) and the driver's
// reactances cancelled (at fs), the power into the throat over V^2 / Re is
// eta = (r / Qes) / (1 / Qms + 1 / Qes + r)^2, r = 2 pi fs Vas / (c S_T),
// largest for his S_T = 2 pi fs Qes Vas / c. The horn: exponential with
// fc = 0.1 Hz (its wave impedance within 0.4 % of rho c / S at 30 Hz, so that
// its mouth, ka = 1000, reflects next to nothing).
TEST(SystemResponse, ExponentialHornMidBandEfficiencyIsKeeles) {
  const double fs = 30, qes = 0.2, qms = 8, vas = 200;
  const Driver driver = ResolveDriver(SmallSignal(fs, qes, qms, vas, 500));
  const double mu = 2 * kPi * 0.1 / kC;
  const double mouthArea = kPi * std::pow(1000 * kC / (2 * kPi * fs), 2);  // ka = 1000
  for (const double share : {1.0, 0.5, 3.0}) {
    const double throatArea = share * 2 * kPi * fs * qes * vas * 1e-3 / kC;
    const HornAcoustics horn =
        StraightHorn(std::log(mouthArea / throatArea) / (2 * mu), mu, throatArea);
    const acoustics::HornPort port = PortAt(horn, fs);
    const SystemSetup setup{driver, {}, {}, 2.83L};
    const SystemPoint point = SolveAt(setup, port, 2 * kPi, fs);
    const double power = std::norm(Cd(point.diaphragmFlow)) * double(port.throatImpedance.real());
    const double r = 2 * kPi * fs * vas * 1e-3 / (kC * throatArea);
    const double eta = (r / qes) / std::pow(1 / qms + 1 / qes + r, 2);
    EXPECT_NEAR(power * 6.0 / (2.83 * 2.83) / eta, 1.0, 2e-3) << share;
  }
}

// The second solve: the tractrix r = a cos(theta) integrated by RK4 in theta
// (dx/dtheta = a sin^2 / cos) from the free-air sphere at the mouth, then the
// circuit by hand in double.
struct HandResult {
  double spl, impedance, excursion;
  Cd pressure;  // at 1 m, per volt
};

HandResult SolveByHand(double a, double r0, double f, double volts, const Driver& d, double rear,
                       double front) {
  const double w = 2 * kPi * f, k = w / kC;
  const double mouthArea = kPi * a * a, sphere = a / 2;
  const Cd zMouth = kRho * kC / mouthArea * (kJ * k * sphere) / (1.0 + kJ * k * sphere);
  const auto slope = [&](double theta, Cd p, Cd u, Cd& dp, Cd& du) {
    const double area = kPi * std::pow(a * std::cos(theta), 2);
    const double dx = -a * std::pow(std::sin(theta), 2) / std::cos(theta);  // x grows to the mouth
    dp = dx * (-kJ * w * kRho * u / area);
    du = dx * (-kJ * w * area * p / (kRho * kC * kC));
  };
  Cd p = zMouth, u = 1.0;
  const int steps = 40000;
  const double end = std::acos(r0 / a), h = end / steps;
  for (int i = 0; i < steps; ++i) {
    const double t = i * h;
    Cd p1, u1, p2, u2, p3, u3, p4, u4;
    slope(t, p, u, p1, u1);
    slope(t + h / 2, p + h / 2 * p1, u + h / 2 * u1, p2, u2);
    slope(t + h / 2, p + h / 2 * p2, u + h / 2 * u2, p3, u3);
    slope(t + h, p + h * p3, u + h * u3, p4, u4);
    p += h / 6 * (p1 + 2.0 * p2 + 2.0 * p3 + p4);
    u += h / 6 * (u1 + 2.0 * u2 + 2.0 * u3 + u4);
  }
  const Cd zThroat = p / u;
  const double cFront = front / (kRho * kC * kC), cRear = rear / (kRho * kC * kC);
  const Cd zFront = 1.0 / (kJ * w * cFront + 1.0 / zThroat);
  const double sd = d.sd, bl = d.bl;
  const Cd zm = kJ * w * double(d.mms) + double(d.rms) + 1.0 / (kJ * w * double(d.cms)) +
                sd * sd * (zFront + 1.0 / (kJ * w * cRear));
  const Cd ze = double(d.re) + kJ * w * double(d.le) + bl * bl / zm;
  const Cd v = bl * volts / ze / zm;
  const Cd uThroat = sd * v * zFront / zThroat;
  const Cd uMouth = uThroat / u;  // the solve's mouth flow is 1
  const double pressure = w * kRho * std::abs(uMouth) / (4 * kPi);
  return {20 * std::log10(pressure / 20e-6), std::abs(ze), std::sqrt(2.0) * std::abs(v) / w,
          kJ * w * kRho * uMouth / (4 * kPi * volts)};
}

TEST(SystemResponse, WholeChainMatchesASecondSolve) {
  report::CircularReportInput input;
  input.frequencyText = "120";
  input.throatText = "60";
  const report::CircularHorn built = report::MakeCircularHorn(input, {});
  const HornAcoustics horn = acoustics::HornAcousticsOf(input, {});
  DriverInput given = SmallSignal(35, 0.35, 5, 150, 855);
  given.le = 1.6L;
  const SystemSetup setup{ResolveDriver(given), 0.080L, 0.004L, 4.0L};
  const double a = double(built.mouthRadius) / 1000, r0 = double(built.throatRadius) / 1000;
  for (const double f : {40.0, 95.0, 120.0, 300.0, 777.0, 1500.0}) {
    const SystemPoint point = SystemResponse(horn, MouthLoad::Location, setup, {f, f, 24}).at(0);
    const HandResult hand = SolveByHand(a, r0, f, 4.0, setup.driver, 0.080, 0.004);
    EXPECT_NEAR(double(point.spl), hand.spl, 0.05) << f;
    EXPECT_NEAR(double(std::abs(point.electricalImpedance)) / hand.impedance, 1.0, 0.005) << f;
    EXPECT_NEAR(double(point.excursion) / hand.excursion, 1.0, 0.01) << f;
    // Group delay: -d arg(p / V) / d omega by a central difference.
    const double h = 1e-3 * f;
    const Cd above = SolveByHand(a, r0, f + h, 4.0, setup.driver, 0.080, 0.004).pressure;
    const Cd below = SolveByHand(a, r0, f - h, 4.0, setup.driver, 0.080, 0.004).pressure;
    const double delay = -std::arg(above / below) / (2 * kPi * 2 * h);
    EXPECT_NEAR(double(point.groupDelay), delay, 0.01 * std::fabs(delay) + 1e-6) << f;
  }
}

// The design helper: Keele's throat area gives the most power into a
// resistive throat at fs (checked against areas either side of it; his area
// leaves out Rms, so the driver here has next to none), and the
// suggested rear chamber's stiffness meets the damping at the horn's cut-off:
// there Im Zm - omega Mms = -(Re Zm + Bl^2 / Re) for the solve's Zm.
TEST(SystemResponse, PressureAtOneMetreSpreadsOverTheMouthLoadsSolidAngle) {
  // The model: baffle 2 pi, location 4 pi / k, unflanged 4 pi; and
  // |p| = omega rho |Umouth| / (Omega 1 m) for a port whose mouth carries all the flow.
  constexpr long double kPi = 3.14159265358979323846L;
  HornAcoustics horn;
  horn.locationFactor = 4.0L;
  const struct {
    MouthLoad load;
    long double solidAngle;
  } rows[] = {{MouthLoad::Baffle, 2.0L * kPi},
              {MouthLoad::Location, kPi},
              {MouthLoad::Unflanged, 4.0L * kPi}};
  SystemSetup setup;
  setup.driver = ResolveDriver(ExampleDriver());
  const acoustics::HornPort port{{415.0L, 20.0L}, {1.0L, 0.0L}};
  constexpr long double f = 200.0L;
  for (const auto& row : rows) {
    EXPECT_NEAR(SolidAngle(horn, row.load), row.solidAngle, 1e-15L);
    const SystemPoint point = SolveAt(setup, port, row.solidAngle, f);
    const long double pressure = 2.0L * kPi * f * 1.205L * std::abs(point.diaphragmFlow) /
                                 (row.solidAngle * 1.0L);
    EXPECT_NEAR(point.spl, 20.0L * std::log10(pressure / 20e-6L), 1e-9L);
  }
}

TEST(HornDesign, ThroatAreaIsTheMostEfficientAndTheRearChamberSetsTheLowCorner) {
  const double fs = 30;
  const Driver driver = ResolveDriver(SmallSignal(fs, 0.25, 1e6, 200, 500));
  const double mu = 2 * kPi * 0.1 / kC;
  const auto powerAt = [&](double throatArea) {
    const HornAcoustics horn = StraightHorn(std::log(1e7 / throatArea) / (2 * mu), mu, throatArea);
    const SystemPoint point = SolveAt({driver, {}, {}, 1.0L}, PortAt(horn, fs), 2 * kPi, fs);
    return std::norm(Cd(point.diaphragmFlow)) * double(PortAt(horn, fs).throatImpedance.real());
  };
  HornAcoustics horn = StraightHorn(1.0L, 0.0L, 0.03L);
  horn.cutoff = 45.0L;
  const HornDesign design = SuggestHornDesign(driver, horn);
  const double best = design.throatArea;
  EXPECT_NEAR(best, 2 * kPi * fs * 0.25 * 0.2 / kC, 1e-12);
  EXPECT_GT(powerAt(best), powerAt(best * 1.05));
  EXPECT_GT(powerAt(best), powerAt(best / 1.05));

  ASSERT_TRUE(design.rearChamber.has_value());
  const double f = 45, w = 2 * kPi * f;
  const acoustics::HornPort resistive{kRho * kC / 0.03, 1.0L};
  const SystemPoint point = SolveAt({driver, *design.rearChamber, {}, 1.0L}, resistive, 2 * kPi, f);
  const double bl = driver.bl, re = driver.re;
  const Cd zm = bl * bl / (Cd(point.electricalImpedance) - re);
  EXPECT_NEAR((zm.imag() - w * double(driver.mms)) / -(zm.real() + bl * bl / re), 1.0, 1e-9);
  EXPECT_EQ(design.lowCorner, 45.0L);
}

}  // namespace
