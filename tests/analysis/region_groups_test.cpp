// The units of the region null: one per active region, unnumbered flares
// following their spot as the Sun turns, activity complexes merged only
// when asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "analysis/region_groups.h"

namespace barywalk {
namespace {

constexpr double kStart = 2455197.5;

// A flare `days` after the start at latitude `lat`, on a spot that was at
// `lonAtStart` from the central meridian at the start and turns with the Sun.
GroupedFlare OnSpot(double days, double lat, double lonAtStart, int region = 0) {
  return {kStart + days, lat, lonAtStart - SynodicRotationDegPerDay(lat) * days, region};
}

int Units(const std::vector<int>& groups) {
  int units = 0;
  for (int g : groups) units = std::max(units, g + 1);
  return units;
}

TEST(RegionGroupsTest, GroupsByNumberSpotAndNest) {
  struct Case {
    const char* name;
    std::vector<GroupedFlare> flares;
    bool mergeNests;
    int units;
  };
  const Case cases[] = {
      {"one numbered region, three days", {OnSpot(0, 10, 50, 1234), OnSpot(1, 10, 50, 1234), OnSpot(3, 12, 40, 1234)}, false, 1},
      {"two numbers at one place", {OnSpot(0, 10, 50, 1234), OnSpot(1, 10, 50, 1235)}, false, 2},
      {"a number reused a year later", {OnSpot(0, 10, 50, 1234), OnSpot(365, 10, 50, 1234)}, false, 2},
      {"unnumbered flares on one turning spot", {OnSpot(0, -15, 60), OnSpot(2, -15, 60), OnSpot(9, -14, 62)}, false, 1},
      {"unnumbered flares at both hemispheres", {OnSpot(0, -15, 60), OnSpot(0.5, 15, 60)}, false, 2},
      {"an unnumbered flare on a numbered region", {OnSpot(0, 20, 0, 777), OnSpot(1, 21, 3)}, false, 1},
      {"a spot seen again next rotation", {OnSpot(0, 10, 30), OnSpot(27.5, 10, 30)}, false, 2},
      {"the same, as one nest", {OnSpot(0, 10, 30), OnSpot(27.5, 10, 30)}, true, 1},
      {"far apart, no nest", {OnSpot(0, 10, 30), OnSpot(27.5, 10, 120)}, true, 2},
  };
  for (const Case& c : cases) {
    RegionGrouping rule;
    rule.mergeNests = c.mergeNests;
    EXPECT_EQ(Units(GroupFlaresByRegion(c.flares, rule)), c.units) << c.name;
  }
}

}  // namespace
}  // namespace barywalk
