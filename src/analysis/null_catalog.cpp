#include "analysis/null_catalog.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "analysis/split_mix64.h"
#include "common/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/sun_orientation.h"
#include "flares/flare_constants.h"
#include "flares/flare_symbols.h"

namespace barywalk {
namespace {

// The sidereal rate of the Carrington frame, deg/day.
constexpr double kCarringtonRateDegPerDay = kDegreesPerTurn / kCarringtonSiderealPeriodDays;
// Regions born this many median lifetimes before a catalog's start are
// followed, so that the catalog opens with the regions already on the Sun.
constexpr double kLeadInLifetimes = 6;
// Iterations of the site solver of a planted flare: each cuts the error
// by the tilt between the solar and the ecliptic frames (some 0.1).
constexpr int kPlantIterations = 12;
constexpr double kMaxPlantedLatitudeDeg = 89;

// The analysis' generator with the distributions written out, since the
// standard library's distributions differ between platforms.
class CatalogRandom : private SplitMix64 {
 public:
  explicit CatalogRandom(std::uint64_t seed) : SplitMix64(seed ^ 0x6A09E667F3BCC909ULL) {}
  using SplitMix64::Uniform;
  // Uniform in (0, 1]: safe under a logarithm.
  double OpenUniform() { return 1.0 - Uniform(); }
  double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Uniform() * n) % n; }
  double Normal() {  // Box-Muller, one of the pair
    return std::sqrt(-2.0 * std::log(OpenUniform())) * std::cos(2 * kPi * Uniform());
  }
  double LogNormal(double median, double logSigma) { return median * std::exp(logSigma * Normal()); }
  // Marsaglia and Tsang (2000); shapes below 1 through the boosting identity.
  double Gamma(double shape) {
    if (shape < 1) return Gamma(shape + 1) * std::pow(OpenUniform(), 1.0 / shape);
    const double d = shape - 1.0 / 3, c = 1.0 / std::sqrt(9 * d);
    for (;;) {
      double x = 0, v = 0;
      do {
        x = Normal();
        v = 1 + c * x;
      } while (v <= 0);
      v = v * v * v;
      const double u = OpenUniform();
      if (std::log(u) < 0.5 * x * x + d - d * v + d * std::log(v)) return d * v;
    }
  }
  // Knuth's product of uniforms for small means, a rounded normal beyond
  // (a day's flares never number in the hundreds).
  int Poisson(double mean) {
    if (mean <= 0) return 0;
    if (mean > 200) return std::max(0, static_cast<int>(std::lround(mean + std::sqrt(mean) * Normal())));
    const double limit = std::exp(-mean);
    int k = 0;
    for (double p = Uniform(); p > limit; p *= Uniform()) ++k;
    return k;
  }

};

double Wrap180(double deg) { return deg - 360.0 * std::floor((deg + 180.0) / 360.0); }

// A region while it lives; longitudes in the Carrington-rate frame.
struct Region {
  double birthJd = 0;
  double deathJd = 0;
  double latitudeDeg = 0;
  double carringtonDeg = 0;  // at birth
  double flaresPerDay = 0;
  double areaMillionths = 0;
  int complex = 0;  // index of the first region of its nest
};

double SiderealRateDegPerDay(const ActiveRegionModel& model, double latitudeDeg) {
  const double s = std::sin(latitudeDeg * kRadiansPerDegree);
  return model.equatorRateDegPerDay - model.latitudeRateDegPerDay * s * s;
}

// Where a region's centre lies at `jd` in the Carrington-rate frame: it
// drifts by its differential rotation against that frame.
double CarringtonAt(const ActiveRegionModel& model, const Region& region, double jd) {
  const double drift = SiderealRateDegPerDay(model, region.latitudeDeg) - kCarringtonRateDegPerDay;
  return region.carringtonDeg + drift * (jd - region.birthJd);
}

