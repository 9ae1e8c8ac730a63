// The calibration suite of the significance test: how often each p-value
// the significance command prints falls at or below alpha on catalogs in
// which the flares are unrelated to the planets (its size), and how often
// it does so when a share of the flares is planted near Jupiter (its
// power). Shared by the calibration program (make calibrate) and the small
// seeded check that runs with the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/significance.h"

namespace barywalk {

// The kinds of catalog a run is made on.
enum class CatalogKind {
  Synthetic,          // the active-region model, regions numbered one by one
  SyntheticComplexes, // the same catalogs, each nest numbered as one region
  SyntheticNoNests,   // the model without nests: every region independent
  ShiftedSample,      // the real sample moved by a common shift of tens to hundreds of years
};
const char* CatalogKindName(CatalogKind kind);

// A null as the calibration runs it.
struct NullSetup {
  std::string name;  // as the tables show it
  NullModel model = NullModel::ShiftPlanets;
  bool mergeNests = true;  // region null: the regions of one nest move as one unit
  bool inPower = true;     // also run on the planted catalogs
};
// The command's nulls: the common shift, and the region null with its
// nests merged (its default) and with every region on its own.
std::vector<NullSetup> CommandNulls();

struct CalibrationPlan {
  std::vector<CatalogKind> kinds;         // null catalogs for the sizes
  std::vector<NullSetup> nulls;           // the nulls each catalog is tested under
  std::vector<double> plantedFractions;   // power: shares planted near Jupiter
  CatalogKind powerKind = CatalogKind::Synthetic;
  int catalogs = 70;                      // per kind
  int powerCatalogs = 20;                 // per planted fraction
  int replicates = 999;                   // per significance test
  std::uint64_t seed = 1;
  int threads = 2;                        // catalogs run in parallel, one test per thread
  double startJd = 2455197.5;             // synthetic catalogs: 2010-01-01 ...
  double endJd = 2458484.5;               // ... to 2019-01-01, the sample's span
  double flareScale = 1.0;                // synthetic: birth rate times this (smaller, faster catalogs)
  std::string samplePath;                 // the real sample, for ShiftedSample
  double withinDeg = 5;
  Geometry geometry = Geometry::Longitude;  // the command's default
  double maxShiftYears = 500;             // the nulls' largest shift (the command's default: 500)
};

// How often one printed p-value was at or below each alpha.
struct RejectionCount {
  std::string statistic;
  std::string null;
  std::string catalogs;      // the catalog kind, or "planted f = ..." for power
  double plantedFraction = 0;
  int trials = 0;
  int atAlpha05 = 0;
  int atAlpha01 = 0;
};

// A proportion's two-sided binomial confidence interval (Wilson score).
struct Interval {
  double low = 0, high = 1;
};
Interval WilsonInterval(int successes, int trials, double z);
constexpr double kZ95 = 1.959963984540054;
constexpr double kZ99 = 2.5758293035489004;

// Every p-value the significance command prints, by name, for one result,
// as it prints them: never below the resolution floor. Per-planet values
// are pooled under one name for the sizes; the power tables take the
// planted planet's alone.
struct NamedPValue {
  std::string name;
  double p = 1;
  Planet planet = Planet::Earth;  // for per-planet values
  bool perPlanet = false;
};
std::vector<NamedPValue> PrintedPValues(const SignificanceResult& result, const SignificanceOptions& options);

// Runs the plan. `progress` (optional) gets a line per finished batch.
std::vector<RejectionCount> RunCalibration(const CalibrationPlan& plan,
                                           void (*progress)(const std::string&) = nullptr);

// The sizes whose rate at alpha exceeds alpha beyond the interval of
// `z` (size rows only, power rows ignored), one line each.
std::vector<std::string> MiscalibratedSizes(const std::vector<RejectionCount>& counts, double z);

// The tables of the calibration: sizes, then power, in Markdown.
std::string CalibrationTable(const std::vector<RejectionCount>& counts, const CalibrationPlan& plan);

}  // namespace barywalk
