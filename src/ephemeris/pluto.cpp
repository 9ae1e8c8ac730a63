#include "ephemeris/pluto.h"

#include <cmath>

#include "ephemeris/julian_day.h"
#include "ephemeris/series.h"

namespace barywalk {
namespace {

struct MeanLongitudes {
  double jupiter;  // degrees
  double saturn;
  double pluto;
};

MeanLongitudes MeanLongitudesAt(double T) {
  return {kPlutoJupiterBase + kPlutoJupiterRate * T, kPlutoSaturnBase + kPlutoSaturnRate * T,
          kPlutoPlutoBase + kPlutoPlutoRate * T};
}

// Sum over the terms of A sin(alpha) + B cos(alpha), in table order.
double SumTerms(const PlutoCoefficients (&coefficients)[kPlutoTermCount], double T) {
  const MeanLongitudes mean = MeanLongitudesAt(T);
  double sum = 0;
  for (int n = 0; n < kPlutoTermCount; ++n) {
    const PlutoArgument& arg = kPlutoArguments[n];
    const double alpha =
        (arg.i * mean.jupiter + arg.j * mean.saturn + arg.k * mean.pluto) * kRadiansPerDegree;
    sum += coefficients[n].A * std::sin(alpha) + coefficients[n].B * std::cos(alpha);
  }
  return sum;
}

}  // namespace

double PlutoLongitude(double jd) {
  const double T = JulianCenturies(jd);
  const double sum = SumTerms(kPlutoLongitudeTerms, T);
  return ReduceDegrees(kPlutoLongitudeRate * T + kPlutoLongitudeBase + sum / kPlutoLongitudeUnit);
}

double PlutoLatitude(double jd) {
  const double T = JulianCenturies(jd);
  return kPlutoLatitudeBase + SumTerms(kPlutoLatitudeTerms, T) / kPlutoLatitudeUnit;
}

double PlutoRadius(double jd) {
  const double T = JulianCenturies(jd);
  return kPlutoRadiusBase + SumTerms(kPlutoRadiusTerms, T) / kPlutoRadiusUnit;
}

}  // namespace barywalk
