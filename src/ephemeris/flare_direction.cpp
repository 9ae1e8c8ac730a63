#include "ephemeris/flare_direction.h"

#include <cmath>

#include "ephemeris/constants.h"
#include "ephemeris/planets.h"
#include "ephemeris/series.h"
#include "ephemeris/sun_orientation.h"

namespace barywalk {
namespace {

using Vector = double[3];

double Dot(const Vector a, const Vector b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Normalise(Vector v) {
  const double length = std::sqrt(Dot(v, v));
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

// The unit vector at ecliptic longitude `lon` and latitude `lat` (radians).
void FromSpherical(double lon, double lat, Vector v) {
  v[0] = std::cos(lat) * std::cos(lon);
  v[1] = std::cos(lat) * std::sin(lon);
  v[2] = std::sin(lat);
}

}  // namespace

StonyhurstFrame StonyhurstFrameAt(double jd) {
  StonyhurstFrame frame{};
  // The north pole of the solar equator lies 90 deg behind its ascending
  // node, at the inclination from the ecliptic pole.
  const double node = SunEquatorNodeDeg(jd) * kRadiansPerDegree;
  const double inclination = kSunEquatorInclinationDeg * kRadiansPerDegree;
  FromSpherical(node - kDegreesPerTurn / 4 * kRadiansPerDegree,
                kDegreesPerTurn / 4 * kRadiansPerDegree - inclination, frame.zAxis);

  Vector earth;
  FromSpherical(PlanetLongitude(Planet::Earth, jd), PlanetLatitude(Planet::Earth, jd), earth);
  const double along = Dot(earth, frame.zAxis);
  for (int i = 0; i < 3; ++i) frame.xAxis[i] = earth[i] - along * frame.zAxis[i];
  Normalise(frame.xAxis);

  const double* z = frame.zAxis;
  const double* x = frame.xAxis;
  frame.yAxis[0] = z[1] * x[2] - z[2] * x[1];
  frame.yAxis[1] = z[2] * x[0] - z[0] * x[2];
  frame.yAxis[2] = z[0] * x[1] - z[1] * x[0];
  return frame;
}

EclipticDirection FlareSiteDirection(const StonyhurstFrame& frame, double latDeg,
                                     double lonEastDeg) {
  Vector local;  // in the Stonyhurst axes, west-positive longitude
  FromSpherical(-lonEastDeg * kRadiansPerDegree, latDeg * kRadiansPerDegree, local);
  EclipticDirection d{};
  d.x = local[0] * frame.xAxis[0] + local[1] * frame.yAxis[0] + local[2] * frame.zAxis[0];
  d.y = local[0] * frame.xAxis[1] + local[1] * frame.yAxis[1] + local[2] * frame.zAxis[1];
  d.z = local[0] * frame.xAxis[2] + local[1] * frame.yAxis[2] + local[2] * frame.zAxis[2];
  d.lonDeg = WrapToTurn(std::atan2(d.y, d.x) * kDegreesPerRadian, kDegreesPerTurn);
  d.latDeg = std::asin(std::fmax(-1.0, std::fmin(1.0, d.z))) * kDegreesPerRadian;
  return d;
}

EclipticDirection FlareSiteDirection(double jd, double latDeg, double lonEastDeg) {
  return FlareSiteDirection(StonyhurstFrameAt(jd), latDeg, lonEastDeg);
}

}  // namespace barywalk
