#include "ephemeris/sun_events.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>

namespace barywalk {
namespace {

constexpr int kRefineIterations = 45;  // a 10-day bracket / 1.6^45: below 0.1 ms

double DistanceKmAt(double jd) {
  double x = 0, y = 0;
  SunOffsetAu(AllPlanetPositions(jd), x, y);
  return AuToKm(std::hypot(x, y));
}

double AccelerationAt(double jd) {
  double ax = 0, ay = 0;
  SunAccelerationSi(AllPlanetPositions(jd), ax, ay);
  return std::hypot(ax, ay);
}

// Golden-section search for the extreme of `f` in [a, b] (a minimum, or a
// maximum when `maximum`); the bracket holds one extreme.
double RefineExtreme(const std::function<double(double)>& f, double a, double b, bool maximum) {
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  auto g = [&](double t) { return maximum ? -f(t) : f(t); };
  double c = b - ratio * (b - a), d = a + ratio * (b - a);
  double fc = g(c), fd = g(d);
  for (int i = 0; i < kRefineIterations; ++i) {
    if (fc < fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - ratio * (b - a);
      fc = g(c);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + ratio * (b - a);
      fd = g(d);
    }
  }
  return (a + b) / 2;
}

// Bisection for the zero of the angular momentum between a and b, where
// its sign changes.
double RefineSignChange(double a, double b) {
  const bool negativeAtA = ComputeSunMotion(a).angularMomentum < 0;
  for (int i = 0; i < kRefineIterations; ++i) {
    const double mid = (a + b) / 2;
    if ((ComputeSunMotion(mid).angularMomentum < 0) == negativeAtA) {
      a = mid;
    } else {
      b = mid;
    }
  }
  return (a + b) / 2;
}

struct Samples {
  std::vector<double> times, distanceKm, acceleration, angularMomentum;
};

// The span sampled with one extra sample before and after, so that the
// velocity (a central difference) is known at every sample of the span.
Samples SampleSpan(double from, double to, double step) {
  const auto count = static_cast<std::size_t>(std::floor((to - from) / step)) + 1;
  std::vector<double> xs(count + 2), ys(count + 2), accel(count + 2);
  for (std::size_t i = 0; i < count + 2; ++i) {
    const double jd = from + (static_cast<double>(i) - 1) * step;
    const auto positions = AllPlanetPositions(jd);
    SunOffsetAu(positions, xs[i], ys[i]);
    double ax = 0, ay = 0;
    SunAccelerationSi(positions, ax, ay);
    accel[i] = std::hypot(ax, ay);
  }
  Samples s;
  for (std::size_t i = 1; i <= count; ++i) {
    s.times.push_back(from + static_cast<double>(i - 1) * step);
    s.distanceKm.push_back(AuToKm(std::hypot(xs[i], ys[i])));
    s.acceleration.push_back(accel[i]);
    // Its sign is all that is used; the units do not matter here.
    s.angularMomentum.push_back(xs[i] * (ys[i + 1] - ys[i - 1]) - ys[i] * (xs[i + 1] - xs[i - 1]));
  }
  return s;
}

SunEvent MakeEvent(SunEventKind kind, double jd) { return SunEvent{kind, jd, ComputeSunMotion(jd)}; }

// A sampled extreme at index i refined between its neighbours.
double RefineSampled(const Samples& s, std::size_t i, const std::function<double(double)>& f,
                     bool maximum) {
  const double a = s.times[i > 0 ? i - 1 : i];
  const double b = s.times[i + 1 < s.times.size() ? i + 1 : i];
  return RefineExtreme(f, a, b, maximum);
}

void AddDistanceExtremes(const Samples& s, double thresholdKm, std::vector<SunEvent>& events) {
  for (const Turn& turn : ZigZagTurns(s.distanceKm, thresholdKm)) {
    const double jd = RefineSampled(s, turn.index, DistanceKmAt, turn.isMax);
    events.push_back(
        MakeEvent(turn.isMax ? SunEventKind::FarthestPoint : SunEventKind::ClosestPass, jd));
  }
}

void AddRetrogradeSpells(const Samples& s, std::vector<SunEvent>& events) {
  for (std::size_t i = 1; i < s.times.size(); ++i) {
    const bool before = s.angularMomentum[i - 1] < 0;
    const bool after = s.angularMomentum[i] < 0;
    if (before == after) continue;
    const double jd = RefineSignChange(s.times[i - 1], s.times[i]);
    events.push_back(
        MakeEvent(after ? SunEventKind::RetrogradeBegins : SunEventKind::RetrogradeEnds, jd));
  }
}

// The greatest and the least pull over the span (not on its ends).
void AddPullExtremes(const Samples& s, std::vector<SunEvent>& events) {
  const auto& a = s.acceleration;
  if (a.size() < 3) return;
  const auto interiorBegin = a.begin() + 1, interiorEnd = a.end() - 1;
  const auto largest = std::max_element(interiorBegin, interiorEnd);
  const auto smallest = std::min_element(interiorBegin, interiorEnd);
  const auto index = [&](auto it) { return static_cast<std::size_t>(it - a.begin()); };
  events.push_back(MakeEvent(SunEventKind::LargestPull,
                             RefineSampled(s, index(largest), AccelerationAt, true)));
  events.push_back(MakeEvent(SunEventKind::SmallestPull,
                             RefineSampled(s, index(smallest), AccelerationAt, false)));
}

}  // namespace

const char* SunEventName(SunEventKind kind) {
  switch (kind) {
    case SunEventKind::ClosestPass: return "closest pass";
    case SunEventKind::FarthestPoint: return "farthest point";
    case SunEventKind::RetrogradeBegins: return "retrograde begins";
    case SunEventKind::RetrogradeEnds: return "retrograde ends";
    case SunEventKind::LargestPull: return "largest acceleration";
    case SunEventKind::SmallestPull: return "smallest acceleration";
  }
  return "?";
}

std::vector<Turn> ZigZagTurns(const std::vector<double>& values, double threshold) {
  std::vector<Turn> turns;
  if (values.empty()) return turns;
  int trend = 0;  // +1 rising (candidate is the running maximum), -1 falling
  std::size_t low = 0, high = 0, candidate = 0;
  for (std::size_t i = 1; i < values.size(); ++i) {
    const double v = values[i];
    if (trend == 0) {
      if (v > values[high]) high = i;
      if (v < values[low]) low = i;
      if (v - values[low] >= threshold) {
        if (low > 0) turns.push_back({low, false});
        trend = +1;
        candidate = high;
      } else if (values[high] - v >= threshold) {
        if (high > 0) turns.push_back({high, true});
        trend = -1;
        candidate = low;
      }
    } else if (trend > 0) {
      if (v > values[candidate]) {
        candidate = i;
      } else if (values[candidate] - v >= threshold) {
        turns.push_back({candidate, true});
        trend = -1;
        candidate = i;
      }
    } else {
      if (v < values[candidate]) {
        candidate = i;
      } else if (v - values[candidate] >= threshold) {
        turns.push_back({candidate, false});
        trend = +1;
        candidate = i;
      }
    }
  }
  return turns;
}

std::vector<SunEvent> FindSunEvents(double from, double to, const SunEventOptions& options) {
  if (!(from < to) || !(options.sampleDays > 0) ||
      !((to - from) / options.sampleDays < kMaxEventSamples)) {
    throw std::invalid_argument("FindSunEvents: an empty span or too many samples");
  }
  const Samples samples = SampleSpan(from, to, options.sampleDays);
  std::vector<SunEvent> events;
  AddDistanceExtremes(samples, options.minDistanceChangeKm, events);
  AddRetrogradeSpells(samples, events);
  AddPullExtremes(samples, events);
  std::sort(events.begin(), events.end(),
            [](const SunEvent& a, const SunEvent& b) { return a.jd < b.jd; });
  return events;
}

}  // namespace barywalk
