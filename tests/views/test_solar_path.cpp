#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "views/solar_path.h"

namespace barywalk {
namespace {

constexpr double kJan1980 = 2444239.5;

// Plays forward from `start` in `steps` steps of `increment` days, feeding the
// trail as the clock does, and returns the indices of the steps that stored.
std::vector<int> StoredSteps(SolarPath& path, double start, double increment, int steps) {
  std::vector<int> stored;
  double time = start;
  for (int step = 0; step < steps; ++step) {
    const size_t before = path.Points().size();
    path.AddPoint(time, PixelPoint{static_cast<double>(step), 0});
    if (path.Points().size() > before) stored.push_back(step);
    time += increment;
  }
  return stored;
}

TEST(SolarPath, StartsEmptyAndClearEmptiesAgain) {
  SolarPath path;
  EXPECT_TRUE(path.Points().empty());
  EXPECT_EQ(path.LastTime(), -1000.0);

  path.AddPoint(kJan1980, {1, 2});
  path.AddPoint(kJan1980 + 20, {3, 4});
  ASSERT_EQ(path.Points().size(), 2u);
  EXPECT_EQ(path.LastTime(), kJan1980 + 20);

  path.Clear();
  EXPECT_TRUE(path.Points().empty());
  EXPECT_EQ(path.LastTime(), -1000.0);
  path.AddPoint(kJan1980, {5, 6});
  EXPECT_EQ(path.Points().size(), 1u);
}

TEST(SolarPath, FirstPointAfterClearStoresForAnyDayAboveMinus990) {
  for (double jd : {kJan1980, 0.0, -989.0, -989.999}) {
    SolarPath path;
    path.AddPoint(jd, {7, 8});
    ASSERT_EQ(path.Points().size(), 1u) << jd;
    EXPECT_EQ(path.Points().front().x, 7);
    EXPECT_EQ(path.Points().front().y, 8);
    EXPECT_EQ(path.LastTime(), jd);
  }
  SolarPath path;
  path.AddPoint(-990.0, {1, 1});  // exactly 10 days after the empty trail's time
  EXPECT_TRUE(path.Points().empty());
}

TEST(SolarPath, StoresOnlyBeyondTenDays) {
  SolarPath path;
  path.AddPoint(kJan1980, {0, 0});
  path.AddPoint(kJan1980 + 10.0, {1, 1});
  EXPECT_EQ(path.Points().size(), 1u);
  EXPECT_EQ(path.LastTime(), kJan1980);
  path.AddPoint(kJan1980 + 10.001, {2, 2});
  ASSERT_EQ(path.Points().size(), 2u);
  EXPECT_EQ(path.Points().back().x, 2);
  EXPECT_EQ(path.LastTime(), kJan1980 + 10.001);
}

TEST(SolarPath, SmallIncrementStoresFirstStepThenEvery91st) {
  SolarPath path;
  const std::vector<int> stored = StoredSteps(path, kJan1980, 0.11, 1000);
  const std::vector<int> expected = {0, 91, 182, 273, 364, 455, 546, 637, 728, 819, 910};
  EXPECT_EQ(stored, expected);
  // Points come out oldest first.
  std::vector<double> xs;
  for (const PixelPoint& p : path.Points()) xs.push_back(p.x);
  EXPECT_EQ(xs, std::vector<double>(expected.begin(), expected.end()));
}

TEST(SolarPath, IncrementAboveTenDaysStoresEveryStep) {
  SolarPath path;
  EXPECT_EQ(StoredSteps(path, kJan1980, 10.5, 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(SolarPath, ForwardAfterReverseWaitsUntilPastLastStoredTime) {
  SolarPath path;
  path.AddPoint(kJan1980 + 100, {0, 0});
  // Played in reverse to 50 days before that point, then forward again in half days.
  double firstStored = NAN;
  for (double time = kJan1980 + 50; time < kJan1980 + 200; time += 0.5) {
    const size_t before = path.Points().size();
    path.AddPoint(time, {1, 1});
    if (path.Points().size() > before) {
      firstStored = time;
      break;
    }
  }
  EXPECT_EQ(firstStored, kJan1980 + 110.5);
}

TEST(SolarPath, NaNTimeNeverStores) {
  SolarPath path;
  path.AddPoint(NAN, {1, 1});
  EXPECT_TRUE(path.Points().empty());
  path.AddPoint(kJan1980, {1, 1});
  path.AddPoint(NAN, {2, 2});
  EXPECT_EQ(path.Points().size(), 1u);
  EXPECT_EQ(path.LastTime(), kJan1980);
}

}  // namespace
}  // namespace barywalk
