// Precession of ecliptic coordinates, to bring a position referred to the
// ecliptic and equinox of J2000 into the mean ecliptic and equinox of date,
// the frame of the VSOP87D series.
//
// Source: J. Meeus, Astronomical Algorithms, 2nd ed., chapter 21, equations
// 21.5 (eta, Pi, p with the starting epoch J2000, so the starting T is 0) and
// 21.7 (the rigorous rotation). Time scale TT. Accuracy: the IAU 1976
// precession, a few milliarcseconds over several centuries.
#pragma once

namespace barywalk {

// Longitude and latitude in radians, ecliptic and equinox of J2000, become
// those of the mean ecliptic and equinox of Julian day `jd` (TT). The
// longitude comes back in [0, 2pi). About 1.397 deg per century in
// longitude, plus up to 47" per century in latitude.
void PrecessEclipticFromJ2000(double jd, double& lonRad, double& latRad);

}  // namespace barywalk
