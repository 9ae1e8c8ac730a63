// A flare site on the Sun as a direction in space: the unit vector from the
// Sun's centre through a point given in Stonyhurst heliographic coordinates,
// in heliocentric ecliptic coordinates of date (the frame of the planets'
// VSOP87D longitudes), with its ecliptic longitude and latitude.
//
// The Stonyhurst frame: z along the Sun's rotation axis (Carrington's
// elements: inclination 7.25 deg to the ecliptic, ascending node K, see
// sun_orientation.h), x the Sun-Earth line projected on the solar equator,
// y = z cross x (toward solar west as seen from the Earth). Time scale: TT;
// the program's UT differs by about a minute, negligible here.
//
// Source: W. T. Thompson, "Coordinate systems for solar image data", A&A 449,
// 791 (2006); J. Meeus, Astronomical Algorithms, 2nd ed., chapter 29.
#pragma once

namespace barywalk {

// A unit vector in heliocentric ecliptic coordinates of date (mean ecliptic
// and equinox of date) and its spherical angles in degrees: lonDeg in
// [0, 360), latDeg in [-90, 90].
struct EclipticDirection {
  double x, y, z, lonDeg, latDeg;
};

// The Stonyhurst axes at one instant, as unit vectors in heliocentric
// ecliptic coordinates of date. Computing it costs one VSOP87 Earth
// longitude and latitude evaluation; FlareSiteDirection with a frame is then
// a few multiplications, so callers with many flares at one time (or a
// table of times) make the frame once.
struct StonyhurstFrame {
  double xAxis[3];  // toward the Earth, in the solar equator plane
  double yAxis[3];  // toward solar west seen from the Earth
  double zAxis[3];  // the Sun's north rotation pole
};

// The Stonyhurst frame at Julian day `jd` (TT), from the VSOP87 Earth
// position (geometric, no light time: the Sun-Earth line moves 0.006 deg in
// the light's 8.3 minutes).
StonyhurstFrame StonyhurstFrameAt(double jd);

// The direction of the point at Stonyhurst latitude `latDeg` and
// east-positive longitude `lonEastDeg` (degrees; east positive as flare files
// store it, the Stonyhurst longitude with its sign reversed). Positive
// `lonEastDeg` lies toward the Earth's east limb, behind the Earth's
// direction in the Sun's prograde rotation: the site at the disc centre
// points to the Earth's heliocentric longitude L, one on the equator at W90
// (lonEastDeg = -90) to about L + 90.
EclipticDirection FlareSiteDirection(const StonyhurstFrame& frame, double latDeg,
                                     double lonEastDeg);

// The same at Julian day `jd` (TT): StonyhurstFrameAt(jd) and the above.
EclipticDirection FlareSiteDirection(double jd, double latDeg, double lonEastDeg);

}  // namespace barywalk