double CycleEnvelope(const ActiveRegionModel& model, double jd) {
  const double s = std::sin(kPi * (jd - model.cycleStartJd) / model.cycleLengthDays);
  return s * s;
}

double ClampToBand(const ActiveRegionModel& model, double latitudeDeg) {
  const double sign = latitudeDeg < 0 ? -1.0 : 1.0;
  return sign * std::clamp(std::fabs(latitudeDeg), model.minLatitudeDeg, model.maxLatitudeDeg);
}

// A new region's place: in the nest of a recent region, or anywhere.
void PlaceRegion(const ActiveRegionModel& model, const std::vector<Region>& regions, int index,
                 CatalogRandom& random, Region& region) {
  std::vector<int> recent;
  for (int j = index - 1; j >= 0 && region.birthJd - regions[j].birthJd <= model.nestMemoryDays; --j) {
    recent.push_back(j);
  }
  if (!recent.empty() && random.Uniform() < model.nestProbability) {
    const Region& parent = regions[recent[random.Below(recent.size())]];
    region.carringtonDeg =
        CarringtonAt(model, parent, region.birthJd) + model.nestLongitudeSigmaDeg * random.Normal();
    region.latitudeDeg =
        ClampToBand(model, parent.latitudeDeg + model.nestLatitudeSigmaDeg * random.Normal());
    region.complex = parent.complex;
    return;
  }
  const double sign = random.Uniform() < 0.5 ? -1.0 : 1.0;
  region.carringtonDeg = random.Uniform(0, 360);
  region.latitudeDeg = sign * random.Uniform(model.minLatitudeDeg, model.maxLatitudeDeg);
  region.complex = index;
}

std::vector<Region> BornRegions(const ActiveRegionModel& model, double startJd, double endJd,
                                CatalogRandom& random) {
  std::vector<Region> regions;
  const double leadIn = kLeadInLifetimes * model.medianLifetimeDays;
  for (double day = std::floor(startJd - leadIn); day < endJd; day += 1) {
    const int births = random.Poisson(model.birthsPerDayAtMaximum * CycleEnvelope(model, day));
    for (int b = 0; b < births; ++b) {
      Region region;
      region.birthJd = day + random.Uniform();
      region.deathJd = region.birthJd + random.LogNormal(model.medianLifetimeDays, model.lifetimeLogSigma);
      region.flaresPerDay = random.LogNormal(model.medianFlaresPerDay, model.flareRateLogSigma);
      region.areaMillionths = random.LogNormal(model.medianAreaMillionths, model.areaLogSigma);
      PlaceRegion(model, regions, static_cast<int>(regions.size()), random, region);
      regions.push_back(region);
    }
  }
  return regions;
}

double DrawFlux(const ActiveRegionModel& model, CatalogRandom& random) {
  // Inverse of the truncated power law's cumulative distribution.
  const double a = 1 - model.fluxIndex;
  const double lo = std::pow(model.minFluxWm2, a), hi = std::pow(model.maxFluxWm2, a);
  return std::pow(lo + (hi - lo) * random.Uniform(), 1 / a);
}

