// The small seeded calibration run of the test suite: on null catalogs of
// both kinds, no p-value the significance command prints may fall at or
// below 0.05 or 0.01 more often than its 99 % binomial interval allows.
// The planted signals' power is measured by the full run (make calibrate).
#include <gtest/gtest.h>

#include <numeric>

#include "calibration.h"

namespace barywalk {
namespace {

// Small enough for a couple of minutes on two shared cores, large enough
// to catch a size of twice alpha at 0.05.
CalibrationPlan SmallPlan() {
  CalibrationPlan plan;
  plan.kinds = {CatalogKind::Synthetic, CatalogKind::ShiftedSample};
  plan.nulls = CommandNulls();
  plan.catalogs = 40;
  plan.powerCatalogs = 0;
  plan.replicates = 99;
  plan.seed = 20261207;
  plan.threads = 2;
  plan.flareScale = 0.5;
  plan.maxShiftYears = 100;
  plan.samplePath = FLARE_SAMPLE_FILE;
  return plan;
}

TEST(CalibrationTest, EveryPrintedPValueKeepsItsSizeOnNullCatalogs) {
  const std::vector<RejectionCount> counts = RunCalibration(SmallPlan());
  ASSERT_FALSE(counts.empty());
  for (const RejectionCount& c : counts) EXPECT_GE(c.trials, SmallPlan().catalogs) << c.statistic;
  for (const std::string& fault : MiscalibratedSizes(counts, kZ99)) ADD_FAILURE() << fault;
}

TEST(CalibrationTest, WilsonIntervalCoversTheShareAndNarrowsWithTrials) {
  struct Case {
    int hits, trials;
  };
  double previousWidth = 2;
  for (const Case& c : {Case{5, 100}, Case{50, 1000}, Case{500, 10000}}) {
    const Interval ci = WilsonInterval(c.hits, c.trials, kZ95);
    const double share = static_cast<double>(c.hits) / c.trials;
    EXPECT_LT(ci.low, share);
    EXPECT_GT(ci.high, share);
    EXPECT_LT(ci.high - ci.low, previousWidth);
    previousWidth = ci.high - ci.low;
  }
  EXPECT_EQ(WilsonInterval(0, 20, kZ95).low, 0.0);
  EXPECT_GT(WilsonInterval(0, 20, kZ95).high, 0.1);  // no hits in 20 rules out little
}

}  // namespace
}  // namespace barywalk
