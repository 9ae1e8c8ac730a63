#include "analysis/region_groups.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "ephemeris/constants.h"

namespace barywalk {
namespace {

constexpr double kEarthMeanMotionDegPerDay = 0.9856;

// The signed difference a - b of two longitudes in degrees, in [-180, 180].
double LongitudeDifference(double a, double b) { return std::remainder(a - b, 360.0); }

// A group as it grows: its mean place on the rotating Sun and its span.
struct Group {
  double firstJd = 0, lastJd = 0;
  double latitudeSum = 0;
  double referenceLon = 0;     // the first flare's rotating longitude
  double lonOffsetSum = 0;     // of the others from it
  int flares = 0;

  double MeanLatitude() const { return latitudeSum / flares; }
  double MeanLongitude() const { return referenceLon + lonOffsetSum / flares; }
  void Add(double jd, double latitude, double rotatingLon) {
    if (flares == 0) {
      firstJd = jd;
      referenceLon = rotatingLon;
    }
    lastJd = jd;
    latitudeSum += latitude;
    lonOffsetSum += LongitudeDifference(rotatingLon, referenceLon);
    ++flares;
  }
};

bool NearInPlace(double latA, double lonA, double latB, double lonB, double maxLat,
                 double maxLon) {
  return std::fabs(latA - latB) <= maxLat && std::fabs(LongitudeDifference(lonA, lonB)) <= maxLon;
}

// Groups join nests as flares join groups: in order of their first
// flares, each to the nest whose mean place lies nearest within the
// limits and whose last group ended at most the gap before; otherwise it
// founds one. Comparing with the nest's mean, not with any member, keeps
// nests from chaining across the whole Sun.
std::vector<int> MergeNests(const std::vector<Group>& groups, const RegionGrouping& rule) {
  std::vector<int> nestOf(groups.size(), -1);
  std::vector<Group> nests;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const Group& group = groups[g];
    const double lat = group.MeanLatitude(), lon = group.MeanLongitude();
    int chosen = -1;
    double best = 1e300;
    for (std::size_t n = 0; n < nests.size(); ++n) {
      const Group& nest = nests[n];
      if (group.firstJd - nest.lastJd > rule.nestGapDays) continue;
      if (!NearInPlace(lat, lon, nest.MeanLatitude(), nest.MeanLongitude(), rule.nestLatDeg,
                       rule.nestLonDeg)) {
        continue;
      }
      const double distance =
          std::hypot(lat - nest.MeanLatitude(), LongitudeDifference(lon, nest.MeanLongitude()));
      if (distance < best) {
        best = distance;
        chosen = static_cast<int>(n);
      }
    }
    if (chosen < 0) {
      chosen = static_cast<int>(nests.size());
      nests.emplace_back();
    }
    nests[chosen].Add(group.firstJd, lat, lon);
    nests[chosen].lastJd = std::max(nests[chosen].lastJd, group.lastJd);
    nestOf[g] = chosen;
  }
  return nestOf;
}

}  // namespace

double SynodicRotationDegPerDay(double latDeg) {
  const double s = std::sin(latDeg * kRadiansPerDegree);
  return kSunEquatorRateDegPerDay - kSunLatitudeRateDegPerDay * s * s - kEarthMeanMotionDegPerDay;
}

std::vector<int> GroupFlaresByRegion(const std::vector<GroupedFlare>& flares,
                                     const RegionGrouping& rule) {
  std::vector<int> group(flares.size(), -1);
  if (flares.empty()) return group;
  const double epoch = flares.front().jd;
  std::vector<Group> groups;
  std::map<int, int> groupOfRegion;  // the latest group of each NOAA number
  std::vector<int> open;             // groups an unnumbered flare may join
  for (std::size_t i = 0; i < flares.size(); ++i) {
    const GroupedFlare& f = flares[i];
    const double rotatingLon = std::remainder(
        f.longitudeDeg + SynodicRotationDegPerDay(f.latitudeDeg) * (f.jd - epoch), 360.0);
    // Groups whose last flare lies too far back to take an unnumbered one.
    open.erase(std::remove_if(open.begin(), open.end(),
                              [&](int g) { return f.jd - groups[g].lastJd > rule.placeGapDays; }),
               open.end());
    int chosen = -1;
    if (f.region != 0) {
      const auto found = groupOfRegion.find(f.region);
      if (found != groupOfRegion.end() && f.jd - groups[found->second].lastJd <= rule.sameRegionGapDays) {
        chosen = found->second;
      }
    } else {
      double best = 1e300;
      for (int g : open) {
        const Group& candidate = groups[g];
        if (!NearInPlace(f.latitudeDeg, rotatingLon, candidate.MeanLatitude(),
                         candidate.MeanLongitude(), rule.placeLatDeg, rule.placeLonDeg)) {
          continue;
        }
        const double distance = std::hypot(f.latitudeDeg - candidate.MeanLatitude(),
                                           LongitudeDifference(rotatingLon, candidate.MeanLongitude()));
        if (distance < best) {
          best = distance;
          chosen = g;
        }
      }
    }
    if (chosen < 0) {
      chosen = static_cast<int>(groups.size());
      groups.emplace_back();
    }
    if (std::find(open.begin(), open.end(), chosen) == open.end()) open.push_back(chosen);
    if (f.region != 0) groupOfRegion[f.region] = chosen;
    groups[chosen].Add(f.jd, f.latitudeDeg, rotatingLon);
    group[i] = chosen;
  }
  if (rule.mergeNests) {
    const std::vector<int> unit = MergeNests(groups, rule);
    for (int& g : group) g = unit[g];
  }
  return group;
}

}  // namespace barywalk
