// Pluto's heliocentric longitude, latitude and radius vector from the 43-term
// periodic theory of Meeus, Astronomical Algorithms, 2nd ed., chapter 37,
// referred to the ecliptic and equinox of J2000. Valid as a
// fit for 1885..2099; evaluated for any date all the same.
#pragma once

#include "ephemeris/constants.h"

namespace barywalk {

// Multipliers of the mean longitudes of Jupiter (i), Saturn (j) and Pluto (k)
// in one term's argument.
struct PlutoArgument {
  double i;
  double j;
  double k;
};

// Coefficients of sin(alpha) (A) and cos(alpha) (B) of one term.
struct PlutoCoefficients {
  double A;
  double B;
};

// The terms as three parallel arrays in the published order (pluto_terms.cpp,
// generated). Longitude coefficients in 1e-6 degree, radius in 1e-7 au.
extern const PlutoArgument kPlutoArguments[kPlutoTermCount];
extern const PlutoCoefficients kPlutoLongitudeTerms[kPlutoTermCount];
extern const PlutoCoefficients kPlutoRadiusTerms[kPlutoTermCount];
// Latitude coefficients in 1e-6 degree (pluto_latitude_terms.cpp, generated).
extern const PlutoCoefficients kPlutoLatitudeTerms[kPlutoTermCount];

// Heliocentric ecliptic longitude in degrees, reduced to 0 <= value <= 360.
double PlutoLongitude(double jd);

// Radius vector in astronomical units.
double PlutoRadius(double jd);

// Heliocentric ecliptic latitude in degrees, referred to the ecliptic of
// J2000 (the theory's frame, as is the longitude). Not reduced: a signed
// latitude of about -17 to +17 deg in the theory's span 1885..2099.
double PlutoLatitude(double jd);

}  // namespace barywalk