// The region's flares, day by day, while it faces the Earth.
void RegionFlares(const ActiveRegionModel& model, const Region& region, int regionIndex,
                  double startJd, double endJd, CatalogRandom& random,
                  std::vector<SyntheticFlare>& out) {
  for (double day = region.birthJd; day < region.deathJd; day += 1) {
    const double dayEnd = std::min(day + 1, region.deathJd);
    const double mean = region.flaresPerDay * random.Gamma(model.dailyGammaShape) / model.dailyGammaShape *
                        (dayEnd - day);
    const int count = random.Poisson(mean);
    for (int k = 0; k < count; ++k) {
      SyntheticFlare flare;
      flare.jd = random.Uniform(day, dayEnd);
      flare.latitudeDeg = region.latitudeDeg + model.siteScatterDeg * random.Normal();
      const double carrington = CarringtonAt(model, region, flare.jd) + model.siteScatterDeg * random.Normal();
      flare.durationDays = random.LogNormal(model.medianDurationMinutes, model.durationLogSigma) / kMinutesPerDay;
      flare.areaMillionths = std::round(region.areaMillionths);
      flare.fluxWm2 = DrawFlux(model, random);
      if (flare.jd < startJd || flare.jd >= endJd) continue;
      // The Carrington-rate frame turns with the Sun; its longitude 0 is
      // taken at the ecliptic longitude 0 at J2000. The site's ecliptic
      // longitude, seen from the Earth, lies east of the central meridian
      // by the Earth's longitude minus it, as in the flare files.
      const double ecliptic = carrington + kCarringtonRateDegPerDay * (flare.jd - kJ2000);
      flare.longitudeDeg = Wrap180(EarthLongitude(flare.jd) * kDegreesPerRadian - ecliptic);
      if (std::fabs(flare.longitudeDeg) > model.maxCentralMeridianDeg) continue;
      flare.region = regionIndex;  // renumbered once all are known
      flare.complex = region.complex;
      out.push_back(flare);
    }
  }
}

// Numbers the regions that showed a flare, in birth order, and their nests
// by the number of the nest's first region that showed one.
void NumberRegions(const ActiveRegionModel& model, std::vector<SyntheticFlare>& flares) {
  std::map<int, int> regionNumber;
  for (const SyntheticFlare& flare : flares) regionNumber.emplace(flare.region, 0);
  int next = model.firstRegionNumber;
  for (auto& [index, number] : regionNumber) number = next++;
  std::map<int, int> complexNumber;
  for (const SyntheticFlare& flare : flares) {
    auto [it, added] = complexNumber.emplace(flare.complex, regionNumber[flare.region]);
    if (!added) it->second = std::min(it->second, regionNumber[flare.region]);
  }
  for (SyntheticFlare& flare : flares) {
    flare.complex = complexNumber[flare.complex];
    flare.region = regionNumber[flare.region];
  }
}

}  // namespace

std::vector<SyntheticFlare> GenerateActiveRegionFlares(const ActiveRegionModel& model,
                                                       double startJd, double endJd,
                                                       std::uint64_t seed) {
  CatalogRandom random(seed);
  const std::vector<Region> regions = BornRegions(model, startJd, endJd, random);
  std::vector<SyntheticFlare> flares;
  for (std::size_t r = 0; r < regions.size(); ++r) {
    RegionFlares(model, regions[r], static_cast<int>(r), startJd, endJd, random, flares);
  }
  std::stable_sort(flares.begin(), flares.end(),
                   [](const SyntheticFlare& a, const SyntheticFlare& b) { return a.jd < b.jd; });
  NumberRegions(model, flares);
  return flares;
}

FlareMap ToFlareMap(const std::vector<SyntheticFlare>& flares, bool regionsAsComplexes) {
  FlareMap map;
  int index = 0;
  for (const SyntheticFlare& f : flares) {
    map.emplace_hint(map.end(), f.jd,
                     SolarFlare(f.latitudeDeg, f.longitudeDeg, f.durationDays, f.areaMillionths, ++index,
                                f.fluxWm2, regionsAsComplexes ? f.complex : f.region));
  }
  return map;
}

FlareMap ShiftedCatalog(const FlareMap& flares, double shiftDays) {
  FlareMap shifted;
  for (const auto& [jd, flare] : flares) shifted.emplace_hint(shifted.end(), jd + shiftDays, flare);
  return shifted;
}

double DrawCatalogShiftDays(std::uint64_t seed, double minYears, double maxYears) {
  CatalogRandom random(seed);
  const double sign = random.Uniform() < 0.5 ? -1.0 : 1.0;
  return sign * random.Uniform(minYears, maxYears) * kDaysPerJulianYear;
}

