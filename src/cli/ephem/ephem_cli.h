// barywalk-ephem: the ephemeris as CSV on the command line.
//
//   barywalk-ephem [--width PIXELS] TIME...
//   barywalk-ephem [--width PIXELS] --from TIME --to TIME --step DAYS
//   barywalk-ephem events [--from TIME] [--to TIME] [--csv]
//
// Argument parsing, the range rule and the CSV rows, kept apart from main()
// so that they can be tested without running the program.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli_args.h"
#include "simulation/run_settings.h"

namespace barywalk {

// The pixel columns are those of the commands' view panel.
constexpr int kDefaultPanelWidth = kViewSidePixels;
constexpr std::int64_t kMaxRows = 10000000;


// What the command line asks for.
struct EphemRequest {
  bool help = false;
  bool physical = false;  // the Sun's motion in physical units as well
  int width = kDefaultPanelWidth;
  std::vector<double> times;  // explicit TIME arguments (Julian days)
  bool isRange = false;       // --from/--to/--step instead of times
  double from = 0;
  double to = 0;
  double step = 0;
  std::int64_t rangeRows = 0;   // rows of the range (RangeRowCount)
  bool rangeEndsOnTo = false;   // the last row of the range lands on `to`
};

struct ParseOutcome {
  bool ok = false;
  EphemRequest request;
  std::string error;  // one line naming the problem when !ok
};

// Parses the arguments after the program name.
ParseOutcome ParseEphemArguments(const std::vector<std::string>& args);

// Rows of a range: one at from + i * step for every i >= 0 at which that
// time is not later than `to`, allowing for the rounding of the times
// themselves (a few units in the last place of the larger end), so an end
// that the steps land on is included. -1 when there would be more than
// kMaxRows (or the count does not fit). Expects from <= to and step > 0.
std::int64_t RangeRowCount(double from, double to, double step);

// Time of row `i` of a range: from + i * step (never accumulated), with the
// last row put exactly on `to` when it lands there within rounding.
double RangeTime(const EphemRequest& request, std::int64_t i);

std::string UsageText();
std::string CsvHeader(bool physical = false);

// One CSV row (with its newline) for Julian day `jd` and panel `width`,
// with the physical columns when `physical`.
std::string CsvRow(double jd, int width, bool physical = false);

// "barywalk-ephem events ARGS": the table on `out`, problems on `err`.
int RunEphemEvents(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The whole program: parses `args`, writes CSV or usage to `out` and any
// problem as one line to `err`. Returns the exit status. On bad arguments
// nothing is written to `out`.
int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace barywalk
