// Constants of the ephemeris: time scale, series units, Pluto's theory,
// the mass table and the view scale used by the barycenter computation.
#pragma once

#include <array>

namespace barywalk {

// --- Time scale -----------------------------------------------------------
constexpr double kJ2000 = 2451545.0;                  // JD of J2000.0
constexpr double kDaysPerJulianMillennium = 365250.0;
constexpr double kDaysPerJulianCentury = 36525.0;
constexpr double kDaysPerJulianYear = 365.25;
// 1970-01-01T00:00Z is JD 2440587 + 0.5 (Julian days begin at noon).
constexpr double kUnixEpochJulianDayNumber = 2440587.0;
constexpr double kHalfDay = 0.5;
constexpr long long kMillisecondsPerDay = 86400000;

// --- Angles ---------------------------------------------------------------
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerTurn = 360.0;
constexpr double kArcsecPerDegree = 3600.0;
constexpr double kRadiansPerArcsec = kRadiansPerDegree / kArcsecPerDegree;

// --- Planetary series (abridged VSOP87D) ------------------------------------
// Amplitudes are in 1e-8 radian (longitude) or 1e-8 au (radius).
constexpr double kSeriesAmplitudeUnit = 1e8;
constexpr int kMaxSubSeries = 6;  // L0..L5, R0..R5

// --- Pluto (Meeus, chapter 37) ----------------------------------------------
constexpr int kPlutoTermCount = 43;
// Mean longitudes in degrees: value = base + rate * T (T in Julian centuries).
constexpr double kPlutoJupiterBase = 34.35, kPlutoJupiterRate = 3034.9057;
constexpr double kPlutoSaturnBase = 50.08, kPlutoSaturnRate = 1222.1138;
constexpr double kPlutoPlutoBase = 238.96, kPlutoPlutoRate = 144.96;
constexpr double kPlutoLongitudeRate = 144.96;      // degrees per century
constexpr double kPlutoLongitudeBase = 238.958116;  // degrees
constexpr double kPlutoLongitudeUnit = 1e6;         // coefficients in 1e-6 degree
constexpr double kPlutoRadiusBase = 40.7241346;     // au
constexpr double kPlutoRadiusUnit = 1e7;            // coefficients in 1e-7 au
constexpr double kPlutoLatitudeBase = -3.908239;    // degrees
constexpr double kPlutoLatitudeUnit = 1e6;          // coefficients in 1e-6 degree

// --- Masses, in Earth masses ------------------------------------------------
// Index 0 is the Sun, then the planets in the planet order (Mercury = 1).
constexpr int kBodyCount = 10;
constexpr std::array<double, kBodyCount> kBodyMasses = {
    332981.79,  // Sun
    0.06,       // Mercury
    0.82,       // Venus
    1.0,        // Earth
    0.11,       // Mars
    317.8,      // Jupiter
    95.2,       // Saturn
    14.6,       // Uranus
    17.2,       // Neptune
    0.0021,     // Pluto
};
constexpr double kSunMass = 332981.79;  // the Sun's mass in the pull on the Sun

// --- Sun offset and acceleration --------------------------------------------
constexpr double kAstronomicalUnitMetres = 1.49598e11;
constexpr double kSolarRadiusMetres = 6.955e8;
constexpr double kAccelerationDisplayDivisor = 2.3e7;
// Pixels per solar radius: width * kViewScaleFactor / kViewScaleDivisor.
constexpr double kViewScaleFactor = 0.7;
constexpr double kViewScaleDivisor = 6.0;

}  // namespace barywalk