SiteEcliptic SiteInGeometry(Geometry geometry) {
  return [geometry](double jd, double latDeg, double lonEastDeg, double& lonDeg, double& latOutDeg) {
    const SkyDirection site = FlareSiteIn(geometry, jd, SolarFlare(latDeg, lonEastDeg, 0, 0, 0));
    lonDeg = site.lonRad * kDegreesPerRadian;
    latOutDeg = geometry == Geometry::Plane ? latDeg : site.latRad * kDegreesPerRadian;
  };
}

PlanetEcliptic PlanetInGeometry(Geometry geometry, Planet planet) {
  return [geometry, planet](double jd, double& lonDeg, double& latDeg) {
    lonDeg = PlanetLongitudeIn(geometry, planet, jd) * kDegreesPerRadian;
    latDeg = geometry == Geometry::Sphere ? PlanetLatitudeOfDate(planet, jd) * kDegreesPerRadian : 0;
  };
}

namespace {

// Moves a flare's site so that its direction in `site`'s geometry is
// (targetLon, targetLat): a fixed-point iteration, since near the Sun's
// equator a change of the site's longitude changes the direction's by
// nearly as much (and its latitude the latitude's).
void AimSite(const SiteEcliptic& site, double jd, double targetLon, double targetLat,
             bool useLatitude, double& latDeg, double& lonEastDeg) {
  for (int i = 0; i < kPlantIterations; ++i) {
    double lon = 0, lat = 0;
    site(jd, latDeg, lonEastDeg, lon, lat);
    lonEastDeg = Wrap180(lonEastDeg - Wrap180(targetLon - lon));
    if (useLatitude) {
      latDeg = std::clamp(latDeg + (targetLat - lat), -kMaxPlantedLatitudeDeg, kMaxPlantedLatitudeDeg);
    }
  }
}

}  // namespace

FlareMap PlantSignal(const FlareMap& flares, const PlantedSignal& signal, const SiteEcliptic& site,
                     std::uint64_t seed, int* moved) {
  CatalogRandom random(seed);
  std::vector<FlareMap::const_iterator> order;
  for (auto it = flares.begin(); it != flares.end(); ++it) order.push_back(it);
  for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.Below(i)]);
  const int wanted = static_cast<int>(std::lround(signal.fraction * flares.size()));
  std::map<const SolarFlare*, std::pair<double, double>> newSites;  // flare -> (lat, lon)
  for (std::size_t i = 0; i < order.size() && static_cast<int>(newSites.size()) < wanted; ++i) {
    const double jd = order[i]->first;
    const SolarFlare& flare = order[i]->second;
    double planetLon = 0, planetLat = 0;
    signal.planet(jd, planetLon, planetLat);
    // Uniform within the half-width: on a line, or on a disc with latitude.
    double dLon = 0, dLat = 0;
    if (signal.useLatitude) {
      const double r = signal.halfWidthDeg * std::sqrt(random.Uniform()), a = 2 * kPi * random.Uniform();
      dLat = r * std::sin(a);
      dLon = r * std::cos(a) / std::cos(planetLat * kRadiansPerDegree);
    } else {
      dLon = random.Uniform(-signal.halfWidthDeg, signal.halfWidthDeg);
    }
    double lat = flare.Latitude(), lon = flare.Longitude();
    AimSite(site, jd, planetLon + dLon, planetLat + dLat, signal.useLatitude, lat, lon);
    if (std::fabs(lon) <= 90) newSites[&flare] = {lat, lon};
  }
  FlareMap planted;
  for (const auto& [jd, flare] : flares) {
    const auto it = newSites.find(&flare);
    if (it == newSites.end()) {
      planted.emplace_hint(planted.end(), jd, flare);
    } else {
      planted.emplace_hint(planted.end(), jd,
                           SolarFlare(it->second.first, it->second.second, flare.Duration(), flare.Area(),
                                      flare.Index(), flare.Flux(), flare.Region()));
    }
  }
  if (moved) *moved = static_cast<int>(newSites.size());
  return planted;
}

}  // namespace barywalk
