// The dates the ephemeris benchmarks step through.
#pragma once

namespace barywalk::bench {

// Steps through about 27 years so that no call sees the same date twice in
// a row.
inline double NextJulianDay(double& jd) {
  jd += 0.37;
  if (jd > 2461545.0) jd = 2451545.0;
  return jd;
}

}  // namespace barywalk::bench
