#include "analysis/longitude_table.h"

#include <cmath>
#include <stdexcept>

#include "analysis/parallel_for.h"
#include "common/angles.h"

namespace barywalk {
namespace {

// Nodes kept beyond each end: the interpolation reads k - 1 .. k + 2.
constexpr std::size_t kLeadingNodes = 1;
constexpr std::size_t kTrailingNodes = 3;

}  // namespace

double LongitudeTableStepDays(Planet planet) {
  switch (planet) {
    case Planet::Mercury: return 1.0;
    case Planet::Venus: return 2.0;
    case Planet::Earth: return 2.0;
    case Planet::Mars: return 4.0;
    case Planet::Jupiter: return 8.0;
    case Planet::Saturn: return 16.0;
    case Planet::Uranus: return 32.0;
    case Planet::Neptune: return 32.0;
    case Planet::Pluto: return 16.0;
  }
  return 1.0;
}

LongitudeTable::LongitudeTable(Planet planet, double firstJd, double lastJd, int threads)
    : LongitudeTable([planet](double jd) { return PlanetLongitude(planet, jd); },
                     LongitudeTableStepDays(planet), firstJd, lastJd, threads) {}

LongitudeTable::LongitudeTable(const std::function<double(double)>& angle, double step,
                               double firstJd, double lastJd, int threads)
    : m_firstJd(firstJd) {
  if (!(firstJd <= lastJd) || !std::isfinite(firstJd) || !std::isfinite(lastJd)) {
    throw std::invalid_argument("LongitudeTable: bad time span");
  }
  m_invStep = 1.0 / step;
  const std::size_t inner = static_cast<std::size_t>(std::ceil((lastJd - firstJd) / step)) + 1;
  const std::size_t nodes = kLeadingNodes + inner + kTrailingNodes;
  m_values.resize(nodes);
  ParallelFor(nodes, threads, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      const double jd = m_firstJd + (static_cast<double>(i) - kLeadingNodes) * step;
      m_values[i] = angle(jd);
    }
  });
  // Unwrap: successive nodes move by much less than half a turn.
  double turns = 0;
  for (std::size_t i = 1; i < nodes; ++i) {
    const double raw = m_values[i];
    const double previous = m_values[i - 1];
    double value = raw + turns;
    while (value - previous > kTwoPi / 2) {
      value -= kTwoPi;
      turns -= kTwoPi;
    }
    while (previous - value > kTwoPi / 2) {
      value += kTwoPi;
      turns += kTwoPi;
    }
    m_values[i] = value;
  }
}

}  // namespace barywalk
