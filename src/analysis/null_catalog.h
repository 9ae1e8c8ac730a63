// Flare catalogs in which the flares are unrelated to the planets by
// construction, for checking that the significance test's p-values mean
// what they say, and the same catalogs with a planted planetary signal,
// for measuring its power.
//
// Two kinds of null catalog:
// - Synthetic: active regions born under a sin^2 solar-cycle envelope at
//   random longitudes in the Carrington-rate frame and latitudes +-(5..35)
//   degrees, turning at the sidereal rate 14.52 - 2.84 sin^2(b) deg/day,
//   living a lognormal time and flaring at a lognormal daily rate times a
//   Gamma factor drawn each day. A flare is kept while its region faces
//   the Earth (|longitude from the central meridian| <= 90 degrees). New
//   regions are born, with some probability, in the nest of a region born
//   shortly before (near its longitude and latitude), so neighbouring
//   regions are correlated as activity complexes are on the Sun.
// - A real catalog moved in time by one common random shift of tens to
//   hundreds of years: its flares keep their real clustering and their
//   places on the disc, and the planets at the shifted times have nothing
//   to do with them.
//
// Everything is drawn from a seeded generator with its own portable
// distributions, so one seed gives the same catalog on every platform.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/flare_geometry.h"
#include "analysis/region_groups.h"
#include "ephemeris/planets.h"
#include "flares/solar_flare.h"

namespace barywalk {

// The active-region model and its parameters. The defaults give about as
// many flares per year at the cycle's maximum as the 2010-2018 sample.
struct ActiveRegionModel {
  // Solar cycle: births follow sin^2(pi (t - start) / length).
  double cycleStartJd = 2454832.5;  // 2009-01-01, the minimum before cycle 24
  double cycleLengthDays = 11 * 365.25;
  double birthsPerDayAtMaximum = 0.3;  // region births per day at the envelope's peak
  double minLatitudeDeg = 5;           // regions are born in both hemispheres at
  double maxLatitudeDeg = 35;          // |latitude| between these, uniformly
  // Sidereal rotation, deg/day: equatorRate - latitudeRate * sin^2(b).
  double equatorRateDegPerDay = kSunEquatorRateDegPerDay;
  double latitudeRateDegPerDay = kSunLatitudeRateDegPerDay;
  // Lifetime and flare rate of a region: lognormal, median and sigma of the log.
  double medianLifetimeDays = 10;
  double lifetimeLogSigma = 0.6;
  double medianFlaresPerDay = 1.5;
  double flareRateLogSigma = 0.8;
  // Each day's rate is the region's rate times a Gamma factor of mean 1
  // and this shape (smaller: burstier days).
  double dailyGammaShape = 1.5;
  // A flare's site scatters around its region's centre by this much
  // (normal sigma, degrees, in latitude and in longitude).
  double siteScatterDeg = 1.5;
  // Nests: a new region is born, with this probability, near a region born
  // within the last nestMemoryDays (chosen at random among them), displaced
  // from that region's present place by normal sigmas in longitude and
  // latitude; otherwise at a random place.
  double nestProbability = 0.4;
  double nestMemoryDays = 60;
  double nestLongitudeSigmaDeg = 8;
  double nestLatitudeSigmaDeg = 3;
  // Flux: a power law dN/dF ~ F^-fluxIndex from minFlux (W/m^2, C1) up to maxFlux.
  double minFluxWm2 = 1e-6;
  double maxFluxWm2 = 2e-3;
  double fluxIndex = 2.0;
  // Region area (millionths of the disc) and flare duration: lognormal.
  double medianAreaMillionths = 150;
  double areaLogSigma = 0.9;
  double medianDurationMinutes = 20;
  double durationLogSigma = 0.7;
  // Visible half: flares are kept while |longitude from the central meridian| <= this.
  double maxCentralMeridianDeg = 90;
  // NOAA-like numbers of the regions that show a flare, from this one up in birth order.
  int firstRegionNumber = 11000;
};

// One generated flare.
struct SyntheticFlare {
  double jd = 0;
  double latitudeDeg = 0;
  double longitudeDeg = 0;   // from the central meridian as seen from the Earth, east positive
  double durationDays = 0;
  double areaMillionths = 0;
  double fluxWm2 = 0;
  int region = 0;            // the region's number, as field 7 of a flare file
  int complex = 0;           // the number of the nest's first region (the region itself when not nested)
};

// The flares of the model between startJd and endJd (regions born up to
// the longest plausible lifetime before startJd are followed too, so the
// catalog starts in a steady state), in time order.
std::vector<SyntheticFlare> GenerateActiveRegionFlares(const ActiveRegionModel& model,
                                                       double startJd, double endJd,
                                                       std::uint64_t seed);

// The generated flares as a flare map, numbered 1, 2, ... in time order.
// With `regionsAsComplexes` each flare carries its nest's number instead of
// its region's: the grouping that treats a whole complex as one unit.
FlareMap ToFlareMap(const std::vector<SyntheticFlare>& flares, bool regionsAsComplexes = false);

// `flares` with every time moved by `shiftDays`; places on the disc and all
// other fields unchanged.
FlareMap ShiftedCatalog(const FlareMap& flares, double shiftDays);

// One common shift for ShiftedCatalog: uniform in minYears..maxYears
// (Julian years) either way, drawn from `seed`.
double DrawCatalogShiftDays(std::uint64_t seed, double minYears, double maxYears);

// The ecliptic direction of a flare site in the geometry a test uses:
// longitude and latitude in degrees from the time and the site's
// heliographic latitude and east-positive longitude from the central
// meridian. Geometries that ignore latitude return the site's latitude.
using SiteEcliptic = std::function<void(double jd, double latDeg, double lonEastDeg,
                                        double& eclipticLonDeg, double& eclipticLatDeg)>;

// The site's direction as the significance test sees it in `geometry`
// (FlareSiteIn): in the plane geometry the Earth's longitude minus the
// flare's, latitude kept.
SiteEcliptic SiteInGeometry(Geometry geometry);

// What a planted signal aims at: the planet's longitude and latitude
// (degrees) at `jd`, as the significance test sees them in `geometry`
// (latitude 0 unless the geometry uses it).
using PlanetEcliptic = std::function<void(double jd, double& lonDeg, double& latDeg)>;
PlanetEcliptic PlanetInGeometry(Geometry geometry, Planet planet);

struct PlantedSignal {
  PlanetEcliptic planet;
  double fraction = 0.05;   // share of all flares moved
  double halfWidthDeg = 3;  // moved to within this of the planet's direction
  bool useLatitude = false; // also match the planet's latitude (3-D geometry)
};

// `flares` with round(fraction * size) of them, chosen at random among
// those whose time lets the planet be reached on the Earth-facing half,
// moved on the disc so that their direction (in `site`'s geometry) lies
// uniformly within halfWidthDeg of the planet's. Time and every other
// field of a moved flare stay. Fewer flares are moved only when fewer can
// be; `moved` (optional) tells how many were.
FlareMap PlantSignal(const FlareMap& flares, const PlantedSignal& signal, const SiteEcliptic& site,
                     std::uint64_t seed, int* moved = nullptr);

}  // namespace barywalk
