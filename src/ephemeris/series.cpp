#include "ephemeris/series.h"

#include <cmath>
#include <limits>

#include "ephemeris/constants.h"
#include "ephemeris/julian_day.h"
#include "ephemeris/vsop87_tables.h"

namespace barywalk {
namespace {

double SumTerms(const SubSeries& sub, double tau) {
  double sum = 0;
  for (int i = 0; i < sub.count; ++i) {
    const SeriesTerm& term = sub.terms[i];
    sum += term.A * std::cos(term.B + term.C * tau);
  }
  return sum;
}

// Above this size the turns are first stripped with fmod. fmod is exact, and
// so are the loop's additions once |degrees| >= 1024, so the result is the
// one the plain loop would reach, turn by turn, only sooner.
constexpr double kLargeAngleDegrees = 1024.0 * kDegreesPerTurn;

}  // namespace

double EvaluateSeries(const Series& series, double jd) {
  const double tau = JulianMillennia(jd);
  double sum = 0;
  double power = 1;  // tau^k, built as a repeated product
  for (int k = 0; k < series.count; ++k) {
    const double subSum = SumTerms(series.subSeries[k], tau);
    sum += subSum * power;  // S0 * 1 is S0 exactly
    power *= tau;
  }
  return sum / kSeriesAmplitudeUnit;
}

double ReduceDegrees(double degrees) {
  if (!std::isfinite(degrees)) return std::numeric_limits<double>::quiet_NaN();
  if (std::fabs(degrees) > kLargeAngleDegrees) {
    // Keep one extra turn so the loops below end on the same side as they
    // would from the original value (exact multiples end at 360 or 0).
    const double rest = std::fmod(degrees, kDegreesPerTurn);
    degrees = degrees > 0 ? rest + kDegreesPerTurn : rest - kDegreesPerTurn;
  }
  while (degrees < 0) degrees += kDegreesPerTurn;
  while (degrees > kDegreesPerTurn) degrees -= kDegreesPerTurn;
  return degrees + 0.0;  // -0 becomes +0
}

double EvaluateLongitude(const Series& longitude, double jd) {
  const double radians = EvaluateSeries(longitude, jd);
  return ReduceDegrees(radians * kDegreesPerRadian);
}

double EvaluateRadius(const Series& radius, double jd) { return EvaluateSeries(radius, jd); }

const PlanetSeries& Vsop87Series(Planet planet) {
  static const PlanetSeries kNone = {{nullptr, 0}, {nullptr, 0}};
  switch (planet) {
    case Planet::Mercury: return kMercurySeries;
    case Planet::Venus: return kVenusSeries;
    case Planet::Earth: return kEarthSeries;
    case Planet::Mars: return kMarsSeries;
    case Planet::Jupiter: return kJupiterSeries;
    case Planet::Saturn: return kSaturnSeries;
    case Planet::Uranus: return kUranusSeries;
    case Planet::Neptune: return kNeptuneSeries;
    case Planet::Pluto: break;
  }
  return kNone;
}

const Series& Vsop87LatitudeSeries(Planet planet) {
  static const Series kNone = {nullptr, 0};
  switch (planet) {
    case Planet::Mercury: return kMercuryLatitudeSeries;
    case Planet::Venus: return kVenusLatitudeSeries;
    case Planet::Earth: return kEarthLatitudeSeries;
    case Planet::Mars: return kMarsLatitudeSeries;
    case Planet::Jupiter: return kJupiterLatitudeSeries;
    case Planet::Saturn: return kSaturnLatitudeSeries;
    case Planet::Uranus: return kUranusLatitudeSeries;
    case Planet::Neptune: return kNeptuneLatitudeSeries;
    case Planet::Pluto: break;
  }
  return kNone;
}

double WrapToTurn(double angle, double turn) {
  double wrapped = std::fmod(angle, turn);
  if (wrapped < 0) wrapped += turn;
  if (wrapped >= turn) wrapped -= turn;  // -tiny + turn rounds to turn
  return wrapped;
}

}  // namespace barywalk
