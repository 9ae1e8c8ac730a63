// Flares grouped into the units that the active-region null shifts
// independently: the flares of one active region, and optionally the
// regions of one activity complex (nest), flare together for reasons of
// their own, so they must move together or the null would count one
// burst as many independent chances.
//
// The rule, in order:
// 1. A flare with a NOAA region number joins the group of that number if
//    the group's last flare lies at most `sameRegionGapDays` before it
//    (numbers are reused after 10,000 regions).
// 2. A flare without a number (region 0) joins the open group whose place
//    on the rotating Sun lies nearest to it, within `placeLatDeg` of
//    latitude and `placeLonDeg` of rotating longitude, whose last flare
//    lies at most `placeGapDays` before it. Otherwise it starts a group.
//    The rotating longitude is the flare's longitude from the central
//    meridian plus the synodic rotation since the catalog's first flare
//    (14.52 - 2.84 sin^2 b degrees per day sidereal, less the Earth's
//    0.9856): a spot on the Sun keeps it while it crosses the disc.
// 3. With `mergeNests`, groups join activity complexes (nests) the same
//    way, in order of their first flares: a group joins the nest whose
//    mean place lies nearest, within `nestLatDeg` and `nestLonDeg`
//    (rotating longitude), if the nest's last flare lies at most
//    `nestGapDays` before the group's first. A complex lives for several
//    rotations and gives a new region number on each. Comparing with the
//    nest's mean place, not with any of its members, keeps nests from
//    chaining across the whole Sun.
#pragma once

#include <vector>

namespace barywalk {

struct RegionGrouping {
  double sameRegionGapDays = 30;
  double placeLatDeg = 10;
  double placeLonDeg = 15;
  double placeGapDays = 14;  // about one passage across the disc
  bool mergeNests = true;
  double nestLatDeg = 10;
  double nestLonDeg = 20;
  double nestGapDays = 60;  // about two rotations
};

// What the grouping needs of one flare.
struct GroupedFlare {
  double jd = 0;
  double latitudeDeg = 0;
  double longitudeDeg = 0;  // from the central meridian, east positive
  int region = 0;           // NOAA number, 0 unknown
};

// The group of each flare (0 .. count - 1, numbered by first flare),
// for flares given in time order.
std::vector<int> GroupFlaresByRegion(const std::vector<GroupedFlare>& flares,
                                     const RegionGrouping& rule);

// The Sun's sidereal differential rotation, degrees per day at latitude b:
// kSunEquatorRateDegPerDay - kSunLatitudeRateDegPerDay * sin^2(b).
constexpr double kSunEquatorRateDegPerDay = 14.52;
constexpr double kSunLatitudeRateDegPerDay = 2.84;

// The synodic rotation of the Sun at heliographic latitude `latDeg`,
// degrees per day.
double SynodicRotationDegPerDay(double latDeg);

}  // namespace barywalk
