// The Sun's orientation as seen from the Earth: the position angle of its
// rotation axis (P), the heliographic latitude and Carrington longitude of the
// disc centre (B0, L0), its apparent radius, and the conversion of a point
// given in helioprojective arcseconds into Stonyhurst heliographic
// coordinates.
//
// Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 29
// "Ephemeris for physical observations of the Sun" (Carrington's elements of
// the rotation axis), with the Sun's place from this program's own VSOP87
// Earth series, chapter 22's low-precision nutation and chapter 25's
// aberration. The helioprojective conversion follows W. T. Thompson,
// "Coordinate systems for solar image data", A&A 449, 791 (2006).
//
// Time scale: every Julian day here is Terrestrial Time; the program passes
// its one time axis (UT) unchanged, which differs from TT by about a minute,
// i.e. 0.01 deg of solar rotation at most in the 20th and 21st centuries.
#pragma once

namespace barywalk {

// The rotation axis of the Sun (Carrington's elements), referred to the mean
// ecliptic and equinox of date.
constexpr double kSunEquatorInclinationDeg = 7.25;   // to the ecliptic
constexpr double kSunNodeAtEpochDeg = 73.6667;       // ascending node K at kSunNodeEpoch
constexpr double kSunNodeRateDegPerCentury = 1.3958333;
constexpr double kSunNodeEpoch = 2396758.0;          // JD, 1850 Jan 1.5
// Carrington's sidereal rotation period of the Sun, days: the rate of the
// frame that Carrington longitudes turn with.
constexpr double kCarringtonSiderealPeriodDays = 25.38;
// The Sun's semi-diameter at one astronomical unit, arcseconds.
constexpr double kSunSemiDiameterAtOneAuArcsec = 959.63;

// The longitude of the ascending node K of the solar equator on the
// ecliptic at Julian day `jd` (TT), degrees, mean equinox of date.
double SunEquatorNodeDeg(double jd);

// Orientation angles of the Sun seen from the Earth, degrees.
//   P:  position angle of the northern end of the rotation axis, measured
//       eastward from the north point of the disc; -26.3 <= P <= +26.3.
//   B0: heliographic latitude of the centre of the disc; |B0| <= 7.25.
//   L0: Carrington longitude of the centre of the disc; 0 <= L0 < 360.
struct SunOrientation {
  double P;
  double B0;
  double L0;
};

// P, B0 and L0 at Julian day `jd` (TT).
//
// The Sun's geocentric longitude is the VSOP87 Earth longitude plus 180 deg,
// less the annual aberration (20.4898"/R), which is what the disc shows at
// that instant. P also takes the nutation in longitude and the true obliquity
// (it is measured from the celestial north of date); B0 and L0 use the
// longitude without nutation, as the node K is referred to the mean equinox.
// No light-time correction: L0 is the longitude of the point that faces the
// Earth at `jd`. Against SunPy (IAU rotation elements) over 1976-2030: P and
// B0 within 0.005 deg, L0 within 0.05 deg, the L0 difference growing by 0.1
// deg per century from Carrington's rotation rate against the IAU's.
// Cost: one VSOP87 Earth longitude and radius evaluation.
SunOrientation SolarOrientation(double jd);

// The Sun's apparent (angular) radius seen from the Earth at `jd` (TT),
// arcseconds: 959.63" divided by the Earth-Sun distance in astronomical
// units (VSOP87 radius vector). About 944" to 976" over the year.
double SunApparentRadiusArcsec(double jd);

// Converts a point on the solar disc seen from the Earth at `jd` (TT), given
// in helioprojective arcseconds from the disc centre (x toward solar west,
// y toward solar north: images rotated so that solar north is up), into
// Stonyhurst heliographic latitude and EAST-POSITIVE longitude in degrees
// (the Stonyhurst longitude with its sign reversed, as flare files store
// it; -90 <= lonEastDeg <= 90 on the visible hemisphere).
//
// The point is taken where the line of sight first meets the photosphere, a
// sphere of 695,700 km (the IAU nominal radius, which SunPy and the SDO-era
// catalogs use) at the VSOP87 Earth-Sun distance. A point up to 3e-4 solar
// radii (about 0.3") beyond the limb is put on the limb, since the limb is
// not known better than that. Returns false, and leaves the outputs
// untouched, when the point lies farther off the disc or an input is not
// finite. The observer is the Earth's centre: the parallax of a spacecraft in
// Earth orbit (at most 2e-5 of the distance) is left out.
bool HelioprojectiveToStonyhurst(double jd, double xArcsec, double yArcsec, double& latDeg,
                                 double& lonEastDeg);

}  // namespace barywalk
