// A planet's heliocentric longitude tabulated at equal steps over a span
// of time and read back by four-point (cubic) Lagrange interpolation: the
// Monte Carlo null of the significance test needs the planets at some
// hundred million times, which direct evaluation of the series cannot
// afford.
#pragma once

#include <functional>
#include <vector>

#include "ephemeris/planets.h"

namespace barywalk {

// The table step for `planet`, days: chosen so that the interpolated
// longitude stays within 1e-4 degrees of PlanetPosition (Mercury, the
// fastest, is the bound; the tests check every planet).
double LongitudeTableStepDays(Planet planet);

class LongitudeTable {
 public:
  // Tabulates PlanetPosition's L of `planet` from `firstJd` to `lastJd`
  // (Julian days, the theories' time argument) at LongitudeTableStepDays,
  // evaluating the series on `threads` threads (1 or more).
  LongitudeTable(Planet planet, double firstJd, double lastJd, int threads);

  // The same for any angle of time that moves by much less than half a
  // turn per step (radians): another frame's longitude, or a latitude.
  LongitudeTable(const std::function<double(double)>& angle, double stepDays, double firstJd,
                 double lastJd, int threads);

  // The longitude at `jd` in radians, unwrapped: continuous in time, so
  // it differs from PlanetPosition's L (0..2pi) by whole turns. `jd` must
  // lie within the span given to the constructor.
  double Unwrapped(double jd) const {
    const double u = (jd - m_firstJd) * m_invStep;
    const int k = static_cast<int>(u);
    const double f = u - k;
    const double* v = &m_values[static_cast<std::size_t>(k)];
    // Weights of the nodes k-1, k, k+1, k+2 at k + f.
    const double fm1 = f - 1, fm2 = f - 2, fp1 = f + 1;
    const double w0 = -f * fm1 * fm2 * (1.0 / 6);
    const double w1 = fp1 * fm1 * fm2 * 0.5;
    const double w2 = -fp1 * f * fm2 * 0.5;
    const double w3 = fp1 * f * fm1 * (1.0 / 6);
    return w0 * v[0] + w1 * v[1] + w2 * v[2] + w3 * v[3];
  }

 private:
  double m_firstJd;  // the time of node 1
  double m_invStep;
  std::vector<double> m_values;  // node i at m_firstJd + (i - 1) * step
};

}  // namespace barywalk
